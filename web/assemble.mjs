// node web/assemble.mjs WASMDIR DIST
// Puts the page together in DIST: our HTML, CSS and scripts, the WebAssembly core from
// WASMDIR, the two npm bundles the page loads (Webamp, pako's deflate) and the shipped
// template folders with a list of them, so the page fetches nothing from anywhere else.
import fs from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";

const HERE = path.dirname(fileURLToPath(import.meta.url));
const [wasmDir, dist] = process.argv.slice(2);
if (!wasmDir || !dist) {
  console.error("usage: node assemble.mjs WASMDIR DIST");
  process.exit(2);
}

fs.rmSync(dist, { recursive: true, force: true });
fs.mkdirSync(path.join(dist, "lib"), { recursive: true });
for (const f of ["index.html", "style.css", "app.js", "workspace.js", "preview.js", "favicon.svg"]) {
  fs.copyFileSync(path.join(HERE, f), path.join(dist, f));
}
for (const f of ["korvane-core.js", "korvane-core.wasm"]) {
  fs.copyFileSync(path.join(wasmDir, f), path.join(dist, "lib", f));
}
const modules = path.join(HERE, "node_modules");
fs.copyFileSync(path.join(modules, "webamp/built/webamp.bundle.min.js"), path.join(dist, "lib/webamp.js"));
fs.copyFileSync(path.join(modules, "pako/dist/pako_deflate.min.js"), path.join(dist, "lib/pako_deflate.js"));

// Template folders: every .bmp file of each folder, and templates/index.json naming them.
const src = path.join(HERE, "../templates");
const list = [];
for (const name of fs.readdirSync(src).sort()) {
  const folder = path.join(src, name);
  if (!fs.statSync(folder).isDirectory()) continue;
  const files = fs.readdirSync(folder).filter((f) => /\.bmp$/i.test(f)).sort();
  fs.mkdirSync(path.join(dist, "templates", name), { recursive: true });
  for (const f of files) fs.copyFileSync(path.join(folder, f), path.join(dist, "templates", name, f));
  list.push({ name, files });
}
fs.writeFileSync(path.join(dist, "templates/index.json"), JSON.stringify(list, null, 1) + "\n");
