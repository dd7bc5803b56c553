"""Train the face network on the cropped faces, then the engine on its features.

Run from the project folder: python train_keras_with_qnet.py [<unused> <model name>]
"""
import json
import os
import shutil
import sys
import time

sys.dont_write_bytecode = True
os.environ["TF_CPP_MIN_LOG_LEVEL"] = "2"
# Keras 2 keeps the .h5 layout that the TensorFlow.js converter turns into a browser model.
os.environ["TF_USE_LEGACY_KERAS"] = "1"

import numpy as np  # noqa: E402
import splitfolders  # noqa: E402

import config  # noqa: E402
from model import compile_model, create_feature_model, create_model  # noqa: E402
from pyqnet import pyqnet  # noqa: E402
from utils.dataset_utils import (  # noqa: E402
    generate_multioutput_csv_from_dataset,
    generate_multioutput_xy_arrays_from_dataset,
    prepare_image_generator_from_directory,
    prepare_images_from_directory,
    read_feature_table,
)
from utils.eval_utils import (  # noqa: E402
    argmax,
    clear_epoch_log_tables,
    generate_qnet_training_history,
    test_multioutput_qnet_model_with_csv,
)

SPLIT_RATIO = (0.9, 0.1)
SPLIT_SEED = 1337
MODEL_INFO = "model_info.json"
QNET_MODEL = "qnet_model.nnw"
QNET_EXPORT = "qnet_model.js"
TRAINING_TABLE = "training_data.csv"
TEST_TABLE = "test_data.csv"
# The engine writes one table per epoch beside this name (log/qnet1.csv, ...).
# The folder is shared: the host keeps its build log there.
QNET_LOG = os.path.join("log", "qnet.csv")
KERAS_REPORT = "Keras (Face classification)"
QNET_REPORT = "Q-Net (Face classification)"


def model_name():
    return sys.argv[2] if len(sys.argv) > 2 else "default"


def split_training_pictures():
    # The splitter adds to what it finds; start empty so that pictures of
    # classes or files removed since the last run do not train again.
    shutil.rmtree(config.train_shuffled_images_path, ignore_errors=True)
    splitfolders.ratio(config.train_images_path, output=config.train_shuffled_images_path,
                       seed=SPLIT_SEED, ratio=SPLIT_RATIO)


def pictures(path, shuffle=True):
    return prepare_images_from_directory(path, config.img_height, config.img_width, config.batch_size, shuffle=shuffle)


def save_h5(model, path):
    temporary = path + ".tmp"
    model.save(temporary, save_format="h5")
    os.replace(temporary, path)


def write_json(path, data):
    temporary = path + ".tmp"
    with open(temporary, "w", encoding="utf-8") as file:
        json.dump(data, file, indent=4, ensure_ascii=False)
    os.replace(temporary, path)


def move_into_model_folder(name):
    if not os.path.exists(name):
        return False
    os.replace(name, os.path.join(config.model_path, name))
    return True


def train_qnet(xs, ys, classes_num):
    inputs_count = len(xs[0])
    print("Inputs count: %s" % inputs_count)
    handle = pyqnet.new(layers=2, inputs=inputs_count, patterns=len(xs), epoch=config.qnet_epochs,
                        outputs=classes_num, intervals=0, autointervals=True)
    if handle < 0:
        sys.exit("Q-Net model not created (%s)." % handle)
    print("Start training Q-Net.")
    for x, y in zip(xs, ys):
        pyqnet.addxy(handle, x, y)
    print(pyqnet.info(handle))
    if config.with_qnet_report:
        clear_epoch_log_tables(QNET_LOG)
        print(pyqnet.train(handle, QNET_LOG))
    else:
        print(pyqnet.train(handle))
    return handle


def test_pictures(class_names):
    """The test pictures labelled by the training classes; None without a test set of the same classes."""
    path = config.test_images_path
    if not os.path.isdir(path):
        print("No test of %s: no such folder" % path)
        return None
    try:
        return prepare_images_from_directory(path, config.img_height, config.img_width, config.batch_size,
                                             shuffle=False, class_names=class_names)
    except ValueError as error:
        print("No test of %s: %s" % (path, error))
        return None


