import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';

import { QNetPredict } from '../qnet_predict.js';
import { readVectors, TESTDATA } from './vectors.mjs';

// The browser form of a model: the export module, or the data form.
async function browserModel(name) {
  const file = path.join(TESTDATA, 'models', name.replace(/\.nnw$/, name.endsWith('.nnw') ? '.js' : ''));
  if (file.endsWith('.json')) return JSON.parse(readFileSync(file, 'utf8'));
  return (await import(pathToFileURL(file).href)).qnet;
}

const viaQNetPredict = (m, inputs) => QNetPredict(inputs, m.NCLASS, m.NVARS, m.LAYERS, m.NEURONS, m.PSTEP, m.data);

// The export keeps four decimals: each of the NVARS terms may move by half a unit.
const tolerance = (m) => 0.00005 * m.NVARS + 1e-9;

for (const vector of readVectors()) {
  test(`${vector.model} [${vector.inputs}]: ${vector.note}`, async () => {
    const model = await browserModel(vector.model);
    const outputs = viaQNetPredict(model, vector.inputs);
    assert.equal(outputs.length, model.NCLASS);
    assert.equal(outputs.length, vector.expected.length);
    outputs.forEach((value, k) =>
      assert.ok(Math.abs(value - vector.expected[k]) <= tolerance(model), `output ${k}: ${value} vs ${vector.expected[k]}`),
    );
    if (model.Predict) assert.deepEqual(model.Predict(vector.inputs), outputs);
  });
}

test('the export carries the body of QNetPredict as its Predict', async () => {
  const model = await browserModel('multi.nnw');
  const body = (f) => f.toString().split('\n').slice(1, -1).map((line) => line.trim()).filter(Boolean);
  const predict = body(model.Predict);
  const shared = body(QNetPredict);
  assert.deepEqual(predict.slice(predict.length - shared.length), shared);
});

test('an input shorter than NVARS gives zeros, a longer one is read as far as NVARS', () => {
  const data = [777, 2, 2, 1, 2, 1, 1, 5, 7, 1, 1, 1, 1, 5, 3, 1, 1];
  assert.deepEqual(QNetPredict([1], 1, 2, 1, 3, 4, data), [0]);
  assert.deepEqual(QNetPredict([1, 1], 1, 2, 1, 3, 4, data), [10]);
  assert.deepEqual(QNetPredict([6, 1], 1, 2, 1, 3, 4, data), [3]);
  assert.deepEqual(QNetPredict([1, 1, 1e9], 1, 2, 1, 3, 4, data), [10]);
});

test('neurons beyond NCLASS are read past but not added', () => {
  // Two neurons of one synapse each; only the first is an output.
  const data = [777, 2, 1, 2, 1, 1, 1, 5, 7, 1, 1, 1, 1, 1, 5, 9, 1, 1];
  assert.deepEqual(QNetPredict([2], 1, 1, 1, 3, 4, data), [7]);
  assert.deepEqual(QNetPredict([2], 2, 1, 1, 3, 4, data), [7, 9]);
});
