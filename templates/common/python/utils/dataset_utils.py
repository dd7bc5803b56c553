"""Class folders, picture datasets and the feature tables that the engine learns from.

TensorFlow is imported inside the functions that need it: `config.py` imports
this module for `get_classes_num`, and that import must stay cheap.
"""
import csv
import os

import numpy as np


def get_classes_num(path):
    """Number of folders below `path`, at every depth (one flat folder per class)."""
    return sum(len(folders) for _, folders, _ in os.walk(path))


def get_classes(path):
    """Class labels: the folders directly inside `path`, in sorted order.

    Sorted, not in listing order, so that the labels match the indices that the
    Keras directory readers give their classes.
    """
    return sorted(entry.name for entry in os.scandir(path) if entry.is_dir())


def prepare_images_from_directory(path, img_height, img_width, batch_size, shuffle=True, seed=None, class_names=None):
    """Batches of (pictures scaled to 0..1, whole-number labels), one class per folder.

    With `class_names` the labels are the positions in that list, and a folder
    whose class folders differ from it is refused (ValueError).
    """
    import tf_keras

    dataset = tf_keras.utils.image_dataset_from_directory(
        path,
        labels="inferred",
        label_mode="int",
        color_mode="rgb",
        image_size=(img_height, img_width),
        batch_size=batch_size,
        shuffle=shuffle,
        seed=seed,
        class_names=class_names,
    )
    return dataset.map(lambda images, labels: (images / 255.0, labels))


def prepare_image_generator_from_directory(path, img_height, img_width, batch_size):
    """A picture generator over the whole folder; its `class_indices` is the class map."""
    from tf_keras.preprocessing.image import ImageDataGenerator

    return ImageDataGenerator(rescale=1.0 / 255).flow_from_directory(
        path,
        target_size=(img_height, img_width),
        batch_size=batch_size,
        class_mode="sparse",
    )


def one_hot_targets(label, classes_num):
    """Engine targets: 100 at the class index, 0 elsewhere."""
    label = int(label)
    if not 0 <= label < classes_num:
        raise ValueError("label %d outside 0..%d" % (label, classes_num - 1))
    targets = [0.0] * classes_num
    targets[label] = 100.0
    return targets


def generate_multioutput_xy_arrays_from_dataset(dataset, feature_model, classes_num):
    """Feature rows and 100-coded target rows for every sample of every batch."""
    xs, ys = [], []
    for images, labels in dataset:
        features = np.asarray(feature_model(images, training=False))
        features = features.reshape(features.shape[0], -1)
        for row, label in zip(features, np.asarray(labels).reshape(-1)):
            xs.append([float(value) for value in row])
            ys.append(one_hot_targets(label, classes_num))
    return xs, ys


def format_number(value):
    """Shortest decimal text of a single-precision value, whole numbers without a fraction."""
    return np.format_float_positional(np.float32(value), trim="-")


def write_feature_table(path, xs, ys):
    """Write a feature table (`in1`..`inN`, `out1`..`outK`) through a temporary file."""
    if not xs:
        raise ValueError("no patterns to write to %s" % path)
    inputs_count, outputs_count = len(xs[0]), len(ys[0])
    header = ["in%d" % (i + 1) for i in range(inputs_count)] + ["out%d" % (i + 1) for i in range(outputs_count)]
    temporary = path + ".tmp"
    with open(temporary, "w", newline="") as table:
        writer = csv.writer(table, lineterminator="\n")
        writer.writerow(header)
        for number, (x, y) in enumerate(zip(xs, ys), start=1):
            if len(x) != inputs_count or len(y) != outputs_count:
                raise ValueError("%s: pattern %d has %d inputs and %d outputs, expected %d and %d"
                                 % (path, number, len(x), len(y), inputs_count, outputs_count))
            writer.writerow([format_number(v) for v in x] + [format_number(v) for v in y])
    os.replace(temporary, path)


def generate_multioutput_csv_from_dataset(dataset, feature_model, classes_num, path):
    xs, ys = generate_multioutput_xy_arrays_from_dataset(dataset, feature_model, classes_num)
    write_feature_table(path, xs, ys)
    print("Save %s" % path)
    return xs, ys


def read_feature_table(path, outputs_count):
    """Rows of a feature table as (inputs, targets); the last `outputs_count` columns are targets."""
    xs, ys = [], []
    with open(path, newline="") as table:
        reader = csv.reader(table)
        header = next(reader, None)
        if header is None or len(header) <= outputs_count:
            raise ValueError("%s:1: header must name more than %d columns" % (path, outputs_count))
        for line_number, row in enumerate(reader, start=2):
            if not row:
                continue
            if len(row) != len(header):
                raise ValueError("%s:%d: %d values, the header names %d" % (path, line_number, len(row), len(header)))
            try:
                values = [float(v) for v in row]
            except ValueError as error:
                raise ValueError("%s:%d: %s" % (path, line_number, error)) from None
            xs.append(values[:-outputs_count])
            ys.append(values[-outputs_count:])
    return xs, ys
