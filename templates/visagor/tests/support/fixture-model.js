// A throw-away model for the browser tests while no trained model is at hand:
// an image feature model of 288 pooled colour values and an engine export
// whose every synapse adds a fixed value per class, so that the expected
// class shares are known.
'use strict';

const fs = require('fs');
const path = require('path');
const tf = require('@tensorflow/tfjs');

const REPOSITORY = path.resolve(__dirname, '..', '..', '..', '..');
const PREDICT_ROUTINE = path.join(REPOSITORY, 'engine', 'js', 'qnet_predict.js');
const INPUT_SIZE = 192;
const FEATURES = 288; // 12 x 8 cells x 3 colours
const UPPER_BOUND = 2; // above every pooled colour value (0..1)

async function writeFeatureModel(folder) {
  await tf.setBackend('cpu');
  const model = tf.sequential();
  model.add(tf.layers.averagePooling2d({ inputShape: [INPUT_SIZE, INPUT_SIZE, 3], poolSize: [16, 24] }));
  model.add(tf.layers.flatten());
  await model.save(tf.io.withSaveHandler(async (artifacts) => {
    const manifest = [{ paths: ['group1-shard1of1.bin'], weights: artifacts.weightSpecs }];
    const json = {
      format: 'layers-model', modelTopology: artifacts.modelTopology, weightsManifest: manifest,
    };
    fs.writeFileSync(path.join(folder, 'model.json'), JSON.stringify(json));
    fs.writeFileSync(path.join(folder, 'group1-shard1of1.bin'), Buffer.from(artifacts.weightData || new ArrayBuffer(0)));
    return { modelArtifactsInfo: { dateSaved: new Date(), modelTopologyType: 'JSON' } };
  }));
}

// One computing layer, one neuron per class, one interval per synapse that
// holds every feature value.
function engineData(valuePerInput) {
  const data = [777, 2, FEATURES, valuePerInput.length];
  for (const value of valuePerInput) {
    data.push(FEATURES);
    for (let s = 0; s < FEATURES; s += 1) data.push(1, 1, UPPER_BOUND, value, 1, 1);
  }
  return data;
}

function engineExport(valuePerInput) {
  const routine = fs.readFileSync(PREDICT_ROUTINE, 'utf8').replace(/^export /m, '');
  const data = engineData(valuePerInput);
  return `${routine}
export const qnet = {
  QNETID: 777, LAYERS: 1, INPUTS: 2, NEURONS: 3, SYNAPSES: 4, SWEIGHT: 5, MEDIATORS: 6, PSTEP: 4,
  PSIZE: ${data.length}, NVARS: ${FEATURES}, NCLASS: ${valuePerInput.length},
  data: [${data.join(', ')}],
  Predict: function(inp) {
    return QNetPredict(inp, this.NCLASS, this.NVARS, this.LAYERS, this.NEURONS, this.PSTEP, this.data);
  },
};
`;
}

async function writeFixtureModel(folder, classNames, valuePerInput) {
  fs.mkdirSync(folder, { recursive: true });
  await writeFeatureModel(folder);
  fs.writeFileSync(path.join(folder, 'qnet_model.js'), engineExport(valuePerInput));
  const classes = Object.fromEntries(classNames.map((name, index) => [name, index]));
  fs.writeFileSync(path.join(folder, 'model_info.json'), JSON.stringify({
    id: '1', name: 'fixture', type: 'qnet-with-keras', classes,
  }, null, 2));
}

module.exports = { writeFixtureModel, FEATURES };
