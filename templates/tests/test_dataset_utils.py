"""Class discovery and the feature tables that the engine trains on (no TensorFlow needed)."""
import numpy as np
import pytest

from utils.dataset_utils import (
    format_number,
    generate_multioutput_csv_from_dataset,
    generate_multioutput_xy_arrays_from_dataset,
    get_classes,
    get_classes_num,
    one_hot_targets,
    read_feature_table,
    write_feature_table,
)


def make_folders(root, relative_paths):
    for relative in relative_paths:
        (root / relative).mkdir(parents=True)


@pytest.mark.parametrize("folders,expected", [
    ([], 0),
    (["a", "b"], 2),
    (["a/x", "a/y", "b"], 4),  # every sub-folder at every depth counts
])
def test_get_classes_num_counts_folders_at_every_depth(tmp_path, folders, expected):
    make_folders(tmp_path, folders)
    (tmp_path / "readme.txt").write_text("a file is no class")
    assert get_classes_num(str(tmp_path)) == expected


def test_get_classes_num_of_a_missing_folder_is_zero(tmp_path):
    assert get_classes_num(str(tmp_path / "missing")) == 0


def test_get_classes_lists_class_folders_sorted_without_files(tmp_path):
    make_folders(tmp_path, ["officer", "astronaut", "Zed"])
    (tmp_path / "list.csv").write_text("")
    assert get_classes(str(tmp_path)) == ["Zed", "astronaut", "officer"]


@pytest.mark.parametrize("label,classes_num,expected", [
    (0, 2, [100.0, 0.0]),
    (2, 3, [0.0, 0.0, 100.0]),
    (np.int32(1), 3, [0.0, 100.0, 0.0]),
])
def test_one_hot_targets(label, classes_num, expected):
    assert one_hot_targets(label, classes_num) == expected


@pytest.mark.parametrize("label", [-1, 2])
def test_one_hot_targets_refuses_labels_outside_the_classes(label):
    with pytest.raises(ValueError):
        one_hot_targets(label, 2)


def doubling_features(images, training):
    """Stands in for the partial network: 2 x 2 'pictures' become 4 features."""
    assert training is False
    return np.asarray(images) * 2.0


def batches(samples, batch_size):
    """(images, labels) batches as a dataset yields them."""
    for start in range(0, len(samples), batch_size):
        chunk = samples[start:start + batch_size]
        yield np.stack([image for image, _ in chunk]), np.array([label for _, label in chunk])


SAMPLES = [(np.full((2, 2), float(i)), i % 3) for i in range(7)]


@pytest.mark.parametrize("batch_size", [1, 3, 7])
def test_every_sample_of_every_batch_becomes_a_pattern(batch_size):
    xs, ys = generate_multioutput_xy_arrays_from_dataset(batches(SAMPLES, batch_size), doubling_features, 3)
    assert len(xs) == len(SAMPLES)
    for (image, label), x, y in zip(SAMPLES, xs, ys):
        assert x == list(image.reshape(-1) * 2.0)
        assert y == one_hot_targets(label, 3)


@pytest.mark.parametrize("value,text", [
    (0.0, "0"), (100.0, "100"), (1.5, "1.5"), (np.float32(0.1), "0.1"), (-2.25, "-2.25"),
    (np.float32(1e-7), "0.0000001"),
])
def test_numbers_are_written_short_and_without_exponent(value, text):
    assert format_number(value) == text


def test_feature_table_round_trip(tmp_path, capsys):
    path = str(tmp_path / "test_data.csv")
    xs, ys = generate_multioutput_csv_from_dataset(batches(SAMPLES, 4), doubling_features, 3, path)
    assert "Save %s" % path in capsys.readouterr().out
    with open(path, newline="") as table:
        lines = table.read().split("\n")
    assert lines[0] == "in1,in2,in3,in4,out1,out2,out3"
    assert lines[1] == "0,0,0,0,100,0,0"
    assert read_feature_table(path, 3) == (xs, ys)
    assert not (tmp_path / "test_data.csv.tmp").exists()


def test_ragged_patterns_are_refused_and_leave_no_table(tmp_path):
    path = str(tmp_path / "t.csv")
    with pytest.raises(ValueError, match="pattern 2"):
        write_feature_table(path, [[1.0, 2.0], [1.0]], [[100.0], [0.0]])
    assert not (tmp_path / "t.csv").exists()


@pytest.mark.parametrize("text,message", [
    ("in1,out1\n1,100\n2\n", r"t\.csv:3: 1 values"),
    ("in1,out1\n1,100\nx,0\n", r"t\.csv:3: "),
    ("out1\n100\n", r"t\.csv:1: header"),
])
def test_bad_tables_name_the_file_and_line(tmp_path, text, message):
    (tmp_path / "t.csv").write_text(text)
    with pytest.raises(ValueError, match=message):
        read_feature_table(str(tmp_path / "t.csv"), 1)


def test_tables_with_cr_lf_lines_as_the_engine_writes_them(tmp_path):
    (tmp_path / "t.csv").write_bytes(b"in1,in2,out1,out2\r\n0.50000000,1.00000000,0.00000000,100.00000000\r\n")
    assert read_feature_table(str(tmp_path / "t.csv"), 2) == ([[0.5, 1.0]], [[0.0, 100.0]])
