//+------------------------------------------------------------------+
//  <2026-12-10 13:01:38 - 2026-12-10 13:01:38> <>
//+------------------------------------------------------------------+
export const qnet = {
  QNETID: 777,
  LAYERS: 1,
  INPUTS: 2,
  NEURONS: 3,
  SYNAPSES: 4,
  SWEIGHT: 5,
  MEDIATORS: 6,
  PSTEP: 4,
  PSIZE: 57,
  NVARS: 2,
  NCLASS: 2,
  data:  [777.0000, 3.0000, 2.0000, 2.0000, 2.0000, 1.0000, 1.0000, 1.0000, 1.0000, 
  1.0000, 1.0000, 1.0000, 1.0000, 1.0000, 2.0000, 1.0000, 1.0000, 2.0000, 1.0000, 
  1.0000, 1.0000, 3.0000, 1.0000, 1.0000, 1.0000, 1.0000, 1.0000, 4.0000, 1.0000, 
  1.0000, 2.0000, 2.0000, 2.0000, 1.0000, 1.0000, 10.0000, 1.0000, 1.0000, 1.0000, 
  1.0000, 1.0000, 20.0000, 1.0000, 1.0000, 2.0000, 1.0000, 1.0000, 1.0000, 30.0000, 
  1.0000, 1.0000, 1.0000, 1.0000, 1.0000, 40.0000, 1.0000, 1.0000],
  Predict: function(inp) {
    const NCLASS = this.NCLASS, NVARS = this.NVARS, LAYERS = this.LAYERS;
    const NEURONS = this.NEURONS, PSTEP = this.PSTEP, data = this.data;
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
}
//+------------------------------------------------------------------+
