import os
import sys

sys.path.append(os.getcwd() + '/')

with_qnet_report = False
with_keras_report = False

train_path = "data/chatbot/train"
train_path_classification = "data/classification"
model_path = "model/chatbot"
model_path_classification = "model/classification"

batch_size = 1
keras_epochs = 250
qnet_epochs = 1000

max_features = 3000
sequence_length = 10
embedding_dim = 40
