import os
import sys

sys.path.append(os.getcwd() + '/..')

with_qnet_report = True
with_keras_report = True

train_path = "data/train"
test_path = "data/test"
model_path = "model"

batch_size = 1
keras_epochs = 3
qnet_epochs = 5
