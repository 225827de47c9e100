// Writes the web folder from the web build:
//   node publish-web.mjs BUILD_FOLDER PAGE OUT_FOLDER
// The data file is compressed (gzip, undone in the page by the browser's
// DecompressionStream), so a plain static host sends less than half of it.
// Every file but index.html gets a content hash in its name, so no cache
// can hand a new page an old file; the page learns the names, the sizes
// (for its progress bar) and the pack's own checksum (to refuse a file of
// another build at once) from the block `quittenhain-files` in index.html,
// which is replaced here.
import { createHash } from "node:crypto";
import { mkdirSync, readFileSync, readdirSync, rmSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { gzipSync } from "node:zlib";

const [build, pageSource, out] = process.argv.slice(2);
if (!out) {
  console.error("usage: publish-web.mjs BUILD_FOLDER PAGE OUT_FOLDER");
  process.exit(2);
}

const hashed = (stem, extension, bytes) =>
  `${stem}-${createHash("sha256").update(bytes).digest("hex").slice(0, 12)}.${extension}`;

const pack = readFileSync(join(build, "quittenhain.data"));
const data = gzipSync(pack, { level: 9 });
const program = readFileSync(join(build, "quittenhain.js"));
const wasm = readFileSync(join(build, "quittenhain.wasm"));

const files = {
  program: hashed("quittenhain", "js", program),
  module: hashed("quittenhain", "wasm", wasm),
  moduleBytes: wasm.length,
  data: hashed("quittenhain", "data", data),
  dataBytes: data.length,
  packBytes: pack.length,
  // The pack's last four bytes: the CRC-32 of everything before them.
  packChecksum: pack.readUInt32LE(pack.length - 4).toString(16).padStart(8, "0"),
};

const page = readFileSync(pageSource, "utf8");
const block = /(<script id="quittenhain-files" type="application\/json">)[^<]*(<\/script>)/;
if (!block.test(page)) {
  console.error(`publish-web.mjs: ${pageSource} has no quittenhain-files block to fill in`);
  process.exit(1);
}

rmSync(out, { recursive: true, force: true });
mkdirSync(out, { recursive: true });
writeFileSync(join(out, files.program), program);
writeFileSync(join(out, files.module), wasm);
writeFileSync(join(out, files.data), data);
writeFileSync(join(out, "index.html"), page.replace(block, (_, open, close) => open + JSON.stringify(files) + close));
for (const name of readdirSync(out).sort()) console.log(name);
