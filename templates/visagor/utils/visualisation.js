// Drawing of a result over the picture or the camera video.
import { NO_RESULT } from './result-interpretation.js';

const LABEL_BOX = { width: 300, height: 30 };
const THUMBNAIL = { x: 0, y: 30, size: 50 };

export function clearCanvas(canvas) {
  canvas.getContext('2d').clearRect(0, 0, canvas.width, canvas.height);
}

function labelText(result) {
  return result ? `${result.objectClass} : ${result.score} / 100` : NO_RESULT;
}

export function drawResult(canvas, result, face, scale) {
  const context = canvas.getContext('2d');
  context.font = '22px Arial';
  context.fillStyle = 'green';
  context.fillRect(0, 0, LABEL_BOX.width, LABEL_BOX.height);
  context.fillStyle = 'white';
  context.fillText(labelText(result), 10, 22);

  const thumbnail = document.createElement('canvas');
  thumbnail.width = face.pixels.width;
  thumbnail.height = face.pixels.height;
  thumbnail.getContext('2d').putImageData(face.pixels, 0, 0);
  context.drawImage(thumbnail, THUMBNAIL.x, THUMBNAIL.y, THUMBNAIL.size, THUMBNAIL.size);

  const { left, top, width, height } = face.box;
  context.strokeStyle = 'green';
  context.lineWidth = 2;
  context.strokeRect(left * scale, top * scale, width * scale, height * scale);
}

export function resultTexts(result) {
  return result ? result.textArray : [NO_RESULT];
}

export function showResultList(list, texts) {
  list.replaceChildren();
  for (const text of texts) {
    const item = document.createElement('li');
    item.textContent = text;
    list.appendChild(item);
  }
}
