// Where the page's ?benchmark spends the page's own time, per part: samples
// of the renderer's main thread (the DevTools protocol's Profiler) sorted
// into the WebAssembly (the effects and the OpenGL ES layer), the module's
// JavaScript glue, the WebGL calls themselves and the frame's final
// readPixels (waiting for the GPU process to finish the frame).  Not a test:
// run it as `tests/web/run.sh [--on-mesa] --profile`.  The module's
// functions have names only in a build linked with --profiling-funcs
// (scripts/build-web.sh -DCMAKE_EXE_LINKER_FLAGS=--profiling-funcs, which
// stays in the build folder's cache until -DCMAKE_EXE_LINKER_FLAGS= takes it
// out again); without them the WebAssembly functions go by their numbers.
//   QH_PROFILE_PARTS: the parts to list function by function (default 1,3,5,7,8)
import { parseTable } from "./support/benchmarkTable.mjs";
import { engine, launch, onDesktopGl, openPage, waitInPage, webGlRenderer } from "./support/browser.mjs";
import { distFolder, requireWebBuild } from "./support/places.mjs";
import { serve } from "./support/server.mjs";

if (engine !== "chromium") throw new Error("profile.mjs samples Chromium's renderer through its DevTools protocol");
const listed = (process.env.QH_PROFILE_PARTS || "1,3,5,7,8").split(",").map(Number);
const intervalMicroseconds = 250;

// The part a sample belongs to: the last part the page had been told of
// (quittenhain.parts, in the page's clock) at the sample's time.
function partAt(parts, time) {
  let part = null;
  for (const entry of parts) if (entry.at <= time) part = entry.part;
  return part;
}

// What the sample's innermost frame is: our WebAssembly, the module's
// JavaScript, a browser function called from it (WebGL), or the engine's own.
function kindOf(frame) {
  const { url, functionName: name } = frame;
  if (url.endsWith(".wasm") || url.startsWith("wasm://")) return "wasm";
  if (name === "readPixels") return "readPixels (GPU wait)";
  if (name.startsWith("(")) return name;
  if (url === "") return "WebGL and other browser calls";
  return "JavaScript";
}

// `startedAt`: the page's clock when the profile began.
function summarise(profile, parts, startedAt) {
  const nodes = new Map(profile.nodes.map((node) => [node.id, node]));
  const perPart = new Map();
  let elapsed = 0;   // microseconds since the profile began
  profile.samples.forEach((id, i) => {
    elapsed += profile.timeDeltas[i];
    const part = partAt(parts, startedAt + elapsed / 1000);
    const next = profile.timeDeltas[i + 1];
    if (part === null || next === undefined) return;
    const milliseconds = next / 1000;
    if (!perPart.has(part)) perPart.set(part, { kinds: new Map(), functions: new Map(), total: 0 });
    const entry = perPart.get(part);
    const frame = nodes.get(id).callFrame;
    const kind = kindOf(frame);
    entry.total += milliseconds;
    entry.kinds.set(kind, (entry.kinds.get(kind) || 0) + milliseconds);
    const name = kind === "wasm" || kind === "JavaScript" || kind.startsWith("WebGL") ? `${kind}: ${frame.functionName}` : kind;
    entry.functions.set(name, (entry.functions.get(name) || 0) + milliseconds);
  });
  return perPart;
}

requireWebBuild();
const server = await serve(distFolder);
const browser = await launch();
try {
  const page = await openPage(browser, `${server.url}?benchmark`, { width: 800, height: 600 });
  const session = await page.createCDPSession();
  await session.send("Profiler.enable");
  await session.send("Profiler.setSamplingInterval", { interval: intervalMicroseconds });
  await session.send("Profiler.start");
  const startedAt = await page.evaluate(() => performance.now());
  await waitInPage(page, () => window.quittenhain.exitStatus !== null, "the benchmark", 3 * 3600 * 1000);
  const { profile } = await session.send("Profiler.stop");
  const { printed, parts } = await page.evaluate(() => ({ printed: window.quittenhain.printed,
                                                           parts: window.quittenhain.parts }));
  const frames = new Map([...parseTable(printed)].map(([part, row]) => [Number(part), row]));
  console.log(`== ${onDesktopGl ? "chromium on Mesa" : "chromium"}: ${await browser.version()}, ` +
              `WebGL 2 on ${await webGlRenderer(page)}; sampled every ${intervalMicroseconds} µs ==`);
  const perPart = summarise(profile, parts, startedAt);
  const kinds = [...new Set([...perPart.values()].flatMap((entry) => [...entry.kinds.keys()]))].sort();
  console.log(`ms a frame (mean) | ${["part", "median", "sampled", ...kinds].join(" | ")}`);
  for (const [part, entry] of [...perPart].sort((a, b) => a[0] - b[0])) {
    const count = frames.get(part)?.frames || 1;
    const cells = kinds.map((kind) => ((entry.kinds.get(kind) || 0) / count).toFixed(2));
    console.log(`| ${part} | ${frames.get(part)?.median ?? "?"} | ${(entry.total / count).toFixed(2)} | ${cells.join(" | ")} |`);
  }
  for (const part of listed) {
    const entry = perPart.get(part);
    if (!entry) continue;
    const count = frames.get(part)?.frames || 1;
    console.log(`== part ${part}: heaviest innermost functions, ms a frame ==`);
    for (const [name, milliseconds] of [...entry.functions].sort((a, b) => b[1] - a[1]).slice(0, 15))
      console.log(`${(milliseconds / count).toFixed(3).padStart(8)}  ${name}`);
  }
} finally {
  await browser.close();
  await server.close();
}
