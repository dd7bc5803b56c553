// The project descriptor pwa.pwa: its byte form, header, item tree, and that
// it names every file the published app needs.
'use strict';

const assert = require('node:assert/strict');
const fs = require('fs');
const path = require('path');
const { test } = require('node:test');
const { DOMParser } = require('@xmldom/xmldom');

const TEMPLATE = path.resolve(__dirname, '..');
const COMMON_PYTHON_UTILS = path.resolve(TEMPLATE, '..', 'common', 'python', 'utils');
const DESCRIPTOR = path.join(TEMPLATE, 'pwa.pwa');
const bytes = fs.readFileSync(DESCRIPTOR);
const text = bytes.toString('latin1');
const root = new DOMParser().parseFromString(text, 'text/xml').documentElement;

const LIST_A = ['HTML', 'index', 'Manifest', '256.png', '96.png', '64.png', '48.png', '32.png',
  'favicon.ico', 'SW', 'CSS', 'spinner.gif'];

const elements = (node) => Array.from(node.childNodes).filter((child) => child.nodeType === 1);
const child = (node, name) => elements(node).find((element) => element.tagName === name);
const value = (node, name) => child(node, name).textContent;
const quotedList = (line) => line.split(',').map((entry) => {
  assert.match(entry, /^"[^"]+"$/, `list entry ${entry}`);
  return entry.slice(1, -1);
});

function items(list = child(root, 'list'), depth = 0, parent = null) {
  return elements(list).flatMap((item) => {
    const own = { element: item, depth, parent, name: value(item, 'Name'), fileName: value(item, 'FileName') };
    const sub = child(item, 'list');
    return [own, ...(sub ? items(sub, depth + 1, own) : [])];
  });
}

test('byte form: US-ASCII, CR LF line ends, none after the root, XML declaration first', () => {
  assert.ok(bytes.every((byte) => byte < 0x80), 'only ASCII bytes');
  assert.equal(text.replace(/\r\n/g, '').includes('\n') || text.replace(/\r\n/g, '').includes('\r'), false, 'every line ends in CR LF');
  assert.ok(text.startsWith('<?xml version="1.0" encoding="US-ASCII"?>\r\n'));
  assert.ok(text.endsWith('</TPwaFrame>'));
});

test('no self-closing elements and no attributes', () => {
  assert.doesNotMatch(text, /\/>/);
  assert.doesNotMatch(text.split('\r\n').slice(1).join('\n'), /<[A-Za-z][^>]*\s[^>]*>/);
});

test('header: module, lists and their order', () => {
  assert.equal(root.tagName, 'TPwaFrame');
  assert.deepEqual(elements(root).map((element) => element.tagName),
    ['PluginModule', 'PluginProduct', 'Source', 'BuildList', 'EditList', 'PublicList', 'list']);
  assert.equal(value(root, 'PluginModule'), 'visagor.dll');
  assert.equal(value(root, 'Source'), '');
  const build = quotedList(value(root, 'BuildList'));
  assert.deepEqual(build, ['HTML', 'train_all']);
  assert.equal(build.indexOf('train_all'), 1, 'Build starts the entry at position 1');
  assert.deepEqual(quotedList(value(root, 'EditList')), ['HTML', 'Manifest', 'SW', 'CSS']);
  assert.deepEqual(quotedList(value(root, 'PublicList')), LIST_A);
});

test('items: children in order, empty Source and Path, list entries name items', () => {
  const all = items();
  for (const { element, name } of all) {
    const tags = elements(element).map((e) => e.tagName);
    assert.deepEqual(tags.slice(0, 4), ['Name', 'Source', 'Path', 'FileName'], name);
    assert.ok(tags.slice(4).every((tag, i, rest) => (tag === 'PublicPath' && i === 0) || (tag === 'list' && i === rest.length - 1)), `${name}: ${tags}`);
    assert.equal(value(element, 'Source') + value(element, 'Path'), '', name);
  }
  const names = all.map((item) => item.name);
  for (const listName of ['BuildList', 'EditList', 'PublicList']) {
    for (const entry of quotedList(value(root, listName))) assert.ok(names.includes(entry), `${listName} entry ${entry}`);
  }
  const once = ['config', 'train', 'test', ...quotedList(value(root, 'BuildList'))];
  for (const name of once) assert.equal(names.filter((n) => n === name).length, 1, name);
  const top = all.filter((item) => item.depth === 0);
  assert.equal(top[0].name, 'HTML');
  assert.equal(top[top.length - 1].name, 'index');
  assert.deepEqual(all.filter((item) => item.parent && item.parent.name === 'HTML').map((item) => item.name),
    ['Manifest', 'favicon.ico', 'SW', 'CSS', 'banner.png', 'spinner.gif']);
});

