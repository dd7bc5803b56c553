"""The face template's POSIX build script: which runtimes it picks, step order, and failures."""
import os
import shutil
import stat
import subprocess

import pytest

from conftest import TEMPLATES

SCRIPT = os.path.join(TEMPLATES, "visagor", "train_all.sh")
SUCCESS = "Building of the neural network application completed..."
CONVERSION = "--input_format=keras --output_format=tfjs_layers_model model/keras_model.h5 model"
# (runtime, the end of its arguments, the step as a failure names it)
STEPS = [
    ("node", "generate_dataset.js true train", "generate_dataset.js true train"),
    ("node", "generate_dataset.js true test", "generate_dataset.js true test"),
    ("python", "train_keras_with_qnet.py", "train_keras_with_qnet.py"),
    ("python", CONVERSION, "tensorflowjs_converter " + CONVERSION),
]

# A fake runtime records who ran it, with which arguments and which Keras setting,
# and fails with the code given in FAIL_ARGS ("<end of its arguments>=<code>").
FAKE_RUNTIME = """#!/bin/sh
echo "$FAKE_ROLE|$0|$*|$TF_USE_LEGACY_KERAS" >> "$CALLS_LOG"
case "$*" in *"${FAIL_ARGS%=*}") [ -n "$FAIL_ARGS" ] && exit "${FAIL_ARGS##*=}";; esac
exit 0
"""


def fake_runtime(path, role):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(FAKE_RUNTIME.replace("$FAKE_ROLE", role))
    path.chmod(path.stat().st_mode | stat.S_IXUSR)
    return path


@pytest.fixture
def project(tmp_path):
    """A project three folders deep, so that the runtime folders above it stay inside tmp_path."""
    folder = tmp_path / "x" / "y" / "project"
    folder.mkdir(parents=True)
    shutil.copy(SCRIPT, folder / "train_all.sh")
    return folder


def tools_path(tmp_path):
    """A PATH with only what the script needs besides its runtimes."""
    tools = tmp_path / "tools"
    tools.mkdir(exist_ok=True)
    for tool in ("dirname",):
        link = tools / tool
        if not link.exists():
            link.symlink_to(shutil.which(tool))
    return str(tools)


def run(project, tmp_path, env_extra=None, path_dirs=()):
    env = {"CALLS_LOG": str(tmp_path / "calls.log"), "PATH": os.pathsep.join(list(path_dirs) + [tools_path(tmp_path)])}
    env.update(env_extra or {})
    result = subprocess.run(["/bin/sh", str(project / "train_all.sh")], cwd=str(tmp_path), env=env,
                            capture_output=True, text=True, timeout=60)
    log = tmp_path / "calls.log"
    calls = [line.split("|") for line in log.read_text().splitlines()] if log.exists() else []
    return result, calls


def assert_steps(calls, steps):
    assert len(calls) == len(steps)
    for (role, _, args, _), (expected_role, args_end, _) in zip(calls, steps):
        assert role == expected_role and args.endswith(args_end)


def named_runtimes(tmp_path):
    return {"VELM_PYTHON": str(fake_runtime(tmp_path / "rt" / "python", "python")),
            "VELM_NODE": str(fake_runtime(tmp_path / "rt" / "node", "node"))}


def test_all_steps_run_in_order_and_success_is_reported_last(project, tmp_path):
    result, calls = run(project, tmp_path, named_runtimes(tmp_path))
    assert result.returncode == 0, result.stderr
    assert_steps(calls, STEPS)
    assert all(legacy_keras == "1" for _, _, _, legacy_keras in calls)
    assert result.stdout.rstrip().endswith(SUCCESS)
    assert "Python runtime: %s" % (tmp_path / "rt" / "python") in result.stdout
    assert "Node.js runtime: %s" % (tmp_path / "rt" / "node") in result.stdout


@pytest.mark.parametrize("failing,code", [(0, 1), (1, 7), (2, 2), (3, 255)])
def test_a_failed_step_stops_the_build_with_its_code(project, tmp_path, failing, code):
    env = named_runtimes(tmp_path)
    env["FAIL_ARGS"] = "%s=%d" % (STEPS[failing][1], code)
    result, calls = run(project, tmp_path, env)
    assert result.returncode == code
    assert_steps(calls, STEPS[:failing + 1])
    assert SUCCESS not in result.stdout
    assert "failed with exit code %d" % code in result.stderr
    assert '%s" failed' % STEPS[failing][2] in result.stderr


def test_project_environment_wins_over_bundled_folders_and_path(project, tmp_path):
    venv_python = fake_runtime(project / ".venv" / "bin" / "python", "python")
    fake_runtime(tmp_path / "x" / "bin" / "Python" / "Python36" / "python", "python")
    on_path = tmp_path / "onpath"
    fake_runtime(on_path / "python3", "python")
    fake_runtime(on_path / "node", "node")
    result, calls = run(project, tmp_path, path_dirs=[str(on_path)])
    assert result.returncode == 0, result.stderr
    python_calls = {runtime for role, runtime, _, _ in calls if role == "python"}
    assert python_calls == {"./.venv/bin/python"}
    assert os.path.samefile(str(project / ".venv/bin/python"), str(venv_python))


def test_later_bundled_folder_overrides_earlier_one(project, tmp_path):
    fake_runtime(tmp_path / "x" / "bin" / "Python" / "Python36" / "python", "python")
    fake_runtime(tmp_path / "bin" / "Python36" / "python", "python")
    fake_runtime(tmp_path / "x" / "bin" / "JavaScript" / "nodejs" / "node", "node")
    fake_runtime(tmp_path / "bin" / "JavaScript" / "nodejs" / "node", "node")
    result, calls = run(project, tmp_path)
    assert result.returncode == 0, result.stderr
    assert {(role, runtime) for role, runtime, _, _ in calls} == {
        ("python", "../../../bin/Python36/python"), ("node", "../../../bin/JavaScript/nodejs/node")}


def test_runtimes_on_path_are_the_last_resort(project, tmp_path):
    on_path = tmp_path / "onpath"
    fake_runtime(on_path / "python3", "python")
    fake_runtime(on_path / "node", "node")
    result, calls = run(project, tmp_path, path_dirs=[str(on_path)])
    assert result.returncode == 0, result.stderr
    assert {runtime for _, runtime, _, _ in calls} == {str(on_path / "python3"), str(on_path / "node")}


@pytest.mark.parametrize("present,message", [
    ("node", "No Python runtime found"),
    ("python3", "No Node.js runtime found"),
])
def test_a_missing_runtime_ends_the_build_before_any_step(project, tmp_path, present, message):
    on_path = tmp_path / "onpath"
    fake_runtime(on_path / present, present)
    result, calls = run(project, tmp_path, path_dirs=[str(on_path)])
    assert result.returncode != 0
    assert calls == []
    assert message in result.stderr
    assert SUCCESS not in result.stdout
