import os
import sys

sys.path.append(os.getcwd() + '/')

with_qnet_report = True

train_path = "data/train"
test_path = "data/test"
model_path = "model"

batch_size = 1
qnet_epochs = 10
