"""Times one epoch of scikit-learn's SGDClassifier.partial_fit on tables of
the shapes qnet_bench trains, as a yardstick for the engine's speed.
Not a test; scikit-learn is optional and its absence is reported."""
import sys
import time

SHAPES = [("speaker", 1000, 6, 400), ("chat", 32, 135, 3000), ("face", 288, 2, 60), ("emotion", 326, 7, 500)]


def table(inputs: int, outputs: int, patterns: int, numpy):
    """Continuous features shifted by the class, as in qnet_bench."""
    random = numpy.random.default_rng(1234)
    labels = numpy.arange(patterns) % outputs
    shift = 0.3 * ((labels[:, None] + numpy.arange(inputs)[None, :]) % 5)
    return random.normal(size=(patterns, inputs)) + shift, labels


def main() -> int:
    try:
        import numpy
        from sklearn.linear_model import SGDClassifier
    except ImportError as error:
        print(f"scikit-learn is not installed ({error}); nothing to time")
        return 0
    for name, inputs, outputs, patterns in SHAPES:
        x, y = table(inputs, outputs, patterns, numpy)
        model = SGDClassifier()
        start = time.perf_counter()
        model.partial_fit(x, y, classes=numpy.arange(outputs))
        rate = patterns / (time.perf_counter() - start)
        print(f"shape {name} N={inputs} K={outputs}: SGDClassifier.partial_fit one epoch {rate:.0f} patterns/s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
