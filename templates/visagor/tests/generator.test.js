// The face dataset generator: class map, feature table writer, crop boxes and
// whole runs in a scratch project.
'use strict';

const assert = require('node:assert/strict');
const { spawnSync } = require('node:child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { test } = require('node:test');
const sharp = require('sharp');
const { getClasses } = require('../utils/data');
const {
  cropArea, cropImageAndSave, saveTrainDatasetAsCSV, saveTrainDatasetAsMultioutputCSV, insideProject,
} = require('../utils/fs');
const { parseArguments } = require('../generate_dataset');

const TEMPLATE = path.resolve(__dirname, '..');
const NODE_MODULES = path.resolve(TEMPLATE, '..', '..', 'node_modules');
const FACE_PICTURE = path.join(TEMPLATE, 'images', 'test', 'astronaut', 'astronaut_test_1.jpg');

function scratchFolder() {
  return fs.mkdtempSync(path.join(os.tmpdir(), 'visagor-generator-'));
}

function inFolder(folder, action) {
  const previous = process.cwd();
  process.chdir(folder);
  try {
    return action();
  } finally {
    process.chdir(previous);
  }
}

function touchFolders(root, folders) {
  for (const folder of folders) fs.mkdirSync(path.join(root, folder), { recursive: true });
}

test('class map: sub-folders in code-unit order from 0, plain files ignored', () => {
  const root = scratchFolder();
  touchFolders(root, ['zeta', 'beta', 'Alpha', 'beta10', 'beta2']);
  fs.writeFileSync(path.join(root, 'notes.txt'), 'x');
  assert.deepEqual(getClasses(root), {
    Alpha: 0, beta: 1, beta10: 2, beta2: 3, zeta: 4,
  });
  assert.deepEqual(Object.keys(getClasses(root)), ['Alpha', 'beta', 'beta10', 'beta2', 'zeta']);
  assert.throws(() => getClasses(path.join(root, 'missing')), /missing: cannot be listed/);
});

test('feature table: header, shortest number form, LF, no final line end, shuffled', () => {
  const folder = scratchFolder();
  const rows = [[0.7507361937497433, 1, 0], [100, 0.1 + 0.2, 1], [-0, 1e-7, 1]];
  inFolder(folder, () => saveTrainDatasetAsCSV(rows, './training_data.csv', () => 0));
  // Fisher-Yates with j = 0 every time turns [a, b, c] into [b, c, a].
  assert.equal(fs.readFileSync(path.join(folder, 'training_data.csv'), 'utf8'),
    'in1,in2,out1\n100,0.30000000000000004,1\n0,1e-7,1\n0.7507361937497433,1,0');

  const oneHot = [[0.5, 100, 0], [0.25, 0, 100]];
  inFolder(folder, () => saveTrainDatasetAsMultioutputCSV(oneHot, 2, './multi.csv', () => 0.99));
  assert.equal(fs.readFileSync(path.join(folder, 'multi.csv'), 'utf8'), 'in1,out1,out2\n0.5,100,0\n0.25,0,100');
});

test('feature table: a bad table is refused and an earlier table stays whole', () => {
  const folder = scratchFolder();
  const target = path.join(folder, 'training_data.csv');
  fs.writeFileSync(target, 'in1,out1\n1,0');
  const cases = [
    [[], /no detection in any image/],
    [[[1, 2, 0], [1, 0]], /row 2 has [23] values, the first has [23]/],
    [[[NaN, 0]], /NaN is not a finite number/],
    [[[1]], /cannot hold 1 label columns/],
  ];
  for (const [rows, message] of cases) {
    assert.throws(() => inFolder(folder, () => saveTrainDatasetAsCSV(rows)), message);
    assert.equal(fs.readFileSync(target, 'utf8'), 'in1,out1\n1,0');
  }
  assert.deepEqual(fs.readdirSync(folder), ['training_data.csv']);
  assert.throws(() => inFolder(folder, () => saveTrainDatasetAsCSV([[1, 0]], '../elsewhere.csv')), /outside the project folder/);
  assert.throws(() => insideProject('/etc/passwd', folder), /outside the project folder/);
});

test('crop area: rounding and the boxes that cannot be cut', () => {
  const face = (x1, y1, x2, y2) => ({ topLeft: [x1, y1], bottomRight: [x2, y2] });
  const good = [
    [face(10.4, 20.5, 60.6, 70.4), { left: 10, top: 21, width: 50, height: 50 }],
    [face(-0.4, 0, 100, 80), { left: -0, top: 0, width: 100, height: 80 }],
    [face(50, 30, 100.4, 80.2), { left: 50, top: 30, width: 50, height: 50 }],
  ];
  for (const [box, area] of good) assert.deepEqual(cropArea(box, 100, 80), area);
  const bad = [
    [face(-0.6, 10, 50, 50), /starts outside the image at \(-1, 10\)/],
    [face(10, -2, 50, 50), /starts outside the image/],
    [face(10, 10, 10.4, 50), /rounds to 0 x 40 pixels/],
    [face(10, 10, 50, 10.2), /rounds to 40 x 0 pixels/],
    [face(60, 10, 101, 50), /reaches beyond the 100 x 80 image/],
    [face(10, 40, 50, 80.6), /reaches beyond/],
    [face(NaN, 10, 50, 50), /not a number/],
  ];
  for (const [box, message] of bad) assert.throws(() => cropArea(box, 100, 80), message, JSON.stringify(box));
});

async function writePicture(file, width, height) {
  await sharp({ create: { width, height, channels: 3, background: { r: 200, g: 120, b: 40 } } }).toFile(file);
}

async function captureLog(action) {
  const lines = [];
  const original = console.log;
  console.log = (...parts) => lines.push(parts.join(' '));
  try {
    return { result: await action(), lines };
  } finally {
    console.log = original;
  }
}

test('crop and save: 192 x 192 in the format of the file name, or a message and no file', async () => {
  const folder = scratchFolder();
  touchFolders(folder, ['images/a']);
  await writePicture(path.join(folder, 'images/a/face.png'), 100, 80);
  fs.copyFileSync(path.join(folder, 'images/a/face.png'), path.join(folder, 'images/a/noext'));
  const face = { topLeft: [10, 10], bottomRight: [60, 70] };
  const previous = process.cwd();
  process.chdir(folder);
  try {
    const saved = await captureLog(() => cropImageAndSave('images', 'a', 'face.png', 'images_cropped', face));
    assert.equal(saved.result, true);
    assert.deepEqual(saved.lines, [`${path.join('images', 'a', 'face.png')} ${path.join('images_cropped', 'a')}`, 'Image cropped and saved']);
    const png = await sharp('images_cropped/a/face.png').metadata();
    assert.deepEqual([png.format, png.width, png.height], ['png', 192, 192]);

    const plain = await captureLog(() => cropImageAndSave('images', 'a', 'noext', 'images_cropped', face));
    assert.equal(plain.result, true);
    assert.equal((await sharp('images_cropped/a/noext').metadata()).format, 'png');

    const outside = { topLeft: [60, 10], bottomRight: [120, 70] };
    const failed = await captureLog(() => cropImageAndSave('images', 'a', 'face.png', 'images_out', outside));
    assert.equal(failed.result, false);
    assert.match(failed.lines[1], /^An error occured .*reaches beyond/);
    assert.equal(fs.existsSync('images_out'), false);
  } finally {
    process.chdir(previous);
  }
});

test('arguments: detection flag and a set name that stays below ./images', () => {
  assert.deepEqual(parseArguments(['true', 'train']), { detect: true, set: 'train' });
  assert.deepEqual(parseArguments(['yes', 'test']), { detect: true, set: 'test' });
  assert.deepEqual(parseArguments(['false', 'test']), { detect: false, set: 'test' });
  for (const set of ['..', '../x', 'a/b', 'a\\b', '']) {
    assert.throws(() => parseArguments(['true', set]), /not an image set name/, set);
  }
  assert.throws(() => parseArguments(['true']), /usage/);
});

// A project folder with the generator as the template carries it.
function scratchProject() {
  const project = scratchFolder();
  for (const file of ['generate_dataset.js', 'utils/fs.js', 'utils/data.js',
    'lib/face-detector/facemesh-detection-short.json', 'lib/face-detector/facemesh-detection-short.bin']) {
    fs.mkdirSync(path.dirname(path.join(project, file)), { recursive: true });
    fs.copyFileSync(path.join(TEMPLATE, file), path.join(project, file));
  }
  return project;
}

function runGenerator(project, ...args) {
  const run = spawnSync(process.execPath, ['generate_dataset.js', ...args], {
    cwd: project, env: { ...process.env, NODE_PATH: NODE_MODULES }, encoding: 'utf8',
  });
  return { status: run.status, stdout: run.stdout, stderr: run.stderr };
}

const readJSON = (file) => JSON.parse(fs.readFileSync(file, 'utf8'));

test('run with "false": checks the stored predictions and writes only the class map', () => {
  const project = scratchProject();
  touchFolders(project, ['images/test/b', 'images/test/a']);
  const predictions = path.join(project, 'face_predictions.json');

  fs.writeFileSync(predictions, '[[], [{"file": "x.jpg", "prediction": []}]]');
  const ok = runGenerator(project, 'false', 'test');
  assert.equal(ok.status, 0, ok.stderr);
  assert.deepEqual(readJSON(path.join(project, 'model_info.json')), {
    id: '123', name: 'default', type: 'handpose-with-qnet', classes: { a: 0, b: 1 },
  });
  assert.equal(fs.existsSync(path.join(project, 'images_cropped')), false);

  fs.rmSync(path.join(project, 'model_info.json'));
  for (const [content, message] of [['{"a": 1}', /not an array of per-class arrays/], ['[[', /not valid JSON/]]) {
    fs.writeFileSync(predictions, content);
    const bad = runGenerator(project, 'false', 'test');
    assert.notEqual(bad.status, 0);
    assert.match(bad.stderr, /face_predictions\.json: /);
    assert.match(bad.stderr, message);
    assert.equal(fs.existsSync(path.join(project, 'model_info.json')), false);
  }
  fs.rmSync(predictions);
  assert.match(runGenerator(project, 'false', 'test').stderr, /face_predictions\.json: cannot be read/);
  const missingSet = runGenerator(project, 'false', 'train');
  assert.notEqual(missingSet.status, 0);
  assert.match(missingSet.stderr, /images.train: cannot be listed/);
});

test('detecting run: crops and entries only for faces, earlier crops replaced', { timeout: 120000 }, async () => {
  const project = scratchProject();
  touchFolders(project, ['images/train/b', 'images/train/a', 'images_cropped/train/old']);
  fs.writeFileSync(path.join(project, 'images_cropped/train/old/stale.jpg'), 'x');
  fs.copyFileSync(FACE_PICTURE, path.join(project, 'images/train/a/face.jpg'));
  await writePicture(path.join(project, 'images/train/a/blank.png'), 120, 90);
  fs.copyFileSync(FACE_PICTURE, path.join(project, 'images/train/b/other.jpg'));

  const run = runGenerator(project, 'true', 'train');
  assert.equal(run.status, 0, run.stderr);
  const progress = run.stdout.split('\n').filter((line) => line.startsWith('Class: '));
  assert.deepEqual(progress, ['Class: 0 - prediction for 0 image', 'Class: 0 - prediction for 1 image',
    'Class: 1 - prediction for 0 image']);
  assert.equal(run.stdout.split('\n').filter((line) => line === 'Image cropped and saved').length, 2);

  const crops = fs.readdirSync(path.join(project, 'images_cropped/train')).sort();
  assert.deepEqual(crops, ['a', 'b']);
  assert.deepEqual(fs.readdirSync(path.join(project, 'images_cropped/train/a')), ['face.jpg']);
  const crop = await sharp(path.join(project, 'images_cropped/train/b/other.jpg')).metadata();
  assert.deepEqual([crop.format, crop.width, crop.height], ['jpeg', 192, 192]);

  const predictions = readJSON(path.join(project, 'face_predictions.json'));
  assert.deepEqual(predictions.map((entries) => entries.map((entry) => entry.file)), [['face.jpg'], ['other.jpg']]);
  const [first] = predictions[0][0].prediction;
  assert.equal(first.landmarks.length, 6);
  assert.ok(first.topLeft[0] < first.bottomRight[0] && first.topLeft[1] < first.bottomRight[1]);
  assert.deepEqual(readJSON(path.join(project, 'model_info.json')).classes, { a: 0, b: 1 });
});

test('detecting run: a file that is no picture stops the run before any output', () => {
  const project = scratchProject();
  touchFolders(project, ['images/train/a', 'images_cropped/train/a']);
  fs.copyFileSync(FACE_PICTURE, path.join(project, 'images/train/a/face.jpg'));
  fs.writeFileSync(path.join(project, 'images/train/a/notes.txt'), 'not a picture');
  fs.writeFileSync(path.join(project, 'images_cropped/train/a/kept.jpg'), 'x');

  const run = runGenerator(project, 'true', 'train');
  assert.notEqual(run.status, 0);
  assert.match(run.stderr, /notes\.txt: cannot be decoded as an image/);
  assert.ok(fs.existsSync(path.join(project, 'images_cropped/train/a/kept.jpg')));
  for (const file of ['face_predictions.json', 'model_info.json']) {
    assert.equal(fs.existsSync(path.join(project, file)), false, file);
  }
});
