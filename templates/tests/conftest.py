import os
import sys

import pytest

TEMPLATES = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
COMMON_PYTHON = os.path.join(TEMPLATES, "common", "python")

# The shared utility package, importable as `utils` the way the templates import it.
if COMMON_PYTHON not in sys.path:
    sys.path.insert(0, COMMON_PYTHON)


def pytest_addoption(parser):
    parser.addoption("--run-slow", action="store_true", help="also run the tests that train networks")


def pytest_configure(config):
    config.addinivalue_line("markers", "slow: trains networks; runs only with --run-slow")


def pytest_collection_modifyitems(config, items):
    if config.getoption("--run-slow"):
        return
    skip = pytest.mark.skip(reason="trains networks; run with --run-slow")
    for item in items:
        if "slow" in item.keywords:
            item.add_marker(skip)
