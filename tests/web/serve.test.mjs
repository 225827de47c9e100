// scripts/serve-web.sh: serves a built folder on this machine and says
// where; refuses a folder without the build.
import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { get } from "node:http";
import { mkdtemp, rm, writeFile } from "node:fs/promises";
import { createServer } from "node:net";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { describe, test } from "node:test";

import { repoRoot } from "./support/places.mjs";

const script = join(repoRoot, "scripts/serve-web.sh");

function freePort() {
  return new Promise((resolve) => {
    const probe = createServer().listen(0, "127.0.0.1", () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

// The runner turns node's own fetch off (see run.sh): plain http instead.
function fetchText(url) {
  return new Promise((resolve, reject) => get(url, (response) => {
    let body = "";
    response.on("data", (text) => { body += text; });
    response.on("end", () => resolve({ type: response.headers["content-type"], body }));
  }).on("error", reject));
}

// Runs the script until its first line of output (or its end).
function start(args) {
  const child = spawn(script, args, { stdio: ["ignore", "pipe", "pipe"] });
  let out = "";
  let err = "";
  child.stderr.on("data", (text) => { err += text; });
  const firstLine = new Promise((resolve) => {
    child.stdout.on("data", (text) => { out += text; if (out.includes("\n")) resolve(); });
    child.on("exit", resolve);
  });
  // "close" comes once the output is read to its end as well.
  const exited = new Promise((resolve) => child.on("close", (code) => resolve(code)));
  return { child, firstLine, exited, output: () => ({ out, err }) };
}

describe("serve-web.sh", () => {
  test("serves the folder on the port asked for, the module as WebAssembly, and prints the address", async (t) => {
    const folder = await mkdtemp(join(tmpdir(), "quittenhain-serve-"));
    t.after(() => rm(folder, { recursive: true, force: true }));
    for (const [name, text] of [["index.html", "<p>page</p>"], ["quittenhain.js", "//"], ["quittenhain.data", "QH"],
                                ["quittenhain.wasm", "\0asm"]])
      await writeFile(join(folder, name), text);
    const port = await freePort();
    const server = start(["--port", String(port), folder]);
    t.after(() => server.child.kill());
    await server.firstLine;
    assert.match(server.output().out, new RegExp(`http://localhost:${port}/`));
    let page;
    for (let tries = 0; tries < 50 && !page; ++tries) {
      page = await fetchText(`http://127.0.0.1:${port}/`).catch(() => null);
      if (!page) await new Promise((resolve) => setTimeout(resolve, 100));
    }
    assert.equal(page.body, "<p>page</p>");
    assert.equal((await fetchText(`http://127.0.0.1:${port}/quittenhain.wasm`)).type, "application/wasm");
  });

  test("refuses a folder without the build, saying what to run", async () => {
    const server = start(["--port", String(await freePort()), join(tmpdir(), "quittenhain-no-such-folder")]);
    assert.equal(await server.exited, 1);
    assert.match(server.output().err, /is missing; build the web version first with scripts\/build-web\.sh/);
  });

  test("refuses a built folder that lacks a file its page names", async (t) => {
    const folder = await mkdtemp(join(tmpdir(), "quittenhain-serve-"));
    t.after(() => rm(folder, { recursive: true, force: true }));
    const files = { program: "quittenhain-0123456789ab.js", module: "quittenhain-123456789abc.wasm",
                    data: "quittenhain-23456789abcd.data" };
    await writeFile(join(folder, "index.html"),
                    `<script id="quittenhain-files" type="application/json">${JSON.stringify(files)}</script>`);
    await writeFile(join(folder, files.program), "//");
    await writeFile(join(folder, files.module), "\0asm");
    const server = start(["--port", String(await freePort()), folder]);
    assert.equal(await server.exited, 1);
    assert.match(server.output().err, /quittenhain-23456789abcd\.data is missing/);
  });

  test("refuses a port that is not a port, however long the number", async () => {
    for (const port of ["80x", "0", "65536", "99999999999999999999"]) {
      const server = start(["--port", port]);
      assert.equal(await server.exited, 2, port);
      assert.equal(server.output().err, `serve-web.sh: the port must be a number from 1 to 65535, not '${port}'\n`);
    }
  });

  // Refused in one line before the address is printed, not with a trace
  // after it.
  test("refuses a port in use, and one this user may not open, in one line", async (t) => {
    const folder = await mkdtemp(join(tmpdir(), "quittenhain-serve-"));
    t.after(() => rm(folder, { recursive: true, force: true }));
    for (const name of ["index.html", "quittenhain.js", "quittenhain.data"]) await writeFile(join(folder, name), "");
    const holder = createServer();
    await new Promise((resolve) => holder.listen(0, "127.0.0.1", resolve));
    t.after(() => holder.close());
    const port = holder.address().port;
    const cases = [[port, /^serve-web\.sh: port \d+ is already in use; choose another with --port\n$/]];
    if (process.getuid() !== 0)
      cases.push([80, /^serve-web\.sh: this user may not open port 80 \(ports below 1024 need root\)/]);
    for (const [asked, message] of cases) {
      const server = start(["--port", String(asked), folder]);
      assert.equal(await server.exited, 2, String(asked));
      assert.equal(server.output().out, "");
      assert.match(server.output().err, message);
    }
  });
});
