// SPDX-License-Identifier: MIT
// The overview's chart on a canvas: both cycle lengths and the common count over the modulus,
// the one-residue moduli and the rows without figures marked; zoom, pan, reset and hover.

const COLOURS = {
  length1: '#1f5fbf',
  length2: '#d07a00',
  count: '#2e8b3a',
  single: '#c00000',
  failed: '#777777',
  axis: '#444444',
  grid: 'rgba(0,0,0,0.08)',
  band: 'rgba(0,0,0,0.04)',
};
// The series' colours as pixels (bytes red, green, blue, alpha in memory).
const PIXELS = [COLOURS.length1, COLOURS.length2, COLOURS.count].map((hex) => {
  const value = parseInt(hex.slice(1), 16);
  return ((0xff << 24) | ((value & 0xff) << 16) | (value & 0xff00) | (value >> 16)) >>> 0;
});
const MARGIN = { left: 64, right: 30, top: 26, bottom: 70 };
// The rows without figures sit in a band of their own under the plot.
const FAILED_BAND = 12;
// Below this the wheel and the rubber band zoom no further (in moduli).
const NARROWEST = 4;

// A chart of `rows` ({count, from} and the arrays lengths1, lengths2,
// counts and kinds by position: kind 1 one common residue, 2 and 3 no
// figures) on `canvas`.
// `describe(i)` answers the hover's text of row i. `onPick(i)` is called on
// a click at a row.
export class OverviewChart {
  constructor(canvas, tooltip, rows, { describe, onPick }) {
    Object.assign(this, { canvas, tooltip, rows, describe, onPick });
    this.logarithmic = true;
    this.span = { from: 2, to: 3 };
    this.shown = { from: 2, to: 3 };
    this.top = 1;
    this.drag = null;
    this.pending = false;
    this.layer = document.createElement('canvas');
    this.listen();
  }

  // A new range: every modulus of it shown, the height found afresh.
  setRange(from, to) {
    this.span = { from, to: Math.max(to, from + 1) };
    this.shown = { ...this.span };
    this.top = 1;
    this.redraw();
  }

  resetZoom() {
    this.shown = { ...this.span };
    this.redraw();
  }

  setLogarithmic(on) {
    this.logarithmic = on;
    this.redraw();
  }

  // The rows grew (or changed): draws at the next frame.
  redraw() {
    if (this.pending) return;
    this.pending = true;
    requestAnimationFrame(() => {
      this.pending = false;
      this.draw();
    });
  }

  plot() {
    const width = this.canvas.clientWidth;
    const height = this.canvas.clientHeight;
    return { left: MARGIN.left, top: MARGIN.top, width: Math.max(10, width - MARGIN.left - MARGIN.right),
      height: Math.max(10, height - MARGIN.top - MARGIN.bottom - FAILED_BAND), cssWidth: width, cssHeight: height };
  }

  x(modulus, p) {
    return p.left + ((modulus - this.shown.from) / (this.shown.to - this.shown.from)) * p.width;
  }

  modulusAt(px, p) {
    return this.shown.from + ((px - p.left) / p.width) * (this.shown.to - this.shown.from);
  }

  y(value, p) {
    if (this.logarithmic) {
      const top = Math.log10(this.top + 1);
      return p.top + p.height - (Math.log10(value + 1) / top) * p.height;
    }
    return p.top + p.height - (value / this.top) * p.height;
  }

