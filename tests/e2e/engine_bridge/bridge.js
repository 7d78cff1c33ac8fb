#!/usr/bin/env node
// The engine bridge: headless Chromium plays the page for the runtime
// double's engine mode. Every request under the virtual origin is paused
// and handed to the host through the double; the host's answer fulfils it.
// The page's events go to the host and the host's calls come back to the
// page. A scenario drives the page and writes its findings.
//
//   node bridge.js <folder> <scenario.js> [argument ...]
//
// In <folder>: engine-port.txt (written once listening, for the double's
// "#engine" directive), engine-log.txt (every request, answer, message and
// step), engine-report.txt (the scenario's findings, one "name: value" per
// line) and what the scenario keeps (a screenshot).
const fs = require("fs");
const path = require("path");
const puppeteer = require("puppeteer-core");
const { HostLink } = require("./host_link");

const Origin = "https://velmora.localhost/";
const Binding = "__velmoraEngine";
const Chromium = process.env.VELMORA_CHROMIUM || "/usr/bin/chromium";

class EngineBridge {
  constructor(folder) {
    this.folder = folder;
    this.started = Date.now();
    this.nextId = 1;
    this.answers = new Map();
    this.waiters = [];
    this.heard = [];
    this.requests = [];
    // What went wrong in the page, for a scenario's evidence.
    this.consoleErrors = [];
    this.consoleLines = [];
    this.pageErrors = [];
    // Scripts a scenario has the page run before its own, as watches.
    this.pageScripts = [];
    this.deliveries = Promise.resolve();
    this.hostNavigation = null;
    this.title = null;
    this.pageClosed = false;
    this.popups = new Set();
    // Worker targets by id, with their kind as the host names it.
    this.workers = new Map();
    this.ended = new Promise((resolve) => (this.endHost = resolve));
    this.pageReady = new Promise((resolve) => (this.readyPage = resolve));
    fs.writeFileSync(this.file("engine-log.txt"), "");
    fs.writeFileSync(this.file("engine-report.txt"), "");
  }

  file(name) {
    return path.join(this.folder, name);
  }

  log(text) {
    fs.appendFileSync(this.file("engine-log.txt"), `${String(Date.now() - this.started).padStart(6)} ${text}\n`);
  }

  report(name, value) {
    fs.appendFileSync(this.file("engine-report.txt"), `${name}: ${value}\n`);
  }

  async start() {
    this.browser = await puppeteer.launch({ executablePath: Chromium, headless: true, args: ["--no-sandbox"] });
    this.session = await this.browser.target().createCDPSession();
    this.session.on("Fetch.requestPaused", (event) =>
      this.paused(event).catch((error) => this.log(`request ${event.request.url}: bridge error ${error.message}`)));
    this.session.on("Target.targetCreated", (event) => this.targetCreated(event.targetInfo));
    this.session.on("Target.targetInfoChanged", (event) => this.targetChanged(event.targetInfo));
    this.session.on("Target.targetDestroyed", (event) => this.targetDestroyed(event.targetId));
    await this.session.send("Fetch.enable", {
      patterns: [{ urlPattern: Origin + "*" }, { urlPattern: "*", resourceType: "Document" }],
    });
    await this.session.send("Target.setDiscoverTargets", { discover: true });
    this.link = new HostLink((message) => this.fromHost(message), () => this.hostEnded());
    const port = await this.link.listen();
    fs.writeFileSync(this.file("engine-port.txt"), String(port));
    this.log(`listening on 127.0.0.1:${port}, ${await this.browser.version()}`);
  }

  // ---- the host's side ----

  toHost(message) {
    if (message.type !== "request") this.log(`to host ${JSON.stringify(message)}`);
    this.link.send(message);
  }

  // Sends a message that the host answers; resolves to its answer.
  ask(message) {
    message.id = this.nextId++;
    return new Promise((resolve) => {
      this.answers.set(message.id, resolve);
      this.toHost(message);
    });
  }

  fromHost(message) {
    if (this.answers.has(message.id)) {
      this.answers.get(message.id)(message);
      this.answers.delete(message.id);
      if (message.type === "response") return;
    }
    this.log(`from host ${JSON.stringify(message)}`);
    // A message that a waiter takes is not kept for later.
    const waiter = this.waiters.find((candidate) => candidate.test(message));
    if (waiter) {
      this.waiters.splice(this.waiters.indexOf(waiter), 1);
      waiter.resolve(message);
    } else {
      this.heard.push(message);
    }
    if (message.type === "navigate") this.navigate(message.uri).catch((error) => this.log(`navigate: ${error.message}`));
    if (message.type === "post") this.deliver(message);
    if (message.type === "bounds" && this.page) this.fitViewport(message);
  }

  hostEnded() {
    this.log("the host's connection ended");
    for (const waiter of this.waiters) waiter.reject(new Error("the host ended"));
    this.waiters = [];
    this.endHost();
  }

