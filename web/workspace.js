// The picture with the band frames over it. A frame is dragged with the mouse (or a finger)
// or moved with the arrow keys; its position is the picture pixel of its top-left corner, the
// same numbers the command line takes. The picture is shown as large as the stage allows,
// so the frames stay large enough to grab whatever the scale.
const LABELS = { main: "Main window", equalizer: "Equalizer", playlist: "Playlist" };

export class Workspace {
  // band: [width, height] of one band, frame: [width, height] of the continuous frame (the
  // core's sizes). onMove(name, [x, y], label, byKey) is called for every step of a move,
  // name being "at" or a band.
  constructor(root, { band, frame, onMove }) {
    this.root = root;
    this.stage = root.parentElement;
    this.canvas = root.querySelector("canvas");
    this.layer = root.querySelector(".kv-frames");
    this.band = band;
    this.frame = frame;
    this.onMove = onMove;
    this.width = 0;
    this.height = 0;
    this.serial = 0;
    new ResizeObserver(() => this.fit()).observe(this.stage);
  }

  // The work picture: width x height RGBA pixels, top row first.
  setPicture(rgba, width, height) {
    this.canvas.width = width;
    this.canvas.height = height;
    this.width = width;
    this.height = height;
    const ctx = this.canvas.getContext("2d");
    ctx.putImageData(new ImageData(new Uint8ClampedArray(rgba), width, height), 0, 0);
    this.fit();
  }

  // Shows the picture as large as fits the stage, keeping its shape.
  fit() {
    if (!this.width) return;
    const style = getComputedStyle(this.stage);
    const w = this.stage.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
    const h = this.stage.clientHeight - parseFloat(style.paddingTop) - parseFloat(style.paddingBottom);
    const s = Math.max(0.05, Math.min(w / this.width, h / this.height));
    this.root.style.width = `${Math.floor(this.width * s)}px`;
    this.root.style.height = `${Math.floor(this.height * s)}px`;
  }

  // Redraws the frames for these options. A continuous frame taller than the picture is
  // not drawn: it has nowhere to go.
  draw(o) {
    this.layer.replaceChildren();
    if (!this.width) return;
    if (o.mode === "free") {
      for (const name of ["main", "equalizer", "playlist"]) this.box(name, o[name], this.band[1], LABELS[name], name);
    } else if (o.mode === "tile") {
      this.box("at", o.at, this.band[1], "All three windows", "all");
    } else if (this.height >= this.frame[1]) {
      const box = this.box("at", o.at, this.frame[1], "Continuous frame", "all");
      String(o.order).split(",").forEach((name, i) => {
        const s = document.createElement("div");
        s.className = "kv-slice";
        s.style.top = `${(i * 100) / 3}%`;
        s.textContent = LABELS[name];
        box.append(s);
      });
    }
  }

  box(name, pos, height, label, kind) {
    const el = document.createElement("div");
    el.className = `kv-frame kv-frame-${kind}`;
    el.dataset.band = name;
    el.style.width = `${(this.band[0] / this.width) * 100}%`;
    el.style.height = `${(height / this.height) * 100}%`;
    const tag = document.createElement("span");
    tag.className = "kv-tag";
    tag.setAttribute("aria-hidden", "true");
    el.append(tag);
    el.tabIndex = 0;
    el.setAttribute("role", "button");
    el.setAttribute("aria-roledescription", "movable frame");
    el.setAttribute("aria-describedby", "frame-keys");
    el.dataset.label = label;
    this.show(el, pos);
    el.addEventListener("pointerdown", (e) => this.drag(e, el, name, pos, height));
    el.addEventListener("keydown", (e) => this.nudge(e, el, name, pos, height));
    this.layer.append(el);
    return el;
  }

  show(el, pos) {
    el.style.left = `${(pos[0] / this.width) * 100}%`;
    el.style.top = `${(pos[1] / this.height) * 100}%`;
    el.firstChild.textContent = `${el.dataset.label} · ${pos[0]}, ${pos[1]}`;
    el.setAttribute("aria-label", `${el.dataset.label} at ${pos[0]}, ${pos[1]}`);
  }

  // Moves the band to (x, y) within the picture; false when it stays where it is.
  place(el, name, pos, height, x, y, byKey = false) {
    x = Math.min(Math.max(0, this.width - this.band[0]), Math.max(0, Math.round(x)));
    y = Math.min(Math.max(0, this.height - height), Math.max(0, Math.round(y)));
    if (x === pos[0] && y === pos[1]) return false;
    pos[0] = x;
    pos[1] = y;
    this.show(el, pos);
    this.onMove(name, [x, y], el.dataset.label, byKey);
    return true;
  }

  nudge(e, el, name, pos, height) {
    const step = e.shiftKey ? 10 : 1;
    const d = { ArrowLeft: [-step, 0], ArrowRight: [step, 0], ArrowUp: [0, -step], ArrowDown: [0, step] }[e.key];
    if (!d) return;
    e.preventDefault();
    this.place(el, name, pos, height, pos[0] + d[0], pos[1] + d[1], true);
  }

  // The frame under the pointer is the one drawn on top there (hit testing follows the
  // stacking order, which hovering does not change), so that is the one that moves.
  drag(e, el, name, pos, height) {
    if (e.button !== 0) return;
    e.preventDefault();
    el.focus({ preventScroll: true });
    el.setPointerCapture(e.pointerId);
    el.classList.add("kv-dragging");
    const ratio = this.width / this.canvas.getBoundingClientRect().width;
    const x0 = e.clientX, y0 = e.clientY, start = [...pos];
    const move = (m) => this.place(el, name, pos, height, start[0] + (m.clientX - x0) * ratio,
      start[1] + (m.clientY - y0) * ratio);
    const up = () => {
      el.classList.remove("kv-dragging");
      el.removeEventListener("pointermove", move);
      el.removeEventListener("pointerup", up);
      el.removeEventListener("pointercancel", up);
    };
    el.addEventListener("pointermove", move);
    el.addEventListener("pointerup", up);
    el.addEventListener("pointercancel", up);
  }
}
