// Keeps the page's own files, so that it opens without a network after the
// first visit. tools/web.sh writes the list and the version (a hash of the
// files) into this file; a new version replaces the old cache whole.
const version = "@VERSION@";
const files = ["@FILES@"];
const cacheName = "parvolin-" + version;

self.addEventListener("install", (event) => {
    event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(["./", ...files])).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names.filter((name) => name.startsWith("parvolin-") && name !== cacheName)
            .map((name) => caches.delete(name))))
        .then(() => self.clients.claim()));
});

// Only the page's own files are answered, from the cache first; the
// address's query names a problem, not another file.
self.addEventListener("fetch", (event) => {
    const url = new URL(event.request.url);
    if (event.request.method !== "GET" || url.origin !== self.location.origin)
        return;
    event.respondWith(caches.open(cacheName).then(async (cache) => {
        const kept = await cache.match(event.request, { ignoreSearch: true });
        return kept ?? fetch(event.request);
    }));
});
