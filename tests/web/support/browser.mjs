// The browser the tests run in, QH_WEB_ENGINE: chromium (the default),
// firefox or webkit; each described in docs/web-engines.md.
//
// Debian's Chromium, headless, driven through puppeteer-core.  WebGL 2 runs
// there on SwiftShader, which newer Chromium enables only when asked.
//
// With QH_WEB_GL=desktop, Chromium opens a window on the X display named by
// DISPLAY (Xvfb will do) and runs WebGL 2 on the machine's own OpenGL, Mesa
// here, through ANGLE's OpenGL back end.
import puppeteer from "puppeteer-core";

import { engine, launchFirefox } from "./engines.mjs";
import { launchWebKit } from "./webkit.mjs";

export { engine, onlyIn } from "./engines.mjs";
export const onDesktopGl = process.env.QH_WEB_GL === "desktop";

// QH_CHROMIUM_ARGS: switches of one's own for every Chromium launched
// (space-separated), to try the page under other browser settings by hand.
const ownSwitches = (process.env.QH_CHROMIUM_ARGS || "").split(" ").filter((word) => word !== "");

// `extraArguments` are Chromium's switches; the other engines take only
// those they have an equivalent of (see engines.mjs).
export async function launch(extraArguments = []) {
  if (engine === "firefox") return launchFirefox(extraArguments);
  if (engine === "webkit") return launchWebKit(extraArguments);
  if (onDesktopGl && !process.env.DISPLAY) throw new Error("QH_WEB_GL=desktop needs an X display in DISPLAY");
  return puppeteer.launch({
    executablePath: process.env.QH_CHROMIUM || "/usr/bin/chromium",
    headless: !onDesktopGl,
    args: ["--no-sandbox", ...(onDesktopGl ? ["--use-angle=gl", "--ignore-gpu-blocklist"] : ["--enable-unsafe-swiftshader"]),
           ...ownSwitches, ...extraArguments],
    // puppeteer mutes Chromium by default; the tests hear its sound on the
    // sound server run.sh starts.
    ignoreDefaultArgs: ["--mute-audio"],
    protocolTimeout: 600000,
  });
}

// The renderer behind the page's WebGL 2, as the browser names it.
export function webGlRenderer(page) {
  return page.evaluate(() => {
    const gl = document.createElement("canvas").getContext("webgl2");
    const names = gl && gl.getExtension("WEBGL_debug_renderer_info");
    return gl ? gl.getParameter(names ? names.UNMASKED_RENDERER_WEBGL : gl.RENDERER) : "no WebGL 2";
  });
}

// A new tab of `width` x `height` CSS pixels at one device pixel each,
// whose console errors are kept for failure messages.
export async function openPage(browser, url, { width = 800, height = 600, beforeLoad } = {}) {
  const page = await browser.newPage();
  page.consoleLines = [];
  page.on("console", (line) => page.consoleLines.push(`${line.type()}: ${line.text()}`));
  page.on("pageerror", (error) => page.consoleLines.push(`page error: ${error.message}`));
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad);
  await page.goto(url, { waitUntil: "load" });
  return page;
}

// Waits until `predicate` (run in the page) is true; a failure names what
// was awaited and what the page said.  Asks the page again and again rather
// than once for the whole wait: one protocol call may last no longer than
// the launch's protocolTimeout, which long renders outlast.
export async function waitInPage(page, predicate, what, timeout = 60000, ...args) {
  const deadline = Date.now() + timeout;
  try {
    for (;;) {
      const remaining = deadline - Date.now();
      if (remaining <= 0) throw new Error("timed out");
      const done = await page.waitForFunction(predicate, { timeout: Math.min(remaining, 60000), polling: 50 }, ...args)
        .then(() => true, (error) => { if (error.name === "TimeoutError") return false; throw error; });
      if (done) return;
    }
  } catch (error) {
    const state = await page.evaluate(() => JSON.stringify({ state: window.quittenhain?.state,
      message: window.quittenhain?.message, parts: window.quittenhain?.parts })).catch(() => "?");
    throw new Error(`waited ${timeout} ms for ${what}; page: ${state}\n${page.consoleLines.slice(-15).join("\n")}`);
  }
}

// Whether an element is laid out and visible.
export function visible(page, selector) {
  return page.$eval(selector, (element) => {
    const box = element.getBoundingClientRect();
    return box.width > 0 && box.height > 0 && getComputedStyle(element).visibility !== "hidden";
  }).catch(() => false);
}
