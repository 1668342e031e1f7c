// The page: open or drop a picture, place the bands, set the options, watch Webamp wear the
// skin, download the .wsz. The skin is made by Korvane's own core, compiled to WebAssembly;
// nothing leaves the page. window.korvane gives scripts the same road (see the end).
import { Workspace, BAND_W, BAND_H, FRAME_H } from "./workspace.js";
import { Preview } from "./preview.js";

const $ = (id) => document.getElementById(id);

// The options, named as korvane-make's long options without their dashes. Their defaults
// come from the core when it has loaded (Core.defaults); convert is the page's own.
const DEFAULTS = { convert: true };
const POSITIONS = ["at", "main", "equalizer", "playlist"];
const NUMBERS = ["scale", "brightness", "contrast"];
const COLORS = ["text-color", "back-color", "playlist-normal", "playlist-current", "playlist-normal-bg",
  "playlist-selected-bg"];
const opts = {};

// PictureOutcome of the core: Accepted, ReadFailed, Declined, TooSmall, TooLarge.
const ACCEPTED = 0, DECLINED = 2;
// The largest picture the core takes, from the core.
let MAX_W = 0, MAX_H = 0;
const NOT_A_PICTURE = "This file is not a picture Korvane can read.\nOpen a PNG, JPEG or BMP picture.";

// The WebAssembly core and the few calls the page makes into it.
class Core {
  constructor(m) { this.m = m; }
  message() { return this.m.UTF8ToString(this.m._korvane_message()); }
  output(size) { const p = this.m._korvane_output(); return this.m.HEAPU8.slice(p, p + size); }
  withBytes(bytes, fn) {
    const p = this.m._malloc(bytes.length);
    this.m.HEAPU8.set(bytes, p);
    try { return fn(p); } finally { this.m._free(p); }
  }
  openBmp(bytes, convert) { return this.withBytes(bytes, (p) => this.m._korvane_open_bmp(p, bytes.length, convert ? 1 : 0)); }
  openRgba(rgba, w, h) { return this.withBytes(rgba, (p) => this.m._korvane_open_rgba(p, w, h)); }
  scaledSize(scale) { const s = this.m._korvane_scaled_size(scale); return [s >>> 16, s & 0xffff]; }
  maxSize() { const s = this.m._korvane_max_size(); return [s >>> 16, s & 0xffff]; }
  // Every option's default, typed as the page keeps it: positions as [x, y], switches as
  // booleans, the adjustments as numbers.
  defaults() {
    const o = {};
    for (const line of this.m.UTF8ToString(this.m._korvane_defaults()).split("\n")) {
      const eq = line.indexOf("=");
      if (eq < 0) continue;
      const k = line.slice(0, eq), v = line.slice(eq + 1);
      o[k] = POSITIONS.includes(k) ? v.split(",").map(Number)
        : NUMBERS.includes(k) ? Number(v)
        : v === "true" || v === "false" ? v === "true" : v;
    }
    return o;
  }
  make(text) {
    const bytes = new TextEncoder().encode(`${text}\0`);
    return this.withBytes(bytes, (p) => this.m._korvane_make(p));
  }
  archive() { const n = this.m._korvane_archive(); return n ? this.output(n) : null; }
  // The skin's members as [{name, bytes}], read from the core's little container.
  skinFiles() {
    const n = this.m._korvane_skin_files();
    if (!n) return null;
    const p = this.m._korvane_output(), heap = this.m.HEAPU8, v = new DataView(heap.buffer, p, n);
    const files = [];
    for (let i = 0, at = 4; i < v.getUint32(0, true); i++) {
      const nameLength = v.getUint16(at, true);
      const name = new TextDecoder().decode(heap.subarray(p + at + 2, p + at + 2 + nameLength));
      const size = v.getUint32(at + 2 + nameLength, true);
      const start = p + at + 6 + nameLength;
      files.push({ name, bytes: heap.slice(start, start + size) });
      at += 6 + nameLength + size;
    }
    return files;
  }
  workSerial() { return this.m._korvane_work_serial(); }
  workPicture() {
    this.m._korvane_work_rgba();
    const w = this.m._korvane_work_width(), h = this.m._korvane_work_height();
    return { w, h, rgba: this.output(w * h * 4) };
  }
}

// Options as the core reads them: one "name=value" line each, positions as "x,y".
function optionText(o) {
  const lines = [];
  for (const [k, v] of Object.entries(o)) {
    if (k === "convert") continue;
    if (POSITIONS.includes(k) && (k === "at") === (o.mode === "free")) continue;
    const value = Array.isArray(v) ? v.join(",") : String(v);
    lines.push(`${k}=${value.replace(/[\r\n]+/g, " ")}`);
  }
  return lines.join("\n");
}

