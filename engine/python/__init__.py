"""The classifier engine; its operations live in the compiled module: `from pyqnet import pyqnet`."""