  draw() {
    const { canvas, rows } = this;
    const p = this.plot();
    const ratio = window.devicePixelRatio || 1;
    if (canvas.width !== Math.round(p.cssWidth * ratio) || canvas.height !== Math.round(p.cssHeight * ratio)) {
      canvas.width = Math.round(p.cssWidth * ratio);
      canvas.height = Math.round(p.cssHeight * ratio);
    }
    const g = canvas.getContext('2d');
    g.setTransform(ratio, 0, 0, ratio, 0, 0);
    g.fillStyle = getComputedStyle(canvas).backgroundColor || '#ffffff';
    g.fillRect(0, 0, p.cssWidth, p.cssHeight);

    // Each series as the pixels its points fall on: of the rows that fall
    // on the same pixel one dot is drawn, so that a million rows draw as
    // fast as a thousand and still show how the values spread.
    const columns = Math.max(1, Math.floor(p.width));
    const lines = Math.max(1, Math.floor(p.height) + 1);
    const single = new Uint8Array(columns);
    const failed = new Uint8Array(columns);
    const first = Math.max(0, Math.floor(this.shown.from) - rows.from);
    const last = Math.min(rows.count - 1, Math.ceil(this.shown.to) - rows.from);
    const scale = columns / (this.shown.to - this.shown.from);
    const { lengths1, lengths2, counts, kinds } = rows;
    let top = 1;
    for (let i = first; i <= last; ++i) {
      if (kinds[i] < 2) top = Math.max(top, lengths1[i], lengths2[i], counts[i]);
    }
    this.top = top;
    // The dots go straight into the pixels of an image of the plot, the
    // series in turn (the counts last); one image is drawn. A value's line
    // is y(value) - p.top, worked out here without a call for each dot.
    const logarithmic = this.logarithmic;
    const perUnit = p.height / (logarithmic ? Math.log10(top + 1) : top);
    const image = new ImageData(columns + 1, lines + 1);
    const pixels = new Uint32Array(image.data.buffer);
    const width = columns + 1;
    const offset = rows.from - this.shown.from;
    for (const [values, colour] of [[lengths1, PIXELS[0]], [lengths2, PIXELS[1]], [counts, PIXELS[2]]]) {
      for (let i = first; i <= last; ++i) {
        const column = Math.min(columns - 1, Math.floor((offset + i) * scale));
        if (column < 0) continue;
        const kind = kinds[i];
        if (kind >= 2) {
          failed[column] = 1;
          continue;
        }
        if (kind === 1) single[column] = 1;
        const value = values[i];
        const y = p.height - (logarithmic ? Math.log10(value + 1) : value) * perUnit;
        const line = Math.min(lines - 1, Math.max(0, Math.round(y)));
        const at = line * width + column;
        pixels[at] = colour;
        pixels[at + 1] = colour;
        pixels[at + width] = colour;
        pixels[at + width + 1] = colour;
      }
    }

    this.drawAxes(g, p);
    this.layer.width = width;
    this.layer.height = lines + 1;
    this.layer.getContext('2d').putImageData(image, 0, 0);
    g.drawImage(this.layer, p.left - 0.5, p.top - 1);
    // One common residue: a mark above the plot; no figures: one under it.
    g.fillStyle = COLOURS.single;
    for (let c = 0; c < columns; ++c) if (single[c]) g.fillRect(p.left + c - 0.5, p.top - 9, 2, 7);
    g.fillStyle = COLOURS.failed;
    const bandTop = p.top + p.height + 4;
    for (let c = 0; c < columns; ++c) if (failed[c]) g.fillRect(p.left + c - 0.5, bandTop, 2, FAILED_BAND - 4);
    this.drawLegend(g, p);
    if (this.drag && this.drag.zoom && Math.abs(this.drag.now - this.drag.start) > 2) {
      g.fillStyle = 'rgba(31,95,191,0.15)';
      const a = Math.min(this.drag.start, this.drag.now);
      g.fillRect(a, p.top, Math.abs(this.drag.now - this.drag.start), p.height);
    }
  }

  drawAxes(g, p) {
    g.strokeStyle = COLOURS.axis;
    g.fillStyle = COLOURS.axis;
    g.font = '11px sans-serif';
    g.lineWidth = 1;
    g.strokeRect(p.left + 0.5, p.top + 0.5, p.width, p.height);
    g.fillStyle = COLOURS.band;
    g.fillRect(p.left, p.top + p.height + 3, p.width, FAILED_BAND - 2);
    g.fillStyle = COLOURS.axis;
    // The modulus axis: about one label per 90 pixels, at round numbers.
    g.textAlign = 'center';
    g.textBaseline = 'top';
    for (const tick of roundTicks(this.shown.from, this.shown.to, Math.max(2, Math.floor(p.width / 90)))) {
      const x = this.x(tick, p);
      g.fillRect(x, p.top + p.height, 1, 4);
      g.fillText(String(tick), x, p.top + p.height + FAILED_BAND + 4);
    }
    g.textAlign = 'right';
    g.fillText('Modul', p.left - 8, p.top + p.height + FAILED_BAND + 4);
    // The value axis, logarithmic in powers of ten or linear.
    g.textAlign = 'right';
    g.textBaseline = 'middle';
    const ticks = [];
    if (this.logarithmic) {
      for (let v = 1; v <= this.top * 10 && ticks.length < 16; v *= 10) if (v <= this.top || ticks.length === 0) ticks.push(v);
      ticks.unshift(0);
    } else {
      ticks.push(...roundTicks(0, this.top, Math.max(2, Math.floor(p.height / 40))));
    }
    for (const tick of ticks) {
      const y = this.y(tick, p);
      g.fillStyle = COLOURS.grid;
      g.fillRect(p.left, y, p.width, 1);
      g.fillStyle = COLOURS.axis;
      g.fillText(tick >= 1e6 ? tick.toExponential(0).replace('e+', 'e') : String(tick), p.left - 4, y);
    }
    g.fillText('–', p.left - 4, p.top + p.height + FAILED_BAND / 2 + 2);
    g.save();
    g.translate(12, p.top + p.height / 2);
    g.rotate(-Math.PI / 2);
    g.textAlign = 'center';
    g.fillText(this.logarithmic ? 'Zykellänge, Anzahl (logarithmisch)' : 'Zykellänge, Anzahl', 0, 0);
    g.restore();
  }

