// Star Catcher: catch the falling stars with the basket; three missed stars
// end the game. The host's features hang off the buttons beside it.
const canvas = document.getElementById("game");
const draw = canvas.getContext("2d");
const starImage = new Image();
starImage.src = "images/star.png";
const $ = (id) => document.getElementById(id);
const say = (text) => { $("status").textContent = text; };

const state = { basket: 320, stars: [], score: 0, best: 0, lives: 3, over: true, keys: new Set(), last: 0, spawn: 0 };
const SaveName = "star-catcher-save.json";

function newGame() {
  Object.assign(state, { stars: [], score: 0, lives: 3, over: false, spawn: 0 });
}

function update(seconds) {
  if (state.over) return;
  const speed = 420 * seconds;
  if (state.keys.has("ArrowLeft") || state.keys.has("a")) state.basket -= speed;
  if (state.keys.has("ArrowRight") || state.keys.has("d")) state.basket += speed;
  state.basket = Math.max(40, Math.min(canvas.width - 40, state.basket));
  state.spawn -= seconds;
  if (state.spawn <= 0) {
    state.stars.push({ x: 20 + Math.random() * (canvas.width - 40), y: -20, v: 120 + Math.random() * 80 + state.score * 4 });
    state.spawn = Math.max(0.35, 1.1 - state.score * 0.02);
  }
  for (const star of state.stars) star.y += star.v * seconds;
  const caught = state.stars.filter((s) => s.y > canvas.height - 50 && s.y < canvas.height - 20 && Math.abs(s.x - state.basket) < 44);
  state.score += caught.length;
  state.best = Math.max(state.best, state.score);
  const missed = state.stars.filter((s) => s.y >= canvas.height);
  state.lives -= missed.length;
  state.stars = state.stars.filter((s) => !caught.includes(s) && !missed.includes(s));
  if (state.lives <= 0) {
    state.over = true;
    say("Game over. Space or a click starts a new game.");
  }
}

function render() {
  draw.clearRect(0, 0, canvas.width, canvas.height);
  for (const star of state.stars) {
    if (starImage.complete && starImage.naturalWidth) draw.drawImage(starImage, star.x - 16, star.y - 16, 32, 32);
    else { draw.fillStyle = "#ffd27a"; draw.fillRect(star.x - 8, star.y - 8, 16, 16); }
  }
  draw.fillStyle = "#7fd4ff";
  draw.fillRect(state.basket - 40, canvas.height - 30, 80, 14);
  if (state.over) {
    draw.fillStyle = "#e8ecff";
    draw.font = "28px system-ui, sans-serif";
    draw.textAlign = "center";
    draw.fillText("Press Space or click to play", canvas.width / 2, canvas.height / 2);
  }
  $("score").textContent = `Score ${state.score} · Best ${state.best} · Lives ${Math.max(0, state.lives)}`;
}

function frame(time) {
  const seconds = Math.min(0.05, (time - state.last) / 1000 || 0);
  state.last = time;
  update(seconds);
  render();
  requestAnimationFrame(frame);
}

window.addEventListener("keydown", (event) => {
  state.keys.add(event.key);
  if (event.key === " " && state.over) newGame();
});
window.addEventListener("keyup", (event) => state.keys.delete(event.key));
canvas.addEventListener("mousemove", (event) => {
  const box = canvas.getBoundingClientRect();
  state.basket = (event.clientX - box.left) * (canvas.width / box.width);
});
canvas.addEventListener("click", () => { if (state.over) newGame(); });

// Saving: a file in the saved-games folder (or the app's data folder)
// through the handle the host gave; local storage in a browser.
async function saveFolder() {
  return host.folder("<saved-games>") || host.folder("<current-app-data>");
}