let core = null;
let preview = null;
let workspace = null;
let pictureName = "skin";
let pictureLabel = "";
let pictureSize = null; // [w, h] as opened
const templatesLoaded = new Set();
let templateList = [];

// ---- Messages ----------------------------------------------------------------------------
function say(text, kind = "error") {
  const box = $("message");
  box.textContent = text;
  box.className = kind === "notice" ? "message notice" : "message";
  box.hidden = !text;
}

// ---- Making the skin and showing it --------------------------------------------------------
// Each change bumps `wanted`; one loop makes and shows the newest options, so a burst of
// changes (a drag) costs one skin per Webamp load, never a queue of stale ones.
let wanted = 0, done = 0, busy = false, failure = null;
const waiters = [];
const timing = { make: 0, pack: 0, webamp: 0, total: 0, count: 0 };

function changed() {
  wanted++;
  pump();
}

async function pump() {
  if (busy || !core || !pictureSize) return;
  busy = true;
  try {
    while (done < wanted) {
      const gen = wanted;
      const t0 = performance.now();
      const status = core.make(optionText(opts));
      const note = core.message();
      const t1 = performance.now();
      if (status !== 0) {
        failure = note;
        say(note);
        done = gen;
        continue;
      }
      failure = null;
      say(note, "notice");
      if (core.workSerial() !== workspace.serial) {
        const { w, h, rgba } = core.workPicture();
        workspace.setPicture(rgba, w, h);
        workspace.serial = core.workSerial();
        workspace.draw(opts);
        $("picture-info").textContent = `${pictureLabel}: ${pictureSize[0]} × ${pictureSize[1]} pixels` +
          (w === pictureSize[0] ? "." : `, scaled to ${w} × ${h}.`) + " The bands cut 275 × 116 pixels each.";
      }
      const files = core.skinFiles();
      const t2 = performance.now();
      try {
        await preview.show(files);
      } catch (e) {
        failure = `The player could not show the skin: ${e.message || e}`;
        say(failure);
      }
      const t3 = performance.now();
      Object.assign(timing, { make: t1 - t0, pack: t2 - t1, webamp: t3 - t2, total: t3 - t0, count: timing.count + 1 });
      $("timing").textContent = `Skin made in ${(timing.make + timing.pack).toFixed(0)} ms, shown by Webamp in ${timing.webamp.toFixed(0)} ms.`;
      $("player-empty").hidden = true;
      $("download").disabled = false;
      done = Math.max(done, gen);
    }
  } finally {
    busy = false;
    for (const w of waiters.splice(0)) failure ? w.reject(new Error(failure)) : w.resolve();
  }
}

function ready() {
  if (!pictureSize) return Promise.resolve(); // nothing to show yet
  if (!busy && done >= wanted) return failure ? Promise.reject(new Error(failure)) : Promise.resolve();
  return new Promise((resolve, reject) => waiters.push({ resolve, reject }));
}

// ---- Opening a picture ---------------------------------------------------------------------
async function decodeWithBrowser(blob) {
  const how = { colorSpaceConversion: "none", premultiplyAlpha: "none", imageOrientation: "from-image" };
  let bitmap;
  try {
    bitmap = await createImageBitmap(blob, how);
  } catch {
    throw new Error(NOT_A_PICTURE);
  }
  let notice = "";
  if (bitmap.width > MAX_W || bitmap.height > MAX_H) {
    // Korvane works on at most 1600 x 1200 pixels; the browser reduces a larger photo with
    // its best filter, keeping the shape.
    const s = Math.min(MAX_W / bitmap.width, MAX_H / bitmap.height);
    const w = Math.min(MAX_W, Math.floor(bitmap.width * s)), h = Math.min(MAX_H, Math.floor(bitmap.height * s));
    notice = `Your photo is ${bitmap.width} × ${bitmap.height} pixels; Korvane works on at most ${MAX_W} × ${MAX_H}, so it was reduced to ${w} × ${h}.`;
    bitmap.close();
    bitmap = await createImageBitmap(blob, { ...how, resizeWidth: w, resizeHeight: h, resizeQuality: "high" });
  }
  const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
  const ctx = canvas.getContext("2d", { willReadFrequently: true });
  ctx.drawImage(bitmap, 0, 0);
  const data = ctx.getImageData(0, 0, bitmap.width, bitmap.height).data;
  const result = { rgba: new Uint8Array(data.buffer), w: bitmap.width, h: bitmap.height, notice };
  bitmap.close();
  return result;
}

