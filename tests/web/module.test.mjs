// The web page's module against the desktop program's orvek-batch, on a table of airfoils: the
// coefficients and surface points, the flow field (through the vector kernels and the scalar
// ones), the streamlines and the coordinate files. ORVEK_SITE names the built page's folder,
// ORVEK_BATCH the native orvek-batch.
import { test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";

const site = process.env.ORVEK_SITE;
const batch = process.env.ORVEK_BATCH;
assert.ok(site && batch, "ORVEK_SITE and ORVEK_BATCH name the page's folder and orvek-batch");

// Node's fetch would look for the .wasm by path: the loader is handed its bytes.
const createOrvek = createRequire(import.meta.url)(path.join(site, "orvek.js"));
const core = await createOrvek({ wasmBinary: readFileSync(path.join(site, "orvek.wasm")) });

const Tolerance = 1e-12;
const airfoils = [
  { name: "Joukowsky", F: 0.1, G: 0.05, m: 2, alpha: 5 },
  { name: "symmetric Joukowsky at zero lift", F: 0.08, G: 0, m: 2, alpha: 0 },
  { name: "Karman-Trefftz", F: 0.12, G: 0.03, m: 1.9, alpha: -4.5 },
  { name: "thin, steep", F: 0.02, G: 0.08, m: 1.95, alpha: 14 },
  { name: "thick, negative camber", F: 0.25, G: -0.06, m: 1.85, alpha: 2.25 },
];

function run(...args) {
  return execFileSync(batch, args.map(String), { encoding: "utf8", maxBuffer: 1 << 28, stdio: ["ignore", "pipe", "pipe"] });
}

function airfoilArgs(a) {
  return ["--F", a.F, "--G", a.G, "--m", a.m, "--alpha", a.alpha];
}

function near(actual, expected, what) {
  if (expected === null || expected === "") {
    assert.ok(actual === null || Number.isNaN(actual), `${what}: ${actual}, expected none`);
    return;
  }
  const e = Number(expected);
  assert.ok(Math.abs(actual - e) <= Tolerance * Math.max(1, Math.abs(e)), `${what}: ${actual}, expected ${e}`);
}

for (const a of airfoils) {
  test(`solve: ${a.name}`, () => {
    const native = JSON.parse(run("solve", ...airfoilArgs(a), "--np", 201));
    const web = core.solve(a.F, a.G, a.m, a.alpha, 201);
    assert.equal(web.error, undefined);
    for (const k of ["CL", "CMc4", "Alfa0"]) near(web[k], native[k], k);
    for (let i = 1; i <= 201; ++i) {
      near(web.x[i], native.x[i - 1], `x[${i}]`);
      near(web.y[i], native.y[i - 1], `y[${i}]`);
      near(web.Cu[i], native.OneMinusCp[i - 1], `1-Cp[${i}]`);
    }
  });

  test(`field: ${a.name}`, () => {
    const rows = run("field", ...airfoilArgs(a), "--grid", "-0.6:1.7:24,-0.55:0.6:17").trim().split("\n").slice(1);
    const xs = [], ys = [], native = [];
    for (const row of rows) {
      const c = row.split(",");
      xs.push(Number(c[0]));
      ys.push(Number(c[1]));
      native.push(c.slice(2));
    }
    assert.equal(core.setFlow(a.F, a.G, a.m, a.alpha, NaN), "");
    assert.ok(native.some((c) => c[0] === ""), "the grid reaches inside the airfoil");
    for (const simd of [true, false]) {
      const web = core.flowAtPoints(xs, ys, simd);
      native.forEach((c, k) => {
        const where = `${simd ? "vector" : "scalar"} kernels at (${xs[k]}, ${ys[k]})`;
        near(web.u[k], c[0], `u ${where}`);
        near(web.v[k], c[1], `v ${where}`);
        near(web.Cp[k], c[2], `Cp ${where}`);
        near(web.psi[k], c[3], `psi ${where}`);
      });
    }
  });

  test(`streamlines: ${a.name}`, () => {
    const rows = run("streamlines", ...airfoilArgs(a), "--count", 9, "--extent", "-1:2,-0.8:0.8").trim().split("\n").slice(1);
    const native = [];
    for (const row of rows) {
      const [line, psi, x, y] = row.split(",").map(Number);
      if (!native[line - 1]) native[line - 1] = { psi, x: [], y: [] };
      native[line - 1].x.push(x);
      native[line - 1].y.push(y);
    }
    assert.equal(core.setFlow(a.F, a.G, a.m, a.alpha, NaN), "");
    const web = core.streamlines(-1, 2, -0.8, 0.8, 9, false);
    assert.equal(web.length, native.length, "number of lines");
    assert.ok(web.some((l) => l.dividing), "the dividing streamline is among them");
    web.forEach((l, k) => {
      near(l.psi, native[k].psi, `psi of line ${k + 1}`);
      assert.equal(l.x.length, native[k].x.length, `points of line ${k + 1}`);
      for (let i = 0; i < l.x.length; ++i) {
        near(l.x[i], native[k].x[i], `x of line ${k + 1} point ${i}`);
        near(l.y[i], native[k].y[i], `y of line ${k + 1} point ${i}`);
      }
    });
  });

  test(`coordinates: ${a.name}`, () => {
    for (const format of ["selig", "csv"]) {
      const native = run("export", "--F", a.F, "--G", a.G, "--m", a.m, "--alpha", a.alpha, "--format", format);
      const web = core.coordinates(a.F, a.G, a.m, a.alpha, format);
      assert.equal(web.error, undefined);
      assert.equal(web.text, native, format);
    }
  });
}

test("refusals are the core's sentences", () => {
  const native = (() => {
    try {
      run("solve", "--F", 0.1, "--G", 0.05, "--m", 5, "--alpha", 0, "--np", 51);
    } catch (e) {
      return e.stderr.toString().trim();
    }
    return "";
  })();
  const web = core.solve(0.1, 0.05, 5, 0, 51);
  assert.ok(web.error && native.includes(web.error), `page: ${web.error}; orvek-batch: ${native}`);
  assert.equal(core.readNumber("abc"), null);
  assert.equal(core.readNumber("2,5"), 2.5);
  assert.match(core.setFlow(-0.2, 0, 2, 0, NaN), /simple airfoil/);
});
