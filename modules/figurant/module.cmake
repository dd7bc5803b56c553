# Body pose classification
set(MODULE_COMPONENT_NAME "HumanPoseClassify")
set(MODULE_PRODUCT_NAME "Velm Body Pose Classifier")
