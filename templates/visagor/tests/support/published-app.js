// The app as the host publishes it: the template copied into a scratch
// project, published into a folder with `velm publish` and shown with
// `velm serve`. Only the descriptor's public items reach that folder.
'use strict';

const { spawn, spawnSync } = require('node:child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const TEMPLATE = path.resolve(__dirname, '..', '..');

function copyTemplate(target) {
  fs.cpSync(TEMPLATE, target, { recursive: true, filter: (source) => path.basename(source) !== 'tests' });
}

function waitForAddress(child) {
  return new Promise((resolve, reject) => {
    let output = '';
    child.stdout.on('data', (chunk) => {
      output += chunk;
      const match = /http:\/\/127\.0\.0\.1:\d+\//.exec(output);
      if (match) resolve(match[0]);
    });
    child.on('exit', (code) => reject(new Error(`velm serve ended with ${code}: ${output}`)));
  });
}

async function servePublishedTemplate(velm) {
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'visagor-published-'));
  const project = path.join(scratch, 'project');
  const site = path.join(scratch, 'site');
  copyTemplate(project);
  fs.mkdirSync(site);
  const publish = spawnSync(velm, ['publish', project, '--to', site], { encoding: 'utf8' });
  if (publish.status !== 0) throw new Error(`velm publish failed: ${publish.stdout}${publish.stderr}`);
  const server = spawn(velm, ['serve', site, '--port', '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const ended = new Promise((resolve) => server.once('exit', resolve));
  const url = await waitForAddress(server);
  // Closing twice (the offline test stops the server early) is harmless.
  return {
    url,
    close: async () => {
      if (server.exitCode === null && server.signalCode === null) server.kill('SIGTERM');
      await ended;
      fs.rmSync(scratch, { recursive: true, force: true });
    },
  };
}

module.exports = { servePublishedTemplate };
