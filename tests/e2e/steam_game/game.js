// Every call of the kit's page module, awaited as a game would; the page's
// findings (window.appResult) are each call's result as JSON, or its error.
import * as steam from "./velmora/steam.mjs";

const settle = (promise) => promise.then((value) => JSON.stringify(value === undefined ? null : value),
  (error) => `error: ${error.message}`);

window.appResult = (async () => {
  const found = {};
  found["user name"] = await settle(steam.getUserName());
  found["steam id"] = await settle(steam.getSteamId());
  found["language"] = await settle(steam.getLanguage());
  found["set achievement"] = await settle(steam.setAchievement("ACH_WIN"));
  found["achievement"] = await settle(steam.getAchievement("ACH_WIN"));
  found["undefined achievement"] = await settle(steam.setAchievement("ACH_NONE"));
  found["progress"] = await settle(steam.indicateAchievementProgress("ACH_TRAVEL", 3, 10));
  found["stat"] = await settle(steam.setStatInt("WINS", 3).then(() => steam.getStatInt("WINS")));
  found["decimal stat"] = await settle(steam.setStatFloat("DISTANCE", 2.5).then(() => steam.getStatFloat("DISTANCE")));
  found["store stats"] = await settle(steam.storeStats());
  // Two leaderboard calls at once: each answer finds its own promise.
  const [uploaded, missing] = await Promise.all([settle(steam.uploadScore("Best", 700)),
    settle(steam.uploadScore("Gone", 1, { method: "force-update" }))]);
  found["upload"] = uploaded;
  found["missing leaderboard"] = missing;
  found["scores"] = await settle(steam.downloadScores("Best", { start: 1, end: 2 }));
  found["cloud"] = await settle(steam.writeFile("save.json", '{"best":7}').then(() => steam.readFile("save.json")));
  found["cloud bytes"] = await settle(steam.writeFile("raw.bin", "/wAB", { encoding: "base64" })
    .then(() => steam.readFile("raw.bin", { encoding: "base64" })));
  found["files"] = await settle(steam.listFiles());
  found["delete"] = await settle(steam.deleteFile("raw.bin").then(() => steam.listFiles()));
  found["quota"] = await settle(steam.getQuota());
  found["web page"] = await settle(steam.openWebPage("https://example.com/", { modal: true }));
  found["store page"] = await settle(steam.openStore({ flag: "add-to-cart" }));
  return found;
})();
