@if EXIST ..\..\bin\JavaScript\nodejs\node.exe SET NodePath=..\..\bin\JavaScript\nodejs
@if EXIST ..\..\..\bin\JavaScript\nodejs\node.exe SET NodePath=..\..\..\bin\JavaScript\nodejs
@if EXIST \bin\JavaScript\nodejs\node.exe SET NodePath=\bin\JavaScript\nodejs
@if EXIST ..\..\bin\Python\Python36\python.exe SET PythonPath=..\..\bin\Python\Python36
@if EXIST ..\..\..\bin\Python36\python.exe SET PythonPath=..\..\..\bin\Python36
@if EXIST \bin\Python\Python36\python.exe SET PythonPath=\bin\Python\Python36
@if NOT EXIST %PythonPath%\python.exe goto exit

@SET TF_USE_LEGACY_KERAS=1
@SET TF_CPP_MIN_LOG_LEVEL=2

@SET "step=node generate_dataset.js true train"
%NodePath%\node generate_dataset.js true train
@if %ERRORLEVEL% NEQ 0 goto failed
@SET "step=node generate_dataset.js true test"
%NodePath%\node generate_dataset.js true test
@if %ERRORLEVEL% NEQ 0 goto failed
@SET "step=python train_keras_with_qnet.py"
%PythonPath%\python train_keras_with_qnet.py
@if %ERRORLEVEL% NEQ 0 goto failed
@SET "step=tensorflowjs_converter"
%PythonPath%\Scripts\tensorflowjs_converter --input_format=keras --output_format=tfjs_layers_model model/keras_model.h5 model
@if %ERRORLEVEL% NEQ 0 goto failed

@echo:
@echo:
@echo:
@echo Building of the neural network application completed...
@goto exit

:failed
@SET "code=%ERRORLEVEL%"
@echo:
@echo Build step "%step%" failed with exit code %code%.
@exit /b %code%

:exit
