// Class shares from engine outputs, and the face box rounding the app shares
// with the dataset generator.
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { test } from 'node:test';
import { interpretPercentages } from '../utils/result-interpretation.js';
import { clipBoxToPicture, roundFaceBox } from '../utils/data-converter.js';

const require = createRequire(import.meta.url);
const generatorFs = require('../utils/fs.js');

const NAMES = ['anna', 'ben', 'cleo'];

test('percentages of the positive outputs, winner and texts', () => {
  const cases = [
    { outputs: [1, 3, 0], score: 75, winner: 'ben', texts: ['anna: 25 %', 'ben: 75 %', 'cleo: 0 %'] },
    // negative outputs count as 0 and take no share
    { outputs: [-5, 2, 2], score: 50, winner: 'ben', texts: ['anna: 0 %', 'ben: 50 %', 'cleo: 50 %'] },
    // equal highest shares: the lower index wins
    { outputs: [2, 2, 0], score: 50, winner: 'anna', texts: ['anna: 50 %', 'ben: 50 %', 'cleo: 0 %'] },
    // shares are rounded each on its own
    { outputs: [1, 1, 1], score: 33, winner: 'anna', texts: ['anna: 33 %', 'ben: 33 %', 'cleo: 33 %'] },
    // a value that is not a number counts as 0
    { outputs: [NaN, 1, 0], score: 100, winner: 'ben', texts: ['anna: 0 %', 'ben: 100 %', 'cleo: 0 %'] },
    { outputs: [0.2, 0.7, 0.1], score: 70, winner: 'ben', texts: ['anna: 20 %', 'ben: 70 %', 'cleo: 10 %'] },
  ];
  for (const { outputs, score, winner, texts } of cases) {
    assert.deepEqual(interpretPercentages(outputs, NAMES), { objectClass: winner, score, textArray: texts }, `outputs ${outputs}`);
  }
});

test('no positive output gives no result instead of a division by zero', () => {
  for (const outputs of [[0, 0, 0], [-1, -2, 0], [-0.1, -0.1, -0.1], [NaN, NaN, NaN]]) {
    assert.equal(interpretPercentages(outputs, NAMES), null, `outputs ${outputs}`);
  }
});

const BOXES = [
  { face: { topLeft: [10.4, 20.6], bottomRight: [110.4, 140.2] }, box: { left: 10, top: 21, width: 100, height: 120 } },
  { face: { topLeft: [0.5, 1.5], bottomRight: [2.9, 3.4] }, box: { left: 1, top: 2, width: 2, height: 2 } },
  { face: { topLeft: [-3.2, 5], bottomRight: [40, 45] }, box: { left: -3, top: 5, width: 43, height: 40 } },
  { face: { topLeft: [7.1, 7.1], bottomRight: [7.3, 7.4] }, box: { left: 7, top: 7, width: 0, height: 0 } },
];

test('the app rounds a face box exactly as the dataset generator does', () => {
  for (const { face, box } of BOXES) {
    assert.deepEqual(roundFaceBox(face), box);
    assert.deepEqual(generatorFs.roundFaceBox(face), box);
  }
});

test('the app cuts a face box back to the picture and drops an empty one', () => {
  const cases = [
    [{ left: 10, top: 20, width: 30, height: 40 }, { left: 10, top: 20, width: 30, height: 40 }],
    [{ left: -5, top: -5, width: 30, height: 40 }, { left: 0, top: 0, width: 25, height: 35 }],
    [{ left: 90, top: 50, width: 30, height: 40 }, { left: 90, top: 50, width: 10, height: 30 }],
    [{ left: 100, top: 10, width: 10, height: 10 }, null],
    [{ left: 10, top: 10, width: 0, height: 10 }, null],
    [{ left: -20, top: 10, width: 15, height: 10 }, null],
  ];
  for (const [box, clipped] of cases) {
    assert.deepEqual(clipBoxToPicture(box, 100, 80), clipped, JSON.stringify(box));
  }
});
