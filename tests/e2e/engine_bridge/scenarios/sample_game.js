// The sample game in the engine, through the real host: what it loads,
// plays, saves and shows. Each step reports "name: value"; a failed step
// reports its name and error, and the rest still run. With the argument
// "isolation" only cross-origin isolation is looked at.
const fs = require("fs");

const delay = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function step(bridge, name, run) {
  bridge.log(`step ${name}`);
  try {
    await run();
  } catch (error) {
    bridge.log(`step ${name} failed: ${error.stack || error}`);
    bridge.report(name, `failed: ${error.message}`);
  }
}

function posted(bridge, type) {
  return bridge.waitFor((message) => message.type === "post" && JSON.parse(message.json).type === type, `"${type}"`);
}

// Waits until the element's text passes the test; resolves to the text.
async function textOf(page, id, test, what, seconds = 20) {
  const end = Date.now() + seconds * 1000;
  for (;;) {
    const text = await page.$eval(`#${id}`, (element) => element.textContent);
    if (test(text)) return text;
    if (Date.now() > end) throw new Error(`${what}: still "${text}" after ${seconds} s`);
    await delay(100);
  }
}

const frameText = (message) => message.frame.join(" ");

// A button pressed as the page's own script would see a click, wherever
// the layout has it.
const press = (page, id) => page.$eval(`#${id}`, (button) => button.click());

async function seek(page, id, seconds) {
  return page.evaluate(async (id, seconds) => {
    const media = document.getElementById(id);
    if (media.readyState < 1) await new Promise((resolve) => media.addEventListener("loadedmetadata", resolve, { once: true }));
    const seeked = new Promise((resolve) => media.addEventListener("seeked", resolve, { once: true }));
    media.currentTime = seconds;
    await seeked;
    return { at: media.currentTime, duration: media.duration };
  }, id, seconds);
}

// Distinct colours in a PNG, counted by the engine in a blank page.
async function coloursIn(browser, png) {
  const page = await browser.newPage();
  try {
    return await page.evaluate(async (base64) => {
      const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
      const image = await createImageBitmap(new Blob([bytes], { type: "image/png" }));
      const canvas = new OffscreenCanvas(image.width, image.height);
      const draw = canvas.getContext("2d");
      draw.drawImage(image, 0, 0);
      const pixels = draw.getImageData(0, 0, image.width, image.height).data;
      const colours = new Set();
      for (let i = 0; i < pixels.length; i += 4) colours.add((pixels[i] << 16) | (pixels[i + 1] << 8) | pixels[i + 2]);
      return colours.size;
    }, png.toString("base64"));
  } finally {
    await page.close();
  }
}

async function fullScreen(bridge, page) {
  await page.evaluate(() => document.documentElement.requestFullscreen());
  const on = await bridge.waitFor((message) => message.type === "window", "a window after full screen");
  bridge.report("full screen: frame", frameText(on));
  bridge.report("full screen: monitor", on.monitor.join(" "));
  bridge.report("full screen: element", await page.evaluate(() => document.fullscreenElement === document.documentElement));
  await page.evaluate(() => document.exitFullscreen());
  const off = await bridge.waitFor((message) => message.type === "window", "a window after leaving full screen");
  bridge.report("restored: client", off.client.join(" "));
  bridge.report("restored: below the monitor", off.frame[2] - off.frame[0] < off.monitor[2] - off.monitor[0]);
}

async function requestsSummary(bridge) {
  const provoked = (seen) => seen.uri.endsWith("/missing.txt");
  const unexpected = bridge.requests.filter((seen) => !provoked(seen) && seen.status !== 200 && seen.status !== 206);
  bridge.report("requests", bridge.requests.length > 5 ? "many" : bridge.requests.length);
  bridge.report("unexpected answers", unexpected.map((seen) => `${seen.uri} ${seen.status}`).join(", ") || "none");
  bridge.report("provoked answers", bridge.requests.filter(provoked).map((seen) => seen.status).join(", "));
  bridge.report("bodies unlike their Content-Length", bridge.requests.filter((seen) => seen.lengthOk === false).length);
  bridge.report("answers without a body stream", bridge.requests.filter((seen) => seen.stream === false).length);
  const media = bridge.requests.filter((seen) => seen.uri.endsWith(".wav") && seen.status === 206);
  bridge.report("partial media answers", media.length >= 3 ? "three or more" : media.length);
  bridge.report("service worker requests", bridge.requests.filter((seen) => seen.kind === "service-worker").length > 0);
}

// The player closes the window: the host asks the game, which saves its
// best score and then lets the host close.
async function closeRequest(bridge, page) {
  await page.evaluate(() => { state.best = 11; });
  bridge.toHost({ type: "close-box" });
  const asked = await posted(bridge, "close-requested");
  bridge.report("close request: asked", JSON.parse(asked.json).type);
  bridge.report("close request: saved", await textOf(page, "status", (text) => text.startsWith("Saved best 11"), "the save before closing"));
  const ended = await Promise.race([bridge.ended.then(() => true), delay(10000).then(() => false)]);
  bridge.report("close request: the host ended", ended);
  bridge.report("close request: the save file", await page.evaluate(async () =>
    (await (await host.folder("<saved-games>").getFileHandle("star-catcher-save.json")).getFile()).text()));
}

