// Keeps the page working offline once it has been loaded: every file of the page is
// answered from the server when it can be reached (and kept), from the cache otherwise.
const kCache = 'zelkora-page';

// Every file of the page (build.mjs writes the list): fetched once the page has loaded, so
// that what the student has not used yet (the tests' worker, the manual) works offline too.
const kFiles = [];

self.addEventListener('install', (event) => {
  self.skipWaiting();
  event.waitUntil(caches.open(kCache).then((cache) =>
    // One file that cannot be fetched leaves the others cached, and the worker installed.
    Promise.all(kFiles.map((file) => cache.add(file).catch(() => {})))));
});
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    const cache = await caches.open(kCache);
    try {
      const response = await fetch(request);
      if (response.ok) await cache.put(request, response.clone());
      return response;
    } catch (error) {
      const cached = await cache.match(request, { ignoreSearch: true });
      if (cached) return cached;
      throw error;
    }
  })());
});
