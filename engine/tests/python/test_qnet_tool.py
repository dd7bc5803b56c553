"""The qnet command-line tool."""
import os
import subprocess

import pytest
from conftest import TESTDATA

TOOL = os.environ.get("QNET_TOOL")
pytestmark = pytest.mark.skipif(not TOOL, reason="QNET_TOOL names the built tool")


def qnet(*args, cwd=None):
    return subprocess.run([TOOL, *map(str, args)], capture_output=True, text=True, cwd=cwd)


def test_help_and_usage_errors():
    assert qnet("--help").returncode == 0 and "qnet train TABLE.csv" in qnet("--help").stdout
    for args in (["fly"], ["train", "x.csv"], ["train", "x.csv", "--epochs", "ten", "-o", "m.nnw"], ["export", "m.nnw"]):
        result = qnet(*args)
        assert result.returncode == 2, args
        assert result.stderr.startswith("qnet: ") and "usage:" in result.stderr


def test_train_export_and_predict(tmp_path):
    result = qnet("train", TESTDATA / "tables" / "single.csv", "--epochs", 30, "--outputs", 1, "-o", tmp_path / "m.nnw")
    assert result.returncode == 0, result.stderr
    assert result.stderr.splitlines()[-1].startswith("epoch 30/30 error ")
    assert (tmp_path / "m.nnw").read_bytes() == (TESTDATA / "models" / "single.nnw").read_bytes()

    assert qnet("export", tmp_path / "m.nnw", tmp_path / "m.js").returncode == 0
    assert "export const qnet = {" in (tmp_path / "m.js").read_text()

    predicted = qnet("predict", tmp_path / "m.nnw", TESTDATA / "tables" / "single.csv")
    lines = predicted.stdout.splitlines()
    assert lines[0] == "out1" and len(lines) == 25
    assert float(lines[1]) == pytest.approx(-0.00034843870188799864, abs=5e-9)


def test_failures_name_the_file_and_write_nothing(tmp_path):
    (tmp_path / "bad.csv").write_text("in1,out1\n1,2\n3,x\n")
    result = qnet("train", tmp_path / "bad.csv", "--epochs", 3, "-o", tmp_path / "m.nnw")
    assert result.returncode == 1
    assert "bad.csv:3: column 2 (out1): 'x' is not a number" in result.stderr
    result = qnet("train", TESTDATA / "tables" / "single.csv", "--epochs", 3, "--outputs", 2, "-o", tmp_path / "m.nnw")
    assert result.returncode == 1 and "--outputs says 2" in result.stderr
    assert sorted(p.name for p in tmp_path.iterdir()) == ["bad.csv"]
