"""The engine as the training scripts call it."""
import math
import re
import shutil

import pytest
from conftest import TESTDATA, read_vectors

from pyqnet import pyqnet

TEMPLATE = dict(layers=2, inputs=4, epoch=6, outputs=3, intervals=0, autointervals=True)


def table_rows(name):
    lines = (TESTDATA / "tables" / f"{name}.csv").read_text().splitlines()[1:]
    return [[float(v) for v in line.split(",")] for line in lines]


def trained_from_addxy(epochs=6):
    handle = pyqnet.new(**dict(TEMPLATE, epoch=epochs, patterns=30))
    assert handle >= 0
    for row in table_rows("multi"):
        pyqnet.addxy(handle, row[:4], row[4:])
    return handle


def test_template_flow_writes_model_export_table_and_log(in_tmp):
    handle = trained_from_addxy()
    assert "Patterns=30" in pyqnet.info(handle)
    result = pyqnet.train(handle, "log\\qnet.csv")
    assert re.fullmatch(r"Training Q-Net Patterns=30 Epoch=6 Error=\d+\.\d{6} Time=\d+ ms\.", result)
    assert pyqnet.save(handle, "qnet_model.nnw") == "qnet_model.nnw"
    assert pyqnet.source(handle, "qnet_model.js") == "qnet_model.js"
    pyqnet.save(handle, "training_data.csv")

    logs = sorted((p.name for p in (in_tmp / "log").iterdir()), key=lambda n: (len(n), n))
    assert logs == [f"qnet{e}.csv" for e in range(1, 7)]
    last = (in_tmp / "log" / "qnet6.csv").read_text().splitlines()
    assert last[0] == "out1,out2,out3" and len(last) == 31
    first_outputs = [float(v) for v in last[1].split(",")]
    assert first_outputs == pytest.approx(pyqnet.compute(handle, table_rows("multi")[0][:4]), abs=5e-9)

    assert (in_tmp / "training_data.csv").read_bytes() == (TESTDATA / "tables" / "multi.csv").read_bytes()
    assert (in_tmp / "qnet_model.nnw").read_bytes().startswith(b"[K-Net]\r\nMinSignal = ")
    assert sorted(p.name for p in in_tmp.iterdir()) == ["log", "qnet_model.js", "qnet_model.nnw", "training_data.csv"]


def test_load_of_a_table_trains_the_same_model_as_the_committed_one(in_tmp):
    for run in range(2):
        handle = pyqnet.new(**dict(TEMPLATE, epoch=20))
        pyqnet.load(handle, str(TESTDATA / "tables" / "multi.csv"))
        pyqnet.train(handle)
        pyqnet.save(handle, f"run{run}.nnw")
    expected = (TESTDATA / "models" / "multi.nnw").read_bytes()
    assert (in_tmp / "run0.nnw").read_bytes() == expected
    assert (in_tmp / "run1.nnw").read_bytes() == expected


def test_saved_model_loads_computes_alike_and_saves_identically(in_tmp):
    handle = trained_from_addxy()
    pyqnet.train(handle)
    pyqnet.save(handle, "a.nnw")
    loaded = pyqnet.qnet()
    pyqnet.load(loaded, "a.nnw")
    pyqnet.save(loaded, "b.nnw")
    assert (in_tmp / "a.nnw").read_bytes() == (in_tmp / "b.nnw").read_bytes()
    for row in table_rows("multi"):
        assert pyqnet.compute(loaded, row[:4]) == pytest.approx(pyqnet.compute(handle, row[:4]), rel=1e-12, abs=1e-12)


@pytest.mark.parametrize("model, inputs, expected, note", [v for v in read_vectors() if v[0].endswith(".nnw")])
def test_vectors(model, inputs, expected, note):
    handle = pyqnet.qnet()
    pyqnet.load(handle, str(TESTDATA / "models" / model))
    if len(inputs) != pyqnet.get(handle, "InputNeuronCount"):
        with pytest.raises(ValueError, match="inputs given, the model has"):
            pyqnet.compute(handle, inputs)
    else:
        assert pyqnet.compute(handle, inputs) == pytest.approx(expected, rel=1e-9, abs=1e-9), note


BAD_TABLES = [
    ("malformed.csv", "in1,in2,out1\r\n1,2,3\r\n1,zwei,3\r\n", r"malformed\.csv:3: column 2 \(in2\): 'zwei' is not a number"),
    ("columns.csv", "in1,in2,out1\n1,2,3\n1,2\n", r"columns\.csv:3: 2 columns, the header has 3"),
    ("empty.csv", "", r"empty\.csv: the table is empty"),
    ("header.csv", "in1,in2,out1\r\n", r"header\.csv: the table has no patterns"),
    ("nan.csv", "in1,in2,out1\n1,2,3\n4,5,nan\n", r"nan\.csv:3: column 3 \(out1\): 'nan' is not a finite number"),
]


@pytest.mark.parametrize("name, text, message", BAD_TABLES)
def test_bad_tables_are_refused_with_file_and_line(in_tmp, name, text, message):
    (in_tmp / name).write_text(text)
    handle = pyqnet.new(layers=2, inputs=2, outputs=1, epoch=1, intervals=0, autointervals=True)
    pyqnet.addxy(handle, [1, 2], [3])
    with pytest.raises(ValueError, match=message):
        pyqnet.load(handle, name)
    assert pyqnet.get(handle, "PatternCount") == 1


