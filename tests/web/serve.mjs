// The built page served on 127.0.0.1 (a free port) and the system's chromium, headless, for the
// page's checks and its benchmark.
import { createReadStream, existsSync } from "node:fs";
import http from "node:http";
import path from "node:path";
import puppeteer from "puppeteer-core";

const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm" };

export async function serveSite(site) {
  const server = http.createServer((req, res) => {
    const file = path.join(site, path.normalize(new URL(req.url, "http://x").pathname));
    if (!file.startsWith(site) || !existsSync(file)) {
      res.writeHead(404).end();
      return;
    }
    res.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
    createReadStream(file).pipe(res);
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return { origin: `http://127.0.0.1:${server.address().port}`, close: () => server.close() };
}

export function launchChromium() {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking"],
  });
}
