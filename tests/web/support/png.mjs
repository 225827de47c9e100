// Writes RGBA pixels (top row first) as an RGB PNG, for the golden comparer.
import { deflateSync } from "node:zlib";

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

function crc32(bytes) {
  let c = 0xffffffff;
  for (const byte of bytes) c = crcTable[(c ^ byte) & 255] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
  const out = Buffer.alloc(12 + data.length);
  out.writeUInt32BE(data.length, 0);
  out.write(type, 4, "latin1");
  data.copy(out, 8);
  out.writeUInt32BE(crc32(out.subarray(4, 8 + data.length)), 8 + data.length);
  return out;
}

export function encodePng(width, height, rgba) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 2, 0, 0, 0], 8);   // 8 bits, RGB, no interlace
  const rows = Buffer.alloc(height * (1 + width * 3));
  for (let y = 0; y < height; ++y) {
    const row = y * (1 + width * 3);
    for (let x = 0; x < width; ++x) {
      rows[row + 1 + x * 3] = rgba[(y * width + x) * 4];
      rows[row + 2 + x * 3] = rgba[(y * width + x) * 4 + 1];
      rows[row + 3 + x * 3] = rgba[(y * width + x) * 4 + 2];
    }
  }
  return Buffer.concat([Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]), chunk("IHDR", header),
                        chunk("IDAT", deflateSync(rows)), chunk("IEND", Buffer.alloc(0))]);
}
