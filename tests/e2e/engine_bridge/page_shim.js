// Injected before any page script: the page's side of the web-message
// channel, and a watch on full screen, which the protocol has no event for.
// The binding's global is taken away so that the page sees only
// chrome.webview.
(() => {
  const send = globalThis.__velmoraEngine;
  delete globalThis.__velmoraEngine;
  class WebView extends EventTarget {
    postMessage(value) {
      send(JSON.stringify({ kind: "message", text: typeof value === "string" ? value : null }));
    }
  }
  window.chrome = window.chrome || {};
  window.chrome.webview = new WebView();
  document.addEventListener("fullscreenchange", () => send(JSON.stringify({ kind: "fullscreen", on: Boolean(document.fullscreenElement) })), true);
})();
