// Fontsource's Roboto as a web font: the face loads from the app and text
// set in it is measured unlike the monospace fallback.
window.appResult = (async () => {
  const faces = await document.fonts.load("32px Roboto", "Velmora plays games");
  await document.fonts.ready;
  const canvas = document.createElement("canvas").getContext("2d");
  const width = (font) => {
    canvas.font = font;
    return canvas.measureText("Velmora plays games").width;
  };
  const loaded = [...document.fonts].filter((face) => face.family === "Roboto" && face.status === "loaded");
  return {
    "faces loaded for Latin text": faces.length,
    "Roboto ready": document.fonts.check("32px Roboto", "Velmora plays games"),
    "loaded faces are Roboto's": loaded.length > 0 && loaded.length === faces.length,
    "Roboto measures unlike monospace": Math.abs(width("32px Roboto") - width("32px monospace")) > 20,
  };
})();
