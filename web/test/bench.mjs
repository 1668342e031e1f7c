// node web/test/bench.mjs: speed of the page in headless Chromium on this machine (not part
// of make test). Opens a 1600 x 1200 BMP (the picture bench/bench_skin.cpp makes), then
//   - Make Skin + the real archive (level 1), as the core runs them in the page;
//   - band drags by the mouse: from the mouse move to Webamp showing the new skin, split
//     into making, copying the members out of the core, and Webamp's own work (its time in
//     canvas.toDataURL, where it cuts every sprite into a PNG, is counted apart).
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";
import { serve } from "../serve.mjs";

const ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");
const RUNS = Number(process.env.RUNS || 20);

function photoBmp(w, h) {
  const stride = w * 3, b = Buffer.alloc(54 + stride * h);
  b.write("BM", 0); b.writeUInt32LE(b.length, 2); b.writeUInt32LE(54, 10); b.writeUInt32LE(40, 14);
  b.writeInt32LE(w, 18); b.writeInt32LE(h, 22); b.writeUInt16LE(1, 26); b.writeUInt16LE(24, 28);
  b.writeUInt32LE(stride * h, 34);
  for (let y = 0; y < h; y++) {                   // row y from the top, stored bottom-up
    const row = 54 + (h - 1 - y) * stride;
    for (let x = 0; x < stride; x++) b[row + x] = ((x * 7 + y * 13) ^ (x >> 3)) & 255;
  }
  return b;
}

const tmp = fs.mkdtempSync(path.join(os.tmpdir(), "korvane-bench-"));
const { server, url } = await serve(path.join(ROOT, "web/dist"));
const ctx = await chromium.launchPersistentContext(path.join(tmp, "profile"), {
  executablePath: "/usr/bin/chromium", headless: true, viewport: { width: 1440, height: 900 },
  args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync"],
});
const page = ctx.pages()[0];
page.on("pageerror", (e) => console.log("page error:", e.message));
await page.addInitScript(() => {
  window.__toDataUrlMs = 0;
  const original = HTMLCanvasElement.prototype.toDataURL;
  HTMLCanvasElement.prototype.toDataURL = function (...a) {
    const t = performance.now();
    try { return original.apply(this, a); } finally { window.__toDataUrlMs += performance.now() - t; }
  };
});
await page.goto(url);
const bmp = path.join(tmp, "photo.bmp");
fs.writeFileSync(bmp, photoBmp(1600, 1200));
await page.setInputFiles("#file", bmp);
await page.evaluate(() => korvane.set({ scale: 100, mode: "tile", at: [600, 584], "show-vis": true }).then(() => korvane.ready()));

const median = (a) => [...a].sort((x, y) => x - y)[a.length >> 1];
const make = await page.evaluate(async (runs) => {
  const times = [];
  for (let i = 0; i < runs; i++) {
    await korvane.set({ at: [600 + (i % 2), 584] });
    await korvane.ready();
    const t = performance.now();
    await korvane.wsz();                          // idle: the archive alone
    times.push({ make: korvane.timing().make, archive: performance.now() - t });
  }
  return times;
}, RUNS);
console.log(`1600x1200 Make Skin: median ${median(make.map((t) => t.make)).toFixed(1)} ms; ` +
  `archive (deflate level 1): median ${median(make.map((t) => t.archive)).toFixed(1)} ms; ` +
  `sum ${median(make.map((t) => t.make + t.archive)).toFixed(1)} ms (${RUNS} runs)`);

// Drags: one mouse step each, so each is one skin.
const rows = [];
for (let i = 0; i < RUNS; i++) {
  const box = await page.locator("#frames .kv-frame").first().boundingBox();
  const x = box.x + box.width / 2, y = box.y + box.height / 2;
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.evaluate(() => { window.__toDataUrlMs = 0; });
  const r = await page.evaluate(async ([x, y]) => {
    const el = document.querySelector("#frames .kv-frame");
    const store = korvane.player().store;
    let loading = false, parsed = 0;
    const stop = store.subscribe(() => {
      const now = store.getState().display.loading;
      if (loading && !now && !parsed) parsed = performance.now();
      loading = now;
    });
    const t0 = performance.now();
    el.dispatchEvent(new PointerEvent("pointermove", { bubbles: true, clientX: x, clientY: y, pointerId: 1, isPrimary: true }));
    await korvane.ready();
    const t1 = performance.now();
    stop();
    const t = korvane.timing();
    return { total: t1 - t0, ...t, parse: parsed - (t0 + t.make + t.pack), paint: t1 - parsed, toDataURL: window.__toDataUrlMs };
  }, [x + (i % 2 ? -6 : 6), y]);
  await page.mouse.up();
  rows.push(r);
}
const m = (k) => median(rows.map((r) => r[k])).toFixed(1);
console.log(`drag to Webamp showing the skin: median ${m("total")} ms = make ${m("make")} + handing over the members ${m("pack")} + Webamp ${m("webamp")} (parsing the skin ${m("parse")}, of which canvas.toDataURL ${m("toDataURL")}; ` +
  `rendering and painting ${m("paint")}) (${RUNS} drags)`);
await page.screenshot({ path: path.join(process.env.SHOTS || tmp, "bench-page.png") });
await ctx.close();
server.close();
fs.rmSync(tmp, { recursive: true, force: true });
