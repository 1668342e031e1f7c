// The live preview: one Webamp (the npm bundle, served from our own files) wearing the skin
// the core made, main window, equalizer and playlist together.
//
// Webamp reads a skin from a zip archive through its JSZip. Zipping every member only for
// Webamp to unzip it again costs the preview more than making the skin, so the preview
// hands Webamp a small marker file instead, and JSZip's loader, asked to open a marker,
// answers with the members the core just made. Any other archive (a skin the user loads
// through Webamp's own menu) goes to the real loader.
const MARKER = "korvane-preview:";

// A few seconds of 8 kHz silence, so the playlist and the marquee have tracks to show.
function silentWav(seconds) {
  const rate = 8000, n = rate * seconds;
  const b = new Uint8Array(44 + n).fill(128);
  const v = new DataView(b.buffer);
  const text = (at, s) => [...s].forEach((c, i) => (b[at + i] = c.charCodeAt(0)));
  text(0, "RIFF"); v.setUint32(4, 36 + n, true); text(8, "WAVE");
  text(12, "fmt "); v.setUint32(16, 16, true); v.setUint16(20, 1, true); v.setUint16(22, 1, true);
  v.setUint32(24, rate, true); v.setUint32(28, rate, true); v.setUint16(32, 1, true);
  v.setUint16(34, 8, true); text(36, "data"); v.setUint32(40, n, true);
  return new Blob([b], { type: "audio/wav" });
}

// What Webamp's skin parser asks of an opened archive: files by name pattern, each read as
// a blob, text or bytes.
function memberArchive(files) {
  const entries = files.map(({ name, bytes }) => ({
    name,
    async: async (type) =>
      type === "blob" ? new Blob([bytes])
        : type === "text" ? new TextDecoder().decode(bytes)
          : type === "arraybuffer" ? bytes.slice().buffer : bytes,
  }));
  return { file: (pattern) => entries.filter((e) => (typeof pattern === "string" ? e.name === pattern : pattern.test(e.name))) };
}

export class Preview {
  constructor(node) {
    this.node = node;
    this.webamp = null;
    this.skins = new Map(); // marker serial -> members, until Webamp has opened it
    this.serial = 0;
    this.url = null;
  }

  async hookLoader() {
    const JSZip = await this.webamp.options.requireJSZip();
    const load = JSZip.loadAsync.bind(JSZip);
    JSZip.loadAsync = async (pending, ...rest) => {
      const data = await pending; // Webamp hands over the promise of the fetched blob
      if (data instanceof Blob && data.size < 64) {
        const text = await data.text();
        const files = text.startsWith(MARKER) && this.skins.get(Number(text.slice(MARKER.length)));
        if (files) {
          this.skins.delete(Number(text.slice(MARKER.length)));
          return memberArchive(files);
        }
      }
      return load(data, ...rest);
    };
  }

  // Shows the skin made of these members ([{name, bytes}]); resolves once Webamp has read
  // it and painted a frame with it.
  async show(files) {
    const serial = ++this.serial;
    this.skins.set(serial, files);
    const url = URL.createObjectURL(new Blob([MARKER + serial]));
    const old = this.url;
    this.url = url;
    if (!this.webamp) {
      const track = URL.createObjectURL(silentWav(4));
      this.webamp = new window.Webamp({
        initialSkin: { url },
        initialTracks: [
          { url: track, duration: 225, metaData: { artist: "Korvane", title: "Your picture, your skin" } },
          { url: track, duration: 194, metaData: { artist: "Korvane", title: "Made in the browser" } },
          { url: track, duration: 262, metaData: { artist: "Korvane", title: "Nothing leaves this page" } },
        ],
        windowLayout: {
          main: { position: { top: 0, left: 0 } },
          equalizer: { position: { top: 116, left: 0 } },
          playlist: { position: { top: 232, left: 0 }, size: { extraHeight: 0, extraWidth: 0 } },
        },
        enableHotkeys: false,
      });
      // The loader is in place long before Webamp has fetched the first marker.
      await this.hookLoader();
      // The player's close button would leave the page without its preview: it comes back.
      this.webamp.onClose(() => setTimeout(() => this.webamp.reopen(), 300));
      await this.webamp.renderInto(this.node);
    } else {
      this.webamp.setSkinFromUrl(url);
      await this.webamp.skinIsLoaded();
    }
    // React has committed the new skin by the next frame; a task queued from that frame's
    // animation callback runs once the frame is painted.
    await new Promise((r) => requestAnimationFrame(() => setTimeout(r, 0)));
    if (old) URL.revokeObjectURL(old);
    this.skins.delete(serial);
  }
}
