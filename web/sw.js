// The page's service worker: it keeps a copy of every file of the page (the core, Webamp and
// the templates among them), so the page opens and works without a network once it has
// loaded, and the browser can install it as an app. While the server answers, its files come
// first, so a rebuilt page shows at once; the copy answers when it does not. VERSION and
// FILES are written in above this by assemble.mjs.
const CACHE = `korvane-${VERSION}`;
const KEPT = new Set(FILES.map((f) => new URL(f, self.registration.scope).href));

self.addEventListener("install", (e) => {
  e.waitUntil(caches.open(CACHE).then((c) => c.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (e) => {
  e.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith("korvane-") && k !== CACHE).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (e) => {
  if (e.request.method === "GET" && e.request.url.startsWith(self.registration.scope)) e.respondWith(answer(e.request));
});

async function answer(request) {
  const cache = await caches.open(CACHE);
  try {
    const response = await fetch(request);
    const url = new URL(request.url);
    url.search = "";
    if (response.ok && KEPT.has(url.href)) await cache.put(url.href, response.clone());
    return response;
  } catch (err) {
    const kept = await cache.match(request, { ignoreSearch: true }) ||
      (request.mode === "navigate" && (await cache.match(self.registration.scope)));
    if (kept) return kept;
    throw err;
  }
}
