"""Line ends of the scripts the templates carry: CR LF, except the POSIX shell script."""
import glob
import os

import pytest

from conftest import TEMPLATES

CR_LF_FILES = sorted(
    [os.path.join("visagor", name) for name in ("model.py", "train_keras_with_qnet.py", "train_all.bat")]
    + [os.path.relpath(path, TEMPLATES) for path in glob.glob(os.path.join(TEMPLATES, "common", "python", "utils", "*.py"))]
)


@pytest.mark.parametrize("relative", CR_LF_FILES)
def test_every_line_ends_in_cr_lf(relative):
    with open(os.path.join(TEMPLATES, relative), "rb") as file:
        data = file.read()
    assert data.endswith(b"\r\n")
    assert data.count(b"\n") == data.count(b"\r\n"), "a line ends in a bare LF"
    assert data.count(b"\r") == data.count(b"\r\n"), "a line ends in a bare CR"


def test_the_shell_script_has_no_carriage_returns():
    # /bin/sh would take a CR as part of every command name.
    with open(os.path.join(TEMPLATES, "visagor", "train_all.sh"), "rb") as file:
        assert b"\r" not in file.read()
