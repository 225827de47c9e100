// The fixed-function layer's drawing on the browser's own WebGL 2, through
// the feature scenes of tests/features (quittenhain_features.js, built by
// scripts/build-web.sh in its build folder): where the browser's blending
// differs from the fixed-function pipeline's, the layer must make up for it.
import assert from "node:assert/strict";
import { existsSync } from "node:fs";
import { join } from "node:path";
import { after, before, test } from "node:test";

import { launch, openPage, waitInPage } from "./support/browser.mjs";
import { webBuildFolder } from "./support/places.mjs";
import { serve } from "./support/server.mjs";

const page = `<!doctype html><canvas id="canvas"></canvas><script src="quittenhain_features.js"></script>
<script>
  const scene = new URLSearchParams(location.search).get("scene");
  createFeatures({ canvas: document.getElementById("canvas"), arguments: [scene],
                   onExit: (status) => { window.drawn = { status }; } })
    .then((module) => { window.drawn = { ...window.drawn, picture: module.featurePicture ?? null }; });
</script>`;

let browser;
let server;
before(async () => {
  const module = join(webBuildFolder, "quittenhain_features.js");
  if (!existsSync(module)) throw new Error(`${module} is missing: run scripts/build-web.sh first`);
  browser = await launch();
  server = await serve(webBuildFolder, { "index.html": page });
});
after(async () => { await browser?.close(); await server?.close(); });

// The scene's picture as the page got it: its exit status and, per pixel,
// red, green and blue.
async function drawn(t, scene) {
  const tab = await openPage(browser, `${server.url}?scene=${scene}`);
  t.after(() => tab.close());
  await waitInPage(tab, () => window.drawn?.picture !== undefined, `the ${scene} scene`);
  return tab.evaluate(() => ({ status: window.drawn.status,
                               rgba: window.drawn.picture ? Array.from(window.drawn.picture.rgba) : [] }));
}

// The browser blends the colour the shader gives; unrounded, a tenth of
// alpha would keep 0.9 of the white (229.5, rounded up to 230).
test("a tenth of black blended over white keeps 229/255 of it, as with the alpha rounded to 8 bits", async (t) => {
  const { status, rgba } = await drawn(t, "alpha-rounding");
  assert.equal(status, 0);
  assert.equal(rgba.length, 128 * 128 * 4);
  const values = new Map();
  for (let i = 0; i < rgba.length; i += 4)
    for (const value of rgba.slice(i, i + 3)) values.set(value, (values.get(value) ?? 0) + 1);
  assert.deepEqual([...values], [[229, 128 * 128 * 3]]);
});