test('class folders: one module container per folder of images/test and images/train', () => {
  for (const set of ['test', 'train']) {
    const holder = items().find((item) => item.name === set && item.element.tagName === 'TLocContainer');
    assert.equal(holder.fileName, `images\\${set}`);
    assert.equal(holder.parent.name, 'ImageClasses');
    const classes = items().filter((item) => item.parent === holder || (item.parent && item.parent.element === holder.element));
    assert.ok(classes.every((item) => item.element.tagName === 'TFacContainer'));
    assert.ok(classes.every((item) => item.fileName === `${holder.fileName}\\${item.name}`));
    const folders = fs.readdirSync(path.join(TEMPLATE, 'images', set), { withFileTypes: true })
      .filter((entry) => entry.isDirectory()).map((entry) => entry.name).sort();
    assert.deepEqual(classes.map((item) => item.name).sort(), folders);
  }
});

test('every FileName names a file or folder of the template', () => {
  for (const { name, fileName } of items()) {
    assert.doesNotMatch(fileName, /\/|^\\|\.\./, `${name}: ${fileName}`);
    const relative = fileName.split('\\').join('/');
    const present = fs.existsSync(path.join(TEMPLATE, relative))
      || (/^utils\/[^/]+\.py$/.test(relative) && fs.existsSync(path.join(COMMON_PYTHON_UTILS, path.basename(relative))));
    assert.ok(present, `${name}: ${fileName} is missing`);
  }
});

// The page's module graph, from its entry module.
function importedModules(entry, seen = new Set()) {
  if (seen.has(entry)) return [...seen];
  seen.add(entry);
  const file = path.join(TEMPLATE, entry);
  if (!fs.existsSync(file)) return [...seen];
  const source = fs.readFileSync(file, 'utf8');
  for (const [, specifier] of source.matchAll(/^import[^'"]*['"](\.{1,2}\/[^'"]+)['"]/gm)) {
    importedModules(path.posix.normalize(path.posix.join(path.posix.dirname(entry), specifier)), seen);
  }
  return [...seen];
}

test('publishing carries every file the offline cache and the page load', () => {
  const published = new Set(items().filter((item) => item.element.tagName === 'TPubContainer')
    .map((item) => item.fileName.split('\\').join('/')));
  const sw = fs.readFileSync(path.join(TEMPLATE, 'sw.js'), 'utf8');
  const cached = JSON.parse(`[${/FILES_TO_CACHE = \[([^\]]*)\]/.exec(sw)[1].replace(/'/g, '"').replace(/,\s*$/, '')}]`)
    .filter((file) => file !== './').map((file) => file.replace(/^\.\//, ''));
  const page = fs.readFileSync(path.join(TEMPLATE, 'index.html'), 'utf8');
  const loaded = [...page.matchAll(/(?:src|href)="([^"]+)"/g)].map((match) => match[1]);
  const imported = importedModules('index.js');
  assert.ok(imported.includes('utils/model.js') && imported.includes('model/qnet_model.js'));
  for (const file of [...cached, ...loaded, ...imported]) assert.ok(published.has(file), `${file} is not published`);
  for (const file of published) assert.ok(cached.includes(file), `${file} is not cached offline`);
});

test('the template\'s own text files end their lines in CR LF', () => {
  const files = ['generate_dataset.js', 'index.html', 'index.js', 'sw.js', 'manifest.json', 'styles.css',
    'images/SOURCES.md', 'lib/README.md',
    ...fs.readdirSync(path.join(TEMPLATE, 'utils')).filter((f) => f.endsWith('.js')).map((f) => `utils/${f}`)];
  for (const file of files) {
    const content = fs.readFileSync(path.join(TEMPLATE, file), 'utf8');
    assert.equal(content.replace(/\r\n/g, '').includes('\n'), false, `${file} has a bare LF`);
  }
});
