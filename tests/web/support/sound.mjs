// What reaches the sound server run.sh starts for the tests: its null
// sink's monitor (QH_SOUND_MONITOR), recorded with PulseAudio's parec.
import { spawn } from "node:child_process";

export const soundMonitor = process.env.QH_SOUND_MONITOR || null;

// Records about `seconds` of the sink's output and gives the loudest sample
// and the root mean square, both as shares of full scale (16-bit stereo).
// The null sink hands its monitor what was played in blocks as long as its
// latency: record a few seconds.
export function recordOutput(seconds) {
  if (!soundMonitor) throw new Error("no sound server: run the tests through tests/web/run.sh");
  return new Promise((resolve, reject) => {
    const parec = spawn("parec", ["-d", soundMonitor, "--raw", "--format=s16le", "--rate=44100", "--channels=2",
                                  "--latency-msec=50"], { stdio: ["ignore", "pipe", "pipe"] });
    const chunks = [];
    let errors = "";
    parec.stdout.on("data", (chunk) => chunks.push(chunk));
    parec.stderr.on("data", (text) => { errors += text; });
    parec.on("error", reject);
    const timer = setTimeout(() => parec.kill("SIGINT"), seconds * 1000);
    parec.on("close", () => {
      clearTimeout(timer);
      const bytes = Buffer.concat(chunks);
      const count = Math.floor(bytes.length / 2);
      if (count === 0) { reject(new Error(`parec recorded nothing: ${errors}`)); return; }
      let peak = 0;
      let squares = 0;
      for (let i = 0; i < count; ++i) {
        const sample = bytes.readInt16LE(i * 2) / 32768;
        peak = Math.max(peak, Math.abs(sample));
        squares += sample * sample;
      }
      resolve({ seconds: count / 2 / 44100, peak, rms: Math.sqrt(squares / count) });
    });
  });
}
