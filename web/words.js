// What the page says, in the user's words. Every number in these texts is handed in by the
// caller, who has it from the core.
import { Check, COLORS, Outcome } from "./core.js";

const x = (size) => `${size[0]} × ${size[1]}`;
const quoted = (v) => `“${v}”`;

const NAMES = {
  mode: "The placement", at: "The frame's place", main: "The main window's place",
  equalizer: "The equalizer's place", playlist: "The playlist's place", order: "The order",
  scale: "The scale", brightness: "The brightness", contrast: "The contrast", template: "The template",
  title: "The title", "title-align": "The title alignment", "title-color": "The engraving",
  "text-color": "The display text colour", "back-color": "The display back colour",
  "playlist-font": "The playlist font", "playlist-normal": "The playlist text colour",
  "playlist-current": "The playlist's current-track colour", "playlist-normal-bg": "The playlist back colour",
  "playlist-selected-bg": "The playlist selection colour",
};
const BAND_NAMES = { at: "frame", main: "main window's frame", equalizer: "equalizer's frame", playlist: "playlist's frame" };

// Why a value was refused, and what the option takes instead.
export function refusal(name, value, result, limits) {
  if (result === Check.UNKNOWN) return `There is no option ${quoted(name)}.`;
  const what = NAMES[name] || name;
  if (result === Check.CONTROL_CHARACTER) return `${what} cannot hold line breaks, tabs or other control characters.`;
  const [lo, hi] = limits[name] || [];
  switch (name) {
    case "scale": case "brightness": case "contrast": {
      const unit = name === "scale" ? "%" : "";
      return `${what} goes from ${lo}${unit} to ${hi}${unit} in whole steps; ${quoted(value)} is not one of them.`;
    }
    case "title": return `${what} holds at most ${hi} characters.`;
    case "playlist-font":
      return value === "" ? "The playlist needs a font name, such as Arial."
        : `A font name holds at most ${hi} characters.`;
    case "mode": return `The placement is tile, free or continuous, not ${quoted(value)}.`;
    case "order": return "The order names main, equalizer and playlist, each once, separated by commas.";
    case "title-align": return `The title aligns left, center or right, not ${quoted(value)}.`;
    case "title-color": return `The engraving is hard or soft, not ${quoted(value)}.`;
    case "template": return `There is no template ${quoted(value)}.`;
    case "at": case "main": case "equalizer": case "playlist":
      return `${what} is two whole numbers, x and y in picture pixels; ${quoted(value)} is not.`;
    default:
      if (COLORS.includes(name)) return `${what} is six hex digits, like 40E0FF; ${quoted(value)} is not.`;
      return `${quoted(name)} is true or false, not ${quoted(value)}.`;
  }
}

// A frame placed outside the picture: pos is [x, y], size the picture at the scale used.
export function outside(name, pos, size, largest) {
  return `The ${BAND_NAMES[name]} at ${pos[0]}, ${pos[1]} would leave the ${x(size)} picture: ` +
    `x goes up to ${largest[0]} and y up to ${largest[1]} there.`;
}

// Continuous mode on a picture too short for the frame. smallest is the least scale that fits,
// -1 when none does; height the picture's height at the scale used, full its height at 100%.
export function noContinuous({ frame, scale, height, smallest, full }) {
  const need = `Continuous cuts all three windows from one frame ${frame} pixels tall`;
  if (smallest < 0) {
    return `${need}, and this picture is only ${full} pixels tall. Choose Tile or Free, or open a taller picture.`;
  }
  return `${need}; at ${scale}% this picture is ${height} pixels tall. A scale of ${smallest}% or more fits, or choose Tile or Free.`;
}

// The scale the core used instead of the one asked for.
export function scaleRaised(asked, used, band) {
  return `At ${asked}% the picture would be smaller than one window (${x(band)} pixels), so the skin is cut at ${used}%, the least scale that fits.`;
}

export function continuousRaised(from, to, frame) {
  return `Continuous needs the picture at least ${frame} pixels tall, so the scale went from ${from}% to ${to}%.`;
}

// What the engraved title leaves out.
export function titleNotes({ shown, missing }, title) {
  const notes = [];
  const chars = [...new Set([...missing])].filter((c) => c.trim() || c === "\u00a0");
  if (chars.length) {
    const list = chars.slice(0, 6).map(quoted).join(", ") + (chars.length > 6 ? " and others" : "");
    notes.push(`The title bar's letters have no ${list}: ${chars.length > 1 ? "they are" : "it is"} left out. ` +
      "Letters A to Z, digits and common signs show.");
  }
  if (shown.length < title.length) {
    notes.push(`Only “${shown.trimEnd()}” fits in the title bar; the rest is cut off.`);
  }
  return notes.join(" ");
}

// Why a picture could not be opened. `file` is its name; the rest are the core's answers.
export function notOpened({ file, outcome, kindName, size, fitted, smallest, largest, megapixels, reason, damaged }) {
  const name = file ? quoted(file) : "This file";
  if (damaged) {
    return `${name} looks like a ${kindName} picture, but it could not be read to the end: the file is damaged or ` +
      "incomplete (a download that stopped early, perhaps). Open the original again, or save it anew from the program it came from.";
  }
  switch (outcome) {
    case Outcome.TOO_SMALL:
      return fitted && (fitted[0] !== size[0] || fitted[1] !== size[1])
        ? `${name} is ${x(size)} pixels; reduced to fit ${x(largest)} it would be ${x(fitted)}, smaller than one skin window (${x(smallest)}). Crop it to a less narrow shape first.`
        : `${name} is ${x(size)} pixels, smaller than one skin window (${x(smallest)}). Choose a larger picture.`;
    case Outcome.TOO_LARGE:
      return `${name} is ${x(size)} pixels; Korvane takes BMP pictures of up to ${x(largest)}. ` +
        "Reduce it first, or save it as PNG or JPEG, which Korvane reduces for you.";
    case Outcome.TOO_MANY_PIXELS:
      return `${name} has ${megapixels[0]} megapixels; Korvane opens pictures of up to ${megapixels[1]} megapixels. Reduce it first.`;
    case Outcome.DECLINED:
      return `${name} is not a true-colour (24-bit) BMP, and converting it is switched off.`;
    default:
      return kindName === "BMP"
        ? `${name} could not be read as a BMP picture${reason ? ` (${reason})` : ""}. It may be damaged; try another picture.`
        : `${name} is not a picture Korvane can read. Open a PNG, JPEG or BMP picture.`;
  }
}

// The line under the picture: what was opened and what the bands cut from.
export function pictureInfo({ file, size, reducedTo, largest, scale, scaled }) {
  let text = `${file}: ${x(size)} pixels`;
  if (reducedTo) text += `, reduced to ${x(reducedTo)} on opening (Korvane works on at most ${x(largest)})`;
  return `${text}. At ${scale}% the bands cut from ${x(scaled)}.`;
}
