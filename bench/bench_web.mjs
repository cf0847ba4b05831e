// The field redraw of the web page at 600 x 400 in headless chromium: the Cp colours of the whole
// view (F 0.1, G 0.05, m 1.9 at 5 degrees, the view x -1..2, y -1..1 of bench_flow), through the
// WebAssembly vector kernels and through the scalar ones, alternating, the median of 30 redraws
// each. In the same run, the native figures of the same field: bench_flow's FieldView (the
// kernel alone, without the colours) scalar, on SSE2's two lanes and on the widest set, when the
// native benchmarks are built. Usage (after tools/build-web.sh and npm ci in tests/web):
//   node bench/bench_web.mjs      ORVEK_BENCH names the native orvek_bench (build/bench/ by default)
import { spawnSync } from "node:child_process";
import { existsSync } from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..");
const { launchChromium, serveSite } = await import(path.join(root, "tests/web/serve.mjs"));

// FieldView's median time in ms with ORVEK_SIMD set to `set` ("" for the widest), and its label.
function nativeFieldView(bench, arg, set) {
  const run = spawnSync(
    bench,
    [`--benchmark_filter=^FieldView/${arg}$`, "--benchmark_format=json", "--benchmark_repetitions=5",
     "--benchmark_report_aggregates_only=true"],
    { encoding: "utf8", env: { ...process.env, ORVEK_SIMD: set } });
  if (run.status !== 0) return null;
  const median = JSON.parse(run.stdout).benchmarks.find((b) => b.aggregate_name === "median");
  return median ? { ms: median.real_time, label: median.label } : null;
}

const server = await serveSite(process.env.ORVEK_SITE || path.join(root, "build-web/site"));
const browser = await launchChromium();
try {
  const page = await browser.newPage();
  await page.goto(`${server.origin}/index.html`);
  await page.waitForSelector("body[data-ready]");
  const figures = await page.evaluate(() => {
    const core = window.orvekCore;
    core.setFlow(0.1, 0.05, 1.9, 5, NaN);
    // The two rows alternate, so a change of the machine's speed during the run falls on both.
    const times = { true: [], false: [] };
    for (let k = 0; k < 70; ++k) {
      const simd = k % 2 === 0;
      const t0 = performance.now();
      core.renderField(-1, 2, -1, 1, 600, 400, false, simd);
      if (k >= 10) times[simd].push(performance.now() - t0);  // the first ones warm up
    }
    const median = (simd) => {
      const t = times[simd].sort((a, b) => a - b);
      return t[t.length >> 1];
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

const bench = process.env.ORVEK_BENCH || path.join(root, "build/bench/orvek_bench");
if (existsSync(bench)) {
  console.log(`native FieldView, the same field's kernel without the colours (median of 5):`);
  for (const [arg, set] of [[0, ""], [1, "sse2"], [1, ""]]) {
    const f = nativeFieldView(bench, arg, set);
    if (f) console.log(`  ${f.label.padEnd(15)} ${f.ms.toFixed(2)} ms`);
  }
} else {
  console.log(`no native figure: ${bench} is not built`);
}
