// A service worker built on Workbox (its modules loaded by the worker from
// the app) caches data.json on first use and answers from its cache after.
window.appResult = (async () => {
  await navigator.serviceWorker.register("sw.js");
  await navigator.serviceWorker.ready;
  if (!navigator.serviceWorker.controller) {
    await new Promise((resolve) => navigator.serviceWorker.addEventListener("controllerchange", resolve, { once: true }));
  }
  const first = await (await fetch("data.json")).json();
  // Workbox writes its cache after it has answered.
  const cache = await caches.open("velmora-data");
  let cached;
  for (let tries = 0; !cached && tries < 50; tries++) {
    cached = await cache.match("data.json");
    if (!cached) await new Promise((resolve) => setTimeout(resolve, 100));
  }
  const second = await (await fetch("data.json")).json();
  const timing = performance.getEntriesByName(new URL("data.json", location.href).href).pop();
  return {
    "first answer": first.level,
    "cached by Workbox": cached ? (await cached.json()).level : "nothing",
    "second answer": second.level,
    "answered through the worker": timing.workerStart > 0,
  };
})();
