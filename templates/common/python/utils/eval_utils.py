"""Checks of a trained engine model and the training history that its log tables hold."""
import csv
import math
import os

from utils.dataset_utils import read_feature_table

# Keras clips probabilities by the same amount before taking logarithms.
PROBABILITY_EPSILON = 1e-7


def round_result(outputs, classes_num):
    """Class of a single-output model: the first output rounded (halves to even), clamped to 0..K-1."""
    value = outputs[0]
    if math.isnan(value):
        return 0
    rounded = round(value) if math.isfinite(value) else (classes_num - 1 if value > 0 else 0)
    return min(max(int(rounded), 0), classes_num - 1)


def argmax(values):
    """Index of the highest value; the first one on a tie."""
    best = 0
    for index, value in enumerate(values):
        if value > values[best]:
            best = index
    return best


def _shares(values):
    """Non-negative values scaled to sum 1; even shares when nothing is positive."""
    clipped = [max(float(v), 0.0) for v in values]
    total = sum(clipped)
    if total <= 0.0:
        return [1.0 / len(values)] * len(values)
    return [v / total for v in clipped]


def categorical_crossentropy(targets, outputs):
    """Cross-entropy of the outputs read as class shares, the way Keras clips them."""
    predicted = [min(max(p, PROBABILITY_EPSILON), 1.0 - PROBABILITY_EPSILON) for p in _shares(outputs)]
    return -sum(t * math.log(p) for t, p in zip(_shares(targets), predicted))


def read_log_table(path):
    """Output rows of one epoch's log table; a header line, if any, is skipped."""
    rows = []
    with open(path, newline="") as table:
        for line_number, row in enumerate(csv.reader(table), start=1):
            if not row:
                continue
            try:
                rows.append([float(v) for v in row])
            except ValueError:
                if line_number == 1:
                    continue
                raise ValueError("%s:%d: not a row of numbers" % (path, line_number)) from None
    return rows


def epoch_log_tables(log_path):
    """The log tables in epoch order: shorter names first, then by name."""
    names = [name for name in os.listdir(log_path) if os.path.isfile(os.path.join(log_path, name))]
    return [os.path.join(log_path, name) for name in sorted(names, key=lambda name: (len(name), name))]


def generate_qnet_training_history(log_path, targets):
    """Per-epoch accuracy and loss of a multi-output model from its log folder.

    `targets` are the training patterns' target rows, in the order the engine
    holds them; row i of every log table holds the outputs for pattern i.
    """
    history = {"accuracy": [], "loss": []}
    for table in epoch_log_tables(log_path):
        outputs = read_log_table(table)
        if len(outputs) != len(targets):
            raise ValueError("%s: %d rows for %d training patterns" % (table, len(outputs), len(targets)))
        right = sum(1 for o, t in zip(outputs, targets) if argmax(o) == argmax(t))
        history["accuracy"].append(right / len(targets))
        history["loss"].append(sum(categorical_crossentropy(t, o) for o, t in zip(outputs, targets)) / len(targets))
    return history


def test_multioutput_qnet_model_with_csv(predict, path, outputs_count):
    """Share of a feature table's patterns whose highest output is at the target's class.

    `predict` maps an input list to the engine's outputs.
    """
    xs, ys = read_feature_table(path, outputs_count)
    if not xs:
        raise ValueError("%s: no patterns" % path)
    recognized = 0
    for number, (x, y) in enumerate(zip(xs, ys)):
        result = argmax(predict(x))
        if result == argmax(y):
            recognized += 1
            print("Result %s is RIGHT" % number)
    print("Recognized %d of %d patterns from test dataset" % (recognized, len(xs)))
    accuracy = recognized / len(xs)
    print("Test accuracy: %s" % accuracy)
    return accuracy
