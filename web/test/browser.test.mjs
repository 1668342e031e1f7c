// The page in Debian's headless Chromium, driven by playwright-core: a user's road from a
// picture to the downloaded .wsz, checked against korvane-make's archive byte for byte.
// Needs web/dist (make web-dist) and build/native/korvane-make (make native).
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";
import { serve } from "../serve.mjs";

const ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");
const SAMPLE = path.join(ROOT, "resources/sample.bmp");
const KORVANE_MAKE = path.join(ROOT, "build/native/korvane-make");
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), "korvane-web-"));
const SHOTS = process.env.KORVANE_WEB_SHOTS; // a folder to keep screenshots in

let server, ctx, page;
const problems = []; // console errors, page errors, alerts

before(async () => {
  const s = await serve(path.join(ROOT, "web/dist"));
  server = s.server;
  ctx = await chromium.launchPersistentContext(path.join(tmp, "profile"), {
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync"],
    viewport: { width: 1440, height: 900 },
    acceptDownloads: true,
  });
  page = ctx.pages()[0] || (await ctx.newPage());
  page.on("console", (m) => m.type() === "error" && problems.push(`console: ${m.text()}`));
  page.on("pageerror", (e) => problems.push(`page error: ${e.message}`));
  page.on("dialog", (d) => { problems.push(`alert: ${d.message()}`); d.dismiss(); });
  page.on("request", (r) => !r.url().startsWith(s.url) && !/^(blob|data):/.test(r.url()) &&
    problems.push(`fetched from elsewhere: ${r.url()}`));
  await page.goto(s.url);
});

after(async () => {
  await ctx?.close();
  server?.close();
  fs.rmSync(tmp, { recursive: true, force: true });
});

const shot = async (name) => SHOTS && page.screenshot({ path: path.join(SHOTS, `${name}.png`) });
// The main window's background as Webamp cut it from the skin it shows (a screenshot would
// differ anyway: the title scrolls).
const mainWindow = () => page.evaluate(() =>
  korvane.player().store.getState().display.skinImages.MAIN_WINDOW_BACKGROUND);

test("a BMP, options and a dragged band give korvane-make's archive; Webamp follows", async () => {
  await page.setInputFiles("#file", SAMPLE);
  await page.evaluate(() => korvane.ready());
  const options = { mode: "free", main: [10, 20], equalizer: [50, 60], playlist: [60, 150], scale: 90,
    brightness: 10, "text-color": "40E0FF", template: "Brushed Steel", title: "Web test", "show-vis": true };
  await page.evaluate((o) => korvane.set(o).then(() => korvane.ready()), options);
  const before = await mainWindow();

  // Drag the main window's band by its top edge (the others overlap the rest of it) 40 x 30
  // screen pixels to the right and down.
  const box = await page.locator("#frames .kv-frame-main").boundingBox();
  await page.mouse.move(box.x + 30, box.y + 6);
  await page.mouse.down();
  await page.mouse.move(box.x + 70, box.y + 36, { steps: 6 });
  await page.mouse.up();
  await page.evaluate(() => korvane.ready());
  const main = (await page.evaluate(() => korvane.options())).main;
  assert.ok(main[0] > 10 && main[1] > 20, `the drag moved the band: ${main}`);
  assert.notDeepEqual(await mainWindow(), before, "Webamp shows the moved band");
  await shot("bmp-free");

  const [download] = await Promise.all([page.waitForEvent("download"), page.click("#download")]);
  assert.equal(download.suggestedFilename(), "sample.wsz");
  const made = path.join(tmp, "cli.wsz");
  execFileSync(KORVANE_MAKE, [SAMPLE, path.join(tmp, "cli"), "--mode", "free", "--main", main.join(),
    "--equalizer", "50,60", "--playlist", "60,150", "--scale", "90", "--brightness", "10",
    "--text-color", "40E0FF", "--template", path.join(ROOT, "templates/Brushed Steel"),
    "--title", "Web test", "--show-vis", "--wsz", made]);
  assert.ok(fs.readFileSync(await download.path()).equals(fs.readFileSync(made)),
    "the downloaded .wsz equals korvane-make's");

  // The same pixels as a PNG, through the browser's decoder, make the same archive.
  const png = path.join(tmp, "sample.png");
  execFileSync("/usr/bin/python3", ["-c",
    "import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])", SAMPLE, png]);
  const fromPng = await page.evaluate(async (bytes) => {
    const o = korvane.options();
    await korvane.open(new Blob([new Uint8Array(bytes)], { type: "image/png" }));
    await korvane.set(o); // opening placed the bands anew
    return Array.from(await korvane.wsz());
  }, [...fs.readFileSync(png)]);
  assert.ok(Buffer.from(fromPng).equals(fs.readFileSync(made)), "the PNG gives the BMP's archive");
  assert.equal(problems.join("\n"), "");
});

test("a file that is no picture, or too small a one, says so on the page", async () => {
  const small = Buffer.alloc(54 + 100 * 4 * 50);
  small.write("BM", 0); small.writeUInt32LE(small.length, 2); small.writeUInt32LE(54, 10);
  small.writeUInt32LE(40, 14); small.writeInt32LE(100, 18); small.writeInt32LE(50, 22);
  small.writeUInt16LE(1, 26); small.writeUInt16LE(24, 28);
  const cases = [
    ["notes.png", Buffer.from("not a picture at all"), /not a picture Korvane can read/],
    ["small.bmp", small, /100 × 50 pixels, smaller than one skin window \(275 × 116\)/],
  ];
  for (const [name, bytes, expected] of cases) {
    await page.setInputFiles("#file", { name, mimeType: "application/octet-stream", buffer: bytes });
    await page.waitForFunction(() => !document.getElementById("stage-message").hidden);
    assert.match(await page.textContent("#stage-message-text"), expected, name);
  }
});
