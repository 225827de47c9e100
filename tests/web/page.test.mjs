// The page's own flows, against the stand-in module (tests/web/standin/):
// what the page shows and hands over, whatever the module does.
import assert from "node:assert/strict";
import { readFile } from "node:fs/promises";
import { after, before, describe, test } from "node:test";
import { pathToFileURL } from "node:url";

import { launch, onlyIn, openPage, visible, waitInPage } from "./support/browser.mjs";
import { pageSource, standInScript } from "./support/places.mjs";
import { serve } from "./support/server.mjs";

// The stand-in's data file: its mark, a payload, a checksum byte.
function standInData(damaged = false) {
  const bytes = Buffer.concat([Buffer.from("QHSTAND1"), Buffer.alloc(1000, 7), Buffer.alloc(1)]);
  bytes[bytes.length - 1] = bytes.subarray(0, -1).reduce((sum, byte) => (sum + byte) & 255, 0);
  if (damaged) bytes[500] ^= 0x40;
  return bytes;
}

let browser;
let files;
before(async () => {
  browser = await launch();
  files = { "index.html": await readFile(pageSource), "quittenhain.js": await readFile(standInScript),
            "quittenhain.data": standInData(),
            // The stand-in ignores the module the page fetches for it: the smallest one will do.
            "quittenhain.wasm": Buffer.from([0, 0x61, 0x73, 0x6d, 1, 0, 0, 0]) };
});
after(() => browser?.close());

async function servePage(t, replaced = {}) {
  const server = await serve("/nonexistent", { ...files, ...replaced });
  t.after(server.close);
  return server.url;
}

// A tab closed again when the test ends, so that no demo plays on behind
// the next test.
async function open(t, url, options) {
  const page = await openPage(browser, url, options);
  t.after(() => page.close());
  return page;
}

const instances = (page) => page.evaluate(() => window.quittenhainStandIn?.instances.map(
  (instance) => ({ arguments: instance.arguments, audio: instance.audioContext ? instance.audioContext.state : null })) ?? []);
const bodyText = (page) => page.evaluate(() => document.body.innerText);

describe("the start screen", () => {
  test("asks the question with Yes and No; No plays in a window on the largest 4:3 area", async (t) => {
    const page = await open(t, await servePage(t), { width: 1000, height: 600 });
    assert.match(await bodyText(page), /Switch to Fullscreen \?/);
    assert.ok(await visible(page, "#yes"), "Yes is shown");
    assert.ok(await visible(page, "#no"), "No is shown");
    assert.equal(await page.$eval("#yes", (b) => b.textContent), "Yes");
    assert.equal(await page.$eval("#no", (b) => b.textContent), "No");

    await page.click("#no");
    await waitInPage(page, () => window.quittenhain.parts.length > 0, "part 1");
    const [instance] = await instances(page);
    assert.deepEqual(instance.arguments, ["--windowed"]);
    assert.equal(instance.audio, "running", "the click started the sound");
    assert.equal(await visible(page, "#start"), false, "the question is gone");

    // Whole pixels: Firefox lays out in sixtieths of one (800 comes out 799.983).
    const box = () => page.$eval("#demo", (c) => { const b = c.getBoundingClientRect();
                                                   return [b.x, b.y, b.width, b.height].map(Math.round); });
    assert.deepEqual(await box(), [100, 0, 800, 600], "black bars left and right");
    await page.setViewport({ width: 600, height: 700, deviceScaleFactor: 1 });
    await waitInPage(page, () => document.getElementById("demo").getBoundingClientRect().width === 600, "the resize");
    assert.deepEqual(await box(), [0, 125, 600, 450], "black bars above and below");
  });

  test("Yes puts the page in full screen, and leaving it ends the demo", async (t) => {
    const page = await open(t, await servePage(t));
    await page.click("#yes");
    await waitInPage(page, () => window.quittenhain.parts.length > 0 && document.fullscreenElement !== null,
                     "part 1 in full screen");
    assert.deepEqual((await instances(page))[0].arguments, ["--fullscreen"]);
    await page.evaluate(() => document.exitFullscreen());
    await waitInPage(page, () => window.quittenhain.state === "ended", "the end after leaving full screen", 10000);
    assert.ok(await visible(page, "#again"), "the end screen offers Play again");
  });
});

describe("sound", () => {
  test("a context the browser keeps suspended is reported, and the module runs without one", async (t) => {
    const page = await open(t, await servePage(t), {
      // What the page sees when the browser refuses: the context stays suspended.
      beforeLoad: () => {
        Object.defineProperty(AudioContext.prototype, "state", { get: () => "suspended" });
        AudioContext.prototype.resume = () => new Promise(() => {});
      },
    });
    await page.click("#no");
    await waitInPage(page, () => window.quittenhain.parts.length > 0, "part 1", 20000);
    assert.deepEqual(await page.evaluate(() => window.quittenhainStandIn.instances.map((i) => i.audioContext)), [null],
                     "qhAudioContext is null");
    assert.match(await page.$eval("#sound-notice", (n) => n.innerText), /Sound could not start/);
  });
});

