// The web folder as the build publishes it (tools/pack/publish-web.mjs):
// the compressed data file unpacks to the resources of res/manifest.txt
// byte for byte, every file's name carries its content's hash, the page
// names them, and the whole transfer from a plain static host stays small.
import assert from "node:assert/strict";
import { createHash } from "node:crypto";
import { readFileSync, readdirSync, statSync } from "node:fs";
import { join } from "node:path";
import { before, describe, test } from "node:test";
import { gunzipSync } from "node:zlib";

import { distFolder, repoRoot, requireWebBuild } from "./support/places.mjs";

// Reads the pack's table (see assets/ResourcePack.h).
function readPack(pack) {
  assert.equal(pack.subarray(0, 8).toString("latin1"), "QHDATA\r\n");
  const count = pack.readUInt32LE(8);
  const entries = [];
  let at = 12;
  for (let i = 0; i < count; ++i) {
    const typeLength = pack.readUInt16LE(at), nameLength = pack.readUInt16LE(at + 2);
    const offset = pack.readUInt32LE(at + 4), size = pack.readUInt32LE(at + 8);
    at += 12;
    const type = pack.subarray(at, at + typeLength).toString("latin1");
    const name = pack.subarray(at + typeLength, at + typeLength + nameLength).toString("latin1");
    at += typeLength + nameLength;
    entries.push({ type, name, bytes: pack.subarray(offset, offset + size) });
  }
  return entries;
}

function manifestEntries() {
  const folder = join(repoRoot, "res");
  return readFileSync(join(folder, "manifest.txt"), "utf8").split("\n").map((line) => line.trim())
    .filter((line) => line && !line.startsWith("#"))
    .map((line) => { const [type, name, file] = line.split(/\s+/); return { type, name, path: join(folder, file) }; });
}

let files;
before(() => { files = requireWebBuild(); });

describe("the published web folder", () => {
  test("the compressed data file unpacks to exactly the resources of the manifest", () => {
    const packed = readFileSync(join(distFolder, files.data));
    assert.deepEqual([...packed.subarray(0, 2)], [0x1f, 0x8b], "gzip-compressed");
    const pack = gunzipSync(packed);
    assert.equal(pack.length, files.packBytes, "the size the page is told");
    assert.equal(pack.readUInt32LE(pack.length - 4).toString(16).padStart(8, "0"), files.packChecksum,
                 "the checksum the page is told");
    const entries = readPack(pack);
    const expected = manifestEntries();
    assert.deepEqual(entries.map((e) => `${e.type} ${e.name}`), expected.map((e) => `${e.type} ${e.name}`));
    for (const [i, entry] of entries.entries())
      assert.ok(entry.bytes.equals(readFileSync(expected[i].path)), `${entry.name} is ${expected[i].path} unchanged`);
  });

  test("each file's name carries the hash of its content; the folder holds nothing else", () => {
    for (const name of [files.program, files.module, files.data]) {
      const hash = createHash("sha256").update(readFileSync(join(distFolder, name))).digest("hex").slice(0, 12);
      assert.match(name, new RegExp(`^quittenhain-${hash}\\.(js|wasm|data)$`), name);
    }
    assert.equal(statSync(join(distFolder, files.module)).size, files.moduleBytes);
    assert.equal(statSync(join(distFolder, files.data)).size, files.dataBytes);
    assert.deepEqual(readdirSync(distFolder).sort(), ["index.html", files.program, files.module, files.data].sort());
  });

  test("a plain static host sends at most 8 MB for the whole page", (t) => {
    const total = readdirSync(distFolder).reduce((sum, name) => sum + statSync(join(distFolder, name)).size, 0);
    t.diagnostic(`the page fetches ${(total / 1e6).toFixed(2)} MB`);
    assert.ok(total <= 8e6, `${total} bytes`);
  });
});