// Where the bands start on a new picture: a large photo is scaled down so a window covers
// a good part of it (about 600 pixels wide), the bands in the middle, the free bands one
// above the other.
function placeBands() {
  const [w0] = core.scaledSize(100);
  opts.scale = w0 > 600 ? Math.floor((100 * 600) / w0) : 100;
  const [w, h] = core.scaledSize(opts.scale);
  const cx = Math.max(0, Math.round((w - BAND_W) / 2));
  const at = (bh) => [cx, Math.max(0, Math.round((h - bh) / 2))];
  opts.at = at(opts.mode === "continuous" && h >= FRAME_H ? FRAME_H : BAND_H);
  const step = Math.max(0, Math.round((h - BAND_H) / 4));
  opts.main = [cx, step];
  opts.equalizer = [cx, 2 * step];
  opts.playlist = [cx, 3 * step];
}

// Keeps the positions inside the picture at the current scale and mode.
function clampBands() {
  const [w, h] = core.scaledSize(opts.scale);
  const fit = (p, bh) => [Math.min(p[0], Math.max(0, w - BAND_W)), Math.min(p[1], Math.max(0, h - bh))];
  opts.at = fit(opts.at, opts.mode === "continuous" ? FRAME_H : BAND_H);
  for (const b of ["main", "equalizer", "playlist"]) opts[b] = fit(opts[b], BAND_H);
}

async function open(blob, { place = true } = {}) {
  await started;
  const bytes = new Uint8Array(await blob.arrayBuffer());
  let outcome, notice = "";
  if (bytes[0] === 0x42 && bytes[1] === 0x4d) { // "BM": our own reader, as the desktop program
    outcome = core.openBmp(bytes, opts.convert);
  } else {
    let picture;
    try {
      picture = await decodeWithBrowser(blob);
    } catch (e) {
      say(e.message);
      throw e;
    }
    outcome = core.openRgba(picture.rgba, picture.w, picture.h);
    notice = picture.notice;
  }
  if (outcome !== ACCEPTED) {
    const text = outcome === DECLINED
      ? "This BMP is not a true-colour (24-bit) picture, and converting it is switched off."
      : core.message();
    say(text);
    throw new Error(text);
  }
  pictureName = (blob.name || "skin").replace(/\.[^.]*$/, "") || "skin";
  const [w, h] = core.scaledSize(100);
  pictureSize = [w, h];
  if (place) placeBands();
  $("stage").classList.remove("empty");
  $("drop-hint").hidden = true;
  $("picture").hidden = false;
  pictureLabel = blob.name || "Picture";
  syncControls();
  workspace.serial = -1;
  changed();
  if (notice) setTimeout(() => failure || say(notice, "notice"), 0);
  return { width: w, height: h };
}

// ---- Templates -----------------------------------------------------------------------------
// The shipped template folders are plain files beside the page; a folder is copied into the
// core's file system the first time it is chosen.
async function loadTemplate(name) {
  if (!name || templatesLoaded.has(name)) return;
  const entry = templateList.find((t) => t.name === name);
  if (!entry) throw new Error(`no template folder ${name}`);
  const dir = `/templates/${name}`;
  core.m.FS.mkdirTree(dir);
  for (const f of entry.files) {
    const r = await fetch(`templates/${encodeURIComponent(name)}/${encodeURIComponent(f)}`);
    if (!r.ok) throw new Error(`The template file ${name}/${f} could not be loaded.`);
    core.m.FS.writeFile(`${dir}/${f}`, new Uint8Array(await r.arrayBuffer()));
  }
  templatesLoaded.add(name);
}

// ---- Options from scripts and from the controls ------------------------------------------
function normalise(key, value) {
  if (!(key in DEFAULTS)) throw new Error(`unknown option ${key}`);
  if (POSITIONS.includes(key)) {
    const p = typeof value === "string" ? value.split(",").map(Number) : value;
    if (!Array.isArray(p) || p.length !== 2 || !p.every(Number.isInteger)) throw new Error(`bad value for ${key}: '${value}'`);
    return p;
  }
  if (key === "order" && Array.isArray(value)) return value.join(",");
  if (typeof DEFAULTS[key] === "boolean") return value === true || value === "true";
  if (typeof DEFAULTS[key] === "number") return Number(value);
  if (COLORS.includes(key)) return String(value).replace(/^#/, "").toUpperCase();
  return String(value);
}

async function set(changes) {
  await started;
  const next = {};
  for (const [k, v] of Object.entries(changes)) next[k] = normalise(k, v);
  if ("template" in next) {
    try {
      await loadTemplate(next.template);
    } catch (e) {
      say(e.message);
      throw e;
    }
  }
  const reshaped = ("scale" in next && next.scale !== opts.scale) || ("mode" in next && next.mode !== opts.mode);
  Object.assign(opts, next);
  if (reshaped && pictureSize && !POSITIONS.some((k) => k in next)) clampBands();
  syncControls();
  if (workspace.width) workspace.draw(opts);
  changed();
}

async function wsz() {
  await ready();
  const bytes = core.archive();
  if (!bytes) throw new Error("There is no skin to pack yet: open a picture first.");
  return bytes;
}

async function download() {
  try {
    const bytes = await wsz();
    const a = document.createElement("a");
    a.href = URL.createObjectURL(new Blob([bytes], { type: "application/zip" }));
    a.download = `${pictureName}.wsz`;
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(a.href), 10000);
  } catch (e) {
    say(e.message);
  }
}