  // The first message from the host (already heard or yet to come) that
  // passes the test.
  waitFor(test, what, seconds = 20) {
    const seen = this.heard.find(test);
    if (seen) {
      this.heard.splice(this.heard.indexOf(seen), 1);
      return Promise.resolve(seen);
    }
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => reject(new Error(`no ${what} from the host within ${seconds} s`)), seconds * 1000);
      this.waiters.push({
        test,
        resolve: (message) => (clearTimeout(timer), resolve(message)),
        reject: (error) => (clearTimeout(timer), reject(error)),
      });
    });
  }

  // Lets go of what was heard from the host of this type and not waited for.
  forget(type) {
    this.heard = this.heard.filter((message) => message.type !== type);
  }

  // ---- the page ----

  async navigate(uri) {
    this.hostNavigation = uri;
    if (this.page) {
      await this.page.goto(uri);
      return;
    }
    this.page = await this.browser.newPage();
    this.pageSession = await this.page.createCDPSession();
    this.mainFrame = (await this.pageSession.send("Page.getFrameTree")).frameTree.frame.id;
    this.pageSession.on("Runtime.bindingCalled", (event) => event.name === Binding && this.fromPage(JSON.parse(event.payload)));
    await this.pageSession.send("Runtime.enable");
    await this.pageSession.send("Runtime.addBinding", { name: Binding });
    await this.page.evaluateOnNewDocument(fs.readFileSync(path.join(__dirname, "page_shim.js"), "utf8"));
    for (const script of this.pageScripts) await this.page.evaluateOnNewDocument(script);
    this.page.on("domcontentloaded", () => this.contentLoaded().catch((error) => this.log(`DOMContentLoaded: ${error.message}`)));
    this.page.on("console", (message) => {
      this.log(`page console ${message.type()}: ${message.text()}`);
      this.consoleLines.push(message.text());
      if (message.type() === "error") this.consoleErrors.push({ text: message.text(), url: message.location().url || "" });
    });
    this.page.on("pageerror", (error) => {
      this.log(`page error: ${error.message}`);
      this.pageErrors.push(error.message);
    });
    const bounds = this.heard.filter((message) => message.type === "bounds").pop();
    if (bounds) await this.fitViewport(bounds);
    await this.page.goto(uri);
    // As for a window the runtime opened: one history entry, so that the
    // page may close its own window.
    await this.pageSession.send("Page.resetNavigationHistory");
    this.readyPage(this.page);
  }

  // The document's title as soon as it is parsed, then DOMContentLoaded.
  async contentLoaded() {
    this.titleChanged(await this.page.title());
    this.toHost({ type: "domcontentloaded" });
  }

  titleChanged(title) {
    if (title === this.title) return;
    this.title = title;
    this.toHost({ type: "title", title });
  }

  async fitViewport(bounds) {
    const width = bounds.width;
    const height = bounds.height;
    if (width > 0 && height > 0) await this.page.setViewport({ width, height }).catch(() => {});
  }

  fromPage(event) {
    if (event.kind === "message") this.toHost({ type: "message", text: event.text });
    if (event.kind === "fullscreen") this.toHost({ type: "fullscreen", on: event.on });
  }

  // The host's posted message as a "message" event on chrome.webview, in the
  // order posted; each folder handle is a folder of the origin's private
  // file system named for its path.
  deliver(message) {
    const names = (message.handles || []).map((folder) => (folder === null ? null : folder.replace(/[^A-Za-z0-9._-]+/g, "_")));
    this.deliveries = this.deliveries
      .then(() => this.pageReady)
      .then((page) =>
        page.evaluate(async (json, names) => {
          const root = names.length ? await navigator.storage.getDirectory() : null;
          const objects = [];
          for (const name of names) objects.push(name === null ? null : await root.getDirectoryHandle(name, { create: true }));
          const event = new MessageEvent("message", { data: JSON.parse(json) });
          Object.defineProperty(event, "additionalObjects", { value: objects });
          window.chrome.webview.dispatchEvent(event);
        }, message.json, names))
      .catch((error) => this.log(`delivery of ${message.json}: ${error.message}`));
  }

  // A window the page opens: the host hears of it with the address it is
  // opened at (known at once, or from its first document request); the
  // engine's window is then closed, as the runtime opens none for the host.
  targetCreated(info) {
    const workerKinds = { worker: "dedicated-worker", shared_worker: "shared-worker", service_worker: "service-worker" };
    if (workerKinds[info.type]) this.workers.set(info.targetId, workerKinds[info.type]);
    if (info.type !== "page" || !this.mainFrame || info.openerId !== this.mainFrame) return;
    if (info.url && info.url !== "about:blank") this.newWindow(info.targetId, info.url);
    else this.popups.add(info.targetId);
  }

  newWindow(targetId, uri) {
    this.ask({ type: "newwindow", uri }).then((answer) => {
      this.log(`new window ${uri}: handled=${answer.handled}, closed`);
      return this.session.send("Target.closeTarget", { targetId });
    }).catch((error) => this.log(`new window: ${error.message}`));
  }

  targetChanged(info) {
    if (info.targetId === this.mainFrame) this.titleChanged(info.title);
  }

  targetDestroyed(targetId) {
    if (targetId !== this.mainFrame || this.pageClosed) return;
    this.pageClosed = true;
    this.log("the page closed its window");
    this.toHost({ type: "close" });
  }

  async framesOfPage() {
    const frames = new Set();
    const walk = (tree) => {
      frames.add(tree.frame.id);
      for (const child of tree.childFrames || []) walk(child);
    };
    if (this.pageSession && !this.pageClosed) walk((await this.pageSession.send("Page.getFrameTree")).frameTree);
    return frames;
  }

  // ---- requests ----

  async paused(event) {
    const { request, resourceType, frameId, requestId } = event;
    const ofPage = frameId === this.mainFrame || (await this.framesOfPage()).has(frameId);
    const isDocument = resourceType === "Document";
    if (isDocument && this.popups.delete(frameId)) {
      this.newWindow(frameId, request.url);
      return this.fail(requestId, "Aborted", `${request.url}: a new window's document, aborted`);
    }
    if (isDocument && !ofPage) return this.fail(requestId, "Aborted", `${request.url}: a document outside the page, aborted`);
    if (isDocument && frameId === this.mainFrame) {
      if (request.url === this.hostNavigation) {
        this.hostNavigation = null;
      } else {
        const answer = await this.ask({ type: "navigation", uri: request.url });
        if (answer.cancel) return this.fail(requestId, "Aborted", `navigation to ${request.url} cancelled by the host`);
      }
    }
    if (!request.url.startsWith(Origin)) return this.fail(requestId, "InternetDisconnected", `${request.url}: outside the origin, no network here`);
    const headers = Object.entries(request.headers).map(([name, value]) => `${name}: ${value}`).join("\n");
    // The engine names a worker's requests by the worker's own target,
    // except a dedicated worker's fetches, which it names by the page.
    const kind = ofPage ? "document" : this.workers.get(frameId) || "service-worker";
    const answer = await this.ask({ type: "request", uri: request.url, method: request.method, headers, kind });
    // Header names come in any case: the page's fetch sends "range".
    const range = Object.entries(request.headers).find(([name]) => name.toLowerCase() === "range");
    const seen = { uri: request.url, method: request.method, range: range ? range[1] : "", kind, resourceType };
    this.requests.push(seen);
    if (!answer.answered) {
      seen.status = answer.intercepted ? "unanswered" : "not intercepted";
      return this.fail(requestId, "ConnectionRefused", `${request.url} (${kind}): ${seen.status}`);
    }
    await this.fulfil(requestId, answer, seen);
  }

  async fulfil(requestId, answer, seen) {
    const headerLines = answer.headers.split(/\r?\n/).filter(Boolean);
    const responseHeaders = headerLines.map((line) => {
      const colon = line.indexOf(":");
      return { name: line.slice(0, colon).trim(), value: line.slice(colon + 1).trim() };
    });
    const field = (name) => (responseHeaders.find((header) => header.name.toLowerCase() === name) || {}).value;
    const length = field("content-length");
    seen.status = answer.status;
    seen.bodyLength = answer.body.length;
    seen.contentRange = field("content-range") || "";
    seen.contentType = field("content-type") || "";
    seen.stream = answer.stream;
    const lengthNote = length !== undefined && Number(length) !== answer.body.length ? " (Content-Length differs from the body)" : "";
    seen.lengthOk = !lengthNote;
    this.log(`${seen.method} ${seen.uri} ${seen.range} [${seen.kind} ${seen.resourceType}] -> ${answer.status} ${answer.reason}, ` +
      `${answer.body.length} bytes${seen.contentRange ? ", " + seen.contentRange : ""}${answer.stream ? "" : ", no stream"}${lengthNote}`);
    await this.session.send("Fetch.fulfillRequest", {
      requestId,
      responseCode: answer.status,
      responsePhrase: answer.reason || undefined,
      responseHeaders,
      body: answer.body.toString("base64"),
    });
  }

  fail(requestId, errorReason, why) {
    this.log(why);
    return this.session.send("Fetch.failRequest", { requestId, errorReason });
  }

  async stop() {
    if (this.browser) await this.browser.close().catch(() => {});
  }
}

async function main() {
  const [folder, scenarioFile, ...args] = process.argv.slice(2);
  const bridge = new EngineBridge(path.resolve(folder));
  const scenario = require(path.resolve(scenarioFile));
  let failed = false;
  try {
    await bridge.start();
    await scenario(bridge, args);
  } catch (error) {
    failed = true;
    bridge.log(`scenario failed: ${error.stack || error}`);
    bridge.report("scenario", `failed: ${error.message}`);
  }
  const waited = await Promise.race([bridge.ended.then(() => true), new Promise((resolve) => setTimeout(resolve, 60000, false))]);
  if (!waited) bridge.log("the host did not end within 60 s");
  await bridge.stop();
  process.exit(failed || !waited ? 1 : 0);
}

main();
