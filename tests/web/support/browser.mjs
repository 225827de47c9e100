// Debian's Chromium, headless, driven through puppeteer-core.  WebGL 2 runs
// there on SwiftShader, which newer Chromium enables only when asked.
import puppeteer from "puppeteer-core";

export async function launch(extraArguments = []) {
  return puppeteer.launch({
    executablePath: process.env.QH_CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--enable-unsafe-swiftshader", ...extraArguments],
    protocolTimeout: 600000,
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
// was awaited and what the page said.
export async function waitInPage(page, predicate, what, timeout = 60000, ...args) {
  try {
    await page.waitForFunction(predicate, { timeout, polling: 50 }, ...args);
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
