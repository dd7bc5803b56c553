import os
import sys

sys.path.append(os.getcwd() + '/')
from utils.dataset_utils import get_classes_num

with_qnet_report = False
with_keras_report = False

train_images_path = "images_cropped/train"
test_images_path = "images_cropped/test"
train_shuffled_images_path = "images_cropped/train_shuffled"
model_path = "model"

img_height = 192
img_width = 192
batch_size = 1
keras_epochs = 60
qnet_epochs = 300

classes_num = get_classes_num(path=train_images_path)
