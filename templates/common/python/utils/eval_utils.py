"""Checks of a trained engine model and the training history that its log tables hold."""
import csv
import math
import os
import re

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
    """The engine's per-epoch tables for the log path `<folder>/<stem><ext>`, in epoch order.

    The engine names them `<stem>1<ext>`, `<stem>2<ext>`, ...; other files that
    share the folder (a host's build log, say) are no epochs.
    """
    folder, name = os.path.split(log_path)
    stem, extension = os.path.splitext(name)
    epoch_table = re.compile(re.escape(stem) + r"[0-9]+" + re.escape(extension) + r"\Z")
    folder = folder or "."
    if not os.path.isdir(folder):
        return []
    names = [entry.name for entry in os.scandir(folder) if entry.is_file() and epoch_table.match(entry.name)]
    # Shorter names first: epoch 10 comes after epoch 9.
    return [os.path.join(folder, table) for table in sorted(names, key=lambda table: (len(table), table))]


def clear_epoch_log_tables(log_path):
    """Remove an earlier training's epoch tables, and nothing else, before a new logged training."""
    for table in epoch_log_tables(log_path):
        os.remove(table)


def generate_qnet_training_history(log_path, targets):
    """Per-epoch accuracy and loss of a multi-output model from the tables of its log path.

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
