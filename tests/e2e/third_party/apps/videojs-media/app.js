// Video.js plays a clip that is red, then green, then blue for two seconds
// each; after a seek the frame presented is read back from the element.
// The media time of the next frame presented, or null after three seconds.
const presentedFrame = (video) => Promise.race([
  new Promise((resolve) => video.requestVideoFrameCallback((now, frame) => resolve(frame.mediaTime))),
  new Promise((resolve) => setTimeout(resolve, 3000, null)),
]);

function colourOf(video) {
  const canvas = document.createElement("canvas");
  canvas.width = 32;
  canvas.height = 24;
  const draw = canvas.getContext("2d", { willReadFrequently: true });
  draw.drawImage(video, 0, 0, 32, 24);
  const [r, g, b] = draw.getImageData(16, 12, 1, 1).data;
  const names = [[r, "red"], [g, "green"], [b, "blue"]].filter(([value]) => value > 150).map(([, name]) => name);
  return names.length === 1 && r + g + b < 400 ? names[0] : `${r} ${g} ${b}`;
}

window.appResult = (async () => {
  const player = videojs("player");
  await new Promise((resolve) => player.ready(resolve));
  await new Promise((resolve) => (player.readyState() >= 1 ? resolve() : player.one("loadedmetadata", resolve)));
  const video = player.tech({ IWillNotUseThisInPlugins: true }).el();
  const seek = async (seconds) => {
    const shown = presentedFrame(video);
    const seeked = new Promise((resolve) => player.one("seeked", resolve));
    player.currentTime(seconds);
    await seeked;
    const at = await shown;
    return at !== null && Math.abs(at - seconds) < 0.25;
  };
  const result = { "duration": Math.round(player.duration()) };
  await player.play();
  result["a frame presented at 4.5 s"] = await seek(4.5);
  result["frame after seeking to 4.5 s"] = colourOf(video);
  result["playing on from there"] = await new Promise((resolve) => setTimeout(() => resolve(player.currentTime() > 4.6 && !player.paused()), 700));
  player.pause();
  await seek(2.5);
  result["frame after seeking back to 2.5 s"] = colourOf(video);
  await seek(0.5);
  result["frame after seeking to 0.5 s"] = colourOf(video);
  return result;
})();
