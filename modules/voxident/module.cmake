# Speaker classification
set(MODULE_COMPONENT_NAME "Voxidentify")
set(MODULE_PRODUCT_NAME "Velm Speaker Classifier")
