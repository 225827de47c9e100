// WebKitGTK (the engine of Safari) driven through WebDriver: Debian's
// WebKitWebDriver starting WebKitGTK's MiniBrowser, reached through the
// selenium-webdriver package.  MiniBrowser needs an X display (DISPLAY).
//
// The tests are written against puppeteer's Browser and Page; this wraps a
// WebDriver session in the part of that interface they use, so that the
// same test runs in every engine.  Each tab is a session of its own, with
// its own WebKitWebDriver, so tabs stay independent as puppeteer's are.
//
// What WebDriver cannot do as puppeteer does:
// - a script "before load" runs right after the page has loaded (WebDriver
//   has no hook before the page's own scripts), so it must not need to run
//   before them: stubs and recorders set up before the first click are fine;
// - console lines are gathered by a wrapper of the console put in at the same
//   moment, so what a page logs while loading is not seen.
import { spawn } from "node:child_process";
import { existsSync } from "node:fs";
import { createServer } from "node:net";
import { Builder, By, Key } from "selenium-webdriver";

import { refuseOtherSwitches } from "./engines.mjs";

export const miniBrowser = process.env.QH_MINIBROWSER || "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser";
const webDriver = process.env.QH_WEBKIT_WEBDRIVER || "/usr/bin/WebKitWebDriver";

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = createServer().once("error", reject).listen(0, "127.0.0.1", () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// A WebKitWebDriver on a free port, answering once its status says so.
async function startDriver() {
  const port = await freePort();
  const process_ = spawn(webDriver, [`--port=${port}`], { stdio: ["ignore", "ignore", "pipe"] });
  let errors = "";
  process_.stderr.on("data", (text) => { errors += text; });
  const exited = new Promise((resolve) => process_.once("exit", resolve));
  for (let tries = 0; tries < 200; ++tries) {
    if (process_.exitCode !== null) throw new Error(`WebKitWebDriver ended at once: ${errors}`);
    const up = await fetchStatus(port);
    if (up) return { port, stop: () => { process_.kill(); return exited; } };
    await sleep(50);
  }
  process_.kill();
  throw new Error(`WebKitWebDriver did not answer on port ${port}: ${errors}`);
}

async function fetchStatus(port) {
  const { get } = await import("node:http");
  return new Promise((resolve) => {
    get(`http://127.0.0.1:${port}/status`, (response) => { response.resume(); resolve(response.statusCode === 200); })
      .on("error", () => resolve(false));
  });
}

// The function given by a test, with its arguments, run in the page; a
// promise it returns is awaited there.  Exceptions come back as such.
const runner = `
  const done = arguments[arguments.length - 1];
  const [source, args, handle] = arguments[0];
  const handles = window.__qhHandles || (window.__qhHandles = []);
  try {
    const fn = (0, eval)("(" + source + ")");
    Promise.resolve(handle === null ? fn(...args) : fn(handles[handle], ...args))
      .then((value) => done({ value: value === undefined ? null : value }),
            (error) => done({ error: String(error && error.stack || error) }));
  } catch (error) {
    done({ error: String(error && error.stack || error) });
  }`;

// Keeps the page's console lines in the page for the tab to collect.
function catchConsole() {
  if (window.__qhConsole) return;
  window.__qhConsole = [];
  for (const type of ["log", "info", "warn", "error"]) {
    const original = console[type].bind(console);
    console[type] = (...parts) => { window.__qhConsole.push(`${type}: ${parts.join(" ")}`); original(...parts); };
  }
  window.addEventListener("error", (event) => window.__qhConsole.push(`page error: ${event.message}`));
}

class TimeoutError extends Error {
  constructor(message) { super(message); this.name = "TimeoutError"; }
}

class ElementHandle {
  constructor(tab, selector) { this.tab = tab; this.selector = selector; }

  async screenshot() {
    const element = await this.tab.driver.findElement(By.css(this.selector));
    return Buffer.from(await element.takeScreenshot(), "base64");
  }
}

class JsHandle {
  constructor(tab, index) { this.tab = tab; this.index = index; }
  evaluate(fn, ...args) { return this.tab.run(fn, args, this.index); }
}

class WebKitTab {
  constructor(driver, stopDriver) {
    this.driver = driver;
    this.stopDriver = stopDriver;
    this.consoleLines = [];
    this.beforeLoad = [];
    this.size = null;
    this.keyboard = { press: (key) => this.press(key) };
  }

  async run(fn, args = [], handle = null) {
    const result = await this.driver.executeAsyncScript(runner, [fn.toString(), args, handle]);
    if (result && "error" in result) throw new Error(`in the page: ${result.error}`);
    return result ? result.value : null;
  }

  evaluate(fn, ...args) { return this.run(fn, args); }

  async evaluateHandle(fn, ...args) {
    const index = await this.evaluate((source, args) => {
      const handles = window.__qhHandles || (window.__qhHandles = []);
      handles.push((0, eval)("(" + source + ")")(...args));
      return handles.length - 1;
    }, fn.toString(), args);
    return new JsHandle(this, index);
  }

  // puppeteer's events: console lines are collected by catchConsole.
  on() { return this; }

  async evaluateOnNewDocument(fn) { this.beforeLoad.push(fn); }

  async goto(url) {
    await this.driver.get(url);
    await this.evaluate(catchConsole);
    for (const fn of this.beforeLoad) await this.evaluate(fn);
    if (this.size) await this.fitViewport();
  }

  // The window made as large as it must be for the page's own area
  // (innerWidth × innerHeight) to be the size asked.
  async setViewport({ width, height, deviceScaleFactor = 1 }) {
    if (deviceScaleFactor !== 1) throw new Error("WebKitGTK on X has a device pixel ratio of 1 only");
    this.size = { width, height };
    await this.fitViewport();
  }

  async fitViewport() {
    const { width, height } = this.size;
    const window_ = this.driver.manage().window();
    for (let tries = 0; tries < 5; ++tries) {
      const inner = await this.driver.executeScript("return [window.innerWidth, window.innerHeight];");
      if (inner[0] === width && inner[1] === height) return;
      const outer = await window_.getRect();
      await window_.setRect({ x: 0, y: 0, width: outer.width + width - inner[0], height: outer.height + height - inner[1] });
      await sleep(100);
    }
    throw new Error(`the page's area could not be made ${width}x${height}`);
  }

  async collectConsole() {
    const lines = await this.driver.executeScript(
      "const lines = window.__qhConsole || []; window.__qhConsole = []; return lines;").catch(() => []);
    this.consoleLines.push(...lines);
  }

  // Polled as puppeteer's waitForFunction: true once the predicate is,
  // a TimeoutError when the time is up.
  async waitForFunction(predicate, { timeout = 30000, polling = 50 } = {}, ...args) {
    const deadline = Date.now() + timeout;
    for (;;) {
      if (await this.evaluate(predicate, ...args)) return true;
      await this.collectConsole();
      if (Date.now() >= deadline) throw new TimeoutError(`waiting for ${predicate} failed: timeout ${timeout} ms exceeded`);
      await sleep(polling);
    }
  }

  async click(selector) { await this.driver.findElement(By.css(selector)).click(); }

  async press(key) {
    const keys = { Escape: Key.ESCAPE, Enter: Key.ENTER, Space: Key.SPACE };
    if (!(key in keys)) throw new Error(`no WebDriver key for ${key}`);
    await this.driver.actions().sendKeys(keys[key]).perform();
  }

  async $(selector) {
    const found = await this.driver.findElements(By.css(selector));
    return found.length > 0 ? new ElementHandle(this, selector) : null;
  }

  async $eval(selector, fn, ...args) {
    return this.evaluate((selector, source, args) => {
      const element = document.querySelector(selector);
      if (!element) throw new Error(`no element matches ${selector}`);
      return (0, eval)("(" + source + ")")(element, ...args);
    }, selector, fn.toString(), args);
  }

  async screenshot() { return Buffer.from(await this.driver.takeScreenshot(), "base64"); }

  async close() {
    if (!this.driver) return;
    const driver = this.driver;
    this.driver = null;
    await driver.quit().catch(() => {});
    await this.stopDriver();
  }
}

// A "browser": a factory of WebKit tabs, closed together.
export async function launchWebKit(extraArguments = []) {
  refuseOtherSwitches(extraArguments);
  if (!process.env.DISPLAY) throw new Error("WebKitGTK's MiniBrowser needs an X display in DISPLAY");
  for (const file of [miniBrowser, webDriver])
    if (!existsSync(file)) throw new Error(`${file} is missing: install webkit2gtk-driver`);
  const tabs = new Set();
  return {
    async newPage() {
      // A session that does not come up within a minute (seen once on a
      // loaded machine: the driver waiting on a MiniBrowser that had gone)
      // is given up and started again, once.
      let session = null;
      for (let attempt = 0; attempt < 2 && session === null; ++attempt) {
        const { port, stop } = await startDriver();
        const built = new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
          browserName: "MiniBrowser",
          "webkitgtk:browserOptions": { binary: miniBrowser, args: ["--automation"] },
        }).build();
        built.catch(() => {});   // a late failure of a session given up
        // The timer is cleared once the race is decided: left running, it
        // held every test file open for a minute after its last test.
        let timer;
        const givenUp = new Promise((resolve) => { timer = setTimeout(() => resolve(null), 60000); });
        const driver = await Promise.race([built, givenUp]).catch(() => null);
        clearTimeout(timer);
        if (driver === null) {
          await stop();
          continue;
        }
        await driver.manage().setTimeouts({ script: 600000, pageLoad: 120000 });
        session = { driver, stop };
      }
      if (session === null) throw new Error("WebKitWebDriver gave no MiniBrowser session twice");
      const tab = new WebKitTab(session.driver, session.stop);
      tabs.add(tab);
      const close = tab.close.bind(tab);
      tab.close = () => { tabs.delete(tab); return close(); };
      return tab;
    },
    async version() {
      const tab = await this.newPage();
      try { return `WebKitGTK ${(await tab.driver.getCapabilities()).get("browserVersion")}`; }
      finally { await tab.close(); }
    },
    async close() { await Promise.all([...tabs].map((tab) => tab.close())); },
  };
}
