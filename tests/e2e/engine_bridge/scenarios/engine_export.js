// A real engine's export in the engine, through the real host, judged as a
// player would: the engine's own sign that its first scene ran (see the
// suite's table), a canvas that shows more than one flat colour, every file
// the game holds answered 2xx with the type the engine needs, and no
// uncaught page errors but those the table allows. Console errors and the
// answers for files the game does not hold are kept as evidence.
//
//   arguments: <label> <file listing the game's files, one relative name a line>
const fs = require("fs");
const engines = require("../../engine_exports/engines");
const { hasWrongType, isOk, list } = require("../evidence");

const delay = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const BootSeconds = 90;
const DrawSeconds = 20;
// Fewer would be a blank or a one-colour loading screen.
const LeastColours = 4;

// The file a request asks for, as the host looks it up.
function fileAsked(uri) {
  const name = decodeURIComponent(new URL(uri).pathname.slice(1));
  return name === "" || name.endsWith("/") ? `${name}index.html` : name;
}

async function waitForBoot(bridge, page, engine) {
  const end = Date.now() + BootSeconds * 1000;
  for (;;) {
    const signed = await page.evaluate(`(${engine.sign})()`).catch(() => false);
    const printed = !engine.console || bridge.consoleLines.some((line) => engine.console.test(line));
    if (signed && printed) return;
    if (Date.now() > end) {
      const console = engine.console ? `, its console line ${printed ? "seen" : "not seen"}` : "";
      throw new Error(`no sign of the first scene within ${BootSeconds} s (the sign ${signed ? "seen" : "not seen"}${console})`);
    }
    await delay(250);
  }
}

// Distinct colours in the screenshot of the largest canvas on the screen
// (decoded by the page's own image decoder); the screenshot is kept.
async function canvasColours(bridge, page) {
  const box = await page.evaluate(() => {
    const boxes = [...document.querySelectorAll("canvas")].map((canvas) => {
      const r = canvas.getBoundingClientRect();
      const x = Math.max(0, r.left);
      const y = Math.max(0, r.top);
      return { x, y, width: Math.min(innerWidth, r.right) - x, height: Math.min(innerHeight, r.bottom) - y };
    }).filter((r) => r.width >= 1 && r.height >= 1);
    boxes.sort((a, b) => b.width * b.height - a.width * a.height);
    return boxes[0] || null;
  });
  if (!box) return 0;
  const png = await page.screenshot({ clip: box });
  fs.writeFileSync(bridge.file("screenshot.png"), png);
  return page.evaluate(async (data) => {
    const bytes = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
    const bitmap = await createImageBitmap(new Blob([bytes], { type: "image/png" }));
    const context = new OffscreenCanvas(bitmap.width, bitmap.height).getContext("2d");
    context.drawImage(bitmap, 0, 0);
    const pixels = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
    const seen = new Set();
    for (let i = 0; i < pixels.length && seen.size < 1000; i += 4) seen.add((pixels[i] << 16) | (pixels[i + 1] << 8) | pixels[i + 2]);
    return seen.size;
  }, png.toString("base64"));
}

async function waitForDrawing(bridge, page) {
  const end = Date.now() + DrawSeconds * 1000;
  let colours = 0;
  while ((colours = await canvasColours(bridge, page)) < LeastColours && Date.now() < end) await delay(1000);
  bridge.report("canvas colours", colours);
  if (colours < LeastColours) throw new Error(`the canvas shows ${colours} colours ${DrawSeconds} s after the first scene`);
}

function evidence(bridge, held, engine) {
  const describe = (seen) => `${seen.uri} ${seen.status} ${seen.contentType || "no type"}`;
  const ofHeld = bridge.requests.filter((seen) => seen.uri.startsWith("https://velmora.localhost/") && held.has(fileAsked(seen.uri)));
  bridge.report("requests", `${bridge.requests.length}, ${ofHeld.length} for the game's files`);
  bridge.report("held files not answered 2xx", list(ofHeld.filter((seen) => !isOk(seen)).map(describe)));
  bridge.report("other answers not 2xx", list(bridge.requests.filter((seen) => !ofHeld.includes(seen) && !isOk(seen)).map(describe)));
  bridge.report("answers of the wrong type", list(bridge.requests.filter(hasWrongType).map((seen) => `${describe(seen)} (${seen.resourceType})`)));
  const allowed = (error) => (engine.pageErrors || []).some((known) => known.error.test(error));
  bridge.report("page errors", list(bridge.pageErrors.filter((error) => !allowed(error))));
  bridge.report("allowed page errors", list(bridge.pageErrors.filter(allowed)));
  bridge.report("console errors", list(bridge.consoleErrors.map((error) => `${error.text}${error.url ? ` (${error.url})` : ""}`)));
}

module.exports = async function engineExport(bridge, [label, filesList]) {
  const engine = engines.find((candidate) => candidate.label === label);
  if (!engine) throw new Error(`${label} is not in the suite's table`);
  // Before the host's first navigation, which comes once the host runs.
  if (engine.watch) bridge.pageScripts.push(`(${engine.watch})()`);
  const held = new Set(fs.readFileSync(filesList, "utf8").split("\n").filter(Boolean));
  const page = await bridge.pageReady;
  const started = Date.now();
  try {
    await waitForBoot(bridge, page, engine);
    bridge.report("first scene after", `${((Date.now() - started) / 1000).toFixed(1)} s`);
    await waitForDrawing(bridge, page);
    bridge.report("result", "complete");
  } catch (error) {
    if (engine.state) bridge.report("engine state", await page.evaluate(`(${engine.state})()`).catch((e) => e.message));
    bridge.log(`the game failed: ${error.message}`);
    bridge.report("result", `failed: ${error.message}`);
  }
  evidence(bridge, held, engine);
  await page.evaluate(() => window.close());
};
