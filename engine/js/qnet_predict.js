// Evaluates an exported engine model on one feature vector. Each output is
// the sum, over the inputs, of the weight of the interval that holds the
// input; the intervals of a synapse are (-max, b1], (b1, b2], ... and an
// input above the last bound, or one that is not a number, adds nothing.
// The exporter copies the body of this function into every model's Predict.
export function QNetPredict(inp, NCLASS, NVARS, LAYERS, NEURONS, PSTEP, data) {
  const out = new Array(NCLASS).fill(0);
  if (inp.length < NVARS) return out;
  let i = NEURONS;
  let l = 1;
  while (i < data.length && l < Math.round(data[LAYERS])) {
    const neurons = Math.round(data[i++]);
    for (let n = 0; n < neurons; n++) {
      const synapses = Math.round(data[i++]);
      let sum = 0;
      for (let s = 0; s < synapses; s++) {
        const w = data[i++];
        const end = i + 1 + PSTEP * Math.round(data[i]);
        const x = inp[s];
        let lower = -Number.MAX_VALUE;
        for (i++; i < end; i += PSTEP) {
          if (x > lower && x <= data[i]) {
            sum += data[i + 1] * w;
            break;
          }
          lower = data[i];
        }
        i = end;
      }
      if (n < NCLASS) out[n] += sum;
    }
    l++;
  }
  if (l > 2) for (let n = 0; n < NCLASS; n++) out[n] /= l - 1;
  return out;
}
