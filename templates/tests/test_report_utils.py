"""PDF reports: pages, titles and the counts of the confusion matrices."""
import os

import pytest
from pypdf import PdfReader

from matplotlib.backends.backend_pdf import PdfPages

from utils.report_utils import add_text_pages, confusion_matrix, create_keras_report, create_qnet_report

A4_LANDSCAPE_POINTS = (11.7 * 72, 8.3 * 72)
CLASSES = ["astronaut", "officer"]
DATASETS = [("Train data", [0, 0, 1, 1, 1], [0, 1, 1, 1, 1]), ("Test data", [0, 1], [1, 1])]


def page_texts(path):
    reader = PdfReader(path)
    for page in reader.pages:
        width, height = float(page.mediabox.width), float(page.mediabox.height)
        assert (width, height) == pytest.approx(A4_LANDSCAPE_POINTS, abs=0.5)
    return [" ".join(page.extract_text().split()) for page in reader.pages]


@pytest.fixture
def in_tmp(tmp_path):
    cwd = os.getcwd()
    os.chdir(tmp_path)
    yield tmp_path
    os.chdir(cwd)


def test_confusion_matrix_rows_are_labels_and_columns_predictions():
    matrix = confusion_matrix([0, 0, 1, 2, 2, 2], [0, 2, 1, 2, 2, 0], 3)
    assert matrix.tolist() == [[1, 0, 1], [0, 1, 0], [1, 0, 2]]


@pytest.mark.parametrize("lines_count,pages_count", [(0, 1), (66, 1), (67, 2), (140, 3)])
def test_long_text_continues_on_further_pages(tmp_path, lines_count, pages_count):
    lines = ["line %03d" % number for number in range(lines_count)]
    path = str(tmp_path / "text.pdf")
    with PdfPages(path) as pdf:
        add_text_pages(pdf, lines)
    pages = page_texts(path)
    assert len(pages) == pages_count
    assert " ".join(pages).split() == " ".join(lines).split()


def test_qnet_report_pages(in_tmp):
    history = {"loss": [0.9, 0.5, 0.2], "accuracy": [0.4, 0.6, 1.0]}
    path = create_qnet_report("Q-Net (Face classification)", history, DATASETS, CLASSES)
    assert path == os.path.join("report", "Q-Net (Face classification).pdf")
    pages = page_texts(path)
    assert len(pages) == 5
    assert "Report" in pages[0] and "Q-Net (Face classification)" in pages[0]
    assert "Training losses" in pages[1] and "Loss" in pages[1] and "No. epoch" in pages[1]
    assert "Model accuracy" in pages[2] and "Accuracy" in pages[2]
    assert "Train data confusion matrix" in pages[3] and "Test data confusion matrix" in pages[4]
    for page in pages[3:]:
        assert "Prediction" in page and "Label" in page and "astronaut" in page and "officer" in page
    assert os.listdir("report") == ["Q-Net (Face classification).pdf"]


def test_a_failed_report_leaves_the_earlier_one_whole(in_tmp):
    history = {"loss": [0.5], "accuracy": [0.5]}
    path = create_qnet_report("Q-Net (Face classification)", history, DATASETS, CLASSES)
    before = open(path, "rb").read()
    with pytest.raises(IndexError):
        create_qnet_report("Q-Net (Face classification)", history, [("Train data", [0, 5], [0, 1])], CLASSES)
    assert open(path, "rb").read() == before
    assert os.listdir("report") == ["Q-Net (Face classification).pdf"]


def test_keras_report_pages(in_tmp):
    import tf_keras

    model = tf_keras.Sequential([
        tf_keras.layers.Input(shape=(16, 16, 3)),
        tf_keras.layers.Conv2D(4, 3, padding="same", name="faces_conv"),
        tf_keras.layers.Flatten(),
        tf_keras.layers.Dense(2),
        tf_keras.layers.Activation("softmax"),
    ])
    history = {"loss": [1.0, 0.7], "val_loss": [1.1, 0.9], "accuracy": [0.5, 0.7], "val_accuracy": [0.5, 0.6]}
    pages = page_texts(create_keras_report("Keras (Face classification)", model, history, DATASETS, CLASSES))
    # title, summary, architecture picture, two curves, two matrices
    assert len(pages) == 7
    assert "Keras (Face classification)" in pages[0]
    assert "faces_conv" in pages[1] and "Total params" in pages[1]
    assert pages[2] == ""  # the picture page carries no text
    assert "Training losses" in pages[3] and "Model accuracy" in pages[4]
    assert "Train data confusion matrix" in pages[5] and "Test data confusion matrix" in pages[6]
