import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { copyFileSync, existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';
import { after, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';

import { TESTDATA } from './vectors.mjs';

const SCRIPT = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', 'convert_qnet_to_json.js');
const folders = [];
after(() => folders.forEach((folder) => rmSync(folder, { recursive: true, force: true })));

// A project folder with the converter, as the templates carry it.
function project() {
  const folder = mkdtempSync(path.join(os.tmpdir(), 'qnet-convert-'));
  folders.push(folder);
  copyFileSync(SCRIPT, path.join(folder, 'convert_qnet_to_json.js'));
  return folder;
}

// The CommonJS form the training scripts make of an export.
function commonJsForm(exported) {
  return exported.replace(/^export const qnet = \{/m, 'const qnet = {') + '\r\nmodule.exports = qnet';
}

function writeModel(folder, relative, source) {
  mkdirSync(path.dirname(path.join(folder, relative)), { recursive: true });
  writeFileSync(path.join(folder, relative), commonJsForm(readFileSync(path.join(TESTDATA, 'models', source), 'utf8')));
}

const run = (folder) => spawnSync(process.execPath, ['convert_qnet_to_json.js'], { cwd: folder, encoding: 'utf8' });

test('the single model becomes the JSON form with its six fields in order', async () => {
  const folder = project();
  writeModel(folder, 'model/qnet_model.js', 'multi.js');
  const result = run(folder);
  assert.equal(result.status, 0, result.stderr);
  const text = readFileSync(path.join(folder, 'model/qnet_model.json'), 'utf8');
  const model = (await import(pathToFileURL(path.join(TESTDATA, 'models', 'multi.js')).href)).qnet;
  assert.deepEqual(Object.keys(JSON.parse(text)), ['NCLASS', 'NVARS', 'NEURONS', 'LAYERS', 'PSTEP', 'data']);
  assert.deepEqual(JSON.parse(text).data, model.data);
  const lines = text.split('\n');
  assert.deepEqual(lines.slice(0, 8), ['{', '  "NCLASS": 3,', '  "NVARS": 4,', '  "NEURONS": 3,', '  "LAYERS": 1,', '  "PSTEP": 4,', '  "data": [', '    777,']);
  assert.equal(lines.length, 8 + model.data.length + 1);
  assert.ok(!readdirSync(path.join(folder, 'model')).some((name) => name.includes('.tmp')));
});

test('a missing module form is reported and nothing is written', () => {
  const folder = project();
  mkdirSync(path.join(folder, 'model'));
  const result = run(folder);
  assert.notEqual(result.status, 0);
  assert.match(result.stderr, /qnet_model\.js/);
  assert.ok(!existsSync(path.join(folder, 'model/qnet_model.json')));
});

test('every chat topic is converted in order, a broken one is reported and the rest go on', () => {
  const folder = project();
  writeModel(folder, 'model/chatbot/ai/qnet_model.js', 'multi.js');
  writeModel(folder, 'model/chatbot/food/qnet_model.js', 'single.js');
  writeFileSync(
    path.join(folder, 'model/models.json'),
    JSON.stringify({ models: [{ name: 'ai' }, { name: 'money' }, { name: '../escape' }, { name: 'food' }] }, null, 4),
  );
  const result = run(folder);
  assert.equal(result.stdout, 'ai\nmoney\n../escape\nfood\n');
  assert.match(result.stderr, /money/);
  assert.match(result.stderr, /unusable topic name/);
  assert.notEqual(result.status, 0);
  assert.equal(JSON.parse(readFileSync(path.join(folder, 'model/chatbot/ai/qnet_model.json'), 'utf8')).NCLASS, 3);
  assert.equal(JSON.parse(readFileSync(path.join(folder, 'model/chatbot/food/qnet_model.json'), 'utf8')).NCLASS, 1);
});

test('the ES module form of an export converts too', () => {
  const folder = project();
  mkdirSync(path.join(folder, 'model'));
  copyFileSync(path.join(TESTDATA, 'models', 'single.js'), path.join(folder, 'model/qnet_model.js'));
  const result = run(folder);
  assert.equal(result.status, 0, result.stderr);
  assert.equal(JSON.parse(readFileSync(path.join(folder, 'model/qnet_model.json'), 'utf8')).NVARS, 3);
});

test('the CommonJS form the tool writes loads with require and converts', { skip: !process.env.QNET_TOOL }, () => {
  const folder = project();
  mkdirSync(path.join(folder, 'model'));
  execFileSync(process.env.QNET_TOOL, ['export', '--commonjs', path.join(TESTDATA, 'models', 'hand_three_layers.nnw'), path.join(folder, 'model/qnet_model.js')]);
  const model = createRequire(import.meta.url)(path.join(folder, 'model/qnet_model.js'));
  assert.deepEqual(model.Predict([0.5, 0.5]), [21.5, 38.5]);
  const result = run(folder);
  assert.equal(result.status, 0, result.stderr);
  assert.equal(JSON.parse(readFileSync(path.join(folder, 'model/qnet_model.json'), 'utf8')).LAYERS, 1);
});

test('an engine export written now loads, predicts and converts', { skip: !process.env.QNET_TOOL }, async () => {
  const folder = project();
  mkdirSync(path.join(folder, 'model'));
  execFileSync(process.env.QNET_TOOL, ['export', path.join(TESTDATA, 'models', 'hand_basic.nnw'), path.join(folder, 'model/qnet_model.js')]);
  const model = (await import(pathToFileURL(path.join(folder, 'model/qnet_model.js')).href)).qnet;
  assert.deepEqual(model.Predict([1, 0]), [12, 2.25]);
  const result = run(folder);
  assert.equal(result.status, 0, result.stderr);
  assert.equal(JSON.parse(readFileSync(path.join(folder, 'model/qnet_model.json'), 'utf8')).data.length, model.PSIZE);
});