def test_bad_model_files_are_refused_and_the_model_kept(in_tmp):
    good = (TESTDATA / "models" / "hand_basic.nnw").read_bytes().decode()
    cases = {
        "truncated.nnw": (good[: good.index("SS_01_01_01_00")], r"truncated\.nnw:25: the file ends where SS_01_01_01_00"),
        "order.nnw": (good.replace("Intervals = 0\r\nTrain = 0", "Train = 0\r\nIntervals = 0"), r"order\.nnw:4: expected key Intervals"),
    }
    handle = pyqnet.qnet()
    pyqnet.load(handle, str(TESTDATA / "models" / "hand_basic.nnw"))
    for name, (text, message) in cases.items():
        (in_tmp / name).write_bytes(text.encode())
        with pytest.raises(ValueError, match=message):
            pyqnet.load(handle, name)
        assert pyqnet.compute(handle, [1, 0]) == [12, 2.25]


@pytest.mark.parametrize(
    "call",
    [
        lambda h: pyqnet.addxy(h, [1], [1]),
        lambda h: pyqnet.load(h, "x.csv"),
        lambda h: pyqnet.info(h),
        lambda h: pyqnet.train(h),
        lambda h: pyqnet.save(h, "x.nnw"),
        lambda h: pyqnet.source(h, "x.js"),
        lambda h: pyqnet.compute(h, [1.0]),
        lambda h: pyqnet.get(h, "EpochCount"),
    ],
)
def test_unknown_handles_raise(in_tmp, call):
    with pytest.raises(ValueError, match="unknown model handle 987654"):
        call(987654)
    assert list(in_tmp.iterdir()) == []


def test_bad_arguments_raise_clear_errors(in_tmp):
    handle = pyqnet.new(**TEMPLATE)
    with pytest.raises(ValueError, match="pattern 1: 3 inputs given, the model has 4"):
        pyqnet.addxy(handle, [1, 2, 3], [0, 0, 100])
    with pytest.raises(ValueError, match="pattern 1: input 2 is not a finite number"):
        pyqnet.addxy(handle, [1, math.nan, 3, 4], [0, 0, 100])
    with pytest.raises(ValueError, match="unknown keyword 'epochs'"):
        pyqnet.new(epochs=3)
    with pytest.raises(ValueError, match="the model has no training patterns"):
        pyqnet.train(handle)
    with pytest.raises(TypeError):
        pyqnet.addxy(handle, ["a", "b", "c", "d"], [0, 0, 100])
    with pytest.raises(ValueError, match="cannot write"):
        pyqnet.save(handle, "missing/qnet_model.nnw")
    with pytest.raises(ValueError, match="must end in .js, .cpp or .pas"):
        pyqnet.source(handle, "qnet_model.txt")
    assert list(in_tmp.iterdir()) == []


def test_get_set_and_fit():
    handle = pyqnet.new(**TEMPLATE)
    assert pyqnet.get(handle, "IntervalCount") == 0
    assert pyqnet.get(handle, "AutoIntervals") is True
    assert pyqnet.get(handle, "IdentError") == 0.05
    pyqnet.set(handle, "TrainPatterns", 0.5)
    pyqnet.set(handle, "EpochCount", 2)
    rows = table_rows("multi")
    result = pyqnet.fit(handle, [r[:4] for r in rows], [r[4:] for r in rows])
    assert "Patterns=30 Epoch=2" in result
    assert pyqnet.get(handle, "EpochCurrent") == 2
    with pytest.raises(ValueError, match="PatternCount is read only"):
        pyqnet.set(handle, "PatternCount", 1)
    with pytest.raises(ValueError, match="unknown property"):
        pyqnet.get(handle, "Nope")


def test_train_takes_the_handle_and_log_path_in_either_order(in_tmp):
    handle = trained_from_addxy(epochs=2)
    pyqnet.train("log\\run.csv", handle)
    assert sorted(p.name for p in (in_tmp / "log").iterdir()) == ["run1.csv", "run2.csv"]


def test_commonjs_rewrites_the_export_in_place(in_tmp):
    handle = pyqnet.qnet()
    pyqnet.load(handle, str(TESTDATA / "models" / "hand_basic.nnw"))
    pyqnet.source(handle, "qnet_model.js")
    module = (in_tmp / "qnet_model.js").read_bytes()
    assert pyqnet.commonjs("qnet_model.js") == "qnet_model.js"
    converted = (in_tmp / "qnet_model.js").read_bytes()
    assert converted == module.replace(b"export const qnet = {", b"const qnet = {") + b"\r\nmodule.exports = qnet"
    with pytest.raises(ValueError, match=r"qnet_model\.js: not a JavaScript export"):
        pyqnet.commonjs("qnet_model.js")
    assert (in_tmp / "qnet_model.js").read_bytes() == converted


def test_exports_of_other_targets(in_tmp):
    handle = pyqnet.qnet()
    pyqnet.load(handle, str(TESTDATA / "models" / "hand_basic.nnw"))
    pyqnet.source(handle, "model.cpp")
    pyqnet.source(handle, "model.pas")
    assert "inline std::vector<double> Predict(" in (in_tmp / "model.cpp").read_text()
    assert "function Predict(const inp: array of Double): TOutputs;" in (in_tmp / "model.pas").read_text()


def test_numpy_numbers_are_taken_like_python_numbers():
    numpy = pytest.importorskip("numpy")
    handle = pyqnet.new(layers=2, inputs=numpy.int64(3), outputs=1, epoch=numpy.int32(2), intervals=0, autointervals=True)
    pyqnet.addxy(handle, numpy.array([0.5, 1.5, 2.5]), numpy.array([1.0], dtype=numpy.float32))
    pyqnet.addxy(handle, [1, 2, 3], [0])
    assert "Patterns=2 Epoch=2" in pyqnet.train(numpy.int64(handle))
    assert pyqnet.compute(handle, numpy.array([0.5, 1.5, 2.5])) == pytest.approx([1.0])
