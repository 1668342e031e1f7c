// The page: open or drop a picture, place the bands, set the options, watch Webamp wear the
// skin, download the .wsz. The skin is made by Korvane's own core, compiled to WebAssembly;
// nothing leaves the page. window.korvane gives scripts the same road (see the end).
//
// The options hold only values the core took: a refused value is answered beside its
// control (or by the rejected promise of a script) and never enters them, so every later
// change still works.
import { Core, optionText, valueText, POSITIONS, NUMBERS, COLORS, SWITCHES, SUGGESTED, Outcome, Check, PhotoKind, Made } from "./core.js";
import { Workspace } from "./workspace.js";
import { Preview } from "./preview.js";
import * as words from "./words.js";

const $ = (id) => document.getElementById(id);

// The options, named as korvane-make's long options without their dashes. Their defaults
// come from the core when it has loaded; convert (say yes to converting a BMP that is not
// 24-bit) is the page's own.
const DEFAULTS = { convert: true };
const opts = {};
const TEXTS = ["title", "playlist-font"];
const CHOICES = ["order", "template", "title-align", "title-color"];
// The page lays out a new picture so a window covers a good part of it.
const WINDOW_SHARE = 600;

let core = null;
let preview = null;
let workspace = null;
let picture = null;      // the open picture: {file, stem, size, reducedTo}
let scaleAuto = true;    // the scale is the page's choice, not the user's
const invalid = new Map(); // text fields that hold a refused value: key -> why
const given = new Set();   // the options the user set: a suggested design keeps them
let templateList = [];
const templatesLoaded = new Set();

class Refusal extends Error {}

// ---- Notes beside the controls -------------------------------------------------------------
function control(key) {
  return key === "mode" ? document.querySelector(".kv-segmented") : $(key);
}

// A note under the control of key (kind "error" or "notice"); no text removes it.
function note(key, text, kind = "error") {
  const id = `note-${key}`;
  let el = $(id);
  const c = control(key);
  const ids = new Set((c?.getAttribute("aria-describedby") || "").split(" ").filter(Boolean));
  if (!text) {
    el?.remove();
    ids.delete(id);
  } else {
    if (!el) {
      el = document.createElement("p");
      el.id = id;
      c.closest(".kv-row, .kv-slider, .kv-colors, .kv-check, fieldset").after(el);
    }
    el.className = `kv-note kv-${kind}`;
    el.setAttribute("role", kind === "error" ? "alert" : "status");
    el.textContent = text;
    ids.add(id);
  }
  if (c) ids.size ? c.setAttribute("aria-describedby", [...ids].join(" ")) : c.removeAttribute("aria-describedby");
}

// A message over the picture, for what concerns the picture itself.
function stageMessage(text) {
  $("stage-message-text").textContent = text;
  $("stage-message").hidden = !text;
}

