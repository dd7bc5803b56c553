"""The eight training configurations: keys, order, defaults, line ends, and loading as Python."""
import os
import re
import runpy
import shutil

import pytest

from conftest import TEMPLATES

IMAGE_PREAMBLE = ["import os", "import sys", "", "sys.path.append(os.getcwd() + '/')",
                  "from utils.dataset_utils import get_classes_num"]


def plain_preamble(suffix="'/'"):
    return ["import os", "import sys", "", "sys.path.append(os.getcwd() + %s)" % suffix]


EXPECTED = {
    "visagor": (IMAGE_PREAMBLE, [
        ("with_qnet_report", False), ("with_keras_report", False),
        ("train_images_path", "images_cropped/train"), ("test_images_path", "images_cropped/test"),
        ("train_shuffled_images_path", "images_cropped/train_shuffled"), ("model_path", "model"),
        ("img_height", 192), ("img_width", 192), ("batch_size", 1), ("keras_epochs", 60), ("qnet_epochs", 300)]),
    "vocatrix": (plain_preamble("'/..'"), [
        ("with_qnet_report", True), ("with_keras_report", True),
        ("train_path", "data/train"), ("test_path", "data/test"), ("model_path", "model"),
        ("batch_size", 1), ("keras_epochs", 3), ("qnet_epochs", 5)]),
    "palmetry": (IMAGE_PREAMBLE, [("train_images_path", "images/train"), ("model_path", "model"), ("qnet_epochs", 300)]),
    "figurant": (IMAGE_PREAMBLE, [("train_images_path", "images/train"), ("model_path", "model"), ("qnet_epochs", 100)]),
    "moodaris": (IMAGE_PREAMBLE, [
        ("with_qnet_report", False), ("train_images_path", "images/train"), ("model_path", "model"), ("qnet_epochs", 100)]),
    "voxident": (plain_preamble(), [
        ("with_qnet_report", True), ("train_path", "data/train"), ("test_path", "data/test"), ("model_path", "model"),
        ("batch_size", 1), ("qnet_epochs", 10)]),
    "parlomat": (plain_preamble(), [
        ("with_qnet_report", False), ("with_keras_report", False),
        ("train_path", "data/chatbot/train"), ("train_path_classification", "data/classification"),
        ("model_path", "model/chatbot"), ("model_path_classification", "model/classification"),
        ("batch_size", 1), ("keras_epochs", 250), ("qnet_epochs", 1000),
        ("max_features", 3000), ("sequence_length", 10), ("embedding_dim", 40)]),
    "titulane": (plain_preamble(), [
        ("with_qnet_report", False), ("with_keras_report", False),
        ("train_path", "data/train"), ("test_path", "data/test"), ("model_path", "model"),
        ("batch_size", 1), ("max_features", 10000), ("sequence_length", 30), ("keras_epochs", 3), ("qnet_epochs", 20)]),
}
IMAGE_TEMPLATES = ("visagor", "palmetry", "figurant", "moodaris")
ASSIGNMENT = re.compile(r"^(\w+) = (.*)$")


def config_path(template):
    return os.path.join(TEMPLATES, template, "config.py")


def python_literal(value):
    return '"%s"' % value if isinstance(value, str) else str(value)


def load_config(project):
    """Run a project's config.py the way a training script imports it: from the project folder."""
    cwd = os.getcwd()
    os.chdir(project)
    try:
        return runpy.run_path("config.py")
    finally:
        os.chdir(cwd)


def set_config(path, key_text, value):
    """What the module form does to the file: replace the first line of the key, or append one; CR LF."""
    with open(path, newline="") as file:
        lines = re.split(r"\r\n|\r|\n", file.read())
    if lines and lines[-1] == "":
        lines.pop()
    for index, line in enumerate(lines):
        if line.startswith(key_text):
            lines[index] = key_text + value
            break
    else:
        lines.append(key_text + value)
    with open(path, "w", newline="") as file:
        file.write("".join(line + "\r\n" for line in lines))


@pytest.mark.parametrize("template", sorted(EXPECTED))
def test_file_layout_keys_order_and_defaults(template):
    preamble, settings = EXPECTED[template]
    with open(config_path(template), "rb") as file:
        data = file.read()
    assert data.endswith(b"\r\n")
    assert data.count(b"\n") == data.count(b"\r\n"), "every line ends in CR LF"
    lines = data.decode("ascii").split("\r\n")[:-1]
    assert lines[:len(preamble)] == preamble
    body = [line for line in lines[len(preamble):] if line]
    if template in IMAGE_TEMPLATES:
        assert body[-1] == "classes_num = get_classes_num(path=train_images_path)"
        body = body[:-1]
    assert body == ["%s = %s" % (key, python_literal(value)) for key, value in settings]


@pytest.mark.parametrize("template", sorted(EXPECTED))
def test_imports_as_python_with_the_defaults(template, tmp_path):
    shutil.copy(config_path(template), tmp_path)
    values = load_config(tmp_path)
    _, settings = EXPECTED[template]
    assert {key: values[key] for key, _ in settings} == dict(settings)


@pytest.mark.parametrize("template", IMAGE_TEMPLATES)
def test_classes_num_counts_the_class_folders_present_at_import(template, tmp_path):
    shutil.copy(config_path(template), tmp_path)
    train = tmp_path / dict(EXPECTED[template][1])["train_images_path"]
    assert load_config(tmp_path)["classes_num"] == 0
    for label in ("anna", "ben", "carl"):
        (train / label).mkdir(parents=True)
    (train / "notes.txt").write_text("not a class")
    assert load_config(tmp_path)["classes_num"] == 3


# Values as the module form writes them: paths between double quotes with
# forward slashes, numbers bare; keys a template lacks are appended.
FORM_WRITES = [
    ("visagor", [("train_images_path = ", '"faces/train"'), ("test_images_path = ", '"faces/test"'),
                 ("model_path = ", '"out/model"'), ("img_height = ", "96"), ("batch_size = ", "4"),
                 ("qnet_epochs = ", "12")]),
    ("palmetry", [("train_images_path = ", '"hands/train"'), ("test_images_path = ", '"hands/test"'),
                  ("img_width = ", "480"), ("qnet_epochs = ", "7")]),
    ("titulane", [("train_path = ", '"text/train"'), ("keras_epochs = ", "9"), ("qnet_epochs = ", "4")]),
    ("parlomat", [("test_path = ", '"data/chatbot/classes"'), ("model_path = ", '"model/bot"')]),
]


@pytest.mark.parametrize("template,writes", FORM_WRITES)
def test_imports_after_the_form_wrote_settings(template, writes, tmp_path):
    path = tmp_path / "config.py"
    shutil.copy(config_path(template), path)
    for key_text, value in writes:
        set_config(path, key_text, value)
    values = load_config(tmp_path)
    for key_text, value in writes:
        key = key_text[:-3]
        assert values[key] == (value.strip('"') if value.startswith('"') else int(value))
    if template in IMAGE_TEMPLATES:
        (tmp_path / values["train_images_path"] / "one").mkdir(parents=True)
        assert load_config(tmp_path)["classes_num"] == 1
