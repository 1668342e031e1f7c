// The WebAssembly core and the calls the page makes into it. Every number the page shows or
// lays out by (option bounds, picture and band sizes, the scale actually used) comes from
// here, so the page never keeps copies of the core's rules.

// The option names as korvane-make's long options without their dashes, grouped by the
// type the page keeps them in.
export const POSITIONS = ["at", "main", "equalizer", "playlist"];
export const NUMBERS = ["scale", "brightness", "contrast"];
export const COLORS = ["text-color", "back-color", "playlist-normal", "playlist-current", "playlist-normal-bg",
  "playlist-selected-bg"];
export const SWITCHES = ["show-vis", "swap-rb", "hide-balance", "no-balance-file"];
// What a suggested design chooses when the user has not.
export const SUGGESTED = [...POSITIONS, "scale", ...COLORS];

// PictureOutcome, SkinOptionResult, PhotoKind and the make statuses of the core.
export const Outcome = { ACCEPTED: 0, READ_FAILED: 1, DECLINED: 2, TOO_SMALL: 3, TOO_LARGE: 4, TOO_MANY_PIXELS: 5 };
export const Check = { APPLIED: 0, UNKNOWN: 1, BAD_VALUE: 2, CONTROL_CHARACTER: 3 };
export const PhotoKind = { NONE: 0, PNG: 1, JPEG: 2 };
export const Made = { MADE: 0, BAD_PLACEMENT: 2, NO_PICTURE: 3, NO_CONTINUOUS: 4 };

function lines(text) {
  const o = {};
  for (const line of text.split("\n")) {
    const eq = line.indexOf("=");
    if (eq > 0) o[line.slice(0, eq)] = line.slice(eq + 1);
  }
  return o;
}

export class Core {
  constructor(m) {
    this.m = m;
    this.utf8 = new TextEncoder();
    const limits = lines(m.UTF8ToString(m._korvane_limits()));
    // {scale: [0, 100], ..., band: [275, 116], frame: [275, 348], photo-pixels: [n]}
    this.limits = Object.fromEntries(Object.entries(limits).map(([k, v]) => [k, v.split(",").map(Number)]));
  }

  message() { return this.m.UTF8ToString(this.m._korvane_message()); }
  output(size) { const p = this.m._korvane_output(); return this.m.HEAPU8.slice(p, p + size); }
  withBytes(bytes, fn) {
    const p = this.m._malloc(Math.max(1, bytes.length));
    this.m.HEAPU8.set(bytes, p);
    try { return fn(p); } finally { this.m._free(p); }
  }
  withText(text, fn) {
    const bytes = this.utf8.encode(`${text}\0`);
    return this.withBytes(bytes, fn);
  }

  // Options typed as the page keeps them: positions as [x, y], switches as booleans, the
  // adjustments as numbers. defaults() gives every option's default, madeOptions() what the
  // last skin was made with (a suggested design's choices among them).
  typed(text) {
    const o = {};
    for (const [k, v] of Object.entries(lines(text))) {
      o[k] = POSITIONS.includes(k) ? v.split(",").map(Number)
        : NUMBERS.includes(k) ? Number(v)
          : v === "true" || v === "false" ? v === "true" : v;
    }
    return o;
  }
  defaults() { return this.typed(this.m.UTF8ToString(this.m._korvane_defaults())); }
  madeOptions() { return this.typed(this.m.UTF8ToString(this.m._korvane_made_options())); }
  // The colour pairs of the last skin that read below 4.5:1, in the core's words.
  contrastWarnings() { return this.m.UTF8ToString(this.m._korvane_contrast_warnings()).split("\n").filter(Boolean); }

  // A SkinOptionResult for one option as the page would hand it to make().
  check(name, value) { return this.withText(`${name}=${value}`, (p) => this.m._korvane_check(p)); }

  openBmp(bytes, convert) { return this.withBytes(bytes, (p) => this.m._korvane_open_bmp(p, bytes.length, convert ? 1 : 0)); }
  openRgba(rgba, w, h) { return this.withBytes(rgba, (p) => this.m._korvane_open_rgba(p, w, h)); }
  openedSize() { return [this.m._korvane_opened_width(), this.m._korvane_opened_height()]; }
  // What opening this PNG or JPEG makes of it, from its header.
  planPhoto(bytes) {
    const n = this.withBytes(bytes, (p) => this.m._korvane_plan_photo(p, bytes.length));
    const v = new Int32Array(this.output(n).buffer);
    return { kind: v[0], headerRead: !!v[1], tooLarge: !!v[2], tooSmall: !!v[3], size: [v[4], v[5]], fitted: [v[6], v[7]] };
  }

  scaledSize(scale) { const s = this.m._korvane_scaled_size(scale); return [s >>> 16, s & 0xffff]; }
  usedScale(scale) { return this.m._korvane_used_scale(scale); }
  // The least scale at which the mode's bands fit; -1 when none does.
  smallestScale(mode) { return this.m._korvane_smallest_scale(mode === "continuous" ? 1 : 0); }

  // How the engraving takes a title: the characters it shows, the ones it has no letter for.
  titleFit(title) {
    const bytes = this.utf8.encode(title);
    const shown = this.withText(title, (p) => this.m._korvane_title_fit(p));
    return { shown: new TextDecoder().decode(bytes.subarray(0, shown)), missing: this.message() };
  }

  make(text) { return this.withText(text, (p) => this.m._korvane_make(p)); }
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

// Options as the core reads them: one "name=value" line each, positions as "x,y"; only the
// positions the mode uses.
export function optionText(o) {
  const out = [];
  for (const [k, v] of Object.entries(o)) {
    if (k === "convert" || k === "auto") continue;
    if (POSITIONS.includes(k) && (k === "at") === (o.mode === "free")) continue;
    out.push(`${k}=${valueText(v)}`);
  }
  return out.join("\n");
}

export function valueText(v) {
  return (Array.isArray(v) ? v.join(",") : String(v)).replace(/[\r\n]+/g, " ");
}
