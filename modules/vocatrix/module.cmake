# Speech commands
set(MODULE_COMPONENT_NAME "SpeechCommands")
set(MODULE_PRODUCT_NAME "Velm Speech Commands")
