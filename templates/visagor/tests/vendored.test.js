// The libraries and weights the template carries are the installed packages'
// files, unchanged, so that the app runs with no network.
'use strict';

const assert = require('node:assert/strict');
const crypto = require('crypto');
const fs = require('fs');
const path = require('path');
const { test } = require('node:test');
const {
  TEMPLATE, NODE_MODULES, FROM_PACKAGES, FROM_TARBALL,
} = require('./vendored-files');

test('copies match the installed packages', () => {
  for (const [target, source] of FROM_PACKAGES) {
    const copy = fs.readFileSync(path.join(TEMPLATE, target));
    const original = fs.readFileSync(path.join(NODE_MODULES, source));
    assert.ok(copy.equals(original), `${target} differs from ${source}: refresh with vendored-files.js --copy`);
  }
});

test('detector weights match their pinned content and name only their own weight file', () => {
  for (const [target, sha256] of FROM_TARBALL) {
    const digest = crypto.createHash('sha256').update(fs.readFileSync(path.join(TEMPLATE, target))).digest('hex');
    assert.equal(digest, sha256, target);
  }
  const model = JSON.parse(fs.readFileSync(path.join(TEMPLATE, FROM_TARBALL[0][0]), 'utf8'));
  assert.deepEqual(model.weightsManifest.flatMap((group) => group.paths), [path.basename(FROM_TARBALL[1][0])]);
});

test('the page and its modules load nothing from another host', () => {
  const files = ['index.html', 'index.js', 'sw.js', 'styles.css', 'manifest.json',
    ...fs.readdirSync(path.join(TEMPLATE, 'utils')).filter((f) => f.endsWith('.js')).map((f) => `utils/${f}`)];
  for (const file of files) {
    const text = fs.readFileSync(path.join(TEMPLATE, file), 'utf8');
    assert.doesNotMatch(text, /["'`(](?:https?:)?\/\/[^"'`\s)]/i, file);
  }
});
