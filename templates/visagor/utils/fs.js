// File and table output of the dataset generators.
'use strict';

const fs = require('fs');
const path = require('path');

// Packages come through Node's own resolution (the host sets NODE_PATH);
// the runtime folder on the current drive is the last resort.
function requirePackage(name) {
  try {
    return require(name);
  } catch (error) {
    if (error.code !== 'MODULE_NOT_FOUND') throw error;
    const root = path.parse(process.cwd()).root;
    return require(path.join(root, 'bin', 'JavaScript', 'nodejs', 'node_modules', name));
  }
}

// Every path the generators write to must stay inside the project folder.
function insideProject(target, projectDir = process.cwd()) {
  const relative = path.relative(path.resolve(projectDir), path.resolve(projectDir, target));
  if (relative === '' || relative.startsWith('..') || path.isAbsolute(relative)) {
    throw new Error(`${target}: path lies outside the project folder`);
  }
  return path.resolve(projectDir, target);
}

function writeFileAtomic(target, content) {
  const temporary = `${target}.${process.pid}.tmp`;
  try {
    fs.writeFileSync(temporary, content);
    fs.renameSync(temporary, target);
  } catch (error) {
    fs.rmSync(temporary, { force: true });
    throw error;
  }
}

function storeJSONData(data, target) {
  try {
    writeFileAtomic(insideProject(target), JSON.stringify(data, null, 2));
  } catch (error) {
    console.error(`${target}: could not be written: ${error.message}`);
  }
}

function readJSONData(source) {
  let text;
  try {
    text = fs.readFileSync(source, 'utf8');
  } catch (error) {
    throw new Error(`${source}: cannot be read: ${error.message}`);
  }
  try {
    return JSON.parse(text);
  } catch (error) {
    throw new Error(`${source}: not valid JSON: ${error.message}`);
  }
}

function createFolder(target) {
  const folder = insideProject(target);
  fs.rmSync(folder, { recursive: true, force: true });
  fs.mkdirSync(folder, { recursive: true });
}

function formatNumber(value) {
  if (!Number.isFinite(value)) throw new Error(`feature table value ${value} is not a finite number`);
  // String() gives the shortest text that reads back to the same double,
  // and whole numbers without a fraction; -0 prints as "0".
  return String(value);
}

function shuffleInPlace(rows, random = Math.random) {
  for (let i = rows.length - 1; i > 0; i -= 1) {
    const j = Math.floor(random() * (i + 1));
    [rows[i], rows[j]] = [rows[j], rows[i]];
  }
  return rows;
}

function tableText(rows, labelColumns) {
  if (rows.length === 0) throw new Error('no detection in any image: no feature table can be formed');
  const width = rows[0].length;
  if (labelColumns < 1 || labelColumns >= width) {
    throw new Error(`a row of ${width} values cannot hold ${labelColumns} label columns`);
  }
  const header = [];
  for (let i = 1; i <= width - labelColumns; i += 1) header.push(`in${i}`);
  for (let i = 1; i <= labelColumns; i += 1) header.push(`out${i}`);
  const lines = [header.join(',')];
  rows.forEach((row, index) => {
    if (row.length !== width) throw new Error(`row ${index + 1} has ${row.length} values, the first has ${width}`);
    lines.push(row.map(formatNumber).join(','));
  });
  return lines.join('\n');
}

function saveTrainDatasetAsCSV(rows, target = './training_data.csv', random = Math.random) {
  const text = tableText(shuffleInPlace(rows, random), 1);
  writeFileAtomic(insideProject(target), text);
}

function saveTrainDatasetAsMultioutputCSV(rows, classesNum, target = './training_data.csv', random = Math.random) {
  const text = tableText(shuffleInPlace(rows, random), classesNum);
  writeFileAtomic(insideProject(target), text);
}

// The generator's rounding of a detected face box to whole pixels; the app
// rounds the same way so that it classifies the crops the model learnt from.
function roundFaceBox(face) {
  const [x1, y1] = face.topLeft;
  const [x2, y2] = face.bottomRight;
  return {
    left: Math.round(x1),
    top: Math.round(y1),
    width: Math.round(x2 - x1),
    height: Math.round(y2 - y1),
  };
}

function cropArea(face, imageWidth, imageHeight) {
  const box = roundFaceBox(face);
  const values = [box.left, box.top, box.width, box.height];
  if (values.some((v) => !Number.isFinite(v))) throw new Error('face box is not a number');
  if (box.left < 0 || box.top < 0) throw new Error(`face box starts outside the image at (${box.left}, ${box.top})`);
  if (box.width <= 0 || box.height <= 0) throw new Error(`face box rounds to ${box.width} x ${box.height} pixels`);
  if (box.left + box.width > imageWidth || box.top + box.height > imageHeight) {
    throw new Error(`face box ${box.width} x ${box.height} at (${box.left}, ${box.top}) reaches beyond the ${imageWidth} x ${imageHeight} image`);
  }
  return box;
}

const OUTPUT_FORMATS = {
  '.jpg': 'jpeg', '.jpeg': 'jpeg', '.jpe': 'jpeg', '.png': 'png', '.webp': 'webp',
  '.gif': 'gif', '.tif': 'tiff', '.tiff': 'tiff', '.avif': 'avif',
};

const CROP_SIZE = 192;

async function cropImageAndSave(sourcePath, label, file, outputPath, face) {
  const sharp = requirePackage('sharp');
  const source = path.join(sourcePath, label, file);
  const targetFolder = path.join(outputPath, label);
  console.log(`${source} ${targetFolder}`);
  try {
    const image = sharp(source);
    const { width, height, format } = await image.metadata();
    const area = cropArea(face, width, height);
    const outputFormat = OUTPUT_FORMATS[path.extname(file).toLowerCase()] || format;
    const data = await image.extract(area).resize(CROP_SIZE, CROP_SIZE, { fit: 'fill' })
      .toFormat(outputFormat).toBuffer();
    const folder = insideProject(targetFolder);
    fs.mkdirSync(folder, { recursive: true });
    writeFileAtomic(path.join(folder, file), data);
    console.log('Image cropped and saved');
    return true;
  } catch (error) {
    console.log('An error occured', error.message);
    return false;
  }
}

module.exports = {
  requirePackage,
  insideProject,
  storeJSONData,
  readJSONData,
  createFolder,
  saveTrainDatasetAsCSV,
  saveTrainDatasetAsMultioutputCSV,
  roundFaceBox,
  cropArea,
  cropImageAndSave,
};
