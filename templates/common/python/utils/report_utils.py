"""Training reports as PDF files: title, model, training curves and confusion matrices.

Each dataset handed to a report is a tuple (name, labels, predictions) of
class indices; the scripts run their own models to get the predictions.
"""
import os

import matplotlib

matplotlib.use("Agg")  # the reports are written from terminals without a display
matplotlib.rcParams["pdf.fonttype"] = 42  # TrueType keeps the reports' text searchable

import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402
import seaborn as sns  # noqa: E402
from matplotlib.backends.backend_pdf import PdfPages  # noqa: E402
from matplotlib.ticker import MaxNLocator  # noqa: E402

A4_LANDSCAPE = (11.7, 8.3)
SUMMARY_LINE_LENGTH = 100
SUMMARY_LINES_PER_PAGE = 66  # 7-point lines that fit an A4 landscape page
REPORT_FOLDER = "report"


def _new_page():
    return plt.figure(figsize=A4_LANDSCAPE)


def _save_page(pdf, figure):
    pdf.savefig(figure)
    plt.close(figure)


def add_title_page(pdf, report_name):
    figure = _new_page()
    figure.text(0.5, 0.6, "Report", fontsize=40, ha="center", va="center")
    figure.text(0.5, 0.45, report_name, fontsize=22, ha="center", va="center")
    _save_page(pdf, figure)


def add_text_pages(pdf, lines):
    """Monospaced pages of text, as many as the lines need."""
    for start in range(0, max(len(lines), 1), SUMMARY_LINES_PER_PAGE):
        figure = _new_page()
        figure.text(0.03, 0.97, "\n".join(lines[start:start + SUMMARY_LINES_PER_PAGE]),
                    family="monospace", fontsize=7, va="top", ha="left")
        _save_page(pdf, figure)


def add_image_page(pdf, image):
    figure = _new_page()
    axes = figure.add_axes([0.02, 0.02, 0.96, 0.96])
    axes.imshow(np.asarray(image))
    axes.axis("off")
    _save_page(pdf, figure)


def add_curve_page(pdf, title, y_label, series):
    """One chart of per-epoch values; `series` maps a line label to its values."""
    figure = _new_page()
    axes = figure.add_subplot(1, 1, 1)
    for label, values in series.items():
        axes.plot(range(1, len(values) + 1), values, label=label)
    axes.set_title(title)
    axes.set_ylabel(y_label)
    axes.set_xlabel("No. epoch")
    axes.xaxis.set_major_locator(MaxNLocator(integer=True))
    axes.legend(loc="upper left")
    _save_page(pdf, figure)


def confusion_matrix(labels, predictions, classes_num):
    """Counts with one row per true class and one column per predicted class."""
    matrix = np.zeros((classes_num, classes_num), dtype=int)
    for label, prediction in zip(labels, predictions):
        matrix[int(label), int(prediction)] += 1
    return matrix


def add_confusion_page(pdf, dataset_name, labels, predictions, class_names):
    figure = _new_page()
    axes = figure.add_subplot(1, 1, 1)
    matrix = confusion_matrix(labels, predictions, len(class_names))
    sns.heatmap(matrix, annot=True, fmt="d", cmap="Blues", ax=axes,
                xticklabels=class_names, yticklabels=class_names)
    axes.set_title("%s confusion matrix" % dataset_name)
    axes.set_xlabel("Prediction")
    axes.set_ylabel("Label")
    axes.tick_params(axis="x", labelrotation=45)
    axes.tick_params(axis="y", labelrotation=45)
    _save_page(pdf, figure)


def model_summary_lines(model):
    lines = []
    model.summary(line_length=SUMMARY_LINE_LENGTH, print_fn=lambda text, **_: lines.extend(text.split("\n")))
    return lines


def architecture_picture(model):
    """A layered picture of a picture or sound network; None for text networks or without visualkeras."""
    if len(model.input_shape) < 4:
        return None
    try:
        import visualkeras
    except ImportError:
        return None
    return visualkeras.layered_view(model, legend=True, scale_xy=2, scale_z=1, draw_funnel=False,
                                    min_xy=10, max_xy=1000, min_z=10, max_z=200)


def _write_report(report_name, fill):
    """Write report/<name>.pdf through a temporary file, so that no half report replaces a whole one."""
    os.makedirs(REPORT_FOLDER, exist_ok=True)
    path = os.path.join(REPORT_FOLDER, report_name + ".pdf")
    temporary = path + ".tmp"
    try:
        with PdfPages(temporary) as pdf:
            add_title_page(pdf, report_name)
            fill(pdf)
        os.replace(temporary, path)
    finally:
        if os.path.exists(temporary):
            os.remove(temporary)
    return path


def _add_confusion_pages(pdf, datasets, class_names):
    for name, labels, predictions in datasets:
        add_confusion_page(pdf, name, labels, predictions, class_names)


def create_keras_report(report_name, model, history, datasets, class_names):
    """`history` is the Keras fit history dictionary (loss, accuracy, val_loss, val_accuracy)."""
    def fill(pdf):
        add_text_pages(pdf, model_summary_lines(model))
        picture = architecture_picture(model)
        if picture is not None:
            add_image_page(pdf, picture)
        add_curve_page(pdf, "Training losses", "Loss",
                       {"train": history["loss"], "validation": history["val_loss"]})
        add_curve_page(pdf, "Model accuracy", "Accuracy",
                       {"train": history["accuracy"], "validation": history["val_accuracy"]})
        _add_confusion_pages(pdf, datasets, class_names)

    return _write_report(report_name, fill)


def create_qnet_report(report_name, history, datasets, class_names):
    """`history` holds the engine's per-epoch loss and accuracy (eval_utils)."""
    def fill(pdf):
        add_curve_page(pdf, "Training losses", "Loss", {"train": history["loss"]})
        add_curve_page(pdf, "Model accuracy", "Accuracy", {"train": history["accuracy"]})
        _add_confusion_pages(pdf, datasets, class_names)

    return _write_report(report_name, fill)
