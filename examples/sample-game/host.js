// The game's side of the host's web-message bridge. Without the host (an
// ordinary browser) every call still works, with the browser's own means.
const host = (() => {
  const webview = window.chrome && window.chrome.webview;
  const listeners = new Map();
  let folderHandles = [];
  // The thirteen handles arrive in this order; empty slots are null.
  const placeholders = ["<app>", "<web-resource>", "<current-app-data>", "<local-app-data>", "<roaming-app-data>",
    "<desktop>", "<documents>", "<downloads>", "<pictures>", "<profile>", "<saved-games>", "<screenshots>", "<videos>"];

  function on(type, listener) {
    listeners.set(type, listener);
  }

  function post(message) {
    if (webview) webview.postMessage(JSON.stringify(message));
  }

  if (webview) {
    webview.addEventListener("message", (event) => {
      const message = event.data || {};
      if (message.type === "directory-handles") folderHandles = Array.from(event.additionalObjects || []);
      const listener = listeners.get(message.type) || listeners.get("*");
      if (listener) listener(message, event);
    });
  }

  return {
    present: Boolean(webview),
    on,
    init: () => post({ type: "wrapper-init" }),
    setFullscreen: (on) => post({ type: "set-fullscreen", fullscreen: on }),
    setWindowSize: (width, height) => post({ type: "set-window-size", windowWidth: width, windowHeight: height }),
    sendToExtension: (fields) => post(Object.assign({ type: "extension-message" }, fields)),
    // The host asks before the window closes; the game answers once saved.
    enableCloseRequest: () => post({ type: "enable-close-request" }),
    close: () => post({ type: "close" }),
    handleCount: () => folderHandles.filter(Boolean).length,
    folder: (placeholder) => folderHandles[placeholders.indexOf(placeholder)] || null,
  };
})();
