# Emotion classification
set(MODULE_COMPONENT_NAME "EmotionClassify")
set(MODULE_PRODUCT_NAME "Velm Emotion Classifier")
