// Cuts the face out of every picture of one image set, for the training step.
// Usage: node generate_dataset.js <detect> <set>
//   <detect>  "false" reads the stored face_predictions.json instead of detecting
//   <set>     the folder below ./images to process: train or test
'use strict';

const path = require('path');
const { getClasses, generateImagesTensors, loadFaceDetector } = require('./utils/data');
const {
  storeJSONData, readJSONData, createFolder, cropImageAndSave,
} = require('./utils/fs');

const PREDICTIONS_FILE = './face_predictions.json';
const CLASS_MAP_FILE = './model_info.json';

function parseArguments(argv) {
  const [detect, set] = argv;
  if (detect === undefined || set === undefined) {
    throw new Error('usage: node generate_dataset.js <detect> <set>');
  }
  // The set names a folder below ./images; nothing else may be reached through it.
  if (!/^[A-Za-z0-9_-]+$/.test(set)) throw new Error(`${set}: not an image set name`);
  return { detect: detect !== 'false', set };
}

function classMap(classes) {
  return {
    id: '123', name: 'default', type: 'handpose-with-qnet', classes,
  };
}

function checkStoredPredictions(predictions) {
  const wellFormed = Array.isArray(predictions)
    && predictions.every((entries) => Array.isArray(entries));
  if (!wellFormed) throw new Error(`${PREDICTIONS_FILE}: not an array of per-class arrays`);
}

async function detectAndCrop(imagesPath, set, classes) {
  const samplesPerClass = await generateImagesTensors(imagesPath, { withOriginalSize: true });
  const detector = await loadFaceDetector();
  const outputPath = `./images_cropped/${set}`;
  createFolder(outputPath);
  const labels = Object.keys(classes);
  const predictions = [];
  let faces = 0;
  for (let c = 0; c < samplesPerClass.length; c += 1) {
    const entries = [];
    for (let k = 0; k < samplesPerClass[c].length; k += 1) {
      const { tensor, file } = samplesPerClass[c][k];
      console.log(`Class: ${c} - prediction for ${k} image`);
      const prediction = await detector.estimateFaces(tensor, false);
      tensor.dispose();
      if (prediction.length > 0) {
        faces += 1;
        await cropImageAndSave(imagesPath, labels[c], file, outputPath, prediction[0]);
        entries.push({ prediction, file });
      }
    }
    predictions.push(entries);
  }
  storeJSONData(predictions, PREDICTIONS_FILE);
  return faces;
}

async function main(argv) {
  const { detect, set } = parseArguments(argv);
  const imagesPath = path.join('.', 'images', set);
  const classes = getClasses(imagesPath);
  if (detect) {
    const faces = await detectAndCrop(imagesPath, set, classes);
    if (faces === 0) {
      console.error(`No face was found in any picture of ${imagesPath}`);
      process.exitCode = 1;
    }
  } else {
    checkStoredPredictions(readJSONData(PREDICTIONS_FILE));
  }
  storeJSONData(classMap(classes), CLASS_MAP_FILE);
}

if (require.main === module) {
  main(process.argv.slice(2)).catch((error) => {
    console.error(error.message);
    process.exitCode = 1;
  });
}

module.exports = { parseArguments, classMap, checkStoredPredictions };
