// Folder walking, image loading and the face detector of the dataset generator.
'use strict';

const fs = require('fs');
const path = require('path');
const { requirePackage } = require('./fs');

const FACE_DETECTOR_PATH = './lib/face-detector/facemesh-detection-short.json';

// Listing order differs between file systems; sorting by code unit gives the
// order the training step's class map uses on every platform.
function sortedEntries(folder) {
  let entries;
  try {
    entries = fs.readdirSync(folder, { withFileTypes: true });
  } catch (error) {
    throw new Error(`${folder}: cannot be listed: ${error.message}`);
  }
  return entries.sort((a, b) => (a.name < b.name ? -1 : a.name > b.name ? 1 : 0));
}

function classFolders(folder) {
  return sortedEntries(folder).filter((entry) => entry.isDirectory()).map((entry) => entry.name);
}

function getClasses(folder) {
  const classes = {};
  classFolders(folder).forEach((name, index) => {
    classes[name] = index;
  });
  return classes;
}

function classFiles(folder, label) {
  return sortedEntries(path.join(folder, label)).map((entry) => entry.name);
}

async function loadImage(file, withOriginalSize = false, height = 360, width = 480) {
  const tf = requirePackage('@tensorflow/tfjs');
  const sharp = requirePackage('sharp');
  let decoded;
  try {
    decoded = await sharp(file).removeAlpha().toColourspace('srgb').raw()
      .toBuffer({ resolveWithObject: true });
  } catch (error) {
    throw new Error(`${file}: cannot be decoded as an image: ${error.message}`);
  }
  const { data, info } = decoded;
  const image = tf.tensor3d(new Int32Array(data), [info.height, info.width, info.channels], 'int32');
  if (withOriginalSize) return image;
  const resized = tf.tidy(() => tf.image.resizeBilinear(image, [height, width]).round().toInt());
  image.dispose();
  return resized;
}

async function generateImagesTensors(folder, {
  withHorizontalFlip = false, withOriginalSize = false, height = 360, width = 480,
} = {}) {
  const tf = requirePackage('@tensorflow/tfjs');
  const perClass = [];
  for (const label of classFolders(folder)) {
    const samples = [];
    for (const file of classFiles(folder, label)) {
      const tensor = await loadImage(path.join(folder, label, file), withOriginalSize, height, width);
      samples.push({ tensor, file });
      if (withHorizontalFlip) samples.push({ tensor: tf.reverse(tensor, 1), file });
    }
    perClass.push(samples);
  }
  return perClass;
}

// Node's fetch refuses file:// addresses, so the graph model is handed to the
// loader through an IO handler that reads the files itself.
function fileModelHandler(modelJsonPath) {
  return {
    load: async () => {
      const model = JSON.parse(fs.readFileSync(modelJsonPath, 'utf8'));
      const folder = path.dirname(modelJsonPath);
      const weightSpecs = [];
      const buffers = [];
      for (const group of model.weightsManifest || []) {
        weightSpecs.push(...group.weights);
        for (const shard of group.paths) {
          if (path.basename(shard) !== shard) throw new Error(`${modelJsonPath}: weight file ${shard} lies outside its folder`);
          buffers.push(fs.readFileSync(path.join(folder, shard)));
        }
      }
      const weights = Buffer.concat(buffers);
      return {
        modelTopology: model.modelTopology,
        format: model.format,
        generatedBy: model.generatedBy,
        convertedBy: model.convertedBy,
        signature: model.signature,
        userDefinedMetadata: model.userDefinedMetadata,
        weightSpecs,
        weightData: weights.buffer.slice(weights.byteOffset, weights.byteOffset + weights.length),
      };
    },
  };
}

async function loadFaceDetector(modelJsonPath = FACE_DETECTOR_PATH) {
  const tf = requirePackage('@tensorflow/tfjs');
  const blazeface = requirePackage('@tensorflow-models/blazeface');
  await tf.setBackend('cpu');
  await tf.ready();
  return blazeface.load({ maxFaces: 1, modelUrl: fileModelHandler(modelJsonPath) });
}

module.exports = {
  getClasses,
  loadImage,
  generateImagesTensors,
  loadFaceDetector,
};
