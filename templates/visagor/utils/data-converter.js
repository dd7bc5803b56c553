// From a picture to the face pixels and from the face pixels to the feature
// model's input. Uses the global `tf` of the page.
import { MODEL_INPUT_SIZE } from './constants.js';

// Rounded as the dataset generator rounds, so that the app sees the same
// crops that the model learnt from.
export function roundFaceBox(face) {
  const [x1, y1] = face.topLeft;
  const [x2, y2] = face.bottomRight;
  return {
    left: Math.round(x1),
    top: Math.round(y1),
    width: Math.round(x2 - x1),
    height: Math.round(y2 - y1),
  };
}

// A face that reaches over the picture's edge is cut back to the picture;
// a box with nothing left inside the picture is no face.
export function clipBoxToPicture(box, width, height) {
  const left = Math.max(0, box.left);
  const top = Math.max(0, box.top);
  const right = Math.min(width, box.left + box.width);
  const bottom = Math.min(height, box.top + box.height);
  if (!(right > left && bottom > top)) return null;
  return {
    left, top, width: right - left, height: bottom - top,
  };
}

export function pictureSize(picture) {
  return {
    width: picture.naturalWidth || picture.width,
    height: picture.naturalHeight || picture.height,
  };
}

export async function findFace(detector, picture) {
  const faces = await detector.estimateFaces(picture, false);
  if (faces.length === 0) return null;
  const { width, height } = pictureSize(picture);
  const box = clipBoxToPicture(roundFaceBox(faces[0]), width, height);
  if (box === null) return null;
  const scratch = document.createElement('canvas');
  scratch.width = width;
  scratch.height = height;
  const context = scratch.getContext('2d');
  context.drawImage(picture, 0, 0);
  return { box, pixels: context.getImageData(box.left, box.top, box.width, box.height) };
}

export function faceToModelInput(pixels) {
  return tf.tidy(() => tf.image
    .resizeBilinear(tf.browser.fromPixels(pixels), [MODEL_INPUT_SIZE, MODEL_INPUT_SIZE])
    .toFloat()
    .div(255)
    .expandDims(0));
}
