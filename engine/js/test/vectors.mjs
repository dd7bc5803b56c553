// Reads the shared test vectors: model;inputs;expected outputs;case.
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const TESTDATA = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', '..', 'testdata');

const numbers = (text) => (text === '' ? [] : text.split(',').map((v) => (v === 'nan' ? NaN : Number(v))));

export function readVectors() {
  return readFileSync(path.join(TESTDATA, 'vectors.csv'), 'utf8')
    .split('\n')
    .filter((line) => line && !line.startsWith('#'))
    .map((line) => {
      const [model, inputs, expected, note] = line.split(';');
      return { model, inputs: numbers(inputs), expected: numbers(expected), note };
    });
}
