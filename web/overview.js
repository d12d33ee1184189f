// SPDX-License-Identifier: MIT
// The view "Übersicht": every modulus of a range computed by the scan's engine in one worker per
// core, as a chart, a table that draws only the rows in view, a summary line and a CSV file.
import { formatAddress } from './router.js';
import { OverviewChart } from './overview_chart.js';
import { chunksOf, OrderedRun, WorkerPool } from './overview_pool.js';
import { VirtualTable } from './overview_table.js';

const SEQUENCE_KEYS = ['r1', 's1', 'first1', 'second1', 'r2', 's2', 'first2', 'second2'];
// After the last key in an input the view waits this long, as the window does.
const PAUSE_MILLISECONDS = 300;
// The window's term bound, and the largest modulus the form takes.
const WINDOW_BOUND = '3000';
const FORM_MODULUS_MAX = 2000;
// The CSV lines kept from a run (their residues), in bytes; the rest are
// computed again for the file.
const CSV_BUDGET = 64 * 1024 * 1024;
// While a run goes on, the view is drawn at most this often.
const REDRAW_MILLISECONDS = 200;
// The summary's data-state: while computing, once whole, after "Abbrechen".
const STATE = { leer: 'leer', rechnet: 'rechnet', fertig: 'fertig', abgebrochen: 'abgebrochen', abgelehnt: 'abgelehnt' };

const TEMPLATE = `
<div class="uebersicht">
<h2 id="uebersicht-titel">Übersicht</h2>
<p id="uebersicht-folgen"></p>
<div class="uebersicht-eingabe" role="group" aria-label="Bereich und Grenze">
  <label for="uebersicht-von">von</label>
  <input id="uebersicht-von" type="text" inputmode="numeric" autocomplete="off" value="2" size="8">
  <label for="uebersicht-bis">bis</label>
  <input id="uebersicht-bis" type="text" inputmode="numeric" autocomplete="off" value="2000" size="8">
  <label for="uebersicht-max-glieder">max. Glieder</label>
  <select id="uebersicht-max-glieder" title="Die meisten Glieder eines Zyklus">
    <option value="3000">3000</option>
    <option value="0">unbegrenzt</option>
  </select>
</div>
<p id="uebersicht-meldung" class="uebersicht-meldung" role="alert"></p>
<div class="uebersicht-lauf">
  <progress id="uebersicht-fortschritt" max="1" value="0" aria-label="Fortschritt der Berechnung"></progress>
  <span id="uebersicht-stand" role="status" aria-live="off"></span>
  <button id="uebersicht-abbrechen" type="button" disabled
    title="Hält die Berechnung an; die Zeilen bis dahin bleiben">Abbrechen</button>
</div>
<p id="uebersicht-zusammenfassung" role="status" aria-live="polite" data-state="leer"></p>
<div class="uebersicht-diagramm">
  <canvas id="uebersicht-diagramm" tabindex="0" role="img"
    aria-label="Diagramm aller Moduln: die Zykellängen beider Folgen und die Anzahl gemeinsamer Reste je Modul"></canvas>
  <div id="uebersicht-punkt" class="uebersicht-punkt" role="tooltip" hidden></div>
</div>
<p class="uebersicht-knoepfe">
  <label><input id="uebersicht-log" type="checkbox" checked> logarithmisch</label>
  <button id="uebersicht-zoom" type="button" title="Zeigt wieder alle Moduln (Taste Pos1 im Diagramm)">Zoom zurücksetzen</button>
  <button id="uebersicht-csv" type="button" disabled>Als CSV speichern</button>
  <button id="uebersicht-png" type="button" disabled>Diagramm als PNG speichern</button>
</p>
<p id="uebersicht-einzelheiten" class="uebersicht-einzelheiten" aria-live="polite"></p>
<p class="uebersicht-filter"><label><input id="uebersicht-nur-eins" type="checkbox"> nur genau ein gemeinsamer Rest</label></p>
<div id="uebersicht-tabelle"></div>
</div>`;

// The rows of a run, in modulus order from `from`: the figures in typed
// arrays of the range's length, the failures' messages by position.
class Rows {
  constructor(from, to) {
    this.from = from;
    this.capacity = to - from + 1;
    this.count = 0;
    this.lengths1 = new Float64Array(this.capacity);
    this.lengths2 = new Float64Array(this.capacity);
    this.counts = new Float64Array(this.capacity);
    this.kinds = new Uint8Array(this.capacity);
    this.failures = new Map();
    this.tally = { single: 0, errors: 0, never: 0 };
  }

