# Headline classification
set(MODULE_COMPONENT_NAME "Titulaneify")
set(MODULE_PRODUCT_NAME "Velm Headline Classifier")
