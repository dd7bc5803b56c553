"""The face template built from scratch on its own sample pictures (slow: trains both networks).

Needs the built engine staged into templates/visagor/pyqnet (any build of the
repository does that) and the repository's Node packages.
"""
import json
import os
import re
import shutil
import subprocess
import sys

import pytest

from conftest import COMMON_PYTHON, TEMPLATES

REPOSITORY = os.path.dirname(TEMPLATES)
TEMPLATE = os.path.join(TEMPLATES, "visagor")
WEB_APP_MODEL_FILES = ["model.json", "group1-shard1of1.bin", "model_info.json", "qnet_model.js"]
TRAINING_MODEL_FILES = ["keras_model.h5", "keras_model_with_dense.h5", "qnet_model.nnw"]


@pytest.mark.slow
def test_face_template_builds_from_its_sample_pictures(tmp_path):
    engine = os.path.join(TEMPLATE, "pyqnet")
    if not os.path.isdir(engine):
        pytest.fail("%s is missing: build the repository first (cmake --build)" % engine)
    project = tmp_path / "faces"
    shutil.copytree(TEMPLATE, project, ignore=shutil.ignore_patterns(
        "model", "images_cropped", "training_data.csv", "test_data.csv", "*_predictions.json", "__pycache__"))
    shutil.copytree(os.path.join(COMMON_PYTHON, "utils"), project / "utils", dirs_exist_ok=True)

    env = dict(os.environ, VELM_PYTHON=sys.executable, NODE_PATH=os.path.join(REPOSITORY, "node_modules"))
    result = subprocess.run(["sh", "./train_all.sh"], cwd=str(project), env=env,
                            capture_output=True, text=True, timeout=1800)
    assert result.returncode == 0, result.stdout[-3000:] + result.stderr[-3000:]
    assert result.stdout.rstrip().endswith("Building of the neural network application completed...")

    accuracy = re.search(r"^Test accuracy: ([0-9.]+)$", result.stdout, re.MULTILINE)
    assert accuracy, "the engine's test accuracy is not printed"
    assert 0.0 <= float(accuracy.group(1)) <= 1.0
    print("engine test accuracy:", accuracy.group(1))

    model = project / "model"
    for name in WEB_APP_MODEL_FILES + TRAINING_MODEL_FILES:
        assert (model / name).stat().st_size > 0, name
    classes = sorted(entry.name for entry in (project / "images" / "train").iterdir() if entry.is_dir())
    info = json.loads((model / "model_info.json").read_text(encoding="utf-8"))
    assert info["type"] == "qnet-with-keras"
    assert info["classes"] == {name: index for index, name in enumerate(classes)}
    browser_model = json.loads((model / "model.json").read_text())
    assert browser_model["format"] == "layers-model"
    export = (model / "qnet_model.js").read_text()
    assert "NVARS: 288," in export and "NCLASS: %d," % len(classes) in export
