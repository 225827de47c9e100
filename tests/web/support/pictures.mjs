// Colour figures of a region of a PNG, decoded by the browser itself.
//
// `litShare` is the share of the region's pixels brighter than near-black;
// `lit` the mean colour of those pixels.
export function regionColours(page, png, { x, y, width, height }) {
  return page.evaluate(async (base64, x, y, width, height) => {
    const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    const bitmap = await createImageBitmap(new Blob([bytes], { type: "image/png" }));
    const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
    const context = canvas.getContext("2d");
    context.drawImage(bitmap, 0, 0);
    const pixels = context.getImageData(x, y, width, height).data;
    const sum = [0, 0, 0];
    let lit = 0;
    for (let i = 0; i < pixels.length; i += 4) {
      if (Math.max(pixels[i], pixels[i + 1], pixels[i + 2]) <= 48) continue;
      ++lit;
      for (let c = 0; c < 3; ++c) sum[c] += pixels[i + c];
    }
    return { size: [bitmap.width, bitmap.height], litShare: lit / (width * height),
             lit: sum.map((s) => (lit > 0 ? s / lit : 0)) };
  }, Buffer.from(png).toString("base64"), x, y, width, height);
}

// One frame the page collected in test mode, as its RGBA bytes.
export async function collectedFrame(page, i) {
  const frame = await page.evaluate((i) => {
    const { index, width, height, rgba } = window.quittenhain.frames[i];
    let text = "";
    for (let at = 0; at < rgba.length; at += 0x8000) text += String.fromCharCode(...rgba.subarray(at, at + 0x8000));
    return { index, width, height, rgba: btoa(text) };
  }, i);
  return { ...frame, rgba: Buffer.from(frame.rgba, "base64") };
}
