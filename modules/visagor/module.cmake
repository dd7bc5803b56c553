# Face classification
set(MODULE_COMPONENT_NAME "FaceClassify")
set(MODULE_PRODUCT_NAME "Velm Face Classifier")