  append(answer) {
    const at = answer.from - this.from;
    this.lengths1.set(answer.lengths1, at);
    this.lengths2.set(answer.lengths2, at);
    this.counts.set(answer.counts, at);
    this.kinds.set(answer.kinds, at);
    for (const [i, message] of answer.failures) this.failures.set(at + i, message);
    for (const kind of answer.kinds) {
      if (kind === 1) this.tally.single += 1;
      else if (kind === 2) this.tally.errors += 1;
      else if (kind === 3) this.tally.never += 1;
    }
    this.count = at + answer.kinds.length;
  }

  length1(i) { return this.lengths1[i]; }
  length2(i) { return this.lengths2[i]; }
  common(i) { return this.counts[i]; }
  kind(i) { return this.kinds[i]; }
  failure(i) { return this.failures.get(i) ?? ''; }
}

// The worker script and its engine: the SIMD build where the browser
// validates a module with a SIMD instruction.
function workerUrl() {
  // (module (func (result v128) i32.const 0 i8x16.splat))
  const simd = new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 8, 1, 6, 0,
    65, 0, 253, 15, 11]);
  const engine = WebAssembly.validate(simd) ? 'overview_engine_simd.js' : 'overview_engine.js';
  return `overview_worker.js?engine=${engine}`;
}

