import * as Comlink from "./lib/comlink.mjs";

const inner = Comlink.wrap(new Worker("inner.mjs", { type: "module", name: "inner" }));
Comlink.expose({
  describe: () => `${self.name} at ${self.location.pathname}`,
  fibonacciOnInner: (n) => inner.fibonacci(n),
});