// ---- Options from scripts and from the controls ------------------------------------------
// The value as the page keeps it; anything that is not of the option's type is kept as it
// came, for the core to refuse in the user's words.
function normalise(key, value) {
  if (!(key in DEFAULTS)) {
    throw new Refusal(words.refusal(key, value, Check.UNKNOWN, core.limits));
  }
  if (POSITIONS.includes(key)) {
    const p = typeof value === "string" ? value.split(",").map((n) => (n.trim() === "" ? NaN : Number(n))) : value;
    return Array.isArray(p) && p.length === 2 && p.every(Number.isInteger) ? [...p] : String(value);
  }
  if (key === "order" && Array.isArray(value)) return value.join(",");
  if (typeof DEFAULTS[key] === "boolean") {
    return value === true || value === "true" ? true : value === false || value === "false" ? false : String(value);
  }
  if (NUMBERS.includes(key)) return String(value).trim() !== "" && Number.isFinite(Number(value)) ? Number(value) : String(value);
  if (COLORS.includes(key)) return String(value).replace(/^#/, "").toUpperCase();
  return String(value);
}

// Answers a refused value: the note beside its control, the control back at the last good
// value (a text field keeps what was typed, marked as wrong), and the script's promise.
function refuse(key, message, from) {
  if (from && TEXTS.includes(key)) {
    invalid.set(key, message);
  }
  if (control(key)) {
    note(key, message);
  } else {
    stageMessage(message);
  }
  syncControls();
  throw new Refusal(message);
}

function limitsAt(o) {
  const [w, h] = core.scaledSize(o.scale);
  const height = o.mode === "continuous" ? core.limits.frame[1] : core.limits.band[1];
  return { size: [w, h], largest: [Math.max(0, w - core.limits.band[0]), Math.max(0, h - height)] };
}

// The page's scale for a new picture: about WINDOW_SHARE pixels wide, never less than the
// mode needs.
function autoScale(mode) {
  const [w] = core.scaledSize(100);
  const share = w > WINDOW_SHARE ? Math.floor((100 * WINDOW_SHARE) / w) : 100;
  const least = core.smallestScale(mode);
  return Math.max(share, least >= 0 ? least : core.smallestScale("tile"));
}

// Moves the frames with a change of scale so they stay over the same part of the picture,
// and inside it.
function followScale(o, from) {
  const [w0] = core.scaledSize(from);
  const { size, largest } = limitsAt(o);
  const k = size[0] / w0, [bw, bh] = core.limits.band;
  const keep = (p, height, maxY) => [
    Math.min(largest[0], Math.max(0, Math.round((p[0] + bw / 2) * k - bw / 2))),
    Math.min(maxY, Math.max(0, Math.round((p[1] + height / 2) * k - height / 2))),
  ];
  o.at = keep(o.at, o.mode === "continuous" ? core.limits.frame[1] : bh, largest[1]);
  for (const b of ["main", "equalizer", "playlist"]) o[b] = keep(o[b], bh, Math.max(0, size[1] - bh));
}

// Where the frames start on a new picture: in the middle, the free bands one above the other.
function placeBands() {
  scaleAuto = true;
  opts.scale = autoScale(opts.mode);
  const [w, h] = core.scaledSize(opts.scale);
  const [bw, bh] = core.limits.band;
  const cx = Math.max(0, Math.round((w - bw) / 2));
  const frameH = opts.mode === "continuous" && h >= core.limits.frame[1] ? core.limits.frame[1] : bh;
  opts.at = [cx, Math.max(0, Math.round((h - frameH) / 2))];
  const step = Math.max(0, Math.round((h - bh) / 4));
  opts.main = [cx, step];
  opts.equalizer = [cx, 2 * step];
  opts.playlist = [cx, 3 * step];
}

// What the make refused, in the user's words, and the control it belongs to.
function makeRefusal(status, o, next = {}) {
  if (status === Made.NO_CONTINUOUS) {
    const [, height] = core.scaledSize(o.scale);
    return ["scale" in next ? "scale" : "mode", words.noContinuous({
      frame: core.limits.frame[1], scale: core.usedScale(o.scale), height,
      smallest: core.smallestScale("continuous"), full: core.scaledSize(100)[1],
    })];
  }
  const { size, largest } = limitsAt(o);
  const key = (o.mode === "free" ? ["main", "equalizer", "playlist"] : ["at"])
    .find((k) => o[k][0] > largest[0] || o[k][1] > largest[1]) || "at";
  return [key, words.outside(key, o[key], size, largest)];
}

// Changes asked for while a picture opens apply to that picture, after the page placed its
// frames. auto: true asks for a suggested design once the other changes are in.
async function set(changes, { from } = {}) {
  await opened();
  const { auto, ...rest } = changes;
  if (auto !== undefined && typeof normalise("auto", auto) !== "boolean") {
    refuse("auto", words.refusal("auto", valueText(auto), Check.BAD_VALUE, core.limits), from);
  }
  if (Object.keys(rest).length || auto === undefined) await setOptions(rest, { from });
  if (normalise("auto", auto ?? false) === true) await suggest();
}

async function setOptions(changes, { from } = {}) {
  await opened();
  const next = {};
  for (const [k, v] of Object.entries(changes)) next[k] = normalise(k, v);
  for (const [k, v] of Object.entries(next)) {
    if (k === "convert") continue;
    const result = core.check(k, valueText(v));
    if (result !== Check.APPLIED) refuse(k, words.refusal(k, valueText(v), result, core.limits), from);
  }
  if ("template" in next) {
    try {
      await loadTemplate(next.template);
    } catch (e) {
      refuse("template", e.message, from);
    }
  }
  const o = { ...structuredClone(opts), ...next };
  let modeNotice = "";
  if (picture) {
    if ("mode" in next && !("scale" in next)) {
      if (scaleAuto) {
        o.scale = autoScale(o.mode);
      } else if (o.mode === "continuous" && core.smallestScale("continuous") > core.usedScale(o.scale)) {
        const least = core.smallestScale("continuous");
        modeNotice = words.continuousRaised(core.usedScale(o.scale), least, core.limits.frame[1]);
        o.scale = least;
      }
    }
    if (!POSITIONS.some((k) => k in next) && (o.scale !== opts.scale || o.mode !== opts.mode)) followScale(o, opts.scale);
    const text = optionText(o);
    const status = core.make(text);
    made = { text, status };
    if (status !== Made.MADE) {
      const [key, message] = makeRefusal(status, o, next);
      refuse(key, message, from);
    }
  }
  if ("scale" in next) scaleAuto = false;
  for (const k of Object.keys(next)) {
    invalid.delete(k);
    note(k, "");
    if (k !== "convert") given.add(k);
  }
  if (Object.keys(next).some((k) => POSITIONS.includes(k))) stageMessage("");
  Object.assign(opts, o);
  if (modeNotice) note("mode", modeNotice, "notice");
  scaleNotice();
  if ("title" in next) note("title", words.titleNotes(core.titleFit(opts.title), opts.title), "notice");
  syncControls();
  if (picture) workspace.draw(opts);
  changed();
}

// A suggested design: the core reads the picture for what the user has not set (the frames,
// the scale, the six colours) and the page takes its choices as if they were made by hand.
async function suggest() {
  await opened();
  if (!picture) {
    stageMessage("Open a picture first: the design is read from it.");
    throw new Refusal("Open a picture first: the design is read from it.");
  }
  const asked = Object.fromEntries(Object.entries(opts).filter(([k]) => !SUGGESTED.includes(k) || given.has(k)));
  const status = core.make(`${optionText(asked)}\nauto=true`);
  if (status !== Made.MADE) refuse(...makeRefusal(status, opts));
  const chosen = core.madeOptions();
  for (const k of SUGGESTED) opts[k] = chosen[k];
  made = { text: optionText(opts), status };
  for (const k of SUGGESTED) note(k, "");
  scaleNotice();
  syncControls();
  workspace.draw(opts);
  announce("Design suggested: the frames and the colours follow the picture.");
  changed();
}

// Beside the colours, the pairs of the skin that read below 4.5:1: a warning, never a refusal.
function contrastNotes(warnings) {
  const groups = [["display", warnings.filter((w) => w.includes("display text"))],
    ["playlist", warnings.filter((w) => !w.includes("display text"))]];
  for (const [name, lines] of groups) {
    const id = `contrast-${name}`;
    let el = $(id);
    if (!lines.length) {
      el?.remove();
      continue;
    }
    if (!el) {
      el = document.createElement("p");
      el.id = id;
      el.className = "kv-note kv-notice kv-lines";
      el.setAttribute("role", "status");
      $(name === "display" ? "text-color" : "playlist-normal").closest(".kv-colors").after(el);
    }
    el.textContent = lines.join("\n");
  }
}

// ---- Making the skin and showing it --------------------------------------------------------
// Each change bumps `wanted`; one loop makes and shows the newest options, so a burst of
// changes (a drag) costs one skin per Webamp load, never a queue of stale ones.
let wanted = 0, done = 0, pumping = false, failure = null, failureKey = null;
let made = { text: null, status: null }; // the options the core's skin was last made with
const waiters = [];
const timing = { make: 0, pack: 0, webamp: 0, total: 0, count: 0 };

function changed() {
  wanted++;
  pump();
}

function fail(key, message) {
  if (failureKey && failureKey !== key) note(failureKey, "");
  failure = message;
  failureKey = message ? key : null;
  if (message) note(key, message);
  $("player-frame").classList.toggle("kv-stale", !!message);
  $("preview-message").hidden = !message;
  $("preview-message").textContent = !message ? ""
    : `These settings make no skin${preview.webamp ? "; the player shows the last one made" : " yet"}. The note beside the options says why.`;
  syncDownload();
}

// The work picture, redrawn when the core made a new one.
function refreshPicture() {
  if (core.workSerial() === workspace.serial) return;
  const { w, h, rgba } = core.workPicture();
  workspace.setPicture(rgba, w, h);
  workspace.serial = core.workSerial();
  workspace.draw(opts);
  $("picture-info").textContent = words.pictureInfo({ file: picture.file, size: picture.size,
    reducedTo: picture.reducedTo, largest: core.limits.largest, scale: core.usedScale(opts.scale), scaled: [w, h] });
}

async function pump() {
  if (pumping || !core || !picture) return;
  pumping = true;
  const slow = setTimeout(() => ($("preview-state").textContent = "Updating…"), 150);
  $("player-frame").setAttribute("aria-busy", "true");
  try {
    while (done < wanted) {
      const gen = wanted;
      const t0 = performance.now();
      const text = optionText(opts);
      const status = text === made.text ? made.status : core.make(text);
      made = { text, status };
      const t1 = performance.now();
      refreshPicture();
      if (status !== Made.MADE) {
        fail(...makeRefusal(status, opts));
        done = gen;
        continue;
      }
      fail(null, null);
      contrastNotes(core.contrastWarnings());
      const files = core.skinFiles();
      const t2 = performance.now();
      try {
        await preview.show(files);
        $("player-empty").hidden = true;
      } catch (e) {
        failure = `The player could not show the skin (${e.message || e}). Reload the page to start it again.`;
        $("preview-message").textContent = failure;
        $("preview-message").hidden = false;
      }
      const t3 = performance.now();
      Object.assign(timing, { make: t1 - t0, pack: t2 - t1, webamp: t3 - t2, total: t3 - t0, count: timing.count + 1 });
      $("timing").textContent = `Skin made in ${(timing.make + timing.pack).toFixed(0)} ms, shown by Webamp in ${timing.webamp.toFixed(0)} ms.`;
      done = Math.max(done, gen);
    }
  } finally {
    clearTimeout(slow);
    $("preview-state").textContent = "";
    $("player-frame").removeAttribute("aria-busy");
    pumping = false;
    syncDownload();
    for (const w of waiters.splice(0)) failure ? w.reject(new Error(failure)) : w.resolve();
  }
}

// Resolves once the picture being opened (if any) is open and the skin of the current
// options is made and shown; rejects with the message the page shows when either failed.
let opening = null;

// Waits for the picture being opened, a file the file input holds before its change event
// included; with rethrow, a failed open rejects.
async function opened(rethrow = false) {
  await started;
  while ($("file").files.length) await new Promise((r) => $("file").addEventListener("change", r, { once: true }));
  while (opening) await (rethrow ? opening : opening.catch(() => {}));
}

async function ready() {
  await opened(true);
  if (!picture) return;
  if (!pumping && done >= wanted) {
    if (failure) throw new Error(failure);
    return;
  }
  await new Promise((resolve, reject) => waiters.push({ resolve, reject }));
}

// ---- Opening a picture ---------------------------------------------------------------------
function busy(text) {
  $("busy").hidden = !text;
  $("busy-text").textContent = text || "";
  $("stage").closest("section").setAttribute("aria-busy", text ? "true" : "false");
  if (text) announce(text);
}

// Says something to screen readers only.
function announce(text) {
  $("announce").textContent = text;
}

// Decodes a PNG or JPEG with the browser's codecs at the size the core planned for it,
// upright, transparent parts over white as the core's own decoders have them.
async function decode(blob, plan) {
  const resize = plan.fitted[0] !== plan.size[0] || plan.fitted[1] !== plan.size[1]
    ? { resizeWidth: plan.fitted[0], resizeHeight: plan.fitted[1], resizeQuality: "high" } : {};
  const bitmap = await createImageBitmap(blob,
    { colorSpaceConversion: "none", premultiplyAlpha: "none", imageOrientation: "from-image", ...resize });
  const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
  const ctx = canvas.getContext("2d", { willReadFrequently: true });
  ctx.fillStyle = "#fff";
  ctx.fillRect(0, 0, bitmap.width, bitmap.height);
  ctx.drawImage(bitmap, 0, 0);
  const data = ctx.getImageData(0, 0, bitmap.width, bitmap.height).data;
  bitmap.close();
  return { rgba: new Uint8Array(data.buffer), w: canvas.width, h: canvas.height };
}

const KIND_NAMES = { [PhotoKind.PNG]: "PNG", [PhotoKind.JPEG]: "JPEG" };

async function openPicture(blob) {
  await started;
  const file = blob.name || "";
  busy(`Opening ${file || "the picture"}…`);
  const refused = (details) => {
    const text = words.notOpened({ file, smallest: core.limits.smallest, largest: core.limits.largest, ...details });
    stageMessage(text);
    throw new Refusal(text);
  };
  try {
    const bytes = new Uint8Array(await blob.arrayBuffer());
    let size, reducedTo = null;
    if (bytes[0] === 0x42 && bytes[1] === 0x4d) { // "BM": the core's own reader, as the desktop program
      const outcome = core.openBmp(bytes, opts.convert);
      size = core.openedSize();
      if (outcome !== Outcome.ACCEPTED) refused({ outcome, kindName: "BMP", size, reason: core.message() });
    } else {
      const plan = core.planPhoto(bytes);
      const kindName = KIND_NAMES[plan.kind] || "";
      if (!plan.headerRead) refused({ outcome: Outcome.READ_FAILED, kindName, damaged: !!kindName });
      if (plan.tooLarge) {
        const mp = (n) => Math.round(n / 1e6);
        refused({ outcome: Outcome.TOO_MANY_PIXELS, megapixels: [mp(plan.size[0] * plan.size[1]), mp(core.limits["photo-pixels"][0])] });
      }
      if (plan.tooSmall) refused({ outcome: Outcome.TOO_SMALL, size: plan.size, fitted: plan.fitted });
      let decoded;
      try {
        decoded = await decode(blob, plan);
      } catch {
        refused({ outcome: Outcome.READ_FAILED, kindName, damaged: true });
      }
      const outcome = core.openRgba(decoded.rgba, decoded.w, decoded.h);
      if (outcome !== Outcome.ACCEPTED) refused({ outcome, kindName, size: core.openedSize() });
      size = plan.size;
      if (decoded.w !== size[0] || decoded.h !== size[1]) reducedTo = [decoded.w, decoded.h];
    }
    picture = { file: file || "Your picture", stem: file.replace(/\.[^.]*$/, "") || "skin", size, reducedTo };
    stageMessage("");
    made = { text: null, status: null };
    for (const k of [...POSITIONS, "scale"]) given.delete(k); // the page places the frames anew
    placeBands();
    scaleNotice();
    note("mode", "");
    $("stage").classList.remove("kv-empty");
    $("drop-hint").hidden = true;
    $("picture").hidden = false;
    workspace.serial = -1;
    syncControls();
    changed();
    return { width: (reducedTo || size)[0], height: (reducedTo || size)[1] };
  } finally {
    busy("");
  }
}

function open(blob) {
  const p = openPicture(blob);
  opening = p;
  const settle = () => { if (opening === p) opening = null; };
  p.then(settle, settle);
  return p;
}

// ---- Templates -----------------------------------------------------------------------------
// The shipped template folders are plain files beside the page; a folder is copied into the
// core's file system the first time it is chosen.
async function loadTemplate(name) {
  if (!name || templatesLoaded.has(name)) return;
  const entry = templateList.find((t) => t.name === name && !t.builtin);
  if (!entry) throw new Error(words.refusal("template", name, Check.BAD_VALUE, core.limits));
  const dir = `/templates/${name}`;
  core.m.FS.mkdirTree(dir);
  for (const f of entry.files) {
    const r = await fetch(`templates/${encodeURIComponent(name)}/${encodeURIComponent(f)}`);
    if (!r.ok) throw new Error(`The template ${name} could not be loaded (its file ${f} is missing). Reload the page and try again.`);
    core.m.FS.writeFile(`${dir}/${f}`, new Uint8Array(await r.arrayBuffer()));
  }
  templatesLoaded.add(name);
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
    a.download = `${picture.stem}.wsz`;
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(a.href), 10000);
  } catch (e) {
    stageMessage(e.message);
  }
}