// Offers `blob` as a download named `name`.
function download(blob, name) {
  const url = URL.createObjectURL(blob);
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

// Builds the view inside `container` and wires it up. `engine` is the
// page's engine (the overview's texts), `formInputs()` answers the form's
// inputs now (a Map by key). Answers the router's view. The address keeps
// the range and the bound: "#uebersicht&von=2&bis=100000&max=unbegrenzt".
export function mountOverviewView(container, engine, formInputs) {
  container.innerHTML = TEMPLATE;
  const $ = (id) => container.querySelector(`#${id}`);
  const from = $('uebersicht-von');
  const to = $('uebersicht-bis');
  const bound = $('uebersicht-max-glieder');
  const message = $('uebersicht-meldung');
  const bar = $('uebersicht-fortschritt');
  const stand = $('uebersicht-stand');
  const cancel = $('uebersicht-abbrechen');
  const summary = $('uebersicht-zusammenfassung');
  const csvButton = $('uebersicht-csv');
  const pngButton = $('uebersicht-png');
  const detail = $('uebersicht-einzelheiten');
  const onlySingle = $('uebersicht-nur-eins');

  let pool = null;
  let job = 0;
  let run = null; // the OrderedRun computing the rows
  let request = null; // {inputs, from, to, maxTerms}: what the rows are of
  let rows = new Rows(2, 2);
  let kept = []; // per stretch: its CSV lines' bytes, or null
  let keptBytes = 0;
  let chunks = [];
  let state = STATE.leer;
  let started = 0;
  let pause = null;

  const sequenceInputs = () => {
    const inputs = formInputs();
    return SEQUENCE_KEYS.map((key) => inputs.get(key) ?? '');
  };

  const residues = new Map(); // modulus → {cell, detail}, the last few asked
  const asked = new Set();
  let detailWanted = null;
  const lookupAnswered = (answer) => {
    if (answer.job !== job) return;
    asked.delete(answer.modulus);
    residues.set(answer.modulus, answer);
    if (residues.size > 2000) residues.delete(residues.keys().next().value);
    if (answer.modulus === detailWanted) detail.textContent = answer.detail;
    table.refresh();
  };
  const lookup = (modulus) => {
    if (residues.has(modulus)) return residues.get(modulus);
    if (!asked.has(modulus) && request) {
      asked.add(modulus);
      pool.lookup.onanswer = lookupAnswered;
      pool.lookup.thread.postMessage({ job, kind: 'residues', modulus, inputs: request.inputs, maxTerms: request.maxTerms });
    }
    return null;
  };

  const showDetail = (i) => {
    const modulus = rows.from + i;
    detailWanted = modulus;
    const known = lookup(modulus);
    detail.textContent = known ? known.detail : `Modul ${modulus}: …`;
  };

  const chart = new OverviewChart($('uebersicht-diagramm'), $('uebersicht-punkt'), rows, {
    describe: (i) => engine.overviewFigures(rows.from + i, rows.length1(i), rows.length2(i), rows.common(i), rows.failure(i)),
    onPick: (i) => showDetail(i),
  });
  const table = new VirtualTable($('uebersicht-tabelle'), {
    rows: () => rows,
    residues: (modulus) => lookup(modulus),
    onRow: (i) => showDetail(i),
    onModulus: (modulus) => {
      if (modulus <= FORM_MODULUS_MAX) window.location.hash = `#m=${modulus}`;
    },
    formModulusMax: FORM_MODULUS_MAX,
  });

  const setState = (next) => {
    state = next;
    summary.dataset.state = next;
    cancel.disabled = next !== STATE.rechnet;
    const whole = next === STATE.fertig || next === STATE.abgebrochen;
    csvButton.disabled = !whole || rows.count === 0;
    pngButton.disabled = !whole;
  };

  const showSummary = () => {
    const code = { [STATE.fertig]: 0, [STATE.rechnet]: 1, [STATE.abgebrochen]: 2 }[state];
    if (code === undefined) {
      summary.textContent = '';
      return;
    }
    summary.textContent = engine.overviewSummary(rows.count, rows.tally.single, rows.tally.errors, rows.tally.never, code);
  };

  // The moduli done, the rate and the time left; a modulus costs about
  // as much as it is large, so the time left is weighed by the moduli.
  const showProgress = () => {
    const total = rows.capacity;
    bar.max = total;
    bar.value = rows.count;
    if (state !== STATE.rechnet) {
      stand.textContent = rows.count > 0 ? `${rows.count} von ${total} Moduln` : '';
      return;
    }
    const seconds = (performance.now() - started) / 1000;
    const rate = seconds > 0 ? rows.count / seconds : 0;
    const weight = (a, b) => (b - a + 1) * (a + b) / 2;
    const doneWeight = weight(rows.from, rows.from + rows.count - 1);
    const left = rows.count > 0 ? seconds * (weight(rows.from, rows.from + total - 1) / doneWeight - 1) : NaN;
    stand.textContent = `${rows.count} von ${total} Moduln · ${Math.round(rate)} Moduln/s` +
      (Number.isFinite(left) ? ` · noch etwa ${left < 60 ? `${Math.ceil(left)} s` : `${Math.ceil(left / 60)} min`}` : '');
  };

  // While rows come, the view is drawn a few times a second, not at every
  // frame: the page's thread stays free for input.
  let drawPending = false;
  let drawn = 0;
  const draw = () => {
    drawn = performance.now();
    showProgress();
    showSummary();
    chart.redraw();
    table.rowsChanged();
  };
  const drawSoon = () => {
    if (drawPending) return;
    drawPending = true;
    const wait = state === STATE.rechnet ? Math.max(0, drawn + REDRAW_MILLISECONDS - performance.now()) : 0;
    setTimeout(() => requestAnimationFrame(() => {
      drawPending = false;
      draw();
    }), wait);
  };
  // A run's end: the summary's text is its state's in the same task, so
  // that nobody reads "fertig" beside the counts of a moment before.
  const ended = (next) => {
    setState(next);
    draw();
  };

  const stopRun = () => {
    if (run) run.stop();
    run = null;
  };

  const clearRows = () => {
    stopRun();
    job += 1;
    request = null;
    rows = new Rows(2, 2);
    kept = [];
    keptBytes = 0;
    residues.clear();
    asked.clear();
    detail.textContent = '';
    setState(STATE.leer);
    showSummary();
    showProgress();
    chart.rows = rows;
    table.reset();
    chart.redraw();
  };

  const refuse = (why) => {
    message.textContent = why;
    if (why) {
      summary.dataset.state = STATE.abgelehnt;
      stand.textContent = '';
    }
  };

  // What the inputs ask for now, or why not (the problem shown at once).
  const current = () => {
    const inputs = sequenceInputs();
    const maxTerms = Number(bound.value);
    const answer = engine.overviewRequest(inputs, from.value, to.value, maxTerms);
    return { problem: answer.problem, inputs, from: answer.from, to: answer.to, maxTerms };
  };
  const same = (a, b) => a && b && a.from === b.from && a.to === b.to && a.maxTerms === b.maxTerms &&
    a.inputs.every((v, i) => v === b.inputs[i]);

  const start = (wanted) => {
    clearTimeout(pause);
    clearRows();
    if (!pool) pool = new WorkerPool(Math.max(1, navigator.hardwareConcurrency || 1), workerUrl());
    request = wanted;
    rows = new Rows(wanted.from, wanted.to);
    chart.rows = rows;
    chart.setRange(wanted.from, wanted.to);
    table.reset();
    chunks = chunksOf(wanted.from, wanted.to);
    kept = new Array(chunks.length).fill(null);
    started = performance.now();
    setState(STATE.rechnet);
    keepInAddress();
    const thisJob = job;
    run = new OrderedRun(pool, thisJob, chunks, {
      request: (chunk, { from: a, to: b }) => ({ job: thisJob, kind: 'rows', chunk, from: a, to: b,
        csv: keptBytes < CSV_BUDGET, header: chunk === 0, inputs: wanted.inputs, maxTerms: wanted.maxTerms }),
      ordered: (answer, chunk) => {
        rows.append(answer);
        if (answer.csv !== null && keptBytes + answer.csv.length <= CSV_BUDGET) {
          kept[chunk] = answer.csv;
          keptBytes += answer.csv.length;
        }
        drawSoon();
      },
      failed: (why) => {
        run = null;
        refuse(why);
        ended(rows.count > 0 ? STATE.abgebrochen : STATE.abgelehnt);
      },
      finished: () => {
        run = null;
        ended(STATE.fertig);
      },
    });
  };

  // A change: refused at once, or computed after a short pause.
  const changed = () => {
    const wanted = current();
    if (same(wanted, request) && !wanted.problem) return;
    clearTimeout(pause);
    clearRows();
    refuse(wanted.problem);
    if (wanted.problem) return;
    pause = setTimeout(() => start(wanted), PAUSE_MILLISECONDS);
  };

  const stopNow = () => {
    if (state !== STATE.rechnet) return;
    stopRun();
    ended(STATE.abgebrochen);
  };

  // The CSV file: the kept stretches as they are, the others computed
  // again by the workers, all joined in order without one large string.
  const saveCsv = () => {
    if (!request || rows.count === 0) return;
    let whole = 0;
    while (whole < chunks.length && chunks.at(whole).to - rows.from < rows.count) whole += 1;
    const missing = [];
    for (let i = 0; i < whole; ++i) if (kept[i] === null) missing.push(i);
    const finish = () => download(new Blob(kept.slice(0, whole), { type: 'text/csv' }), 'fibmod-moduln.csv');
    if (missing.length === 0) {
      finish();
      return;
    }
    const parts = new Array(whole).fill(null);
    const wanted = request;
    csvButton.disabled = true;
    stand.textContent = 'CSV wird berechnet …';
    const csvJob = job + 0.5;
    new OrderedRun(pool, csvJob, missing.map((i) => chunks.at(i)), {
      request: (n, c) => ({ job: csvJob, kind: 'rows', chunk: n, from: c.from, to: c.to, csv: true,
        header: missing[n] === 0, inputs: wanted.inputs, maxTerms: wanted.maxTerms }),
      ordered: (answer, n) => {
        parts[missing[n]] = answer.csv;
        bar.max = missing.length;
        bar.value = n + 1;
        stand.textContent = `CSV: ${n + 1} von ${missing.length} Abschnitten`;
      },
      failed: (why) => refuse(why),
      finished: () => {
        download(new Blob(kept.slice(0, whole).map((k, i) => k ?? parts[i]), { type: 'text/csv' }), 'fibmod-moduln.csv');
        csvButton.disabled = false;
        showProgress();
      },
    });
  };

  from.addEventListener('input', changed);
  to.addEventListener('input', changed);
  bound.addEventListener('change', changed);
  cancel.addEventListener('click', stopNow);
  csvButton.addEventListener('click', saveCsv);
  pngButton.addEventListener('click', async () => download(await chart.png(), 'fibmod-moduln.png'));
  $('uebersicht-zoom').addEventListener('click', () => chart.resetZoom());
  $('uebersicht-log').addEventListener('change', (event) => chart.setLogarithmic(event.target.checked));
  onlySingle.addEventListener('change', () => table.setOnlySingle(onlySingle.checked));

  const keepInAddress = () => {
    const params = [['von', from.value.trim()], ['bis', to.value.trim()]];
    if (bound.value !== WINDOW_BOUND) params.push(['max', 'unbegrenzt']);
    history.replaceState(null, '', formatAddress('uebersicht', params));
  };

  const show = (params) => {
    const v = sequenceInputs();
    $('uebersicht-folgen').textContent = `Folge 1: r = ${v[0]}, s = ${v[1]}, Start ${v[2]}, ${v[3]}; ` +
      `Folge 2: r = ${v[4]}, s = ${v[5]}, Start ${v[6]}, ${v[7]}.`;
    if (params.has('von')) from.value = params.get('von');
    if (params.has('bis')) to.value = params.get('bis');
    if (params.has('max')) bound.value = params.get('max') === 'unbegrenzt' ? '0' : WINDOW_BOUND;
    const wanted = current();
    if (same(wanted, request)) return;
    clearRows();
    refuse(wanted.problem);
    if (!wanted.problem) start(wanted);
  };
  return { section: container.id, show, hide: () => {} };
}
