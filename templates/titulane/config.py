import os
import sys

sys.path.append(os.getcwd() + '/')

with_qnet_report = False
with_keras_report = False

train_path = "data/train"
test_path = "data/test"
model_path = "model"

batch_size = 1
max_features = 10000
sequence_length = 30
keras_epochs = 3
qnet_epochs = 20
