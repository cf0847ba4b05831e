// The page: reads the case from the address and the controls, asks the core (the WebAssembly
// module) for every number, and draws what it gives. No formula of the flow is written here.
"use strict";

(function () {
  const $ = (id) => document.getElementById(id);
  const state = {
    F: 0.1, G: 0.05, m: 2, alpha: 5,
    thickness: 0.12, camber: 0.02, teAngle: 0,
    given: "fgm", lines: true, kutta: true, gammaRatio: 1, circle: false, re: null,
  };
  // The view: centre and pixels per unit length, per plane.
  const home = { airfoil: { cx: 0.5, cy: 0, scale: 300 }, circle: { cx: 0, cy: 0, scale: 110 } };
  let view = { ...home.airfoil };
  let core = null;
  let shown = null;  // what the last redraw drew: airfoil, lines, points, extent
  const params = ["F", "G", "m", "alpha", "thickness", "camber", "te-angle", "gamma"];
  const keyOf = { "te-angle": "teAngle", gamma: "gammaRatio" };
  const key = (name) => keyOf[name] || name;

  function say(sentence) { $("message").textContent = sentence || ""; }
  const fixed = (v, n) => (Number.isFinite(v) ? v.toFixed(n) : "");

  // The address: ?F=&G=&m=&alpha= or ?thickness=&camber=&te-angle=&alpha=, plus the optional rest.
  function readAddress() {
    const q = new URLSearchParams(window.location.search);
    const refused = [];
    const take = (name) => {
      if (!q.has(name)) return;
      const v = core.readNumber(q.get(name));
      if (v === null) refused.push(`${name}=${q.get(name)}`);
      else state[key(name)] = v;
    };
    ["F", "G", "m", "alpha", "thickness", "camber", "te-angle", "gamma", "re"].forEach(take);
    if (q.has("thickness") || q.has("camber") || q.has("te-angle")) state.given = "shape";
    if (q.has("gamma")) state.kutta = false;
    if (q.get("plane") === "circle") state.circle = true;
    if (refused.length) {
      return `The address gives ${refused.join(", ")}: ${refused.length > 1 ? "these are" : "this is"} no number ` +
             "(a point or a comma as decimal separator, nothing else); the value shown instead is kept.";
    }
    return "";
  }

  function writeAddress() {
    const q = new URLSearchParams();
    if (state.given === "fgm") { q.set("F", state.F); q.set("G", state.G); q.set("m", state.m); }
    else { q.set("thickness", state.thickness); q.set("camber", state.camber); q.set("te-angle", state.teAngle); }
    q.set("alpha", state.alpha);
    if (!state.kutta) q.set("gamma", state.gammaRatio);
    if (state.circle) q.set("plane", "circle");
    if (state.re !== null) q.set("re", state.re);
    window.history.replaceState(null, "", "?" + q.toString());
  }

  function showControls() {
    for (const name of params) {
      const v = state[key(name)];
      $(name + "-box").value = String(v);
      $(name + "-slider").value = String(v);
    }
    $("re-box").value = state.re === null ? "" : String(state.re);
    $("given-fgm").checked = state.given === "fgm";
    $("given-shape").checked = state.given === "shape";
    $("fgm").classList.toggle("hidden", state.given !== "fgm");
    $("shape").classList.toggle("hidden", state.given !== "shape");
    $("kutta").checked = state.kutta;
    $("gamma-slider").disabled = $("gamma-box").disabled = state.kutta;
    $("circle").checked = state.circle;
  }

  // The airfoil the controls give, or the core's sentence why there is none.
  function airfoil() {
    if (state.given === "fgm") return { F: state.F, G: state.G, m: state.m };
    const d = core.design(state.thickness, state.camber, state.teAngle);
    return d;
  }

  function toPixel(x, y, c) { return [c.width / 2 + (x - view.cx) * view.scale, c.height / 2 - (y - view.cy) * view.scale]; }
  function toPlane(px, py, c) { return [view.cx + (px - c.width / 2) / view.scale, view.cy - (py - c.height / 2) / view.scale]; }
  function extent(c) {
    const [x0, y1] = toPlane(0, 0, c), [x1, y0] = toPlane(c.width, c.height, c);
    return { x0, x1, y0, y1 };
  }

  // The whole case: coefficients, measurement, flow, chart; the view redrawn.
  function calculate() {
    writeAddress();
    const a = airfoil();
    if (a.error) return refuse(a.error);
    if (state.given === "shape") { state.F = a.F; state.G = a.G; state.m = a.m; }
    const solved = core.solve(a.F, a.G, a.m, state.alpha, 201);
    if (solved.error) return refuse(solved.error);
    const geometry = core.measure(a.F, a.G, a.m);
    if (geometry.error) return refuse(geometry.error);
    const made = core.setFlow(a.F, a.G, a.m, state.alpha, NaN);
    if (made) return refuse(made);
    const kutta = core.flowSummary().kuttaCirculation;
    if (!state.kutta) {
      const byHand = core.setFlow(a.F, a.G, a.m, state.alpha, state.gammaRatio * kutta);
      if (byHand) return refuse(byHand);
    }
    say("");
    const summary = core.flowSummary();
    setResult("CL", solved.CL, 6);
    setResult("CMc4", solved.CMc4, 6);
    setResult("Alfa0", solved.Alfa0, 6);
    setResult("Gamma", summary.circulation, 6);
    setResult("thickness", geometry.thickness, 6);
    setResult("camber", geometry.camber, 6);
    setResult("te-angle", geometry.teAngle, 4);
    viscousResults(a);
    shown = { airfoil: a, solved };
    drawChart(solved);
    redraw();
  }

  function setResult(id, value, decimals) {
    const el = $(id);
    el.textContent = fixed(value, decimals);
    el.dataset.value = String(value);
  }

  function viscousResults(a) {
    $("CD").textContent = ""; $("transition").textContent = "";
    if (state.re === null) { $("CD").textContent = "(give a Reynolds number)"; return; }
    const v = core.viscous(a.F, a.G, a.m, state.alpha, state.re);
    if (v.error) { $("CD").textContent = v.error; return; }
    setResult("CD", v.CD, 6);
    $("transition").textContent = `upper ${fixed(v.transitionUpper, 4)}, lower ${fixed(v.transitionLower, 4)}`;
    if (v.notes) $("CD").textContent += " — " + v.notes;
  }

  function refuse(sentence) {
    say(sentence);
    for (const id of ["CL", "CMc4", "Alfa0", "Gamma", "thickness", "camber", "te-angle", "CD", "transition"]) $(id).textContent = "";
    shown = null;
    const c = $("flow"), g = c.getContext("2d");
    g.fillStyle = "#eee"; g.fillRect(0, 0, c.width, c.height);
    const ch = $("chart"), gc = ch.getContext("2d");
    gc.clearRect(0, 0, ch.width, ch.height);
  }

  // The flow view: the Cp colours, the streamlines (the dividing one heavier), the body and the
  // stagnation points, all from the core for the rectangle in view.
  function redraw() {
    if (!shown) return;
    const c = $("flow"), g = c.getContext("2d");
    const e = extent(c);
    const t0 = performance.now();
    const rgba = core.renderField(e.x0, e.x1, e.y0, e.y1, c.width, c.height, state.circle, core.simdAvailable());
    const image = new ImageData(new Uint8ClampedArray(rgba), c.width, c.height);
    g.putImageData(image, 0, 0);
    const lines = core.streamlines(e.x0, e.x1, e.y0, e.y1, 25, state.circle);
    const body = core.outline(state.circle);
    const stagnation = core.stagnationPoints(state.circle);
    shown.lines = lines.error ? [] : lines;
    shown.body = body; shown.stagnation = stagnation; shown.extent = e;
    if (state.lines) drawVectors(g, c);
    else drawBody(g, c);
    c.dataset.redraws = String(Number(c.dataset.redraws || 0) + 1);
    c.dataset.fieldMs = String(performance.now() - t0);
  }

  function drawVectors(g, c) {
    g.lineJoin = "round";
    for (const l of shown.lines) {
      g.beginPath();
      for (let k = 0; k < l.x.length; ++k) {
        const [px, py] = toPixel(l.x[k], l.y[k], c);
        if (k === 0) g.moveTo(px, py); else g.lineTo(px, py);
      }
      g.strokeStyle = l.dividing ? "#ff5a1f" : "rgba(255,255,255,0.85)";
      g.lineWidth = l.dividing ? 2.5 : 1;
      g.stroke();
    }
    drawBody(g, c);
    for (let k = 0; k < shown.stagnation.x.length; ++k) {
      const [px, py] = toPixel(shown.stagnation.x[k], shown.stagnation.y[k], c);
      g.beginPath(); g.arc(px, py, 5, 0, 2 * Math.PI);
      g.fillStyle = "#e0001b"; g.fill(); g.strokeStyle = "#fff"; g.lineWidth = 1.5; g.stroke();
    }
  }

  function drawBody(g, c) {
    g.beginPath();
    for (let k = 0; k < shown.body.x.length; ++k) {
      const [px, py] = toPixel(shown.body.x[k], shown.body.y[k], c);
      if (k === 0) g.moveTo(px, py); else g.lineTo(px, py);
    }
    g.closePath();
    g.strokeStyle = "#111"; g.lineWidth = 1.5; g.stroke();
  }

  function drawBar() {
    const c = $("bar"), g = c.getContext("2d");
    const w = c.width - 40, left = 20;
    for (let k = 0; k < w; ++k) {
      const [r, gr, b] = core.cpColour(-2 + 3 * k / (w - 1));
      g.fillStyle = `rgb(${r},${gr},${b})`; g.fillRect(left + k, 0, 1, 18);
    }
    g.fillStyle = "#222"; g.font = "12px sans-serif"; g.textAlign = "center";
    for (const cp of [-2, -1.5, -1, -0.5, 0, 0.5, 1]) g.fillText(String(cp), left + (cp + 2) / 3 * (w - 1), 32);
    g.textAlign = "left"; g.fillText("Cp", 0, 13);
  }

  // 1 - Cp along the chord: the upper surface (indices past the middle) and the lower one.
  function drawChart(solved) {
    const c = $("chart"), g = c.getContext("2d");
    g.clearRect(0, 0, c.width, c.height);
    const n = solved.x.length - 1, mid = Math.floor((n + 1) / 2);
    let lo = 0, hi = 1;
    for (let i = 1; i <= n; ++i) { lo = Math.min(lo, solved.Cu[i]); hi = Math.max(hi, solved.Cu[i]); }
    hi = Math.min(hi, 12);
    const L = 48, R = 12, T = 12, B = 32, W = c.width - L - R, H = c.height - T - B;
    const px = (x) => L + x * W, py = (v) => T + (hi - v) / (hi - lo) * H;
    g.strokeStyle = "#888"; g.lineWidth = 1; g.strokeRect(L, T, W, H);
    g.fillStyle = "#222"; g.font = "12px sans-serif"; g.textAlign = "center";
    for (let x = 0; x <= 1.0001; x += 0.2) g.fillText(x.toFixed(1), px(x), T + H + 16);
    g.fillText("x / c", L + W / 2, T + H + 29);
    g.textAlign = "right";
    const step = (hi - lo) > 6 ? 2 : (hi - lo) > 3 ? 1 : 0.5;
    for (let v = Math.ceil(lo / step) * step; v <= hi; v += step) {
      g.fillText(String(v), L - 4, py(v) + 4);
      g.strokeStyle = "#e4e4e4"; g.beginPath(); g.moveTo(L, py(v)); g.lineTo(L + W, py(v)); g.stroke();
    }
    g.save(); g.translate(12, T + H / 2); g.rotate(-Math.PI / 2); g.textAlign = "center"; g.fillText("1 - Cp", 0, 0); g.restore();
    const curve = (from, to, colour, label, ly) => {
      g.beginPath();
      for (let i = from; i <= to; ++i) {
        const v = Math.min(solved.Cu[i], hi);
        if (i === from) g.moveTo(px(solved.x[i]), py(v)); else g.lineTo(px(solved.x[i]), py(v));
      }
      g.strokeStyle = colour; g.lineWidth = 2; g.stroke();
      g.fillStyle = colour; g.textAlign = "left"; g.fillText(label, L + W - 60, ly);
    };
    g.save(); g.beginPath(); g.rect(L, T, W, H); g.clip();
    curve(1, mid, "#1f5fbf", "lower", T + 34);
    curve(mid, n, "#c0392b", "upper", T + 18);
    g.restore();
  }

  // u, v, Cp and psi under the pointer, from the core.
  function showPointer(px, py) {
    if (!shown) return;
    const c = $("flow"), r = c.getBoundingClientRect();
    const [x, y] = toPlane((px - r.left) * c.width / r.width, (py - r.top) * c.height / r.height, c);
    const f = core.flowAt(x, y, state.circle);
    const at = `at (${fixed(x, 4)}, ${fixed(y, 4)})`;
    if (f.error) $("pointer").textContent = `${at}: ${f.error}`;
    else if (f.inside) $("pointer").textContent = `${at}: inside the ${state.circle ? "circle" : "airfoil"}`;
    else $("pointer").textContent = `${at}: u ${fixed(f.u, 5)}, v ${fixed(f.v, 5)}, Cp ${fixed(f.Cp, 5)}, ψ ${fixed(f.psi, 5)}`;
  }

  function zoomAbout(factor, px, py) {
    const c = $("flow");
    const [x, y] = toPlane(px, py, c);
    view.scale = Math.min(Math.max(view.scale * factor, 5), 1e6);
    const [x2, y2] = toPlane(px, py, c);
    view.cx += x - x2; view.cy += y - y2;
    redraw();
  }

  function canvasPoint(ev) {
    const c = $("flow"), r = c.getBoundingClientRect();
    return [(ev.clientX - r.left) * c.width / r.width, (ev.clientY - r.top) * c.height / r.height];
  }

  function wireView() {
    const c = $("flow");
    const pointers = new Map();
    let pinch = 0;
    c.addEventListener("pointerdown", (ev) => { c.setPointerCapture(ev.pointerId); pointers.set(ev.pointerId, canvasPoint(ev)); c.style.cursor = "grabbing"; });
    c.addEventListener("pointermove", (ev) => {
      showPointer(ev.clientX, ev.clientY);
      if (!pointers.has(ev.pointerId)) return;
      const before = pointers.get(ev.pointerId), now = canvasPoint(ev);
      pointers.set(ev.pointerId, now);
      if (pointers.size === 1) {
        view.cx -= (now[0] - before[0]) / view.scale; view.cy += (now[1] - before[1]) / view.scale;
        redraw();
      } else if (pointers.size === 2) {
        const [p, q] = [...pointers.values()];
        const d = Math.hypot(p[0] - q[0], p[1] - q[1]);
        if (pinch > 0) zoomAbout(d / pinch, (p[0] + q[0]) / 2, (p[1] + q[1]) / 2);
        pinch = d;
      }
    });
    const up = (ev) => { pointers.delete(ev.pointerId); pinch = 0; c.style.cursor = "grab"; };
    c.addEventListener("pointerup", up);
    c.addEventListener("pointercancel", up);
    c.addEventListener("wheel", (ev) => { ev.preventDefault(); const [px, py] = canvasPoint(ev); zoomAbout(Math.exp(-ev.deltaY * 0.0015), px, py); }, { passive: false });
    c.addEventListener("keydown", (ev) => {
      const step = 40 / view.scale;
      const moves = { ArrowLeft: [-step, 0], ArrowRight: [step, 0], ArrowUp: [0, step], ArrowDown: [0, -step] };
      if (moves[ev.key]) { view.cx += moves[ev.key][0]; view.cy += moves[ev.key][1]; redraw(); }
      else if (ev.key === "+" || ev.key === "=") zoomAbout(1.25, c.width / 2, c.height / 2);
      else if (ev.key === "-") zoomAbout(0.8, c.width / 2, c.height / 2);
      else return;
      ev.preventDefault();
    });
  }

  // A slider moves its box and the case; a box is read as the windows read typed numbers.
  function wireParameter(name) {
    const slider = $(name + "-slider"), box = $(name + "-box");
    slider.addEventListener("input", () => {
      state[key(name)] = Number(slider.value);
      box.value = slider.value;
      calculate();
    });
    box.addEventListener("change", () => {
      const v = core.readNumber(box.value);
      if (v === null) { say(`"${box.value}" is no number: give a number with a point or a comma as decimal separator.`); return; }
      state[key(name)] = v;
      slider.value = String(v);
      calculate();
    });
  }

  function download(name, blob) {
    const a = document.createElement("a");
    a.href = URL.createObjectURL(blob); a.download = name;
    document.body.appendChild(a); a.click(); a.remove();
    setTimeout(() => URL.revokeObjectURL(a.href), 1000);
  }

  function saveCoordinates(format) {
    const a = airfoil();
    if (a.error) return say(a.error);
    const file = core.coordinates(a.F, a.G, a.m, state.alpha, format);
    if (file.error) return say(file.error);
    const stem = file.name.replace(/[^A-Za-z0-9.=-]+/g, "_");
    download(stem + (format === "csv" ? ".csv" : ".dat"), new Blob([file.text], { type: "text/plain" }));
  }

  // The view as SVG: the colours as an embedded picture, the lines and points as vectors.
  function svgPicture() {
    const c = $("flow");
    const field = document.createElement("canvas");
    field.width = c.width; field.height = c.height;
    const e = shown.extent;
    const rgba = core.renderField(e.x0, e.x1, e.y0, e.y1, c.width, c.height, state.circle, core.simdAvailable());
    field.getContext("2d").putImageData(new ImageData(new Uint8ClampedArray(rgba), c.width, c.height), 0, 0);
    const path = (xs, ys, close) => {
      let d = "";
      for (let k = 0; k < xs.length; ++k) { const [px, py] = toPixel(xs[k], ys[k], c); d += (k ? "L" : "M") + px.toFixed(2) + " " + py.toFixed(2); }
      return d + (close ? "Z" : "");
    };
    let s = `<svg xmlns="http://www.w3.org/2000/svg" width="${c.width}" height="${c.height}" viewBox="0 0 ${c.width} ${c.height}">\n`;
    s += `<image width="${c.width}" height="${c.height}" href="${field.toDataURL("image/png")}"/>\n`;
    for (const l of shown.lines) {
      s += `<path d="${path(l.x, l.y, false)}" fill="none" stroke="${l.dividing ? "#ff5a1f" : "#ffffff"}" stroke-width="${l.dividing ? 2.5 : 1}"/>\n`;
    }
    s += `<path d="${path(shown.body.x, shown.body.y, true)}" fill="none" stroke="#111" stroke-width="1.5"/>\n`;
    for (let k = 0; k < shown.stagnation.x.length; ++k) {
      const [px, py] = toPixel(shown.stagnation.x[k], shown.stagnation.y[k], c);
      s += `<circle cx="${px.toFixed(2)}" cy="${py.toFixed(2)}" r="5" fill="#e0001b" stroke="#fff"/>\n`;
    }
    return s + "</svg>\n";
  }

  function wire() {
    params.forEach(wireParameter);
    for (const r of document.querySelectorAll("input[name=given]")) {
      r.addEventListener("change", () => {
        if (r.value === state.given) return;
        // The shape of the airfoil shown carries over to the other way of giving it.
        if (r.value === "shape") {
          const g = core.measure(state.F, state.G, state.m);
          if (!g.error) { state.thickness = g.thickness; state.camber = g.camber; state.teAngle = g.teAngle; }
        }
        state.given = r.value;
        showControls();
        calculate();
      });
    }
    $("kutta").addEventListener("change", () => { state.kutta = $("kutta").checked; showControls(); calculate(); });
    $("circle").addEventListener("change", () => {
      state.circle = $("circle").checked;
      view = { ...(state.circle ? home.circle : home.airfoil) };
      calculate();
    });
    $("lines").addEventListener("change", () => { state.lines = $("lines").checked; redraw(); });
    $("re-box").addEventListener("change", () => {
      const text = $("re-box").value.trim();
      if (text === "") { state.re = null; calculate(); return; }
      const v = core.readNumber(text);
      if (v === null) { say(`"${text}" is no number: give a Reynolds number such as 1e6.`); return; }
      state.re = v;
      calculate();
    });
    $("save-selig").addEventListener("click", () => saveCoordinates("selig"));
    $("save-csv").addEventListener("click", () => saveCoordinates("csv"));
    $("save-png").addEventListener("click", () => { if (shown) $("flow").toBlob((b) => download("flow.png", b), "image/png"); });
    $("save-svg").addEventListener("click", () => { if (shown) download("flow.svg", new Blob([svgPicture()], { type: "image/svg+xml" })); });
    $("reset-view").addEventListener("click", () => { view = { ...(state.circle ? home.circle : home.airfoil) }; redraw(); });
    wireView();
  }

  createOrvek().then((module) => {
    core = module;
    window.orvekCore = core;  // for the checks driving the page
    const addressFault = readAddress();
    if (state.circle) view = { ...home.circle };
    showControls();
    wire();
    drawBar();
    calculate();
    if (addressFault) say(addressFault);
    document.body.dataset.ready = "1";
  });
})();