// ---- The controls --------------------------------------------------------------------------
const MODE_HINTS = {
  tile: "One place for all three windows. Drag the frame over the picture.",
  free: "Each window has its own place. Drag the three frames; the one drawn on top moves.",
  continuous: "One tall frame cut into the three windows, top to bottom in the order below.",
};

// Tells when the core cuts the skin at a larger scale than the one asked for.
function scaleNotice() {
  const used = picture ? core.usedScale(opts.scale) : opts.scale;
  note("scale", used !== opts.scale ? words.scaleRaised(opts.scale, used, core.limits.band) : "", "notice");
}

function syncDownload() {
  const why = !picture ? "Open a picture first." : failure || "";
  $("download").disabled = !!why;
  $("suggest").disabled = !picture;
  $("download-why").textContent = why;
}

function syncControls() {
  for (const r of document.querySelectorAll("input[name=mode]")) r.checked = r.value === opts.mode;
  $("mode-hint").textContent = MODE_HINTS[opts.mode];
  $("order-row").hidden = opts.mode !== "continuous";
  $("order").value = opts.order;
  for (const k of NUMBERS) {
    const [lo, hi] = core.limits[k];
    const el = $(k);
    let value = opts[k];
    el.max = hi;
    el.min = lo;
    if (k === "scale" && picture) {
      const least = core.smallestScale(opts.mode);
      el.min = least >= 0 ? least : core.smallestScale("tile");
      value = core.usedScale(opts.scale);
    }
    el.value = value;
    const text = k === "scale" ? `${value}%` : String(value);
    $(`${k}-out`).textContent = text;
    el.setAttribute("aria-valuetext", text);
  }
  for (const k of [...CHOICES, ...TEXTS]) {
    const el = $(k);
    if (invalid.has(k)) continue;
    el.removeAttribute("aria-invalid");
    if (el.value !== opts[k]) el.value = opts[k];
  }
  for (const k of invalid.keys()) $(k).setAttribute("aria-invalid", "true");
  for (const k of COLORS) {
    if (/^[0-9A-F]{6}$/.test(opts[k])) $(k).value = `#${opts[k].toLowerCase()}`;
  }
  for (const k of SWITCHES) if ($(k)) $(k).checked = opts[k];
  const t = templateList.find((e) => (e.builtin ? "" : e.name) === opts.template);
  $("template-hint").textContent = t?.description || "";
  syncDownload();
}

