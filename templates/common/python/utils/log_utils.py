"""Diagnosis helpers for the training scripts."""


def dump(obj):
    """Print every attribute of `obj` as `obj.<name> = <value>`."""
    for name in dir(obj):
        try:
            value = getattr(obj, name)
        except Exception as error:  # a property may fail; show why instead of stopping
            value = "<%s: %s>" % (type(error).__name__, error)
        print("obj.%s = %r" % (name, value))
