# Hand pose classification
set(MODULE_COMPONENT_NAME "HandPoseClassify")
set(MODULE_PRODUCT_NAME "Velm Hand Pose Classifier")
