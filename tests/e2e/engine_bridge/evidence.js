// What a scenario judges every answer by: the type the engine needs for
// what it asked, and the favicon that the engine asks for by itself.

// The type each kind of request must be answered with.
const expectedTypes = [
  { test: (seen) => /\.(m|c)?js$/.test(new URL(seen.uri).pathname), type: /^(text|application)\/javascript\b/ },
  { test: (seen) => seen.resourceType === "Stylesheet", type: /^text\/css\b/ },
  { test: (seen) => /\.wasm$/.test(new URL(seen.uri).pathname), type: /^application\/wasm\b/ },
  // The registered font types, and the older ones the host's table gives
  // ".ttf", ".otf" and ".woff" (the engine reads a font whatever its type).
  { test: (seen) => seen.resourceType === "Font", type: /^(font\/|application\/font-)/ },
];

function hasWrongType(seen) {
  const rule = expectedTypes.find((candidate) => candidate.test(seen));
  return typeof seen.status === "number" && seen.status < 300 && Boolean(rule) && !rule.type.test(seen.contentType);
}

// The engine asks for a favicon that no app has to hold.
const isFavicon = (uri) => uri === `${new URL(uri).origin}/favicon.ico`;

const isOk = (seen) => typeof seen.status === "number" && seen.status >= 200 && seen.status <= 299;

const list = (items) => items.join(" | ") || "none";

module.exports = { hasWrongType, isFavicon, isOk, list };
