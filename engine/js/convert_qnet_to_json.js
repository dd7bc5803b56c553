// Writes the data form of the engine's browser export: ./model/qnet_model.js
// becomes ./model/qnet_model.json, or, where ./model/models.json lists chat
// topics, ./model/chatbot/<name>/qnet_model.js of every topic in turn.
// Run with the project folder as the current folder.
import { existsSync } from 'node:fs';
import { readFile, rename, writeFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const FIELDS = ['NCLASS', 'NVARS', 'NEURONS', 'LAYERS', 'PSTEP', 'data'];

// The model object of a module form: the CommonJS export, or the named
// export `qnet` of the ES module form.
async function loadModel(file) {
  const text = await readFile(file, 'utf8');
  if (/^export\s/m.test(text)) {
    const module = await import(pathToFileURL(file).href);
    return module.qnet ?? module.default;
  }
  return createRequire(import.meta.url)(file);
}

export function toJsonForm(model) {
  const form = {};
  for (const field of FIELDS) {
    if (model?.[field] === undefined) throw new Error(`the model has no field ${field}`);
    form[field] = model[field];
  }
  if (!Array.isArray(form.data) || form.data.some((value) => typeof value !== 'number'))
    throw new Error('the model data is not an array of numbers');
  return JSON.stringify(form, null, 2);
}

// Writes beside the target and renames, so that no half-written file remains.
async function writeAtomically(file, text) {
  const temp = `${file}.tmp${process.pid}`;
  await writeFile(temp, text);
  await rename(temp, file);
}

export async function convert(source, target) {
  const model = await loadModel(path.resolve(source));
  await writeAtomically(target, toJsonForm(model));
}

// A topic name becomes one folder name: nothing that leaves ./model/chatbot.
function topicFolder(name) {
  if (typeof name !== 'string' || !/^[^/\\]+$/.test(name) || name === '.' || name === '..')
    throw new Error(`unusable topic name ${JSON.stringify(name)}`);
  return path.join('model', 'chatbot', name);
}

async function main() {
  const list = path.join('model', 'models.json');
  if (!existsSync(list)) {
    try {
      await convert(path.join('model', 'qnet_model.js'), path.join('model', 'qnet_model.json'));
    } catch (error) {
      console.error(error.message ?? error);
      process.exitCode = 1;
    }
    return;
  }
  let models;
  try {
    models = JSON.parse(await readFile(list, 'utf8')).models;
    if (!Array.isArray(models)) throw new Error(`${list}: no "models" list`);
  } catch (error) {
    console.error(error.message ?? error);
    process.exitCode = 1;
    return;
  }
  for (const entry of models) {
    console.log(entry?.name);
    try {
      const folder = topicFolder(entry?.name);
      await convert(path.join(folder, 'qnet_model.js'), path.join(folder, 'qnet_model.json'));
    } catch (error) {
      console.error(error.message ?? error);
      process.exitCode = 1;
    }
  }
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) await main();
