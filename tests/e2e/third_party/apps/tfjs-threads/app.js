// TensorFlow.js on its WebAssembly backend, which runs on several threads
// only when the page is cross-origin isolated (shared memory): it then
// picks its threaded binary and starts its thread pool's workers.
window.appResult = (async () => {
  tf.wasm.setWasmPaths("lib/");
  tf.wasm.setThreadsCount(2);
  if (!(await tf.setBackend("wasm"))) throw new Error("the WebAssembly backend did not start");
  const product = tf.matMul(tf.tensor2d([[1, 2], [3, 4]]), tf.tensor2d([[5, 6], [7, 8]]));
  const sum = tf.sum(tf.range(0, 1000)).dataSync()[0];
  return {
    "backend": tf.getBackend(),
    "matrix product": Array.from(await product.data()).join(" "),
    "sum below 1000": sum,
    "cross-origin isolated": crossOriginIsolated,
    "binary chosen": performance.getEntriesByType("resource").map((entry) => entry.name).find((name) => name.endsWith(".wasm")).split("/").pop(),
  };
})();
