// The page's ?benchmark in the engine run.sh was given, beside the native
// build's --benchmark: prints both tables and, per part, the page's median
// frame time over the native one.  Not a test (speed goals are measured,
// never asserted): run it as `tests/web/run.sh [--on-mesa] [--engine E] --speed`.
// QH_NATIVE_DEMO names the native program (default build/quittenhain);
// QH_SPEED_NATIVE=0 leaves the native run out.
import { execFile } from "node:child_process";
import { join } from "node:path";
import { promisify } from "node:util";

import { parseTable } from "./support/benchmarkTable.mjs";
import { engine, launch, onDesktopGl, openPage, waitInPage, webGlRenderer } from "./support/browser.mjs";
import { distFolder, repoRoot, requireWebBuild } from "./support/places.mjs";
import { serve } from "./support/server.mjs";

async function pageBenchmark() {
  requireWebBuild();
  const server = await serve(distFolder);
  const browser = await launch();
  try {
    const version = await browser.version();
    const page = await openPage(browser, `${server.url}?benchmark`, { width: 800, height: 600 });
    const renderer = await webGlRenderer(page);
    const started = Date.now();
    await waitInPage(page, () => window.quittenhain.exitStatus !== null, "the benchmark", 3 * 3600 * 1000);
    const printed = await page.evaluate(() => window.quittenhain.printed);
    return { version, renderer, seconds: (Date.now() - started) / 1000, printed };
  } finally {
    await browser.close();
    await server.close();
  }
}

async function nativeBenchmark() {
  const program = process.env.QH_NATIVE_DEMO || join(repoRoot, "build/quittenhain");
  const { stdout } = await promisify(execFile)(program, ["--benchmark"], { maxBuffer: 1 << 20 });
  return stdout.split("\n");
}

const name = engine === "chromium" && onDesktopGl ? "chromium on Mesa" : engine;
const native = process.env.QH_SPEED_NATIVE === "0" ? null : await nativeBenchmark();
const web = await pageBenchmark();
console.log(`== ${name}: ${web.version}, WebGL 2 on ${web.renderer}, ${web.seconds.toFixed(0)} s ==`);
for (const line of web.printed) console.log(line);
if (native) {
  console.log("== native --benchmark ==");
  for (const line of native) console.log(line);
  const [ours, theirs] = [parseTable(web.printed), parseTable(native)];
  console.log(`== median frame time, ${name} over native ==`);
  for (const [part, row] of ours) {
    const base = theirs.get(part);
    if (base) console.log(`${part.padEnd(6)} ${row.median.toFixed(2).padStart(8)} ${base.median.toFixed(2).padStart(8)} ` +
                          `${(row.median / base.median).toFixed(2).padStart(6)}x`);
  }
}
