// The page in headless chromium, driven as a user drives it: it loads without a console error and
// without a request leaving 127.0.0.1, shows the native CL, redraws when the angle's slider is
// moved with the keyboard (the colour at a point then being the core's Cp colour there), zooms
// with the wheel, and answers an address value that is no number with a sentence. The time of a
// redraw is printed, not judged. ORVEK_SITE: the built page; ORVEK_BATCH: the native orvek-batch;
// CHROMIUM: the browser (default /usr/bin/chromium); ORVEK_SCREENSHOTS: a folder for the
// README's pictures, when given.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import path from "node:path";
import { launchChromium, serveSite } from "./serve.mjs";

const site = process.env.ORVEK_SITE;
const batch = process.env.ORVEK_BATCH;
assert.ok(site && batch, "ORVEK_SITE and ORVEK_BATCH name the page's folder and orvek-batch");

let server, browser, origin;
const outside = [];

before(async () => {
  server = await serveSite(site);
  origin = server.origin;
  browser = await launchChromium();
});

after(async () => {
  await browser?.close();
  server?.close();
});

// A page at the address, with every console error and every request beyond 127.0.0.1 noted.
async function open(query, width = 1280, height = 1000) {
  const page = await browser.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  const errors = [];
  page.on("console", (m) => { if (m.type() === "error") errors.push(m.text()); });
  page.on("pageerror", (e) => errors.push(String(e)));
  await page.setRequestInterception(true);
  page.on("request", (r) => {
    const url = new URL(r.url());
    if (url.protocol === "data:" || url.protocol === "blob:" || url.hostname === "127.0.0.1") r.continue();
    else { outside.push(r.url()); r.abort(); }
  });
  await page.goto(`${origin}/index.html${query}`);
  await page.waitForSelector("body[data-ready]");
  return { page, errors };
}

function nativeSolve(F, G, m, alpha) {
  return JSON.parse(execFileSync(batch, ["solve", "--F", F, "--G", G, "--m", m, "--alpha", alpha, "--np", "51"].map(String),
    { encoding: "utf8" }));
}

// The canvas pixel's colour and the core's Cp colour at that pixel's centre (the view's centre and
// scale as the page keeps them: 0.5, 0 and 300 pixels a chord at first).
async function pixelAndCoreColour(page, col, row) {
  return page.evaluate((col, row) => {
    const c = document.getElementById("flow");
    const [r, g, b] = c.getContext("2d").getImageData(col, row, 1, 1).data;
    const x = 0.5 + (col + 0.5 - c.width / 2) / 300, y = -(row + 0.5 - c.height / 2) / 300;
    const f = window.orvekCore.flowAt(x, y, false);
    return { pixel: [r, g, b], core: window.orvekCore.cpColour(f.Cp), inside: f.inside };
  }, col, row);
}

test("the page shows the native coefficients, redraws on the keyboard and zooms", async () => {
  const { page, errors } = await open("?F=0.1&G=0.05&m=2&alpha=5");
  const native = nativeSolve(0.1, 0.05, 2, 5);
  for (const [id, key] of [["CL", "CL"], ["CMc4", "CMc4"], ["Alfa0", "Alfa0"]]) {
    const shown = await page.$eval(`#${id}`, (e) => ({ text: e.textContent, value: Number(e.dataset.value) }));
    assert.match(shown.text, /^-?\d+\.\d{4,}$/, `${id} as text with at least four decimals`);
    assert.ok(Math.abs(shown.value - native[key]) <= 1e-12, `${id}: page ${shown.value}, orvek-batch ${native[key]}`);
    assert.ok(Math.abs(Number(shown.text) - native[key]) <= 5e-7, `${id} text ${shown.text}`);
  }

  // The streamlines off, so the colours show; then the angle up one step from the keyboard.
  const first = await page.$eval("#flow", (c) => Number(c.dataset.redraws));
  await page.focus("#lines");
  await page.keyboard.press("Space");
  await page.waitForFunction((r) => Number(document.getElementById("flow").dataset.redraws) > r, {}, first);
  const redraws = await page.$eval("#flow", (c) => Number(c.dataset.redraws));
  await page.focus("#alpha-slider");
  await page.keyboard.press("ArrowRight");
  await page.waitForFunction((r) => Number(document.getElementById("flow").dataset.redraws) > r, {}, redraws);
  assert.match(page.url(), /alpha=5\.1(&|$)/, "the address follows the slider");
  const moved = nativeSolve(0.1, 0.05, 2, 5.1);
  assert.ok(Math.abs(Number(await page.$eval("#CL", (e) => e.dataset.value)) - moved.CL) <= 1e-12);
  for (const [col, row] of [[60, 60], [150, 330], [520, 120], [300, 100]]) {
    const p = await pixelAndCoreColour(page, col, row);
    assert.ok(!p.inside, `(${col}, ${row}) lies in the flow`);
    assert.deepEqual(p.pixel, p.core, `colour at pixel (${col}, ${row})`);
  }
  console.log(`field redraw in the page (600 x 400): ${Number(await page.$eval("#flow", (c) => c.dataset.fieldMs)).toFixed(1)} ms`);

  // The wheel zooms about the pointer: the picture changes.
  const before = await page.$eval("#flow", (c) => c.toDataURL());
  const box = await (await page.$("#flow")).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.wheel({ deltaY: -400 });
  await page.waitForFunction((r) => Number(document.getElementById("flow").dataset.redraws) > r, {}, redraws + 1);
  assert.notEqual(await page.$eval("#flow", (c) => c.toDataURL()), before, "the zoom changed the view");

  assert.deepEqual(errors, [], "no console error");
  assert.deepEqual(outside, [], "no request beyond 127.0.0.1");
  await page.close();
});

test("an address value that is no number is answered with a sentence", async () => {
  const { page, errors } = await open("?F=0.1&G=0.05&m=2&alpha=abc");
  const message = await page.$eval("#message", (e) => e.textContent);
  assert.match(message, /alpha=abc/);
  assert.match(message, /no number/);
  assert.notEqual(await page.$eval("#CL", (e) => e.textContent), "", "the case shown instead is calculated");
  const refused = await open("?F=0.1&G=0.05&m=3&alpha=2");
  assert.match(await refused.page.$eval("#message", (e) => e.textContent), /airfoil/);
  assert.deepEqual([...errors, ...refused.errors], []);
  await page.close();
  await refused.page.close();
});

test("pictures for the README", { skip: !process.env.ORVEK_SCREENSHOTS }, async () => {
  const folder = process.env.ORVEK_SCREENSHOTS;
  const query = "?F=0.1&G=0.05&m=2&alpha=6&re=1000000";
  const desktop = await open(query, 1280, 900);
  await desktop.page.screenshot({ path: path.join(folder, "web.png"), fullPage: true });
  const phone = await open(query, 390, 844);
  await phone.page.screenshot({ path: path.join(folder, "web-phone.png"), fullPage: true });
  await desktop.page.close();
  await phone.page.close();
});
