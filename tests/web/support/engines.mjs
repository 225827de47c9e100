// The three browser engines the page is tested in, chosen by QH_WEB_ENGINE:
// chromium (the default), firefox, webkit.  Chromium and Firefox are driven
// by puppeteer-core, WebKitGTK through WebDriver (webkit.mjs).
import puppeteer from "puppeteer-core";

export const engines = ["chromium", "firefox", "webkit"];
export const engine = process.env.QH_WEB_ENGINE || "chromium";
if (!engines.includes(engine)) throw new Error(`QH_WEB_ENGINE=${engine}: not one of ${engines.join(", ")}`);

// Options for node:test that run a test only in the listed engines, saying
// why elsewhere: `test("…", onlyIn(["chromium"], "device emulation is Chromium's"), async (t) => …)`.
export function onlyIn(names, reason) {
  return { skip: !names.includes(engine) && `${engine}: ${reason}` };
}

// Chromium's switches the tests pass and what the other engines do instead.
// Sound without a click: Firefox has preferences for it (below); WebKit's
// WebDriver clicks count as the viewer's own, so the tests' clicks start it.
const equivalents = { "--autoplay-policy=no-user-gesture-required": true };

export function refuseOtherSwitches(extraArguments) {
  const unknown = extraArguments.filter((argument) => !(argument in equivalents));
  if (unknown.length > 0)
    throw new Error(`${engine} has no equivalent of Chromium's ${unknown.join(" ")}: run this test in Chromium only`);
}

export const firefoxBinary = process.env.QH_FIREFOX || "/usr/bin/firefox-esr";

// Debian's Firefox ESR, headless.  Firefox decides whether WebGL may run
// from a probe of the display's OpenGL; with no X display (DISPLAY unset) the
// probe has nothing to look at, and WebGL 2 is refused ("AllowWebgl2:false
// restricts context creation on this system") however the page asks.
// webgl.force-enabled skips that decision, and MOZ_WEBGL_FORCE_EGL makes it
// open Mesa through EGL, which needs no display: llvmpipe, as Chromium on
// Mesa.  With an X display the probe passes by itself and this changes
// nothing.
export async function launchFirefox(extraArguments = []) {
  refuseOtherSwitches(extraArguments);
  return puppeteer.launch({
    browser: "firefox",
    executablePath: firefoxBinary,
    headless: true,
    env: { ...process.env, MOZ_WEBGL_FORCE_EGL: "1" },
    extraPrefsFirefox: {
      "webgl.force-enabled": true,
      // Sound may start without a click, as Chromium's autoplay switch allows.
      "media.autoplay.default": 0,
      "media.autoplay.block-webaudio": false,
    },
    protocolTimeout: 600000,
  });
}
