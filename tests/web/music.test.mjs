// The music decoded by the WebAssembly module is the program's music: as
// long as the native decode and within 1 of it in every sample (the
// browser's libmpg123 has no x86 decoder paths), with the WebAssembly
// decode's own checksum pinned so that any change to it shows.
//   node --no-experimental-fetch --test tests/web/music.test.mjs
// Needs dist/quittenhain-web/ (scripts/build-web.sh); the comparison with
// the native decode also needs build/tests/decode_music (scripts/build.sh),
// or QH_DECODE_MUSIC naming it, and is skipped without it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { createHash } from 'node:crypto';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { gunzipSync } from 'node:zlib';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { builtFiles } from './support/places.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const dist = process.env.QH_WEB_DIST || path.join(root, 'dist/quittenhain-web');
const nativeDecoder = process.env.QH_DECODE_MUSIC || path.join(root, 'build/tests/decode_music');
const kSampleFrames = 11333700;
const kWasmChecksum = '27ab36f2969a8350d56e536157e4846fee6a37cedf7c7091d4c6af569a554f93';

async function decodeInWebAssembly() {
  const files = builtFiles(dist);
  const createQuittenhain = createRequire(import.meta.url)(path.join(dist, files.program));
  const module = await createQuittenhain({ noInitialRun: true, print: () => {}, printErr: () => {},
                                           locateFile: () => path.join(dist, files.module) });
  const data = gunzipSync(fs.readFileSync(path.join(dist, files.data)));
  const bytes = module._malloc(data.length);
  const pcmAt = module._malloc(4);
  module.HEAPU8.set(data, bytes);
  const frames = module._qhDecodeMusic(bytes, data.length, pcmAt);
  const start = module.HEAPU32[pcmAt >> 2];
  // A copy: the module's memory may move when it grows.
  const pcm = frames > 0 ? new Int16Array(module.HEAP16.buffer.slice(start, start + frames * 4)) : null;
  return { frames, pcm };
}

const decoded = decodeInWebAssembly();

test('the WebAssembly decode is as long as the native one and keeps its checksum', async () => {
  const { frames, pcm } = await decoded;
  assert.equal(frames, kSampleFrames);
  const checksum = createHash('sha256').update(new Uint8Array(pcm.buffer)).digest('hex');
  assert.equal(checksum, kWasmChecksum);
});

test('every sample lies within 1 of the native decode', async (t) => {
  if (!fs.existsSync(nativeDecoder)) {
    t.skip(`no native decoder at ${nativeDecoder}`);
    return;
  }
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'quittenhain-music-'));
  try {
    const file = path.join(scratch, 'native.raw');
    execFileSync(nativeDecoder, [file]);
    const raw = fs.readFileSync(file);
    const native = new Int16Array(raw.buffer, raw.byteOffset, raw.length / 2);
    const { pcm } = await decoded;
    assert.equal(pcm.length, native.length);
    let worst = 0;
    let worstAt = 0;
    let differing = 0;
    for (let i = 0; i < native.length; i++) {
      const difference = Math.abs(pcm[i] - native[i]);
      if (difference > 0) differing++;
      if (difference > worst) { worst = difference; worstAt = i; }
    }
    t.diagnostic(`${differing} of ${native.length} samples differ (by at most ${worst})`);
    assert.ok(worst <= 1, `sample ${worstAt} (frame ${worstAt >> 1}) is off by ${worst}`);
  } finally {
    fs.rmSync(scratch, { recursive: true, force: true });
  }
});
