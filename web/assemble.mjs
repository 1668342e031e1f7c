// node web/assemble.mjs WASMDIR DIST
// Puts the page together in DIST: our HTML, CSS, scripts, manifest and icons, the
// WebAssembly core from WASMDIR, the two npm bundles the page loads (Webamp, pako's deflate),
// the shipped template folders with a list of them, and the service worker that keeps all of
// it for offline use, so the page fetches nothing from anywhere else.
import crypto from "node:crypto";
import fs from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";

const HERE = path.dirname(fileURLToPath(import.meta.url));
const [wasmDir, dist] = process.argv.slice(2);
if (!wasmDir || !dist) {
  console.error("usage: node assemble.mjs WASMDIR DIST");
  process.exit(2);
}

const copy = (from, to) => {
  fs.mkdirSync(path.dirname(path.join(dist, to)), { recursive: true });
  fs.copyFileSync(from, path.join(dist, to));
};
fs.rmSync(dist, { recursive: true, force: true });
for (const f of ["index.html", "style.css", "app.js", "core.js", "words.js", "workspace.js", "preview.js", "favicon.svg",
  "manifest.webmanifest", "icons/icon-192.png", "icons/icon-512.png"]) {
  copy(path.join(HERE, f), f);
}
for (const f of ["korvane-core.js", "korvane-core.wasm"]) copy(path.join(wasmDir, f), `lib/${f}`);
const modules = path.join(HERE, "node_modules");
copy(path.join(modules, "webamp/built/webamp.bundle.min.js"), "lib/webamp.js");
copy(path.join(modules, "pako/dist/pako_deflate.min.js"), "lib/pako_deflate.js");

// Template folders: every .bmp file of each folder, and templates/index.json naming them with
// the first line of their README. A folder without pictures is the built-in look under the
// name the desktop program lists it by, so the page offers it once.
const src = path.join(HERE, "../templates");
const list = [];
for (const name of fs.readdirSync(src).sort()) {
  const folder = path.join(src, name);
  if (name.startsWith(".") || !fs.statSync(folder).isDirectory()) continue;
  const files = fs.readdirSync(folder).filter((f) => /\.bmp$/i.test(f)).sort();
  const readme = path.join(folder, "README.txt");
  const first = fs.existsSync(readme) ? fs.readFileSync(readme, "utf8").split("\n")[0].trim() : "";
  const about = first.replace(/^[^:-]*?(\s+-\s+|:\s+)/, "");
  const description = about && about !== first ? `${about[0].toUpperCase()}${about.slice(1).replace(/\.?$/, ".")}` : "";
  if (!files.length) {
    list.push({ name, builtin: true, description });
    continue;
  }
  for (const f of files) copy(path.join(folder, f), `templates/${name}/${f}`);
  list.push({ name, files, description });
}
fs.writeFileSync(path.join(dist, "templates/index.json"), JSON.stringify(list, null, 1) + "\n");

// The service worker, with the list of every file above and a version that changes with any
// of them, so a rebuilt page replaces the copy the browser keeps.
const files = [];
const walk = (dir) => {
  for (const e of fs.readdirSync(path.join(dist, dir), { withFileTypes: true })) {
    const rel = dir ? `${dir}/${e.name}` : e.name;
    if (e.isDirectory()) walk(rel);
    else files.push(rel);
  }
};
walk("");
files.sort();
const hash = crypto.createHash("sha256");
for (const f of files) hash.update(f).update(fs.readFileSync(path.join(dist, f)));
const worker = fs.readFileSync(path.join(HERE, "sw.js"), "utf8");
fs.writeFileSync(path.join(dist, "sw.js"), `const VERSION = "${hash.digest("hex").slice(0, 16)}";\n` +
  `const FILES = ${JSON.stringify(["./", ...files])};\n${worker}`);
