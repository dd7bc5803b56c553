# Chat bot
set(MODULE_COMPONENT_NAME "ChatBot")
set(MODULE_PRODUCT_NAME "Velm Chat Bot")