function wireControls() {
  const ask = (changes, from) => set(changes, { from }).catch(() => {});
  const fromControl = (key, read, event = "input") => $(key).addEventListener(event, () => ask({ [key]: read($(key)) }, $(key)));
  document.querySelector(".kv-controls").addEventListener("submit", (e) => e.preventDefault());
  for (const r of document.querySelectorAll("input[name=mode]")) r.addEventListener("change", () => ask({ mode: r.value }, r));
  for (const k of NUMBERS) fromControl(k, (e) => Number(e.value));
  for (const k of CHOICES) fromControl(k, (e) => e.value, "change");
  for (const k of TEXTS) fromControl(k, (e) => e.value);
  for (const k of COLORS) fromControl(k, (e) => e.value.slice(1).toUpperCase());
  for (const k of SWITCHES) if ($(k)) fromControl(k, (e) => e.checked, "change");

  $("open").addEventListener("click", () => $("file").click());
  const chosen = () => {
    const f = $("file").files[0];
    if (f) open(f).catch(() => {});
    $("file").value = "";
  };
  $("file").addEventListener("change", chosen);
  chosen(); // a file chosen while the page was still starting
  document.addEventListener("keydown", (e) => {
    if ((e.ctrlKey || e.metaKey) && !e.altKey && !e.shiftKey && e.key.toLowerCase() === "o") {
      e.preventDefault();
      $("file").click();
    }
  });
  $("download").addEventListener("click", download);
  $("suggest").addEventListener("click", () => suggest().catch(() => {}));
  $("stage-message-close").addEventListener("click", () => stageMessage(""));
  $("zoom").addEventListener("change", () => ($("player").style.zoom = $("zoom").value));

  // A file dropped anywhere, the player included, opens as the picture: the listeners on
  // the window run before Webamp's own, which would take a picture for a track.
  const overlay = $("drop-overlay");
  const files = (e) => [...(e.dataTransfer?.types || [])].includes("Files");
  let depth = 0;
  window.addEventListener("dragenter", (e) => { if (files(e)) { depth++; overlay.hidden = false; } }, true);
  window.addEventListener("dragleave", (e) => { if (files(e) && --depth <= 0) { depth = 0; overlay.hidden = true; } }, true);
  window.addEventListener("dragover", (e) => {
    if (!files(e)) return;
    e.preventDefault();
    e.stopPropagation();
    e.dataTransfer.dropEffect = "copy";
  }, true);
  window.addEventListener("drop", (e) => {
    if (!files(e)) return;
    e.preventDefault();
    e.stopPropagation();
    depth = 0;
    overlay.hidden = true;
    const f = e.dataTransfer.files[0];
    if (f) open(f).catch(() => {});
  }, true);
}

