// What only Chromium's own means can check: phones (its device emulation:
// touch, 390x844 at device pixel ratio 3, turned to 844x390), a slow
// network (its DevTools protocol's throttling) and a browser without
// WebGL 2 (its --disable-webgl2 switch).  The page's other flows are
// checked engine-neutrally in page.test.mjs and demo.test.mjs.
import assert from "node:assert/strict";
import { readFile } from "node:fs/promises";
import { after, before, describe, test } from "node:test";

import { launch, visible, waitInPage } from "./support/browser.mjs";
import { distFolder, pageSource, requireWebBuild, standInScript } from "./support/places.mjs";
import { serve } from "./support/server.mjs";

let browser;
let built;
before(async () => {
  built = requireWebBuild();
  browser = await launch(["--autoplay-policy=no-user-gesture-required"]);
});
after(() => browser?.close());

const phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const turned = { ...phone, width: 844, height: 390, isLandscape: true };

// A tab on `url` with the given viewport (and, before the page loads, the
// DevTools session's `prepare`), closed when the test ends.
async function open(t, url, viewport, prepare) {
  const page = await browser.newPage();
  t.after(() => page.close());
  page.consoleLines = [];
  page.on("console", (line) => page.consoleLines.push(`${line.type()}: ${line.text()}`));
  await page.setViewport(viewport);
  if (prepare) await prepare(await page.createCDPSession());
  await page.goto(url, { waitUntil: "load" });
  return page;
}
async function served(t, folder, replaced) {
  const server = await serve(folder, replaced);
  t.after(server.close);
  return server.url;
}
const box = (page, selector) => page.$eval(selector, (element) => {
  const b = element.getBoundingClientRect();
  return [b.x, b.y, b.width, b.height];
});
const canvasSize = (page) => page.$eval("#demo", (canvas) => [canvas.width, canvas.height]);
async function tapOn(page, selector) {
  const [x, y, width, height] = await box(page, selector);
  await page.touchscreen.tap(x + width / 2, y + height / 2);
}

describe("a phone", () => {
  test("the close control: a tap shows it, it fades, a tap on it ends as Escape does", async (t) => {
    const files = { "index.html": await readFile(pageSource), "quittenhain.js": await readFile(standInScript),
                    "quittenhain.wasm": Buffer.from([0, 0x61, 0x73, 0x6d, 1, 0, 0, 0]),
                    // The stand-in's data: its mark and the mark's byte sum.
                    "quittenhain.data": Buffer.from([...Buffer.from("QHSTAND1"), 580 % 256]) };
    const page = await open(t, await served(t, "/nonexistent", files), phone);
    assert.match(await page.$eval("#hint", (h) => h.innerText), /tap/, "the hint speaks of touch");
    await tapOn(page, "#no");
    await waitInPage(page, () => window.quittenhain.state === "playing", "part 1", 20000);
    const shown = () => page.$eval("#close", (c) => Number(getComputedStyle(c).opacity) > 0.9);
    assert.equal(await shown(), false, "hidden until the picture is tapped");
    await tapOn(page, "#demo");
    await waitInPage(page, () => Number(getComputedStyle(document.getElementById("close")).opacity) > 0.9,
                     "the close control", 2000);
    await waitInPage(page, () => Number(getComputedStyle(document.getElementById("close")).opacity) === 0,
                     "the close control to fade", 6000);
    await tapOn(page, "#demo");
    await waitInPage(page, () => Number(getComputedStyle(document.getElementById("close")).opacity) > 0.9,
                     "the close control again", 2000);
    await tapOn(page, "#close");
    await waitInPage(page, () => window.quittenhain.state === "ended", "the end", 10000);
    assert.equal(await page.evaluate(() => window.quittenhain.exitStatus), 1, "Escape's exit status");
    assert.ok(await visible(page, "#again"), "the end screen");
  });

  test("the demo: 4:3 with bars, turned either way, drawn at the screen's own pixels", async (t) => {
    const page = await open(t, await served(t, distFolder), phone);
    await tapOn(page, "#no");
    await waitInPage(page, () => window.quittenhain.state === "playing", "part 1", 180000);
    assert.deepEqual(await box(page, "#demo"), [0, (844 - 292.5) / 2, 390, 292.5], "bars above and below");
    // 390 CSS pixels at ratio 3: 1170 device pixels, as a 4:3 picture.
    await waitInPage(page, () => document.getElementById("demo").width >= 1160, "the sharper canvas", 20000);
    const [width, height] = await canvasSize(page);
    assert.equal(width * 3, height * 4, `${width}x${height} is 4:3`);

    await page.setViewport(turned);
    await waitInPage(page, () => document.getElementById("demo").getBoundingClientRect().height === 390, "the turn");
    assert.deepEqual(await box(page, "#demo"), [(844 - 520) / 2, 0, 520, 390], "bars left and right");
    // 520x390 CSS pixels at ratio 3 is 1560x1170: within the cap of 1920x1440.
    await waitInPage(page, () => document.getElementById("demo").width === 1560, "the canvas after the turn", 20000);
    assert.deepEqual(await canvasSize(page), [1560, 1170]);

    // The page is busy drawing large pictures on a software rasterizer: the
    // second tap follows the first without waiting for the control to show
    // (the page handles them in order).
    await tapOn(page, "#demo");
    await tapOn(page, "#close");
    await waitInPage(page, () => window.quittenhain.state === "ended", "the end", 30000);
    assert.equal(await page.evaluate(() => window.quittenhain.exitStatus), 1, "Escape's exit status");
    assert.ok(await visible(page, "#again"), "the end screen");
  });
});

