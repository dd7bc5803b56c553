"""Single-output decisions, engine checks against a table, and the training history of the log."""
import math

import pytest

from utils.eval_utils import (
    argmax,
    clear_epoch_log_tables,
    generate_qnet_training_history,
    round_result,
    test_multioutput_qnet_model_with_csv as check_multioutput_table,
)


@pytest.mark.parametrize("output,expected", [
    (1.5, 2), (2.5, 2), (4.6, 4), (-0.7, 0),  # halves go to the even neighbour, then clamp
    (0.5, 0), (3.5, 4), (3.49, 3), (4.5, 4), (100.0, 4),
    (float("inf"), 4), (float("-inf"), 0), (float("nan"), 0),
])
def test_round_result_with_five_classes(output, expected):
    assert round_result([output], 5) == expected


def test_round_result_reads_only_the_first_output():
    assert round_result([1.2, 9.0], 3) == 1


@pytest.mark.parametrize("values,expected", [([0, 5, 5], 1), ([-1, -2], 0), ([3], 0), ([1, 2, 3], 2)])
def test_argmax_takes_the_first_highest(values, expected):
    assert argmax(values) == expected


def write_table(path, rows, inputs_count, outputs_count):
    header = ["in%d" % (i + 1) for i in range(inputs_count)] + ["out%d" % (i + 1) for i in range(outputs_count)]
    path.write_text("\n".join([",".join(header)] + [",".join(str(v) for v in row) for row in rows]))


def test_engine_check_against_a_table(tmp_path, capsys):
    # The "engine" answers with its inputs, so patterns whose larger input is
    # at the target class are right: rows 0 and 2 of the four.
    write_table(tmp_path / "test_data.csv", [
        [9, 1, 100, 0],
        [9, 1, 0, 100],
        [2, 7, 0, 100],
        [5, 5, 0, 100],
    ], 2, 2)
    accuracy = check_multioutput_table(lambda x: x, str(tmp_path / "test_data.csv"), 2)
    out = capsys.readouterr().out
    assert accuracy == 0.5
    assert "Result 0 is RIGHT" in out and "Result 2 is RIGHT" in out and "Result 1 is RIGHT" not in out
    assert "Recognized 2 of 4 patterns from test dataset" in out
    assert "Test accuracy: 0.5" in out


def test_engine_check_refuses_an_empty_table(tmp_path):
    write_table(tmp_path / "empty.csv", [], 2, 2)
    with pytest.raises(ValueError, match="no patterns"):
        check_multioutput_table(lambda x: x, str(tmp_path / "empty.csv"), 2)


def write_log(folder, name, rows, header=True):
    lines = (["out1,out2"] if header else []) + [",".join(str(v) for v in row) for row in rows]
    (folder / name).write_text("\r\n".join(lines) + "\r\n")


def test_training_history_takes_epochs_in_order_of_name_length(tmp_path):
    targets = [[100, 0], [0, 100]]
    # Epoch 10 sorts before epoch 2 by name, after it by length.
    write_log(tmp_path, "qnet1.csv", [[0, 100], [100, 0]])     # both wrong
    write_log(tmp_path, "qnet2.csv", [[100, 0], [100, 0]])     # one right
    write_log(tmp_path, "qnet10.csv", [[100, 0], [0, 100]], header=False)  # both right
    history = generate_qnet_training_history(str(tmp_path / "qnet.csv"), targets)
    assert history["accuracy"] == [0.0, 0.5, 1.0]
    losses = history["loss"]
    assert losses[0] > losses[1] > losses[2]
    assert losses[2] == pytest.approx(-math.log(1 - 1e-7), abs=1e-9)


def test_training_history_loss_of_even_outputs_is_log_of_the_class_count(tmp_path):
    write_log(tmp_path, "qnet1.csv", [[50, 50, 50], [-3, -3, -3]])
    history = generate_qnet_training_history(str(tmp_path / "qnet.csv"), [[0, 100, 0], [0, 0, 100]])
    assert history["loss"] == [pytest.approx(math.log(3))]


def test_training_history_refuses_a_log_of_other_patterns(tmp_path):
    write_log(tmp_path, "qnet1.csv", [[1, 0]])
    with pytest.raises(ValueError, match="1 rows for 2 training patterns"):
        generate_qnet_training_history(str(tmp_path / "qnet.csv"), [[100, 0], [0, 100]])


def test_only_the_engines_epoch_tables_count_and_are_cleared(tmp_path):
    write_log(tmp_path, "qnet1.csv", [[100, 0]])
    write_log(tmp_path, "qnet2.csv", [[0, 100]])
    others = ["train_all.log", "qnet.csv", "qnetx.csv", "qnet3.csv.tmp", "other1.csv"]
    for name in others:
        (tmp_path / name).write_text("not an epoch table\n")
    log_path = str(tmp_path / "qnet.csv")
    assert generate_qnet_training_history(log_path, [[100, 0]])["accuracy"] == [1.0, 0.0]
    clear_epoch_log_tables(log_path)
    assert sorted(p.name for p in tmp_path.iterdir()) == sorted(others)
    assert generate_qnet_training_history(log_path, [[100, 0]]) == {"accuracy": [], "loss": []}


def test_a_missing_log_folder_has_no_epochs(tmp_path):
    log_path = str(tmp_path / "log" / "qnet.csv")
    clear_epoch_log_tables(log_path)
    assert generate_qnet_training_history(log_path, [[100, 0]]) == {"accuracy": [], "loss": []}
