#!/bin/sh
# Builds the face app from the project folder: face crops of the training and
# test pictures, the face network and the engine, the browser form of the network.
# Stops at the first step that fails, so that later steps never work on the
# files of an earlier run and a failed build is never reported as completed.

cd "$(dirname "$0")" || exit 1

# A runtime named by the host wins; then the project's own environment; then the
# folders where an installation keeps its bundled runtimes (a later hit
# overrides an earlier one, as on Windows); then the first one on PATH.
find_python() {
  if [ -n "${VELM_PYTHON:-}" ]; then echo "$VELM_PYTHON"; return; fi
  if [ -x ./.venv/bin/python ]; then echo ./.venv/bin/python; return; fi
  found=
  for candidate in ../../bin/Python/Python36 ../../../bin/Python36 /bin/Python/Python36; do
    if [ -x "$candidate/python" ]; then found="$candidate/python"; fi
  done
  if [ -n "$found" ]; then echo "$found"; return; fi
  command -v python3
}

find_node() {
  if [ -n "${VELM_NODE:-}" ]; then echo "$VELM_NODE"; return; fi
  found=
  for candidate in ../../bin/JavaScript/nodejs ../../../bin/JavaScript/nodejs /bin/JavaScript/nodejs; do
    if [ -x "$candidate/node" ]; then found="$candidate/node"; fi
  done
  if [ -n "$found" ]; then echo "$found"; return; fi
  command -v node
}

run_step() {
  step="$*"
  "$@"
  code=$?
  if [ "$code" -ne 0 ]; then
    echo
    echo "Build step \"$step\" failed with exit code $code." >&2
    exit "$code"
  fi
}

PYTHON=$(find_python)
if [ -z "$PYTHON" ]; then
  echo "No Python runtime found: set VELM_PYTHON or create ./.venv." >&2
  exit 1
fi
echo "Python runtime: $PYTHON"
NODE=$(find_node)
if [ -z "$NODE" ]; then
  echo "No Node.js runtime found: set VELM_NODE or put node on PATH." >&2
  exit 1
fi
echo "Node.js runtime: $NODE"

export TF_USE_LEGACY_KERAS=1
export TF_CPP_MIN_LOG_LEVEL=2

# The converter of the environment that trained the model, whatever its layout.
tensorflowjs_converter() {
  "$PYTHON" -c 'import sys; from tensorflowjs.converters.converter import pip_main; sys.exit(pip_main())' "$@"
}

run_step "$NODE" generate_dataset.js true train
run_step "$NODE" generate_dataset.js true test
run_step "$PYTHON" train_keras_with_qnet.py
run_step tensorflowjs_converter --input_format=keras --output_format=tfjs_layers_model model/keras_model.h5 model

echo
echo
echo
echo "Building of the neural network application completed..."
