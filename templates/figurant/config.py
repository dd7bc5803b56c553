import os
import sys

sys.path.append(os.getcwd() + '/')
from utils.dataset_utils import get_classes_num

train_images_path = "images/train"
model_path = "model"

qnet_epochs = 100

classes_num = get_classes_num(path=train_images_path)