const MODE_HINTS = {
  tile: "One place for all three windows. Drag the frame over the picture.",
  free: "Each window has its own place. Drag the three frames.",
  continuous: "One tall frame cut into the three windows, top to bottom in the order below.",
};

function syncControls() {
  for (const r of document.querySelectorAll("input[name=mode]")) r.checked = r.value === opts.mode;
  $("mode-hint").textContent = MODE_HINTS[opts.mode];
  $("order-row").hidden = opts.mode !== "continuous";
  $("order").value = opts.order;
  for (const k of ["scale", "brightness", "contrast"]) {
    $(k).value = opts[k];
    $(`${k}-out`).textContent = k === "scale" ? `${opts[k]}%` : String(opts[k]);
  }
  for (const k of ["template", "title", "title-align", "title-color", "playlist-font"]) $(k).value = opts[k];
  for (const k of COLORS) {
    if (/^[0-9A-F]{6}$/.test(opts[k])) $(k).value = `#${opts[k].toLowerCase()}`;
  }
  for (const k of ["show-vis", "swap-rb", "hide-balance", "no-balance-file"]) $(k).checked = opts[k];
}

function wireControls() {
  const fromControl = (key, read, event = "input") => $(key).addEventListener(event, () => set({ [key]: read($(key)) }).catch(() => {}));
  for (const r of document.querySelectorAll("input[name=mode]")) {
    r.addEventListener("change", () => set({ mode: r.value }).catch(() => {}));
  }
  fromControl("order", (e) => e.value, "change");
  for (const k of ["scale", "brightness", "contrast"]) fromControl(k, (e) => Number(e.value));
  fromControl("template", (e) => e.value, "change");
  for (const k of ["title", "playlist-font"]) fromControl(k, (e) => e.value);
  for (const k of ["title-align", "title-color"]) fromControl(k, (e) => e.value, "change");
  for (const k of COLORS) {
    fromControl(k, (e) => e.value.slice(1).toUpperCase());
  }
  for (const k of ["show-vis", "swap-rb", "hide-balance", "no-balance-file"]) fromControl(k, (e) => e.checked, "change");

  $("file").addEventListener("change", () => {
    const f = $("file").files[0];
    if (f) open(f).catch(() => {});
    $("file").value = "";
  });
  $("download").addEventListener("click", download);
  $("zoom").addEventListener("change", () => ($("player").style.zoom = $("zoom").value));
  $("player").style.zoom = $("zoom").value;

  // A picture dropped anywhere on the page but the player opens it.
  const stage = $("stage");
  document.addEventListener("dragover", (e) => {
    if (![...e.dataTransfer.types].includes("Files") || e.target.closest("#webamp, .player")) return;
    e.preventDefault();
    stage.classList.add("dragover");
  });
  document.addEventListener("dragleave", (e) => { if (!e.relatedTarget) stage.classList.remove("dragover"); });
  document.addEventListener("drop", (e) => {
    stage.classList.remove("dragover");
    if (e.target.closest("#webamp, .player")) return;
    e.preventDefault();
    const f = e.dataTransfer.files[0];
    if (f) open(f).catch(() => {});
  });
}

// ---- Start ---------------------------------------------------------------------------------
async function start() {
  workspace = new Workspace($("picture"), (name, pos) => {
    opts[name] = pos;
    changed();
  });
  preview = new Preview($("player"));
  if (!window.KorvaneCore || !window.Webamp || !window.pako) {
    throw new Error("Part of the page did not load. Reload it; if this stays, run `make web` again.");
  }
  core = new Core(await window.KorvaneCore({ locateFile: (f) => `lib/${f}` }));
  Object.assign(DEFAULTS, core.defaults());
  Object.assign(opts, structuredClone(DEFAULTS));
  [MAX_W, MAX_H] = core.maxSize();
  wireControls();
  syncControls();
  try {
    templateList = await (await fetch("templates/index.json")).json();
  } catch {
    templateList = [];
  }
  for (const t of templateList) $("template").append(new Option(t.name, t.name));
}

const started = start().catch((e) => {
  say(e.message || String(e));
  throw e;
});

window.korvane = {
  open: (blob) => open(blob),
  set,
  wsz,
  ready: async () => { await started; return ready(); },
  options: () => structuredClone(opts),
  timing: () => ({ ...timing }),
  player: () => preview?.webamp ?? null,
};