async function saveBest() {
  const text = JSON.stringify({ best: state.best });
  const folder = await saveFolder();
  if (!folder) {
    localStorage.setItem(SaveName, text);
    say("Saved to the browser's local storage.");
    return;
  }
  try {
    const file = await folder.getFileHandle(SaveName, { create: true });
    const writable = await file.createWritable();
    await writable.write(text);
    await writable.close();
    say(`Saved best ${state.best} to ${folder.name}/${SaveName}.`);
  } catch (error) {
    say(`Could not save: ${error}`);
  }
}

$("save").addEventListener("click", saveBest);

// The host asks before the window closes (package.json: "close-request"):
// the best score is saved first, then the host may close.
host.on("close-requested", async () => {
  await saveBest();
  host.close();
});

$("load").addEventListener("click", async () => {
  const folder = await saveFolder();
  try {
    const text = folder ? await (await (await folder.getFileHandle(SaveName)).getFile()).text() : localStorage.getItem(SaveName);
    if (!text) throw new Error("no save yet");
    state.best = Math.max(state.best, JSON.parse(text).best || 0);
    say(`Loaded best ${state.best}.`);
  } catch (error) {
    say(`Could not load: ${error.message || error}`);
  }
});

$("fullscreen").addEventListener("click", () => {
  const on = !document.fullscreenElement && !$("fullscreen").dataset.on;
  $("fullscreen").dataset.on = on ? "1" : "";
  if (host.present) host.setFullscreen(on);
  else if (on) document.documentElement.requestFullscreen().catch(() => {});
  else if (document.fullscreenElement) document.exitFullscreen();
});
$("small").addEventListener("click", () => (host.present ? host.setWindowSize(800, 600) : say("Only the host sizes its window.")));
$("large").addEventListener("click", () => (host.present ? host.setWindowSize(1280, 800) : say("Only the host sizes its window.")));
$("ping").addEventListener("click", () => {
  if (!host.present) return say("No host, so no extension.");
  host.sendToExtension({ text: "ping " + Date.now(), resolve: "<saved-games>" });
});
$("music").addEventListener("click", () => {
  const music = $("bgm");
  if (music.paused) { music.play().catch((error) => say(`Music: ${error.message}`)); $("music").textContent = "Music off"; }
  else { music.pause(); $("music").textContent = "Music on"; }
});

// The host's answers.
host.enableCloseRequest();
host.on("wrapper-init-response", (message) => {
  const ids = message.registeredComponentIds || [];
  $("components").textContent = `Components: ${ids.length ? ids.join(", ") : "none"}`;
  $("handles").textContent = `Folder handles: ${host.handleCount()} of 13`;
  // Launched with "--fullscreen" (a shortcut's target, Steam's launch
  // options): full screen at once; "--windowed", or nothing, stays windowed.
  const args = message.arguments || [];
  $("platform").textContent = `Platform: ${message.platform || "unknown"} · Arguments: ${args.length ? args.join(" ") : "none"}`;
  if (args.includes("--fullscreen") && !args.includes("--windowed")) {
    $("fullscreen").dataset.on = "1";
    host.setFullscreen(true);
  }
});
host.on("extension-message", (message) => { $("extension").textContent = `Extension echoed: ${message.text}`; });
host.on("sample-folder", (message) => { $("extension").textContent += ` · ${message.placeholder} is ${message.path}`; });

if (host.present) {
  $("host").textContent = "Running in the Velmora host.";
  host.init();
} else {
  $("host").textContent = "No host: this is an ordinary browser. Everything else still works.";
}

if ("serviceWorker" in navigator) {
  navigator.serviceWorker.addEventListener("message", (event) => {
    $("worker").textContent = `Service worker fetched sw-check.txt: ${event.data.status} "${event.data.text}"`;
  });
  navigator.serviceWorker.register("sw.js").then(() => navigator.serviceWorker.ready).then((registration) => {
    registration.active.postMessage("check");
  }).catch((error) => { $("worker").textContent = `Service worker: ${error.message}`; });
}

requestAnimationFrame(frame);
