// The real engine exports of the suite (read from the shared engines
// folder, never copied here) and, for each, the engine's own sign that its
// first scene ran. "sign" is evaluated in the page until it is true;
// "console" must also have been printed. "pageErrors" lists the uncaught
// errors the game makes on any server, with the reason they are allowed.
// "loose" runs the export a second time with its files loose in "www".
// "state", when the sign is not seen, tells where the engine stands.
const engines = [
  {
    label: "gamemaker-spaceshooter",
    sign: () => typeof GameMaker_Init === "function",
    console: /^Entering main loop/,
  },
  {
    label: "construct3-wormeater",
    // The runtime tells the page it is ready through a message port.
    watch: () => {
      const descriptor = Object.getOwnPropertyDescriptor(MessagePort.prototype, "onmessage");
      Object.defineProperty(MessagePort.prototype, "onmessage", {
        configurable: true,
        get: descriptor.get,
        set(handler) {
          const watched = typeof handler !== "function" ? handler : function (event) {
            if (event.data && event.data.type === "runtime-ready") window.engineBooted = true;
            return handler.apply(this, arguments);
          };
          descriptor.set.call(this, watched);
        },
      });
    },
    sign: () => window.engineBooted === true && typeof c3_runtimeInterface === "object",
  },
  {
    label: "rpgmaker-mv-syachiku",
    sign: () => typeof SceneManager === "function" && SceneManager._scene instanceof Scene_Title &&
      SceneManager._scene._active === true && DataManager.isDatabaseLoaded() === true,
    state: () => typeof SceneManager === "function" && SceneManager._scene ?
      `scene ${SceneManager._scene.constructor.name}, active ${SceneManager._scene._active}` : "no scene",
  },
  {
    label: "gdevelop-zukei",
    loose: true,
    // The scenes rendered, noted by a wrap of the renderer set once the
    // runtime exists; the first layout must be among them.
    sign: () => {
      if (typeof gdjs !== "object" || !gdjs.RuntimeScene || !gdjs.projectData) return false;
      const scene = gdjs.RuntimeScene.prototype;
      if (!scene.engineWatched) {
        scene.engineWatched = true;
        window.scenesRendered = new Set();
        for (const name of ["render", "renderAndStep"]) {
          const original = scene[name];
          if (typeof original !== "function") continue;
          scene[name] = function () {
            window.scenesRendered.add(this.getName());
            return original.apply(this, arguments);
          };
        }
      }
      return window.scenesRendered.has(gdjs.projectData.firstLayout);
    },
    pageErrors: [{
      error: /^(SyntaxError: )?Invalid or unexpected token$/,
      why: "index.html loads draco_decoder.wasm with a script tag, which fails on every server",
    }],
  },
  {
    label: "defold-driller",
    sign: () => typeof Module === "object" && Module._archiveLoaded === true && Module._preLoadDone === true,
  },
  {
    label: "unity-frogger",
    // The loading bar is hidden once createUnityInstance resolves.
    sign: () => document.querySelector("#unity-loading-bar").style.display === "none",
  },
  {
    label: "unity-brotli",
    sign: () => document.querySelector("#unity-loading-bar").style.display === "none",
  },
];

module.exports = engines;

// Run as a program: one line per run, "<label> bundle" or "<label> loose".
if (require.main === module) {
  for (const engine of engines) {
    console.log(`${engine.label} bundle`);
    if (engine.loose) console.log(`${engine.label} loose`);
  }
}
