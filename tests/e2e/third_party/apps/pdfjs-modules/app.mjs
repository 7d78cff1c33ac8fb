// PDF.js, shipped only as ".mjs" modules, with its module worker: a
// document of over a megabyte read in pieces, its text extracted and its
// page drawn.
import * as pdfjs from "./lib/pdf.min.mjs";

pdfjs.GlobalWorkerOptions.workerSrc = "lib/pdf.worker.min.mjs";

window.appResult = (async () => {
  const document = await pdfjs.getDocument({ url: "docs/doc.pdf", standardFontDataUrl: "lib/standard_fonts/", disableAutoFetch: true, disableStream: true }).promise;
  const page = await document.getPage(1);
  const text = (await page.getTextContent()).items.map((item) => item.str).join("");
  const viewport = page.getViewport({ scale: 0.5 });
  const canvas = window.document.getElementById("page");
  canvas.width = viewport.width;
  canvas.height = viewport.height;
  await page.render({ canvas, viewport }).promise;
  const pixels = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
  let dark = 0;
  for (let i = 0; i < pixels.length; i += 4) if (pixels[i] < 128 && pixels[i + 3] > 0) dark++;
  return {
    "pages": document.numPages,
    "text": text,
    "drawn text pixels": dark > 100 ? "many" : dark,
  };
})();
