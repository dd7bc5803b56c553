// A video file for Chromium's fake camera: one picture as a Y4M stream.
'use strict';

const fs = require('fs');
const sharp = require('sharp');

const clamp = (value) => Math.max(0, Math.min(255, Math.round(value)));

// BT.601 studio range, 4:2:0 chroma averaged over each 2 x 2 block.
function rgbToI420(rgb, width, height) {
  const y = Buffer.alloc(width * height);
  const u = Buffer.alloc((width / 2) * (height / 2));
  const v = Buffer.alloc(u.length);
  for (let row = 0; row < height; row += 1) {
    for (let col = 0; col < width; col += 1) {
      const i = (row * width + col) * 3;
      y[row * width + col] = clamp(16 + 0.257 * rgb[i] + 0.504 * rgb[i + 1] + 0.098 * rgb[i + 2]);
    }
  }
  for (let row = 0; row < height; row += 2) {
    for (let col = 0; col < width; col += 2) {
      let r = 0; let g = 0; let b = 0;
      for (const [dr, dc] of [[0, 0], [0, 1], [1, 0], [1, 1]]) {
        const i = ((row + dr) * width + col + dc) * 3;
        r += rgb[i] / 4; g += rgb[i + 1] / 4; b += rgb[i + 2] / 4;
      }
      const k = (row / 2) * (width / 2) + col / 2;
      u[k] = clamp(128 - 0.148 * r - 0.291 * g + 0.439 * b);
      v[k] = clamp(128 + 0.439 * r - 0.368 * g - 0.071 * b);
    }
  }
  return Buffer.concat([y, u, v]);
}

async function writeFakeCameraVideo(picture, target, width = 480, height = 360) {
  const rgb = await sharp(picture).removeAlpha().resize(width, height, { fit: 'contain', background: '#808080' })
    .raw().toBuffer();
  const frame = rgbToI420(rgb, width, height);
  const header = `YUV4MPEG2 W${width} H${height} F10:1 Ip A1:1 C420jpeg\n`;
  fs.writeFileSync(target, Buffer.concat([Buffer.from(header), Buffer.from('FRAME\n'), frame]));
  return target;
}

module.exports = { writeFakeCameraVideo };