module.exports = async function sampleGame(bridge, args) {
  const page = await bridge.pageReady;
  if (args.includes("isolation")) {
    await step(bridge, "cross-origin isolated", async () => bridge.report("cross-origin isolated", await page.evaluate(() => crossOriginIsolated)));
    await page.evaluate(() => window.close());
    return;
  }
  await step(bridge, "wrapper-init", async () => {
    const answer = JSON.parse((await posted(bridge, "wrapper-init-response")).json);
    bridge.report("component ids", answer.registeredComponentIds.join(" "));
    const handles = await posted(bridge, "directory-handles");
    bridge.report("handles posted", handles.handles.length);
    bridge.report("handles shown", await textOf(page, "handles", (text) => text.startsWith("Folder handles"), "the handles line"));
    bridge.report("platform shown", await textOf(page, "platform", (text) => text.startsWith("Platform"), "the platform line"));
  });
  await step(bridge, "cross-origin isolated", async () => bridge.report("cross-origin isolated", await page.evaluate(() => crossOriginIsolated)));
  await step(bridge, "save and load", async () => {
    await page.evaluate(() => { state.best = 7; });
    await press(page, "save");
    bridge.report("saved", await textOf(page, "status", (text) => text.startsWith("Saved") || text.startsWith("Could"), "saving"));
    bridge.report("save file", await page.evaluate(async () =>
      (await (await host.folder("<saved-games>").getFileHandle("star-catcher-save.json")).getFile()).text()));
    await page.evaluate(() => { state.best = 0; });
    await press(page, "load");
    bridge.report("loaded", await textOf(page, "status", (text) => text.startsWith("Loaded") || text.startsWith("Could not load"), "loading"));
  });
  await step(bridge, "video", async () => {
    const { at, duration } = await seek(page, "clip", 20);
    bridge.report("video duration over 20 s", duration > 20);
    bridge.report("video seeked to", at.toFixed(1));
    await page.evaluate(() => document.getElementById("clip").play());
    await page.waitForFunction(() => document.getElementById("clip").currentTime > 20.3, { timeout: 20000 });
    bridge.report("video plays on from there", true);
  });
  await step(bridge, "music", async () => {
    await page.evaluate(() => document.getElementById("bgm").play());
    await page.waitForFunction(() => document.getElementById("bgm").currentTime > 0.3, { timeout: 20000 });
    bridge.report("music plays", true);
    bridge.report("music seeked to", (await seek(page, "bgm", 1.5)).at.toFixed(1));
  });
  await step(bridge, "service worker", async () =>
    bridge.report("service worker", await textOf(page, "worker", (text) => text.includes("fetched"), "the worker line")));
  await step(bridge, "extension", async () => {
    await press(page, "ping");
    const echoed = await textOf(page, "extension", (text) => text.includes(" is "), "the extension line");
    bridge.report("extension", echoed.replace(/ping \d+/, "ping <time>"));
  });
  await step(bridge, "a posted object", async () => {
    bridge.forget("post");
    await page.evaluate(() => {
      window.chrome.webview.postMessage({ type: "wrapper-init" });
      window.chrome.webview.postMessage(JSON.stringify({ type: "extension-message", text: "after" }));
    });
    const next = JSON.parse((await bridge.waitFor((message) => message.type === "post", "an answer")).json);
    bridge.report("the answer after a posted object", `${next.type} ${next.text}`);
  });
  await step(bridge, "a ranged fetch", async () => {
    const status = await page.evaluate(async () => (await fetch("style.css", { headers: { range: "bytes=0-3" } })).status);
    const seen = bridge.requests.filter((request) => request.uri.endsWith("/style.css") && request.range);
    bridge.report("ranged fetch", `${status} ${seen.map((request) => request.range).join(" ")}`);
  });
  await step(bridge, "module", async () =>
    bridge.report("module", await textOf(page, "module", (text) => text !== "", "the .mjs module")));
  await step(bridge, "missing file", async () =>
    bridge.report("missing file", await page.evaluate(async () => (await fetch("missing.txt")).status)));
  await step(bridge, "leaving the origin", async () => {
    await page.evaluate(() => window.open("https://example.com/opened"));
    bridge.report("new window", (await bridge.waitFor((message) => message.type === "newwindow-result", "a new window's answer")).handled);
    await page.evaluate(() => { location.href = "https://example.com/left"; });
    const navigation = await bridge.waitFor((message) => message.type === "navigation-result", "a navigation's answer");
    bridge.report("navigation out of the origin cancelled", navigation.cancel);
    await delay(300);
    bridge.report("the page stays", await page.evaluate(() => location.href));
  });
  await step(bridge, "screenshot", async () => {
    // A game under way: the key goes to the page as a real key press.
    await page.keyboard.press("Space");
    await delay(1500);
    const canvas = await page.$("#game");
    const png = Buffer.from(await canvas.screenshot({ type: "png" }));
    fs.writeFileSync(bridge.file("screenshot.png"), png);
    bridge.report("canvas colours", (await coloursIn(bridge.browser, png)) > 8 ? "more than eight" : "eight or fewer");
  });
  await step(bridge, "full screen", () => fullScreen(bridge, page));
  await step(bridge, "requests", () => requestsSummary(bridge));
  await step(bridge, "close request", () => closeRequest(bridge, page));
};