describe("a slow network", () => {
  test("the bar moves with the bytes fetched; the whole page is at most 8 MB", async (t) => {
    // About 2.5 MB a second: the page's files take a few seconds.
    const page = await open(t, await served(t, distFolder), { width: 800, height: 600 }, async (session) => {
      await session.send("Network.enable");
      await session.send("Network.emulateNetworkConditions",
                         { offline: false, latency: 20, downloadThroughput: 2.5e6, uploadThroughput: 1e6 });
    });
    const seen = [];
    for (;;) {
      const now = await page.evaluate(() => ({ ...window.quittenhain.loading,
        bar: document.getElementById("loading-fill").getBoundingClientRect().width,
        text: document.getElementById("loading-text").innerText,
        shown: getComputedStyle(document.getElementById("loading-bar")).display !== "none" }));
      seen.push(now);
      if (now.done) break;
      await new Promise((resolve) => setTimeout(resolve, 200));
    }
    const moving = seen.filter((s) => !s.done && s.fetched > 0 && s.fetched < s.total);
    assert.ok(moving.length >= 4, `the bar was seen part way ${moving.length} times`);
    for (const s of moving) {
      assert.equal(s.total, built.dataBytes + built.moduleBytes, "the total is the program's and the data's");
      assert.ok(s.shown && s.bar > 0, "the bar is shown");
      assert.match(s.text, /Loading \d+\.\d of \d+\.\d MB/i);
    }
    for (let i = 1; i < moving.length; ++i) assert.ok(moving[i].fetched >= moving[i - 1].fetched, "it only grows");
    assert.ok(moving.at(-1).bar > moving[0].bar, "the bar grows");
    assert.equal(await visible(page, "#loading"), false, "gone once all is in");
    assert.ok(await visible(page, "#start"), "the question");
    // Every file the page fetched, headers included, as the browser counts them.
    const transferred = await page.evaluate(() => [...performance.getEntriesByType("navigation"),
      ...performance.getEntriesByType("resource")].reduce((sum, entry) => sum + entry.transferSize, 0));
    t.diagnostic(`transferred ${(transferred / 1e6).toFixed(2)} MB`);
    assert.ok(transferred <= 8e6, `${transferred} bytes`);
  });
});

describe("a browser without WebGL 2", () => {
  test("says so in a viewer's words, with what to try", async (t) => {
    const plain = await launch(["--disable-webgl2"]);
    t.after(() => plain.close());
    const page = await plain.newPage();
    await page.goto(await served(t, distFolder), { waitUntil: "load" });
    await waitInPage(Object.assign(page, { consoleLines: [] }), () => window.quittenhain.state === "error",
                     "the message", 20000);
    const message = await page.evaluate(() => window.quittenhain.message);
    assert.match(message.caption, /cannot show the demo/);
    assert.match(message.text, /no WebGL 2.*Try a current Firefox, Chrome, Edge or Safari/s);
    assert.equal(await visible(page, "#start"), false, "no question");
  });
});
