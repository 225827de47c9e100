// Where the browser tests find what they serve and call.
import { existsSync, readFileSync } from "node:fs";
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

// The names (with their content hashes), sizes and checksum the build wrote
// into the built page's block quittenhain-files.
export function builtFiles(folder = distFolder) {
  const page = readFileSync(join(folder, "index.html"), "utf8");
  const block = /<script id="quittenhain-files" type="application\/json">([^<]*)<\/script>/.exec(page);
  if (!block) throw new Error(`${join(folder, "index.html")} names no files`);
  return JSON.parse(block[1]);
}

export function requireWebBuild() {
  if (!existsSync(join(distFolder, "index.html")))
    throw new Error(`${join(distFolder, "index.html")} is missing: run scripts/build-web.sh first`);
  const files = builtFiles();
  for (const file of [files.program, files.module, files.data])
    if (!existsSync(join(distFolder, file)))
      throw new Error(`${join(distFolder, file)} is missing: run scripts/build-web.sh first`);
  return files;
}
