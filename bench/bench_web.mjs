// The field redraw of the web page at 600 x 400 in headless chromium: the Cp colours of the whole
// view (F 0.1, G 0.05, m 1.9 at 5 degrees, the view x -1..2, y -1..1 of bench_flow), through the
// WebAssembly vector kernels and through the scalar ones, the median of 30 redraws each. The
// native figure beside it: bench_flow's FieldView. Usage (after tools/build-web.sh and npm ci in
// tests/web): node bench/bench_web.mjs
import path from "node:path";
import { fileURLToPath } from "node:url";

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..");
const { launchChromium, serveSite } = await import(path.join(root, "tests/web/serve.mjs"));

const server = await serveSite(process.env.ORVEK_SITE || path.join(root, "build-web/site"));
const browser = await launchChromium();
try {
  const page = await browser.newPage();
  await page.goto(`${server.origin}/index.html`);
  await page.waitForSelector("body[data-ready]");
  const figures = await page.evaluate(() => {
    const core = window.orvekCore;
    core.setFlow(0.1, 0.05, 1.9, 5, NaN);
    const median = (simd) => {
      const times = [];
      for (let k = 0; k < 33; ++k) {
        const t0 = performance.now();
        core.renderField(-1, 2, -1, 1, 600, 400, false, simd);
        if (k >= 3) times.push(performance.now() - t0);  // the first ones warm up
      }
      times.sort((a, b) => a - b);
      return times[times.length >> 1];
    };
    return { simdAvailable: core.simdAvailable(), simd: median(true), scalar: median(false) };
  });
  console.log(`field redraw 600 x 400 in headless chromium (median of 30):`);
  console.log(`  wasm SIMD row   ${figures.simd.toFixed(2)} ms${figures.simdAvailable ? "" : " (not in this build)"}`);
  console.log(`  scalar wasm     ${figures.scalar.toFixed(2)} ms`);
  console.log(`  SIMD / scalar   ${(figures.scalar / figures.simd).toFixed(2)} x faster`);
} finally {
  await browser.close();
  server.close();
}
