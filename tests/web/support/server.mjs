// A static file server on a free port of this machine, started by each test
// file for itself.  `replaced` maps a file name to other bytes, or to null
// for a file that is missing (404).
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { extname, join, normalize } from "node:path";

const types = { ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".wasm": "application/wasm",
                ".data": "application/octet-stream" };

export async function serve(folder, replaced = {}) {
  const server = createServer(async (request, response) => {
    let name = decodeURIComponent(new URL(request.url, "http://localhost").pathname).replace(/^\/+/, "");
    if (name === "") name = "index.html";
    if (normalize(name).startsWith("..")) { response.writeHead(403).end(); return; }
    try {
      const body = name in replaced ? replaced[name] : await readFile(join(folder, name));
      if (body === null) throw new Error("missing");
      response.writeHead(200, { "Content-Type": types[extname(name)] || "application/octet-stream",
                                "Content-Length": body.length, "Cache-Control": "no-store" });
      response.end(body);
    } catch {
      response.writeHead(404, { "Content-Type": "text/plain" }).end("not found");
    }
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  // The browser keeps its connections open for the next page: closing
  // drops them rather than waiting for it.
  const close = () => new Promise((resolve) => { server.close(resolve); server.closeAllConnections(); });
  return { url: `http://127.0.0.1:${server.address().port}/`, close };
}
