// A stand-in for the demo's WebAssembly module: the same createQuittenhain()
// as the real one, so the page's flows (start, splash, sound, messages, the
// end, playing again, the test modes) can be checked without the real build.
// It draws one plain colour per part with WebGL 2 and switches parts every
// `partSeconds` of its clock.
//
// Its data file: the bytes "QHSTAND1", any payload, then one byte holding
// the sum of all bytes before it modulo 256.  Anything else is "damaged".
"use strict";
(function () {
  const partSeconds = 2;
  const partColours = [[0.9, 0.5, 0.1], [0.1, 0.6, 0.9], [0.5, 0.9, 0.2], [0.9, 0.2, 0.6], [0.3, 0.3, 0.9],
                       [0.9, 0.9, 0.2], [0.2, 0.9, 0.8], [0.8, 0.4, 0.9], [0.6, 0.6, 0.6], [0.9, 0.3, 0.3],
                       [0.4, 0.8, 0.4]];

  function intact(bytes) {
    if (!(bytes instanceof Uint8Array) || bytes.length < 9) return false;
    if (String.fromCharCode(...bytes.subarray(0, 8)) !== "QHSTAND1") return false;
    let sum = 0;
    for (let i = 0; i < bytes.length - 1; ++i) sum = (sum + bytes[i]) & 255;
    return sum === bytes[bytes.length - 1];
  }

  function splashPicture(page) {
    const width = 320, height = 240;
    const x = Math.floor((window.innerWidth - width) / 2), y = Math.floor((window.innerHeight - height) / 2);
    const behind = page.backdrop(x, y, width, height);
    const picture = new Uint8ClampedArray(width * height * 4);
    for (let i = 0; i < width * height; ++i) {
      const alpha = (i % width) / width;   // see-through at the left, solid at the right
      picture[i * 4] = behind[i * 4] * (1 - alpha) + 250 * alpha;
      picture[i * 4 + 1] = behind[i * 4 + 1] * (1 - alpha) + 200 * alpha;
      picture[i * 4 + 2] = behind[i * 4 + 2] * (1 - alpha) + 60 * alpha;
      picture[i * 4 + 3] = 255;
    }
    page.showSplash(x, y, width, height, picture);
  }

  window.createQuittenhain = function (options) {
    const record = window.quittenhainStandIn || (window.quittenhainStandIn = { instances: [] });
    record.instances.push({ arguments: options.arguments, audioContext: options.qhAudioContext });
    const page = options.qhPage;
    const args = options.arguments || [];
    let stopped = false;
    let oscillator = null;
    const end = (status) => {
      if (stopped) return;
      stopped = true;
      if (oscillator) oscillator.stop();
      window.removeEventListener("keydown", onKey);
      options.onExit(status);
    };
    const onKey = (event) => { if (event.key === "Escape") end(1); };
    const module = { _qhEnd: () => end(1) };

    return new Promise((resolve) => setTimeout(() => {
      resolve(module);
      if (!intact(options.qhResources)) {
        page.showMessage("The data file is damaged: its checksum does not match.", "Error");
        end(1);
        return;
      }
      if (args[0] === "--frames") {
        for (const index of args[1].split(",").map(Number)) {
          const colour = partColours[Math.min(10, Math.floor(index / 60 / partSeconds))];
          const rgba = new Uint8Array(640 * 480 * 4);
          for (let i = 0; i < rgba.length; i += 4) rgba.set([colour[0] * 255, colour[1] * 255, colour[2] * 255, 255], i);
          page.frame(index, 640, 480, rgba);
        }
        end(0);
        return;
      }
      if (args[0] === "--benchmark") {
        options.print("part  median ms");
        for (let part = 1; part <= 11; ++part) options.print(`${part}  1.0`);
        end(0);
        return;
      }
      splashPicture(page);
      const canvas = options.canvas;
      const gl = canvas.getContext("webgl2", { preserveDrawingBuffer: true });
      const audio = options.qhAudioContext;
      if (audio) {
        oscillator = audio.createOscillator();
        const gain = audio.createGain();
        gain.gain.value = 0.02;
        oscillator.connect(gain).connect(audio.destination);
        oscillator.start();
      }
      const started = audio ? audio.currentTime : performance.now() / 1000;
      const clock = () => (audio ? audio.currentTime : performance.now() / 1000) - started;
      window.addEventListener("keydown", onKey);
      setTimeout(() => {
        page.hideSplash();
        let part = 0;
        const frame = () => {
          if (stopped) return;
          const now = clock();
          const due = Math.min(11, 1 + Math.floor(now / partSeconds));
          if (due !== part) {
            if (due > 11 || now > 11 * partSeconds) { end(1); return; }
            part = due;
            page.partStarted(part, now);
          }
          const scale = Math.min(window.devicePixelRatio || 1, 1920 / canvas.clientWidth, 1440 / canvas.clientHeight);
          canvas.width = Math.round(canvas.clientWidth * scale);
          canvas.height = Math.round(canvas.clientHeight * scale);
          gl.viewport(0, 0, canvas.width, canvas.height);
          gl.clearColor(...partColours[part - 1], 1);
          gl.clear(gl.COLOR_BUFFER_BIT);
          requestAnimationFrame(frame);
        };
        requestAnimationFrame(frame);
      }, 300);
    }, 50));
  };
})();
