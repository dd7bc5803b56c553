import math
import os
from pathlib import Path

import pytest

TESTDATA = Path(os.environ.get("QNET_TESTDATA_DIR", Path(__file__).resolve().parents[2] / "testdata"))


def read_vectors():
    """The shared test vectors: (model, inputs, expected, note)."""
    def numbers(text):
        return [math.nan if v == "nan" else float(v) for v in text.split(",")] if text else []

    vectors = []
    for line in (TESTDATA / "vectors.csv").read_text().splitlines():
        if line and not line.startswith("#"):
            model, inputs, expected, note = line.split(";")
            vectors.append((model, numbers(inputs), numbers(expected), note))
    return vectors


@pytest.fixture
def in_tmp(tmp_path, monkeypatch):
    """Runs the test with a fresh project folder as the current folder, as the scripts run."""
    monkeypatch.chdir(tmp_path)
    return tmp_path
