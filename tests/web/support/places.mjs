// Where the browser tests find what they serve and call.
import { existsSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";

export const repoRoot = resolve(dirname(fileURLToPath(import.meta.url)), "../../..");
// The web build's folder, as scripts/build-web.sh writes it.
export const distFolder = resolve(process.env.QH_WEB_DIST || join(repoRoot, "dist/quittenhain-web"));
// scripts/build-web.sh's build folder, which also holds the feature scenes'
// module (quittenhain_features.js).
export const webBuildFolder = resolve(repoRoot, process.env.QH_WEB_BUILD_DIR || "build-web");
export const pageSource = join(repoRoot, "platform/web/page/index.html");
export const standInScript = join(repoRoot, "tests/web/standin/quittenhain.js");
export const goldenFolder = join(repoRoot, "tests/golden");
// The native build's comparer of frames with the golden references.
export const compareGolden = resolve(process.env.QH_COMPARE_GOLDEN || join(repoRoot, "build/tests/compare_golden"));

export function requireWebBuild() {
  for (const file of ["index.html", "quittenhain.js", "quittenhain.wasm", "quittenhain.data"])
    if (!existsSync(join(distFolder, file)))
      throw new Error(`${join(distFolder, file)} is missing: run scripts/build-web.sh first`);
}