  drawLegend(g, p) {
    const entries = [['Zykellänge Folge 1', COLOURS.length1], ['Zykellänge Folge 2', COLOURS.length2],
      ['Anzahl gemeinsamer Reste', COLOURS.count], ['genau ein gemeinsamer Rest', COLOURS.single],
      ['ohne Zahlen', COLOURS.failed]];
    g.textAlign = 'left';
    g.textBaseline = 'middle';
    let x = p.left;
    let y = p.top + p.height + FAILED_BAND + 30;
    for (const [text, colour] of entries) {
      const width = g.measureText(text).width + 22;
      if (x + width > p.left + p.width && x > p.left) {
        x = p.left;
        y += 15;
      }
      g.fillStyle = colour;
      g.fillRect(x, y - 4, 10, 8);
      g.fillStyle = COLOURS.axis;
      g.fillText(text, x + 13, y);
      x += width;
    }
  }

  // Zooms the modulus axis by `factor` (below 1: in) around `modulus`.
  zoom(factor, modulus) {
    const width = Math.max(NARROWEST, (this.shown.to - this.shown.from) * factor);
    const share = (modulus - this.shown.from) / (this.shown.to - this.shown.from);
    this.setShown(modulus - share * width, modulus - share * width + width);
  }

  pan(moduli) {
    this.setShown(this.shown.from + moduli, this.shown.to + moduli);
  }

  // Never past the data, never narrower than NARROWEST moduli.
  setShown(from, to) {
    const width = Math.min(this.span.to - this.span.from, Math.max(NARROWEST, to - from));
    const start = Math.min(Math.max(from, this.span.from), this.span.to - width);
    this.shown = { from: start, to: start + width };
    this.redraw();
  }

  rowAt(event) {
    const p = this.plot();
    const rect = this.canvas.getBoundingClientRect();
    const px = event.clientX - rect.left;
    if (px < p.left || px > p.left + p.width) return null;
    const i = Math.round(this.modulusAt(px, p)) - this.rows.from;
    return i >= 0 && i < this.rows.count ? i : null;
  }

  listen() {
    const { canvas, tooltip } = this;
    const local = (event) => event.clientX - canvas.getBoundingClientRect().left;
    canvas.addEventListener('wheel', (event) => {
      event.preventDefault();
      this.zoom(event.deltaY < 0 ? 0.8 : 1.25, this.modulusAt(local(event), this.plot()));
    }, { passive: false });
    canvas.addEventListener('pointerdown', (event) => {
      canvas.setPointerCapture(event.pointerId);
      this.drag = { start: local(event), now: local(event), zoom: !event.shiftKey && event.button === 0,
        shown: { ...this.shown } };
    });
    canvas.addEventListener('pointermove', (event) => {
      if (this.drag) {
        this.drag.now = local(event);
        if (!this.drag.zoom) {
          const p = this.plot();
          const moduli = ((this.drag.start - this.drag.now) / p.width) * (this.drag.shown.to - this.drag.shown.from);
          this.setShown(this.drag.shown.from + moduli, this.drag.shown.to + moduli);
        } else {
          this.redraw();
        }
        return;
      }
      const i = this.rowAt(event);
      if (i === null) {
        tooltip.hidden = true;
        return;
      }
      tooltip.textContent = this.describe(i);
      tooltip.hidden = false;
      const rect = canvas.getBoundingClientRect();
      tooltip.style.left = `${Math.min(rect.width - 190, Math.max(0, local(event) + 12))}px`;
      tooltip.style.top = `${Math.max(0, event.clientY - rect.top - 70)}px`;
    });
    canvas.addEventListener('pointerleave', () => {
      tooltip.hidden = true;
    });
    canvas.addEventListener('pointerup', (event) => {
      const drag = this.drag;
      this.drag = null;
      if (!drag) return;
      if (drag.zoom && Math.abs(drag.now - drag.start) > 4) {
        const p = this.plot();
        const a = this.modulusAt(Math.min(drag.start, drag.now), p);
        const b = this.modulusAt(Math.max(drag.start, drag.now), p);
        this.setShown(a, b);
      } else if (Math.abs(drag.now - drag.start) <= 4) {
        const i = this.rowAt(event);
        if (i !== null) this.onPick(i);
        this.redraw();
      }
    });
    canvas.addEventListener('keydown', (event) => {
      const width = this.shown.to - this.shown.from;
      const middle = (this.shown.from + this.shown.to) / 2;
      const actions = {
        ArrowLeft: () => this.pan(-width / 10), ArrowRight: () => this.pan(width / 10),
        '+': () => this.zoom(0.8, middle), '-': () => this.zoom(1.25, middle), Home: () => this.resetZoom(),
      };
      if (!actions[event.key]) return;
      event.preventDefault();
      actions[event.key]();
    });
    new ResizeObserver(() => this.redraw()).observe(canvas);
  }

  // The chart as a PNG file.
  png() {
    return new Promise((resolve) => this.canvas.toBlob(resolve, 'image/png'));
  }
}

// About `wanted` round numbers (1, 2 or 5 times a power of ten apart) from `from` to `to`.
function roundTicks(from, to, wanted) {
  const raw = (to - from) / wanted;
  if (!(raw > 0)) return [Math.round(from)];
  const power = 10 ** Math.floor(Math.log10(raw));
  const step = [1, 2, 5, 10].map((k) => k * power).find((s) => s >= raw);
  const ticks = [];
  for (let t = Math.ceil(from / step) * step; t <= to; t += step) ticks.push(Math.round(t));
  return ticks;
}
