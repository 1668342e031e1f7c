// The picture with the bands over it. The bands are dragged with the mouse (or a finger);
// their positions are the picture pixels of their top-left corners, the same numbers the
// command line takes.
export const BAND_W = 275, BAND_H = 116, FRAME_H = 348;
const LABELS = { main: "Main window", equalizer: "Equalizer", playlist: "Playlist" };

export class Workspace {
  // onMove(name, [x, y]) is called for every step of a drag, name being "at" or a band.
  constructor(root, onMove) {
    this.root = root;
    this.canvas = root.querySelector("canvas");
    this.layer = root.querySelector("#bands");
    this.onMove = onMove;
    this.width = 0;
    this.height = 0;
    this.serial = 0;
  }

  // The work picture: width x height RGBA pixels, top row first.
  setPicture(rgba, width, height) {
    this.canvas.width = width;
    this.canvas.height = height;
    this.width = width;
    this.height = height;
    const ctx = this.canvas.getContext("2d");
    ctx.putImageData(new ImageData(new Uint8ClampedArray(rgba), width, height), 0, 0);
  }

  // Largest top-left position of a band or frame of this height.
  limits(height) {
    return [Math.max(0, this.width - BAND_W), Math.max(0, this.height - height)];
  }

  // Redraws the boxes for these options.
  draw(o) {
    this.layer.replaceChildren();
    if (!this.width) return;
    const order = String(o.order).split(",");
    if (o.mode === "free") {
      for (const name of ["main", "equalizer", "playlist"]) this.box(name, o[name], BAND_H, LABELS[name], name);
    } else if (o.mode === "tile") {
      this.box("at", o.at, BAND_H, "All three windows", "all");
    } else {
      const box = this.box("at", o.at, FRAME_H, "Continuous frame", "all");
      order.forEach((name, i) => {
        const s = document.createElement("div");
        s.className = "slice";
        s.style.top = `${(i * 100) / 3}%`;
        s.style.borderTopStyle = i ? "dashed" : "none";
        s.textContent = LABELS[name];
        box.append(s);
      });
    }
  }

  box(name, pos, height, label, kind) {
    const el = document.createElement("div");
    el.className = `band ${kind}`;
    el.dataset.band = name;
    el.style.left = `${(pos[0] / this.width) * 100}%`;
    el.style.top = `${(pos[1] / this.height) * 100}%`;
    el.style.width = `${(BAND_W / this.width) * 100}%`;
    el.style.height = `${(height / this.height) * 100}%`;
    const tag = document.createElement("span");
    tag.className = "tag";
    tag.textContent = `${label} · ${pos[0]}, ${pos[1]}`;
    el.append(tag);
    el.tabIndex = 0;
    el.title = "Drag, or use the arrow keys (Shift: 10 pixels)";
    el.addEventListener("pointerdown", (e) => this.drag(e, el, name, pos, height));
    el.addEventListener("keydown", (e) => this.nudge(e, el, name, pos, height));
    this.layer.append(el);
    return el;
  }

  // Moves the band to (x, y) within the picture; false when it stays where it is.
  place(el, name, pos, height, x, y) {
    const [maxX, maxY] = this.limits(height);
    x = Math.min(maxX, Math.max(0, Math.round(x)));
    y = Math.min(maxY, Math.max(0, Math.round(y)));
    if (x === pos[0] && y === pos[1]) return false;
    pos[0] = x;
    pos[1] = y;
    el.style.left = `${(x / this.width) * 100}%`;
    el.style.top = `${(y / this.height) * 100}%`;
    const tag = el.querySelector(".tag");
    tag.textContent = tag.textContent.replace(/\d+, \d+$/, `${x}, ${y}`);
    this.onMove(name, [x, y]);
    return true;
  }

  nudge(e, el, name, pos, height) {
    const step = e.shiftKey ? 10 : 1;
    const d = { ArrowLeft: [-step, 0], ArrowRight: [step, 0], ArrowUp: [0, -step], ArrowDown: [0, step] }[e.key];
    if (!d) return;
    e.preventDefault();
    this.place(el, name, pos, height, pos[0] + d[0], pos[1] + d[1]);
  }

  drag(e, el, name, pos, height) {
    if (e.button !== 0) return;
    e.preventDefault();
    el.focus({ preventScroll: true });
    el.setPointerCapture(e.pointerId);
    el.classList.add("dragging");
    const ratio = this.width / this.canvas.getBoundingClientRect().width;
    const x0 = e.clientX, y0 = e.clientY, start = [...pos];
    const move = (m) => this.place(el, name, pos, height, start[0] + (m.clientX - x0) * ratio,
      start[1] + (m.clientY - y0) * ratio);
    const up = () => {
      el.classList.remove("dragging");
      el.removeEventListener("pointermove", move);
      el.removeEventListener("pointerup", up);
      el.removeEventListener("pointercancel", up);
    };
    el.addEventListener("pointermove", move);
    el.addEventListener("pointerup", up);
    el.addEventListener("pointercancel", up);
  }
}
