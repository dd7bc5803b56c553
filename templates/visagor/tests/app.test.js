// The face classification app in headless Chromium: pictures in, classes out,
// and again with the network gone once the service worker is installed.
'use strict';

const assert = require('node:assert/strict');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { test } = require('node:test');
const { chromium } = require('playwright-core');
const { startStaticServer } = require('./support/static-server');
const { writeFixtureModel } = require('./support/fixture-model');
const { writeFakeCameraVideo } = require('./support/fake-camera');
const { servePublishedTemplate } = require('./support/published-app');

const TEMPLATE = path.resolve(__dirname, '..');
const TEST_IMAGES = path.join(TEMPLATE, 'images', 'test');
const CLASS_NAMES = fs.readdirSync(TEST_IMAGES).sort();
const BROWSER_ARGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const TIMEOUT = 90000;
// The build names the host program when it builds one; the app is then tested
// as the host publishes and serves it, else straight from the template.
const { VELM_EXECUTABLE } = process.env;

function testPictures() {
  return CLASS_NAMES.flatMap((label) => fs.readdirSync(path.join(TEST_IMAGES, label)).sort()
    .map((file) => ({ label, file: path.join(TEST_IMAGES, label, file) })));
}

function serveTrainedApp() {
  return VELM_EXECUTABLE ? servePublishedTemplate(VELM_EXECUTABLE) : startStaticServer(TEMPLATE);
}

function serveWithModel(modelFolder) {
  return startStaticServer(TEMPLATE, { '/model/': modelFolder });
}

async function openApp(serving, extraArgs = []) {
  const server = await serving;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'visagor-browser-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium', headless: true, args: [...BROWSER_ARGS, ...extraArgs],
  });
  const page = context.pages()[0] || await context.newPage();
  await page.goto(server.url);
  await waitUntilReady(page);
  return {
    server, context, page,
    close: async () => {
      await context.close();
      await server.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

async function waitUntilReady(page) {
  await page.waitForSelector('#spinner', { state: 'hidden', timeout: TIMEOUT });
}

// Chooses a picture, presses Start and returns the texts of the result list.
async function classify(page, file) {
  await page.setInputFiles('#upload-file', file);
  await page.click('#start');
  await page.waitForSelector('#results li', { timeout: TIMEOUT });
  return page.$$eval('#results li', (items) => items.map((item) => item.textContent));
}

function winner(texts) {
  const shares = texts.map((text) => {
    const match = /^(.*): (\d+) %$/.exec(text);
    assert.ok(match, `result line "${text}"`);
    return { name: match[1], percent: Number(match[2]) };
  });
  return shares.reduce((best, share) => (share.percent > best.percent ? share : best));
}

function fixtureFolder(valuePerInput) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'visagor-model-'));
  return writeFixtureModel(folder, CLASS_NAMES, valuePerInput).then(() => folder);
}

test('the trained model names the class of every test picture, also offline', { timeout: 6 * TIMEOUT }, async () => {
  const app = await openApp(serveTrainedApp());
  try {
    const pictures = testPictures();
    for (const picture of pictures) {
      const texts = await classify(app.page, picture.file);
      assert.equal(winner(texts).name, picture.label, `${picture.file}: ${texts.join(', ')}`);
    }

    // A file the browser cannot show must not be classified as the last face.
    const broken = path.join(os.tmpdir(), `visagor-broken-${process.pid}.jpg`);
    fs.writeFileSync(broken, 'not a picture');
    assert.deepEqual(await classify(app.page, broken), ['no face found']);
    fs.rmSync(broken);

    await app.page.evaluate(() => navigator.serviceWorker.ready);
    await app.server.close();
    await app.context.setOffline(true);
    await app.page.reload();
    await waitUntilReady(app.page);
    const last = pictures[pictures.length - 1];
    assert.equal(winner(await classify(app.page, last.file)).name, last.label);
  } finally {
    await app.close();
  }
});

test('when no engine output is positive the page says so', { timeout: 2 * TIMEOUT }, async () => {
  // A throw-away model whose every feature adds 0 to one class and -1 to the other.
  const app = await openApp(serveWithModel(await fixtureFolder([0, -1])));
  try {
    assert.deepEqual(await classify(app.page, testPictures()[0].file), ['no result']);
  } finally {
    await app.close();
  }
});

test('camera mode classifies snapshots until stopped and toggles back', { timeout: 2 * TIMEOUT }, async () => {
  const video = await writeFakeCameraVideo(testPictures()[0].file,
    path.join(os.tmpdir(), `visagor-camera-${process.pid}.y4m`));
  const app = await openApp(serveTrainedApp(), ['--use-fake-ui-for-media-stream',
    '--use-fake-device-for-media-stream', `--use-file-for-fake-video-capture=${video}`]);
  const { page } = app;
  const text = async (selector, expected) => {
    await page.waitForFunction(([s, t]) => document.querySelector(s).textContent === t, [selector, expected],
      { timeout: TIMEOUT }).catch(() => {});
    return page.textContent(selector);
  };
  const shown = (selector) => page.isVisible(selector);
  try {
    await page.click('#type');
    assert.equal(await text('#type', 'Image'), 'Image');
    assert.deepEqual([await shown('#webcam'), await shown('#input-file'), await shown('#image')], [true, false, false]);
    assert.equal(await page.isEnabled('#start'), true);

    await page.click('#start');
    assert.equal(await text('#start', 'Stop'), 'Stop');
    await page.waitForSelector('#results li', { timeout: TIMEOUT });
    const texts = await page.$$eval('#results li', (items) => items.map((item) => item.textContent));
    assert.equal(winner(texts).name, testPictures()[0].label, texts.join(', '));
    assert.deepEqual(await page.$eval('#canvas', (canvas) => [canvas.width, canvas.height]), [480, 360]);

    await page.click('#start');
    assert.equal(await text('#start', 'Start'), 'Start');
    await page.click('#type');
    assert.equal(await text('#type', 'Webcam'), 'Webcam');
    assert.deepEqual([await shown('#webcam'), await shown('#input-file')], [false, true]);
    assert.equal(await page.$eval('#canvas', (canvas) => canvas.style.border), '1px solid gray');
  } finally {
    await app.close();
    fs.rmSync(video, { force: true });
  }
});
