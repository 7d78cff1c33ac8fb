importScripts("lib/workbox-sw.js");
workbox.setConfig({ modulePathPrefix: "lib/", debug: false });
workbox.core.skipWaiting();
workbox.core.clientsClaim();
workbox.routing.registerRoute(({ url }) => url.pathname.endsWith("/data.json"),
  new workbox.strategies.CacheFirst({ cacheName: "velmora-data" }));
