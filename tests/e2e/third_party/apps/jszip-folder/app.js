// A save made by JSZip, written into the player's Saved Games folder
// through the handle the host gives, then read back and unzipped.
const savedGamesSlot = 10;

function folderHandles() {
  return new Promise((resolve) => {
    window.chrome.webview.addEventListener("message", (event) => {
      if (event.data && event.data.type === "directory-handles") resolve(Array.from(event.additionalObjects || []));
    });
    window.chrome.webview.postMessage(JSON.stringify({ type: "wrapper-init" }));
  });
}

window.appResult = (async () => {
  const folder = (await folderHandles())[savedGamesSlot];
  const zip = new JSZip();
  zip.file("progress.json", JSON.stringify({ level: 12, coins: 3400 }));
  zip.file("notes/readme.txt", "Saved by Velmora's suite");
  const bytes = await zip.generateAsync({ type: "uint8array", compression: "DEFLATE" });
  const file = await folder.getFileHandle("suite-save.zip", { create: true });
  const writer = await file.createWritable();
  await writer.write(bytes);
  await writer.close();
  const read = await (await folder.getFileHandle("suite-save.zip")).getFile();
  const back = await JSZip.loadAsync(await read.arrayBuffer());
  const progress = JSON.parse(await back.file("progress.json").async("string"));
  return {
    "bytes written and read": read.size === bytes.length && read.size > 100,
    "entries": Object.keys(back.files).filter((name) => !back.files[name].dir).sort().join(" "),
    "progress": `level ${progress.level}, ${progress.coins} coins`,
    "note": await back.file("notes/readme.txt").async("string"),
  };
})();
