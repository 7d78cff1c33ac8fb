// The Steam kit for the page: each call posts one request to the kit in the
// host and returns a promise of its answer. A call Steam cannot carry out
// (Steam missing, not running, or refusing) rejects with an Error whose
// message is the kit's reason; the game goes on either way.
//
//   import * as steam from "./velmora/steam.mjs";
//   await steam.setAchievement("ACH_WIN");
const webview = globalThis.chrome && globalThis.chrome.webview;
const waiting = new Map();
let lastRequest = 0;

if (webview) {
  webview.addEventListener("message", (event) => {
    const answer = event.data;
    if (!answer || answer.type !== "steam-response" || !waiting.has(answer.requestId)) return;
    const { resolve, reject } = waiting.get(answer.requestId);
    waiting.delete(answer.requestId);
    if (answer.ok) resolve(answer.result);
    else reject(new Error(answer.error));
  });
}

function call(method, fields = {}) {
  if (!webview) return Promise.reject(new Error("steam is only there in the desktop host"));
  const requestId = ++lastRequest;
  return new Promise((resolve, reject) => {
    waiting.set(requestId, { resolve, reject });
    webview.postMessage(JSON.stringify({ ...fields, type: "extension-message", componentId: "steam", requestId, method }));
  });
}

// The player.
export const getUserName = () => call("getUserName").then((result) => result.name);
// A text: Steam IDs are 64-bit, more than a JavaScript number holds exactly.
export const getSteamId = () => call("getSteamId").then((result) => result.steamId);
// The game's language as Steam runs it, such as "english" or "french".
export const getLanguage = () => call("getLanguage").then((result) => result.language);

// Achievements, by their API names.
export const setAchievement = (name) => call("setAchievement", { name });
export const clearAchievement = (name) => call("clearAchievement", { name });
export const getAchievement = (name) => call("getAchievement", { name }).then((result) => result.achieved);
export const indicateAchievementProgress = (name, current, max) =>
  call("indicateAchievementProgress", { name, current, max });

// Stats: whole numbers or decimals, as the stat is defined; storeStats sends
// what was set to Steam.
export const getStatInt = (name) => call("getStatInt", { name }).then((result) => result.value);
export const getStatFloat = (name) => call("getStatFloat", { name }).then((result) => result.value);
export const setStatInt = (name, value) => call("setStatInt", { name, value });
export const setStatFloat = (name, value) => call("setStatFloat", { name, value });
export const storeStats = () => call("storeStats");

// Leaderboards, by name. method: "keep-best" (the default) or
// "force-update"; range: "global" (the default), "around-user" or "friends",
// with start and end as Steam counts them (1 to 10 by default).
export const findLeaderboard = (leaderboard) => call("findLeaderboard", { leaderboard }).then((result) => result.found);
export const uploadScore = (leaderboard, score, { method } = {}) =>
  call("uploadScore", { leaderboard, score, scoreMethod: method });
export const downloadScores = (leaderboard, { range, start, end } = {}) =>
  call("downloadScores", { leaderboard, range, start, end }).then((result) => result.entries);

// Cloud files: text by default, or bytes as base64 with { encoding: "base64" }.
export const writeFile = (file, data, { encoding } = {}) => call("writeFile", { file, data, encoding });
export const readFile = (file, { encoding } = {}) => call("readFile", { file, encoding }).then((result) => result.data);
export const deleteFile = (file) => call("deleteFile", { file });
export const listFiles = () => call("listFiles").then((result) => result.files);
export const getQuota = () => call("getQuota");

// Steam's overlay. Steam draws it into games that render with Direct3D,
// OpenGL or Vulkan; it does not draw over the WebView, so the player may see
// nothing of it. Steam is asked all the same.
export const openWebPage = (url, { modal } = {}) => call("openWebPage", { url, modal });
export const openStore = ({ appId, flag } = {}) => call("openStore", { appId, flag });