describe("the end", () => {
  test("Escape shows the end screen and stops the sound; Play again starts again at part 1", async (t) => {
    const page = await open(t, await servePage(t));
    await page.click("#no");
    await waitInPage(page, () => window.quittenhain.parts.length > 0, "part 1");
    await page.keyboard.press("Escape");
    await waitInPage(page, () => window.quittenhain.state === "ended", "the end", 10000);
    assert.ok(await visible(page, "#again"), "Play again is shown");
    assert.equal(await visible(page, "#demo"), false, "the canvas is gone");
    await waitInPage(page, () => window.quittenhainStandIn.instances[0].audioContext.state === "closed",
                     "the sound to stop", 5000);

    assert.equal(await page.evaluate(() => window.quittenhain.exitStatus), 1, "Escape's exit status");
    await page.click("#again");
    assert.equal(await page.evaluate(() => window.quittenhain.exitStatus), null, "no status while it plays again");
    await waitInPage(page, () => window.quittenhain.plays === 2 && window.quittenhain.parts.length > 0,
                     "part 1 of the second play");
    assert.equal(await page.evaluate(() => window.quittenhain.exitStatus), null, "none while part 1 plays");
    const plays = await instances(page);
    assert.equal(plays.length, 2, "a new instance");
    assert.equal(plays[1].audio, "running", "with a new running context");
    assert.equal(await page.evaluate(() => window.quittenhain.parts[0].part), 1);
    assert.equal(await visible(page, "#end"), false);
  });
});

describe("a data file that cannot be used", () => {
  test("a missing one is named with its HTTP status instead of the question", async (t) => {
    const page = await open(t, await servePage(t, { "quittenhain.data": null }));
    await waitInPage(page, () => window.quittenhain.state === "error", "the error", 10000);
    assert.ok(await visible(page, "#message"));
    assert.match(await bodyText(page), /quittenhain\.data could not be loaded: HTTP 404/);
    assert.equal(await visible(page, "#start"), false);
    assert.equal(await visible(page, "#demo"), false, "no blank canvas");
  });

  test("a damaged one: the module's message is shown on the page", async (t) => {
    const page = await open(t, await servePage(t, { "quittenhain.data": standInData(true) }));
    await page.click("#no");
    await waitInPage(page, () => window.quittenhain.exitStatus !== null, "the module to end", 10000);
    assert.ok(await visible(page, "#message"));
    assert.match(await bodyText(page), /The data file is damaged/);
    assert.equal(await visible(page, "#demo"), false, "no blank canvas");
  });
});

describe("the address's test modes", () => {
  test("?frames hands over the listed frames with no question and no sound", async (t) => {
    const page = await open(t, (await servePage(t)) + "?frames=120,700,760");
    await waitInPage(page, () => window.quittenhain.exitStatus !== null, "the frames", 20000);
    assert.equal(await visible(page, "#start"), false, "no question");
    const [instance] = await instances(page);
    assert.deepEqual(instance.arguments, ["--frames", "120,700,760"]);
    assert.equal(instance.audio, null, "no sound");
    assert.deepEqual(await page.evaluate(() => window.quittenhain.frames.map((f) => [f.index, f.width, f.rgba.length])),
                     [[120, 640, 640 * 480 * 4], [700, 640, 640 * 480 * 4], [760, 640, 640 * 480 * 4]]);
  });

  test("?frames&fps counts the frames at that rate; an fps the demo cannot take is refused on the page",
       async (t) => {
    const url = await servePage(t);
    const page = await open(t, url + "?frames=60&fps=30");
    await waitInPage(page, () => window.quittenhain.exitStatus !== null, "the frame", 20000);
    assert.deepEqual((await instances(page))[0].arguments, ["--frames", "60", "--fps", "30"]);
    for (const fps of ["0", "1001", "x", "30.5"]) {
      const refused = await open(t, `${url}?frames=60&fps=${fps}`);
      await waitInPage(refused, () => window.quittenhain.state === "error", "the refusal", 10000);
      assert.match(await bodyText(refused), /fps= takes a whole number/, `fps=${fps}`);
      assert.deepEqual(await instances(refused), [], `fps=${fps}`);
    }
  });

  test("?benchmark collects the printed table", async (t) => {
    const page = await open(t, (await servePage(t)) + "?benchmark");
    await waitInPage(page, () => window.quittenhain.exitStatus === 0, "the benchmark", 20000);
    assert.deepEqual((await instances(page))[0].arguments, ["--benchmark"]);
    assert.equal((await page.evaluate(() => window.quittenhain.printed)).length, 12);
  });

  test("a frame list that is not numbers is refused on the page", async (t) => {
    const page = await open(t, (await servePage(t)) + "?frames=1,x");
    await waitInPage(page, () => window.quittenhain.state === "error", "the refusal", 10000);
    assert.match(await bodyText(page), /frames= takes frame numbers/);
    assert.deepEqual(await instances(page), []);
  });
});

