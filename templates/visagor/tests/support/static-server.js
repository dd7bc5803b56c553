// A small static file server for the browser tests: serves a folder on
// 127.0.0.1, with some URL prefixes taken from other folders.
'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');

const TYPES = {
  '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.json': 'application/json',
  '.png': 'image/png', '.gif': 'image/gif', '.ico': 'image/x-icon', '.jpg': 'image/jpeg',
  '.bin': 'application/octet-stream',
};

function resolveRequest(urlPath, root, overlays) {
  const decoded = decodeURIComponent(urlPath.split('?')[0]);
  for (const [prefix, folder] of Object.entries(overlays)) {
    if (decoded.startsWith(prefix)) return inside(folder, decoded.slice(prefix.length));
  }
  return inside(root, decoded === '/' ? 'index.html' : decoded);
}

function inside(folder, relative) {
  const target = path.resolve(folder, `.${path.posix.normalize(`/${relative}`)}`);
  return target.startsWith(path.resolve(folder) + path.sep) ? target : null;
}

// overlays: { '/model/': '/some/folder' }
async function startStaticServer(root, overlays = {}) {
  const sockets = new Set();
  const server = http.createServer((request, response) => {
    const file = resolveRequest(request.url, root, overlays);
    fs.readFile(file || '', (error, data) => {
      if (error || !file) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
      response.end(data);
    });
  });
  server.on('connection', (socket) => {
    sockets.add(socket);
    socket.on('close', () => sockets.delete(socket));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((resolve) => {
      for (const socket of sockets) socket.destroy();
      server.close(resolve);
    }),
  };
}

module.exports = { startStaticServer, resolveRequest };
