// The web build's test mode (?frames=LIST: the virtual clock at 60 fps, no
// sound) renders the golden frames within the golden-frame test's limits.
// The comparison is the native build's own (tests/compare_golden).
//
// With QH_WEB_GL=desktop (Chromium on an X display, WebGL on Mesa) every
// golden frame is checked within the plain limits.  On SwiftShader (headless
// Chromium) the frames up to part 2's temple are, with the web build's wider
// tiles: the same page on Mesa checks the whole demo, and one whole render
// of it is enough for a run.  QH_WEB_GOLDEN_WHOLE=1 renders the whole demo
// on SwiftShader too and checks every frame but those in `leftOut`;
// QH_WEB_GOLDEN_ALL=1 compares those too, to measure them.
import assert from "node:assert/strict";
import { execFile } from "node:child_process";
import { existsSync } from "node:fs";
import { mkdtemp, readFile, rm, writeFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { test } from "node:test";
import { promisify } from "node:util";

import { engine, launch, onDesktopGl, openPage, waitInPage, webGlRenderer } from "./support/browser.mjs";
import { compareGolden, distFolder, goldenFolder, requireWebBuild } from "./support/places.mjs";
import { collectedFrame } from "./support/pictures.mjs";
import { encodePng } from "./support/png.mjs";
import { serve } from "./support/server.mjs";

// Frames SwiftShader draws over the limits, by name, and why (measured
// figures in docs/measurements/web-build.md).  The same page on Mesa renders
// every one of them within the limits.
// Part 4's middle frame keeps within its tile limit by 0.001: no margin to
// rely on, and the same step as its neighbours, so it goes with them.
const whole = "one step off over the whole frame: SwiftShader's bilinear filtering rounds a step apart from " +
              "Mesa's and the glow sprites' many additive layers sum it (frame means 0.67 to 0.95, " +
              "tile means 1.00 to 1.03)";
const trails = "the picture is never cleared: the lines, rasterised a pixel apart, and the white wash blended over " +
               "them, rounded once per sum where Mesa rounds each product, carry on from frame to frame " +
               "(tile means 2.2 to 4.6)";
const wires = "wireframe edges rasterised a pixel apart by SwiftShader, and edges two polygons share blended " +
              "twice where its lines differ with direction (tile means 6.1 to 8.4)";
const tori = "the tori's wireframes as above, over trails the textured wash fades a step apart each frame " +
             "(tile means 2.3 to 12.7, frame means up to 4.8)";
const leftOut = new Map([
  ["part4-start", whole], ["part4-glow-cloud", whole], ["part4-end", whole], ["part5-start", whole],
  ["part5-trails", trails], ["part5-middle", trails], ["part5-end", trails],
  ["part7-start", wires], ["part7-cloth", wires], ["part7-end", wires],
  ["part8-metaballs", wires], ["part8-end", wires],
  ["part10-start", tori], ["part10-torus-chain", tori], ["part10-end", tori],
  ["part11-start", tori], ["part11-torus-chain", tori], ["part11-end", tori],
]);
// Firefox and WebKit draw WebGL 2 on Mesa too, so their frames are held to
// the plain limits; but they render the test mode's frames more slowly than
// Chromium (figures in docs/web-engines.md), so they too check the golden
// frames up to part 2's temple (1111 frames rendered, six compared: the
// fade-in, the plasma, a plain fill, the textured and fogged temple), and
// Chromium on Mesa checks the rest.  QH_WEB_GOLDEN_ALL=1 checks them all.
const onMesa = onDesktopGl || engine !== "chromium";
const goldenAll = process.env.QH_WEB_GOLDEN_ALL === "1";
const wholeDemo = (onDesktopGl && engine === "chromium") || goldenAll ||
                  (engine === "chromium" && process.env.QH_WEB_GOLDEN_WHOLE === "1");
const lastChecked = wholeDemo ? Infinity : 1110;
const checksAll = onMesa || goldenAll;

async function goldenFrames() {
  const frames = [];
  for (const line of (await readFile(join(goldenFolder, "frames.txt"), "utf8")).split("\n")) {
    const match = /^(\S+)\s+(\d+)/.exec(line);
    if (match && !line.startsWith("#")) frames.push({ name: match[1], index: Number(match[2]) });
  }
  return frames;
}

// SwiftShader's tiles the web build widens; on Mesa none are.
function widerTiles() {
  return onMesa ? [] : [join(goldenFolder, "wider-tiles-web.txt")];
}

// Renders `frames` (golden frames, by their 60 fps index) in the test mode
// at `fps`, each at its 60 fps music time, and compares them with the
// references.
async function renderAndCompare(t, frames, fps) {
  requireWebBuild();
  assert.ok(existsSync(compareGolden), `${compareGolden} is missing: build the native tests first`);
  const atRate = frames.map((frame) => frame.index * fps / 60);
  assert.ok(atRate.every(Number.isInteger), `every frame is at a time ${fps} fps shares with 60 fps`);
  const server = await serve(distFolder);
  t.after(server.close);
  const browser = await launch();
  t.after(() => browser.close());
  const page = await openPage(browser, `${server.url}?frames=${atRate.join(",")}&fps=${fps}`,
                              { width: 800, height: 600 });
  t.diagnostic(`WebGL 2 on ${await webGlRenderer(page)}`);

  // SwiftShader draws 15 to 25 frames a second here; a loaded machine less.
  const started = Date.now();
  await waitInPage(page, () => window.quittenhain.exitStatus !== null, "the last frame",
                   120000 + (atRate.at(-1) / 60) * 8000);
  const seconds = (Date.now() - started) / 1000;
  t.diagnostic(`${atRate.at(-1) + 1} frames at ${fps} fps rendered in ${seconds.toFixed(0)} s`);
  assert.equal(await page.evaluate(() => window.quittenhain.exitStatus), 0, "the module ends with status 0");
  const count = await page.evaluate(() => window.quittenhain.frames.length);
  assert.equal(count, frames.length, "every listed frame was handed over");

  const folder = await mkdtemp(join(tmpdir(), "quittenhain-web-frames-"));
  t.after(() => rm(folder, { recursive: true, force: true }));
  for (let i = 0; i < count; ++i) {
    const frame = await collectedFrame(page, i);
    assert.equal(frame.index, atRate[i]);
    assert.deepEqual([frame.width, frame.height], [640, 480], `frame ${frame.index} is 640x480`);
    await writeFile(join(folder, `frame${String(frames[i].index).padStart(5, "0")}.png`),
                    encodePng(frame.width, frame.height, frame.rgba));
  }
  const result = await promisify(execFile)(compareGolden, [folder, ...widerTiles()]).catch((failure) => failure);
  for (const line of result.stdout.trim().split("\n")) t.diagnostic(line);
  assert.equal(result.code ?? 0, 0, `frames over the golden limits:\n${result.stdout}${result.stderr}`);
  assert.match(result.stdout, new RegExp(`compared ${frames.length} frames, 0 over`));
}

async function checkedFrames() {
  const all = await goldenFrames();
  for (const name of leftOut.keys())
    assert.ok(all.some((frame) => frame.name === name), `${name} is left out but is no golden frame`);
  return all.filter((frame) => (checksAll || !leftOut.has(frame.name)) && frame.index <= lastChecked);
}

const which = lastChecked < Infinity ? ` (up to frame ${lastChecked})` :
              !checksAll ? " (all but SwiftShader's left-out ones)" : "";
test(`the test mode's frames equal the golden references in ${engine}${which}`,
     async (t) => {
  await renderAndCompare(t, await checkedFrames(), 60);
});

// Effects step 60 times a second of the music whatever the frame rate, so
// the frames of other rates at the times they share with 60 fps are the
// golden frames too.  A part's first 60 fps frame is left out: a slower
// clock notices the switch a frame later, and a faster one begins the part a
// frame earlier, whose drawing changes state the part's first frame meets
// (the first frame of part 4 at 144 fps: tile means up to 23).  Both runs
// stop after part 2 to keep the time in bounds: they check the page's clock
// at a slower rate and at one that is no multiple of 60, and the stepping it
// drives is the native build's, whose test checks the whole demo at both.  They run with WebGL on Mesa, where every frame
// is checked: on SwiftShader the frames of the parts that step are left out.
const onlyOnMesa = { skip: !onDesktopGl && "run with --on-mesa, where the stepping parts' frames are checked" };
const partStarts = new Set(["part2-start", "part3-start", "part4-start", "part5-start", "part6-start",
                            "part7-start", "part8-start", "part9-start", "part10-start", "part11-start"]);

test("at 30 fps the test mode's frames at the times shared with 60 fps equal the golden references", onlyOnMesa,
     async (t) => {
  const frames = (await checkedFrames()).filter((frame) => frame.index % 2 === 0 && frame.index <= 2298 &&
                                                        !partStarts.has(frame.name));
  await renderAndCompare(t, frames, 30);
});

test("at 144 fps the test mode's frames at the times shared with 60 fps equal the golden references", onlyOnMesa,
     async (t) => {
  const frames = (await checkedFrames()).filter((frame) => frame.index % 5 === 0 && frame.index <= 2298 &&
                                                        !partStarts.has(frame.name));
  await renderAndCompare(t, frames, 144);
});
