// Loading of the class map and models, and one prediction on a face.
// Uses the globals `tf` and `blazeface` of the page.
import { qnet } from '../model/qnet_model.js';
import {
  CLASS_MAP_URL, FACE_DETECTOR_URL, FEATURE_MODEL_URL, MODEL_INPUT_SIZE,
} from './constants.js';
import { faceToModelInput } from './data-converter.js';

export async function loadClassNames() {
  const response = await fetch(CLASS_MAP_URL);
  if (!response.ok) throw new Error(`${CLASS_MAP_URL}: ${response.status} ${response.statusText}`);
  const { classes } = await response.json();
  // Key order is index order.
  return Object.keys(classes);
}

export async function loadModels() {
  const featureModel = await tf.loadLayersModel(FEATURE_MODEL_URL);
  tf.tidy(() => featureModel.predict(tf.zeros([1, MODEL_INPUT_SIZE, MODEL_INPUT_SIZE, 3])));
  const detector = await blazeface.load({ maxFaces: 1, modelUrl: FACE_DETECTOR_URL });
  return { featureModel, detector };
}

export async function predictFace(featureModel, facePixels) {
  const input = faceToModelInput(facePixels);
  const features = featureModel.predict(input);
  const values = Array.from(await features.data());
  input.dispose();
  features.dispose();
  return qnet.Predict(values);
}
