// The web build's test mode (?frames=LIST: the virtual clock at 60 fps, no
// sound) renders the golden frames within the golden-frame test's limits.
// The comparison is the native build's own (tests/compareGolden.cpp).
//
// QH_WEB_GOLDEN_LAST_PART (1 to 11, default 3) says up to which part the
// golden frames are checked.  Parts 1 to 3 render in about two and a half
// minutes here; all eleven take eight and a half, and frames of parts 4 to 11
// are still over the limits in WebGL (see the README's "In a browser").
import assert from "node:assert/strict";
import { execFile } from "node:child_process";
import { existsSync } from "node:fs";
import { mkdtemp, readFile, rm, writeFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { test } from "node:test";
import { promisify } from "node:util";

import { launch, openPage, waitInPage } from "./support/browser.mjs";
import { compareGolden, distFolder, goldenFolder, requireWebBuild } from "./support/places.mjs";
import { collectedFrame } from "./support/pictures.mjs";
import { encodePng } from "./support/png.mjs";
import { serve } from "./support/server.mjs";

const lastPart = Number(process.env.QH_WEB_GOLDEN_LAST_PART || 3);

async function goldenFrames() {
  const frames = [];
  for (const line of (await readFile(join(goldenFolder, "frames.txt"), "utf8")).split("\n")) {
    const match = /^part(\d+)-\S+\s+(\d+)/.exec(line);
    if (match && Number(match[1]) <= lastPart) frames.push(Number(match[2]));
  }
  return frames;
}

// Tiles the web build rasterises a little differently, when it names any;
// otherwise the OpenGL ES build's, whose layer it shares.
function widerTiles() {
  const web = join(goldenFolder, "wider-tiles-web.txt");
  return existsSync(web) ? web : join(goldenFolder, "wider-tiles-gles.txt");
}

test(`the test mode's frames of parts 1 to ${lastPart} equal the golden references`, async (t) => {
  requireWebBuild();
  assert.ok(existsSync(compareGolden), `${compareGolden} is missing: build the native tests first`);
  const frames = await goldenFrames();
  const server = await serve(distFolder);
  t.after(server.close);
  const browser = await launch();
  t.after(() => browser.close());
  const page = await openPage(browser, `${server.url}?frames=${frames.join(",")}`, { width: 800, height: 600 });

  // SwiftShader draws 15 to 25 frames a second here; a loaded machine less.
  const started = Date.now();
  await waitInPage(page, () => window.quittenhain.exitStatus !== null, "the last frame",
                   120000 + (frames.at(-1) / 60) * 8000);
  const seconds = (Date.now() - started) / 1000;
  t.diagnostic(`${frames.at(-1) + 1} frames rendered in ${seconds.toFixed(0)} s`);
  assert.equal(await page.evaluate(() => window.quittenhain.exitStatus), 0, "the module ends with status 0");
  const count = await page.evaluate(() => window.quittenhain.frames.length);
  assert.equal(count, frames.length, "every listed frame was handed over");

  const folder = await mkdtemp(join(tmpdir(), "quittenhain-web-frames-"));
  t.after(() => rm(folder, { recursive: true, force: true }));
  for (let i = 0; i < count; ++i) {
    const frame = await collectedFrame(page, i);
    assert.equal(frame.index, frames[i]);
    assert.deepEqual([frame.width, frame.height], [640, 480], `frame ${frame.index} is 640x480`);
    await writeFile(join(folder, `frame${String(frame.index).padStart(5, "0")}.png`),
                    encodePng(frame.width, frame.height, frame.rgba));
  }
  const result = await promisify(execFile)(compareGolden, [folder, widerTiles()]).catch((failure) => failure);
  for (const line of result.stdout.trim().split("\n")) t.diagnostic(line);
  assert.equal(result.code ?? 0, 0, `frames over the golden limits:\n${result.stdout}${result.stderr}`);
  assert.match(result.stdout, new RegExp(`compared ${frames.length} frames, 0 over`));
});
