// The live preview: one Webamp (the npm bundle, served from our own files) wearing the skin
// the core made, main window, equalizer and playlist together.

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

export class Preview {
  constructor(node) {
    this.node = node;
    this.webamp = null;
    this.url = null;
  }

  // Shows the skin in these .wsz bytes; resolves once Webamp has parsed it and painted a
  // frame with it. Rejects when Webamp could not take it.
  async show(bytes) {
    const url = URL.createObjectURL(new Blob([bytes], { type: "application/zip" }));
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
      await this.webamp.renderInto(this.node);
    } else {
      this.webamp.setSkinFromUrl(url);
      await this.webamp.skinIsLoaded();
    }
    // React has committed the new skin by the next frame; a task queued from that frame's
    // animation callback runs once the frame is painted.
    await new Promise((r) => requestAnimationFrame(() => setTimeout(r, 0)));
    if (old) URL.revokeObjectURL(old);
  }
}
