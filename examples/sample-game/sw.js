// Caches nothing: it only shows that a worker's own requests reach the host.
self.addEventListener("install", () => self.skipWaiting());
self.addEventListener("activate", (event) => event.waitUntil(self.clients.claim()));
self.addEventListener("message", async (event) => {
  try {
    const answer = await fetch("sw-check.txt", { cache: "no-store" });
    const text = await answer.text();
    event.source.postMessage({ status: answer.status, text: text.trim() });
  } catch (error) {
    event.source.postMessage({ status: 0, text: String(error) });
  }
});
