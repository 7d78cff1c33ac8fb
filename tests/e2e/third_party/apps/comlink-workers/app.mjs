// Comlink's module build in a module worker, which starts a module worker
// of its own; each answers through Comlink.
import * as Comlink from "./lib/comlink.mjs";

window.appResult = (async () => {
  const outer = Comlink.wrap(new Worker("outer.mjs", { type: "module", name: "outer" }));
  return {
    "outer worker": await outer.describe(),
    "inner worker's Fibonacci(30)": await outer.fibonacciOnInner(30),
  };
})();
