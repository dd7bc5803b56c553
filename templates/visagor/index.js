// Face classification page: a picture or the camera, the face detector, the
// image feature model and the engine.
import { CAMERA_FRAME_WIDTH, FRAME_SIZE, VIDEO_INFERENCE_INTERVAL } from './utils/constants.js';
import { findFace, pictureSize } from './utils/data-converter.js';
import { loadClassNames, loadModels, predictFace } from './utils/model.js';
import { interpretPercentages } from './utils/result-interpretation.js';
import {
  clearCanvas, drawResult, resultTexts, showResultList,
} from './utils/visualisation.js';

const NO_FACE = 'no face found';

const image = document.getElementById('image');
const video = document.getElementById('webcam');
const spinner = document.getElementById('spinner');
const canvas = document.getElementById('canvas');
const uploadFile = document.getElementById('upload-file');
const inputFile = document.getElementById('input-file');
const startButton = document.getElementById('start');
const typeButton = document.getElementById('type');
const results = document.getElementById('results');

const webcam = new Webcam(video, 'user', canvas);

let classNames = [];
let models = null;
let resolveModels;
const modelsReady = new Promise((resolve) => { resolveModels = resolve; });
let cameraMode = false;
let captureTimer = null;
// The face of the chosen picture, as a promise while it is being found.
let currentFace = Promise.resolve(null);

function setCanvasSize(width, height) {
  canvas.width = width;
  canvas.height = height;
}

async function classify(face, pictureHeight) {
  const outputs = await predictFace(models.featureModel, face.pixels);
  const result = interpretPercentages(outputs, classNames);
  drawResult(canvas, result, face, FRAME_SIZE / pictureHeight);
  showResultList(results, resultTexts(result));
}

function loadPicture(source) {
  return new Promise((resolve, reject) => {
    const picture = new Image();
    picture.onload = () => resolve(picture);
    picture.onerror = () => reject(new Error('the picture cannot be loaded'));
    picture.src = source;
  });
}

function readAsDataURL(file) {
  return new Promise((resolve, reject) => {
    const reader = new FileReader();
    reader.onload = () => resolve(reader.result);
    reader.onerror = () => reject(reader.error);
    reader.readAsDataURL(file);
  });
}

// Counts the pictures chosen, so that a slow earlier one never replaces the
// picture shown after a later choice.
let pictureChoice = 0;

async function faceOfFile(file, choice) {
  const source = await readAsDataURL(file);
  if (choice !== pictureChoice) return null;
  image.src = source;
  const picture = await loadPicture(source);
  if (choice !== pictureChoice) return null;
  const { width, height } = pictureSize(picture);
  const frameWidth = Math.round((width / height) * FRAME_SIZE);
  image.width = frameWidth;
  image.height = FRAME_SIZE;
  setCanvasSize(frameWidth, FRAME_SIZE);
  const { detector } = await modelsReady;
  const face = await findFace(detector, picture);
  return face && { ...face, pictureHeight: height };
}

function onFileChosen() {
  const [file] = uploadFile.files;
  if (!file) return;
  clearCanvas(canvas);
  showResultList(results, []);
  startButton.disabled = false;
  // A new picture replaces the previous face at once, so that a picture that
  // fails to load or shows no face is never classified as the previous one.
  pictureChoice += 1;
  currentFace = faceOfFile(file, pictureChoice).catch((error) => {
    console.log(`${file.name}: ${error.message}`);
    return null;
  });
}

async function captureFrame() {
  const picture = await loadPicture(webcam.snap());
  // The snapshot is drawn onto the canvas; resizing clears it and its mirroring.
  setCanvasSize(CAMERA_FRAME_WIDTH, FRAME_SIZE);
  const face = await findFace(models.detector, picture);
  if (face) await classify(face, pictureSize(picture).height);
}

function stopCapture() {
  clearInterval(captureTimer);
  captureTimer = null;
  startButton.textContent = 'Start';
}

async function onStart() {
  if (!models) return;
  if (!cameraMode) {
    const face = await currentFace;
    if (face) await classify(face, face.pictureHeight);
    else showResultList(results, [NO_FACE]);
    return;
  }
  if (captureTimer) {
    stopCapture();
    return;
  }
  startButton.textContent = 'Stop';
  captureTimer = setInterval(() => {
    captureFrame().catch((error) => console.log(error.message));
  }, VIDEO_INFERENCE_INTERVAL);
}

async function onTypeToggle() {
  clearCanvas(canvas);
  cameraMode = !cameraMode;
  if (cameraMode) {
    await webcam.start().catch((error) => console.log(`camera: ${error}`));
    startButton.disabled = false;
    canvas.style.border = 'none';
    typeButton.textContent = 'Image';
    image.style.display = 'none';
    inputFile.style.display = 'none';
    video.style.display = 'block';
  } else {
    webcam.stop();
    stopCapture();
    canvas.style.border = '1px solid gray';
    // The camera frame was 480 wide; the canvas covers the picture again.
    if (image.width > 0) setCanvasSize(image.width, FRAME_SIZE);
    typeButton.textContent = 'Webcam';
    image.style.display = 'block';
    inputFile.style.display = 'block';
    video.style.display = 'none';
  }
}

async function start() {
  uploadFile.value = '';
  startButton.disabled = true;
  uploadFile.addEventListener('change', onFileChosen);
  startButton.addEventListener('click', () => onStart().catch((error) => console.log(error.message)));
  typeButton.addEventListener('click', onTypeToggle);
  classNames = await loadClassNames();
  models = await loadModels();
  resolveModels(models);
  spinner.style.display = 'none';
}

if ('serviceWorker' in navigator) {
  navigator.serviceWorker.register('./sw.js').catch((error) => {
    console.log('Service worker registration failed, error:', error);
  });
}

start().catch((error) => {
  spinner.style.display = 'none';
  console.log(`The app could not start: ${error.message}`);
});
