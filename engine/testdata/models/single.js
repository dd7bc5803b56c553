//+------------------------------------------------------------------+
//  <2026-12-10 13:01:26 - 2026-12-10 13:01:26> <>
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
  PSIZE: 83,
  NVARS: 3,
  NCLASS: 1,
  data:  [777.0000, 2.0000, 3.0000, 1.0000, 3.0000, 1.0000, 6.0000, -0.8500, 0.0232, 
  1.0000, 1.0000, -0.7800, -0.2465, 1.0000, 1.0000, 1.8600, 0.2928, 1.0000, 18.0000, 
  2.3200, 0.7789, 1.0000, 2.0000, 2.5300, 0.8980, 1.0000, 1.0000, 2.9000, 0.6971, 
  1.0000, 1.0000, 1.0000, 5.0000, -0.8500, -0.2465, 1.0000, 1.0000, 0.2600, -0.0465, 
  1.0000, 7.0000, 2.3500, 0.5132, 1.0000, 13.0000, 2.4200, 0.8980, 1.0000, 1.0000, 
  2.7000, 0.3253, 1.0000, 2.0000, 1.0000, 7.0000, -0.9400, 0.0232, 1.0000, 1.0000, 
  -0.8500, 0.0205, 1.0000, 1.0000, -0.5200, 0.3557, 1.0000, 1.0000, 0.1700, 0.4927, 
  1.0000, 3.0000, 1.2500, 0.1930, 1.0000, 9.0000, 2.1400, 0.9765, 1.0000, 6.0000, 
  2.8200, 1.3819, 1.0000, 3.0000],
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