// What a browser lacks is said before anything is loaded, in the viewer's
// words, with what to try; the question never shows.
// WebKit's driver runs a script meant to run before the page's own only once
// the page has loaded, too late to take a feature away; and its browser
// window does not become narrower than a desktop window's least width.
const beforeLoadRuns = onlyIn(["chromium", "firefox"], "a script cannot run before the page's own here");
const narrowWindows = onlyIn(["chromium", "firefox"], "the window cannot be made as narrow as a phone");

describe("a browser that cannot play it", () => {
  const cases = [
    ["no WebGL 2", () => {
      const original = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
        return kind === "webgl2" ? null : original.call(this, kind, ...rest);
      };
    }, /no WebGL 2.*Try a current Firefox, Chrome, Edge or Safari/s],
    ["no WebAssembly", () => { delete window.WebAssembly; }, /no WebAssembly.*Try a current/s],
  ];
  for (const [lack, stub, words] of cases) {
    test(`${lack}: says so instead of the question, and loads nothing`, beforeLoadRuns, async (t) => {
      const page = await open(t, await servePage(t), { beforeLoad: stub });
      await waitInPage(page, () => window.quittenhain.state === "error", "the message", 10000);
      assert.match(await page.$eval("#message-text", (m) => m.innerText), words);
      assert.doesNotMatch(await bodyText(page), /Pixelformat/);
      assert.equal(await visible(page, "#start"), false, "no question");
      assert.equal(await page.evaluate(() => typeof window.createQuittenhain), "undefined", "no program loaded");
    });
  }

  test("no Web Audio: the question says the demo plays without sound", beforeLoadRuns, async (t) => {
    const page = await open(t, await servePage(t), {
      beforeLoad: () => { delete window.AudioContext; delete window.webkitAudioContext; },
    });
    assert.match(await page.$eval("#start-notice", (n) => n.innerText), /no Web Audio: the demo plays without sound/);
    await page.click("#no");
    await waitInPage(page, () => window.quittenhain.parts.length > 0, "part 1", 20000);
  });

  test("a page opened as a file says to serve the folder, and how", async (t) => {
    const page = await open(t, pathToFileURL(pageSource).href);
    await waitInPage(page, () => window.quittenhain.state === "error", "the message", 10000);
    assert.match(await page.$eval("#message-text", (m) => m.innerText), /opened as a file.*serve-web\.sh.*http\.server/s);
  });
});

describe("loading", () => {
  test("the bar counts the bytes fetched of the total and goes once they are in", async (t) => {
    const page = await open(t, await servePage(t));
    await waitInPage(page, () => window.quittenhain.loading.done, "the files", 10000);
    const loading = await page.evaluate(() => window.quittenhain.loading);
    const sizes = files["quittenhain.data"].length + files["quittenhain.wasm"].length;
    assert.deepEqual([loading.fetched, loading.total], [sizes, sizes]);
    assert.equal(await visible(page, "#loading"), false, "the bar is gone");
  });
});

describe("a narrow screen", () => {
  for (const [width, height] of [[320, 568], [390, 844]]) {
    test(`the question's card and its title fit ${width} px`, narrowWindows, async (t) => {
      const page = await open(t, await servePage(t), { width, height });
      const boxes = await page.evaluate(() => {
        const rect = (r) => ({ left: r.left, right: r.right });
        const title = document.querySelector("#start h1");
        const range = document.createRange();
        range.selectNodeContents(title);
        return { card: rect(document.querySelector("#start .card").getBoundingClientRect()),
                 title: rect(title.getBoundingClientRect()), text: rect(range.getBoundingClientRect()),
                 buttons: rect(document.querySelector("#start .buttons").getBoundingClientRect()) };
      });
      assert.ok(boxes.card.left >= 0 && boxes.card.right <= width, `the card ${JSON.stringify(boxes.card)}`);
      assert.ok(boxes.text.left >= boxes.card.left && boxes.text.right <= boxes.card.right,
                `the title's letters ${JSON.stringify(boxes.text)} inside the card ${JSON.stringify(boxes.card)}`);
      assert.ok(boxes.buttons.left >= boxes.card.left && boxes.buttons.right <= boxes.card.right, "the buttons");
    });
  }
});
