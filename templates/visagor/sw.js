// Offline cache of the face classification app.
const CACHE_NAME = 'face-classification-v1';

// Every file the page needs, including the libraries and detector weights it
// carries, so that the app starts with no network once installed.
const FILES_TO_CACHE = [
  './',
  'manifest.json',
  'sw.js',
  'index.html',
  'index.js',
  'styles.css',
  'banner.png',
  'spinner.gif',
  'favicon.ico',
  '256.png',
  '96.png',
  '64.png',
  '48.png',
  '32.png',
  './utils/constants.js',
  './utils/data.js',
  './utils/model.js',
  './utils/result-interpretation.js',
  './utils/visualisation.js',
  './utils/data-converter.js',
  './model/group1-shard1of1.bin',
  './model/model.json',
  './model/model_info.json',
  './model/qnet_model.js',
  './lib/tf.min.js',
  './lib/blazeface.min.js',
  './lib/webcam-easy.min.js',
  './lib/bootstrap.min.css',
  './lib/face-detector/facemesh-detection-short.json',
  './lib/face-detector/facemesh-detection-short.bin',
];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE_NAME).then((cache) => cache.addAll(FILES_TO_CACHE)));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(self.clients.claim());
});

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET') return;
  event.respondWith(caches.match(request, { ignoreSearch: true }).then((cached) => {
    if (cached) return cached;
    return fetch(request).then((response) => {
      // Only complete answers of this app are kept; an error page must not
      // stand in for the file offline.
      if (response.ok && response.type === 'basic') {
        const copy = response.clone();
        caches.open(CACHE_NAME).then((cache) => cache.put(request, copy));
      }
      return response;
    });
  }));
});
