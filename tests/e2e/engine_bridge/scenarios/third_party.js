// A third-party app in the engine, through the real host: the page sets
// window.appResult to a promise of its findings, computed by the library
// it uses; each becomes a "name: value" line of the report. Then the
// evidence of anything that went wrong: answers that are not 2xx, answers
// whose type the engine would refuse for what was asked, console errors
// and uncaught page errors.
const { hasWrongType, isFavicon, isOk, list } = require("../evidence");

const delay = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function result(bridge, page) {
  const appears = Date.now() + 30000;
  const end = Date.now() + 90000;
  while (!(await page.evaluate(() => "appResult" in window))) {
    if (Date.now() > appears) throw new Error("the page set no window.appResult within 30 s");
    await delay(100);
  }
  // Some engines wait for the player's first click before they play sound.
  const clicking = (async () => {
    while (Date.now() < end && (await page.evaluate(() => window.appWantsClicks === true && !window.appDone).catch(() => false))) {
      await page.mouse.click(10, 10).catch(() => {});
      await delay(300);
    }
  })();
  const findings = await page.evaluate(() => Promise.race([
    window.appResult.then((value) => ({ value }), (error) => ({ error: String(error && error.stack || error) })),
    new Promise((resolve) => setTimeout(resolve, 90000, { error: "window.appResult did not settle within 90 s" })),
  ]).finally(() => { window.appDone = true; }));
  await clicking;
  if (findings.error) throw new Error(findings.error);
  for (const [name, value] of Object.entries(findings.value)) bridge.report(name, value);
}

function evidence(bridge) {
  const notOk = bridge.requests.filter((seen) => !isFavicon(seen.uri) && !isOk(seen));
  const wrongType = bridge.requests.filter(hasWrongType);
  bridge.report("answers not 2xx", list(notOk.map((seen) => `${seen.uri} ${seen.status}`)));
  bridge.report("answers of the wrong type", list(wrongType.map((seen) => `${seen.uri} (${seen.resourceType}) ${seen.contentType || "no type"}`)));
  bridge.report("console errors", list(bridge.consoleErrors.filter((error) => !isFavicon(error.url || "about:blank"))
    .map((error) => `${error.text}${error.url ? ` (${error.url})` : ""}`)));
  bridge.report("page errors", list(bridge.pageErrors));
  bridge.report("partial answers", bridge.requests.some((seen) => seen.status === 206) ? "some" : "none");
  const kinds = new Set(bridge.requests.map((seen) => seen.kind));
  bridge.report("request kinds", [...kinds].sort().join(" "));
  bridge.report("workers started", [...new Set(bridge.workers.values())].sort().join(" ") || "none");
}

module.exports = async function thirdParty(bridge) {
  const page = await bridge.pageReady;
  try {
    await result(bridge, page);
    bridge.report("result", "complete");
  } catch (error) {
    bridge.log(`the app failed: ${error.message}`);
    bridge.report("result", `failed: ${error.message.split("\n").join(" / ")}`);
  }
  evidence(bridge);
  await page.evaluate(() => window.close());
};
