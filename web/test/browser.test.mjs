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

let server, ctx, page, url;
const problems = []; // console errors, page errors, alerts

before(async () => {
  const s = await serve(path.join(ROOT, "web/dist"));
  server = s.server;
  url = s.url;
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

// A photo-like picture of w x h made by the browser's own encoder (a gradient with a stripe
// pattern), as a file the page can be given.
const photo = async (w, h, type = "image/jpeg") => Buffer.from(await page.evaluate(async ([w, h, type]) => {
  const c = new OffscreenCanvas(w, h), g = c.getContext("2d");
  const grad = g.createLinearGradient(0, 0, w, h);
  grad.addColorStop(0, "#c8642a");
  grad.addColorStop(1, "#2a4c8c");
  g.fillStyle = grad;
  g.fillRect(0, 0, w, h);
  g.fillStyle = "#ffffff30";
  for (let x = 0; x < w; x += 24) g.fillRect(x, 0, 9, h);
  return [...new Uint8Array(await (await c.convertToBlob({ type, quality: 0.92 })).arrayBuffer())];
}, [w, h, type]));
const open = (name, buffer, mimeType = "image/jpeg") => page.setInputFiles("#file", { name, mimeType, buffer });
// Resolves to the message ready() rejects with, or null.
const failure = () => page.evaluate(() => korvane.ready().then(() => null, (e) => e.message));
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

test("Suggest design is korvane-make --auto's skin; a colour set by hand stays, and a pair that does not read is told", async () => {
  await page.goto(url); // nothing set by hand yet
  await page.setInputFiles("#file", SAMPLE);
  await page.evaluate(() => korvane.ready());
  await page.click("#suggest");
  const suggested = await page.evaluate(async () => Array.from(await korvane.wsz()));
  const made = path.join(tmp, "auto.wsz");
  const line = execFileSync(KORVANE_MAKE, [SAMPLE, path.join(tmp, "auto"), "--auto", "--wsz", made]).toString();
  assert.ok(Buffer.from(suggested).equals(fs.readFileSync(made)), "the page's suggestion is korvane-make --auto's");
  const o = await page.evaluate(() => korvane.options());
  assert.ok(line.startsWith(`--at ${o.at} --scale ${o.scale} --text-color ${o["text-color"]} `), line);
  assert.equal(await page.locator("#contrast-display, #contrast-playlist").count(), 0);
  await page.evaluate(() => korvane.set({ "text-color": "222222", auto: true }).then(() => korvane.ready()));
  assert.equal((await page.evaluate(() => korvane.options()))["text-color"], "222222");
  assert.match(await page.textContent("#contrast-display"),
    /^Low contrast: display text on back reads 1\.\d:1 \(4\.5:1 or more reads well\)$/);
  assert.equal(problems.join("\n"), "");
});

test("a file that is no picture, a damaged photo or too small a picture says so over the picture", async () => {
  const small = Buffer.alloc(54 + 100 * 4 * 50);
  small.write("BM", 0); small.writeUInt32LE(small.length, 2); small.writeUInt32LE(54, 10);
  small.writeUInt32LE(40, 14); small.writeInt32LE(100, 18); small.writeInt32LE(50, 22);
  small.writeUInt16LE(1, 26); small.writeUInt16LE(24, 28);
  const cases = [
    ["notes.png", Buffer.from("not a picture at all"), /not a picture Korvane can read/],
    ["cut.jpg", (await photo(800, 600)).subarray(0, 3000), /looks like a JPEG.*damaged or incomplete/],
    ["small.bmp", small, /100 × 50 pixels, smaller than one skin window \(275 × 116\)/],
  ];
  for (const [name, bytes, expected] of cases) {
    await page.evaluate(() => (document.getElementById("stage-message").hidden = true));
    await open(name, bytes, "application/octet-stream");
    await page.waitForSelector("#stage-message", { state: "visible" });
    assert.match(await page.textContent("#stage-message-text"), expected, name);
  }
});

test("a refused value never enters the options: the control goes back or is marked, and the next change applies", async () => {
  const before = await page.evaluate(() => korvane.options());
  const refused = await page.evaluate(() => korvane.set({ scale: 500, brightness: 5 }).then(() => "", (e) => e.message));
  assert.match(refused, /scale goes from 0% to 100%.*“500”/);
  assert.match(await page.textContent("#note-scale"), /scale goes from 0% to 100%/, "the message stands beside the slider");
  assert.deepEqual(await page.evaluate(() => korvane.options()), before, "neither value entered");
  assert.equal(await page.inputValue("#scale"), String(before.scale));
  const skin = await mainWindow();
  await page.evaluate(() => korvane.set({ brightness: 20 }).then(() => korvane.ready()));
  const bright = await mainWindow();
  assert.notDeepEqual(bright, skin, "a good change after a refused one applies");

  await page.fill("#playlist-font", "");
  assert.equal(await page.getAttribute("#playlist-font", "aria-invalid"), "true");
  assert.match(await page.textContent("#note-playlist-font"), /needs a font name/);
  await page.check("#swap-rb");
  assert.equal(await failure(), null);
  assert.notDeepEqual(await mainWindow(), bright, "the next control still works");
  assert.equal(await page.isEnabled("#download"), true);
  assert.equal((await page.evaluate(() => korvane.options()))["playlist-font"], before["playlist-font"]);
  assert.equal(await page.inputValue("#playlist-font"), "", "the field keeps what was typed");
  await page.fill("#playlist-font", "Verdana");
  assert.equal(await page.getAttribute("#playlist-font", "aria-invalid"), null);
  await page.uncheck("#swap-rb");
});

test("Continuous on a 16:9 photo makes a Continuous skin; a picture too short for it says what fits and stays shown", async () => {
  await page.evaluate(() => korvane.set({ mode: "continuous" }));
  await open("wide.jpg", await photo(1920, 1080));
  assert.equal(await failure(), null);
  const { mode, at } = await page.evaluate(() => korvane.options());
  const height = await page.evaluate(() => document.getElementById("canvas").height);
  assert.ok(mode === "continuous" && height >= 348 && at[1] + 348 <= height, `${mode} ${at} in ${height} rows`);

  await open("short.png", await photo(451, 300, "image/png"), "image/png");
  assert.match(await failure(), /348 pixels.*only 300 pixels tall.*Tile or Free/);
  assert.equal(await page.evaluate(() => document.getElementById("canvas").height), 300, "the picture is shown");
  assert.equal(await page.locator(".kv-frame").count(), 0, "no frame hangs outside the picture");
  assert.equal(await page.isEnabled("#download"), false);
  await page.click("text=Tile");
  assert.equal(await failure(), null);
  assert.equal(await page.locator(".kv-frame").count(), 1);
});

test("free mode: where two frames overlap, the one drawn on top moves, wherever the pointer came from", async () => {
  await page.evaluate(() => korvane.set({ mode: "free" }));
  const moved = [];
  for (const from of ["main", "equalizer"]) {
    await page.evaluate(() => korvane.set({ main: [20, 20], equalizer: [80, 60], playlist: [170, 180] }));
    await page.evaluate(() => document.activeElement?.blur());
    const m = await page.locator(".kv-frame-main").boundingBox(), e = await page.locator(".kv-frame-equalizer").boundingBox();
    const start = from === "main" ? [m.x + 4, m.y + 4] : [e.x + e.width - 4, e.y + e.height - 4];
    await page.mouse.move(...start);
    await page.mouse.move(e.x + 6, e.y + 6, { steps: 8 }); // inside both
    await page.mouse.down();
    await page.mouse.move(e.x + 40, e.y + 30, { steps: 4 });
    await page.mouse.up();
    const o = await page.evaluate(() => korvane.ready().then(() => korvane.options()));
    moved.push(o.main[0] !== 20 ? "main" : o.equalizer[0] !== 80 ? "equalizer" : "none");
  }
  assert.deepEqual(moved, ["equalizer", "equalizer"]);
});

test("by keyboard: Tab reaches Open, which opens a picture; every control has a name; frames move by arrow keys", async () => {
  // Armed before the keys: Playwright takes the chooser over only once it listens, and a
  // chooser the browser opened first would never be seen.
  const chooser = page.waitForEvent("filechooser");
  await page.mouse.click(1, 1); // the top-left corner of the page: the next Tab starts there
  for (let i = 0; i < 4 && (await page.evaluate(() => document.activeElement.id)) !== "open"; i++) await page.keyboard.press("Tab");
  assert.equal(await page.evaluate(() => `${document.activeElement.tagName}#${document.activeElement.id}`), "BUTTON#open");
  await page.keyboard.press("Enter");
  await (await chooser).setFiles(SAMPLE);
  assert.equal(await failure(), null);
  assert.match(await page.textContent("#picture-info"), /^sample\.bmp/);

  const cdp = await ctx.newCDPSession(page);
  const { nodes } = await cdp.send("Accessibility.getFullAXTree");
  const controls = ["button", "checkbox", "combobox", "radio", "slider", "textbox", "ColorWell", "link", "spinbutton", "switch"];
  const unnamed = nodes.filter((n) => !n.ignored && controls.includes(n.role?.value) && !n.name?.value?.trim());
  assert.deepEqual(unnamed.map((n) => n.role.value), [], "controls without a name");
  assert.ok(nodes.filter((n) => controls.includes(n.role?.value)).length >= 25);

  await page.locator(".kv-frame").first().focus();
  const at = (await page.evaluate(() => korvane.options())).main;
  await page.keyboard.press("ArrowRight");
  await page.keyboard.press("Shift+ArrowDown");
  assert.deepEqual((await page.evaluate(() => korvane.options())).main, [at[0] + 1, at[1] + 10]);
});

test("the preview is the skin: Webamp draws the equalizer as it does on a page of its own, takes no dropped picture as a track, and every extra changes the skin", async () => {
  await page.selectOption("#zoom", "1");
  const bytes = await page.evaluate(() => korvane.set({ mode: "tile" }).then(() => korvane.wsz()).then((b) => [...b]));
  const ref = await ctx.newPage();
  await ref.setContent('<div id="host" style="position:relative;width:275px;height:348px"></div>');
  await ref.addScriptTag({ url: `${url}lib/webamp.js` });
  await ref.evaluate(async (b) => {
    const w = new Webamp({ initialSkin: { url: URL.createObjectURL(new Blob([new Uint8Array(b)])) }, enableHotkeys: false,
      windowLayout: { main: { position: { top: 0, left: 0 } }, equalizer: { position: { top: 116, left: 0 } },
        playlist: { position: { top: 232, left: 0 }, size: { extraHeight: 0, extraWidth: 0 } } } });
    await w.renderInto(document.getElementById("host"));
    await w.skinIsLoaded();
  }, bytes);
  // The window as painted: its box snapped to whole pixels, as the browser paints it.
  const crop = async (p) => {
    const b = await p.locator("#equalizer-window").boundingBox();
    return p.screenshot({ clip: { x: Math.round(b.x), y: Math.round(b.y), width: 275, height: 116 } });
  };
  assert.ok((await crop(page)).equals(await crop(ref)), "the equalizer differs from Webamp's own");
  await ref.close();

  await page.evaluate(async (b) => {
    const dt = new DataTransfer();
    dt.items.add(new File([new Uint8Array(b)], "dropped.bmp", { type: "image/bmp" }));
    const on = document.getElementById("playlist-window");
    for (const type of ["dragenter", "dragover", "drop"]) on.dispatchEvent(new DragEvent(type, { bubbles: true, cancelable: true, dataTransfer: dt }));
  }, [...fs.readFileSync(SAMPLE)]);
  assert.equal(await failure(), null);
  assert.match(await page.textContent("#picture-info"), /^dropped\.bmp/);
  assert.equal(await page.evaluate(() => korvane.player().store.getState().playlist.trackOrder.length), 3);

  for (const box of await page.locator(".kv-check input").all()) {
    const wsz = () => page.evaluate(() => korvane.wsz().then((b) => b.join()));
    const off = await wsz();
    await box.check();
    assert.notEqual(await wsz(), off, await box.evaluate((e) => e.labels[0].textContent));
    await box.uncheck();
  }
});

test("ready() after a file-input open waits for the photo, with a busy sign while it decodes", async () => {
  await open("big.jpg", await photo(4000, 3000));
  assert.equal(await page.isVisible("#busy"), true);
  assert.equal(await failure(), null);
  assert.equal(await page.isVisible("#busy"), false);
  assert.match(await page.textContent("#picture-info"), /^big\.jpg: 4000 × 3000 pixels, reduced to 1600 × 1200/);
});

// Last: it stops the server.
test("installable, and once loaded it reloads and makes a skin with the server gone", async () => {
  const cdp = await ctx.newCDPSession(page);
  await page.evaluate(() => navigator.serviceWorker.ready);
  assert.deepEqual((await cdp.send("Page.getInstallabilityErrors")).installabilityErrors, []);
  server.closeAllConnections();
  await new Promise((r) => server.close(r));
  await page.reload();
  await page.setInputFiles("#file", SAMPLE);
  assert.ok((await page.evaluate(() => korvane.wsz().then((b) => b.length))) > 10000);
  assert.equal(problems.join("\n"), "");
});