// ---- Start ---------------------------------------------------------------------------------
async function start() {
  if (!window.KorvaneCore || !window.Webamp || !window.pako) {
    throw new Error("Part of the page did not load. Reload it; if this stays, run `make web` again.");
  }
  core = new Core(await window.KorvaneCore({ locateFile: (f) => `lib/${f}` }));
  Object.assign(DEFAULTS, core.defaults());
  Object.assign(opts, structuredClone(DEFAULTS));
  workspace = new Workspace($("picture"), {
    band: core.limits.band, frame: core.limits.frame,
    onMove: (name, pos, label, byKey) => {
      opts[name] = pos;
      given.add(name);
      if (byKey) announce(`${label} at ${pos[0]}, ${pos[1]}`);
      changed();
    },
  });
  preview = new Preview($("player"));
  for (const k of TEXTS) $(k).maxLength = core.limits[k][1];
  try {
    templateList = await (await fetch("templates/index.json")).json();
  } catch {
    templateList = [];
  }
  for (const t of templateList) {
    if (t.builtin) $("template").options[0].textContent = `${t.name} (built in)`;
    else $("template").append(new Option(t.name, t.name));
  }
  wireControls();
  syncControls();
  if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js").catch(() => {});
}

const started = start().catch((e) => {
  stageMessage(e.message || String(e));
  throw e;
});

window.korvane = {
  open: (blob) => open(blob),
  set: (changes) => set(changes),
  wsz,
  ready,
  options: () => structuredClone(opts),
  timing: () => ({ ...timing }),
  player: () => preview?.webamp ?? null,
};