def predicted_classes(predict, rows):
    return [argmax(predict(row)) for row in rows]


def keras_dataset_predictions(model, dataset):
    labels, predictions = [], []
    for images, batch_labels in dataset:
        labels += [int(label) for label in np.asarray(batch_labels).reshape(-1)]
        predictions += [int(p) for p in np.argmax(np.asarray(model(images, training=False)), axis=1)]
    return labels, predictions


def write_reports(model, history, class_names, handle, ys, test_set):
    from utils.report_utils import create_keras_report, create_qnet_report

    if config.with_keras_report:
        datasets = [("Train data",) + keras_dataset_predictions(model, pictures(config.train_images_path, False))]
        if test_set is not None:
            datasets.append(("Test data",) + keras_dataset_predictions(model, test_set))
        print("Save %s" % create_keras_report(KERAS_REPORT, model, history, datasets, class_names))
    if config.with_qnet_report:
        predict = lambda x: pyqnet.compute(handle, x)  # noqa: E731
        datasets = []
        for name, table in (("Train data", TRAINING_TABLE), ("Test data", TEST_TABLE)):
            if os.path.exists(table):
                xs, table_ys = read_feature_table(table, len(class_names))
                datasets.append((name, [argmax(y) for y in table_ys], predicted_classes(predict, xs)))
        qnet_history = generate_qnet_training_history(QNET_LOG, ys)
        print("Save %s" % create_qnet_report(QNET_REPORT, qnet_history, datasets, class_names))


def main():
    split_training_pictures()
    class_indices = prepare_image_generator_from_directory(
        config.train_images_path, config.img_height, config.img_width, config.batch_size).class_indices
    class_names = sorted(class_indices, key=class_indices.get)
    classes_num = len(class_names)

    train_set = pictures(os.path.join(config.train_shuffled_images_path, "train"))
    validation_set = pictures(os.path.join(config.train_shuffled_images_path, "val"))
    model = compile_model(create_model(config.img_height, config.img_width, classes_num))
    history = model.fit(train_set, validation_data=validation_set, epochs=config.keras_epochs, verbose=2)

    feature_model = create_feature_model(model)
    shutil.rmtree(config.model_path, ignore_errors=True)
    os.makedirs(config.model_path)
    save_h5(feature_model, os.path.join(config.model_path, "keras_model.h5"))
    save_h5(model, os.path.join(config.model_path, "keras_model_with_dense.h5"))

    # Every picture of the training folder, not only the split's training part.
    xs, ys = generate_multioutput_xy_arrays_from_dataset(
        pictures(config.train_images_path, shuffle=False), feature_model, classes_num)
    handle = train_qnet(xs, ys, classes_num)

    write_json(MODEL_INFO, {
        "id": str(int(time.time() * 1000)),
        "name": model_name(),
        "type": "qnet-with-keras",
        "classes": {name: index for index, name in enumerate(class_names)},
    })
    print("Save Q-Net .nnw configuration to", pyqnet.save(handle, QNET_MODEL))
    print("Save Q-Net .js configuration to", pyqnet.source(handle, QNET_EXPORT))
    print("Save Q-Net .csv training data to", pyqnet.save(handle, TRAINING_TABLE))
    for name in (QNET_MODEL, QNET_EXPORT):
        move_into_model_folder(name)
    if not move_into_model_folder(MODEL_INFO):
        print("File model_info.json not created.")

    test_set = test_pictures(class_names)
    if test_set is None:
        # A table of an earlier run must not pass for this model's test.
        if os.path.exists(TEST_TABLE):
            os.remove(TEST_TABLE)
    else:
        generate_multioutput_csv_from_dataset(test_set, feature_model, classes_num, TEST_TABLE)
        test_multioutput_qnet_model_with_csv(lambda x: pyqnet.compute(handle, x), TEST_TABLE, classes_num)
    write_reports(model, history.history, class_names, handle, ys, test_set)


if __name__ == "__main__":
    main()
