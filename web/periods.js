// SPDX-License-Identifier: MIT
// The view "Perioden": moduli in, a table of both sequences' pre-periods and
// periods out, computed by the period engine in a worker, with a CSV file.
import { formatAddress } from './router.js';

// The form's inputs the sequences take, by the form's keys: r, s and the
// start pair of sequence 1, then of sequence 2.
const SEQUENCE_KEYS = ['r1', 's1', 'first1', 'second1', 'r2', 's2', 'first2', 'second2'];

const HEADINGS = ['Modul', 'Vorlauf 1', 'Zykellänge 1', 'Vorlauf 2', 'Zykellänge 2', 'Zerlegung'];

const TEMPLATE = `
<div class="perioden">
<h2 id="perioden-titel">Perioden</h2>
<p>Vorlauf und Zykellänge beider Folgen für jeden Modul bis 2<sup>64</sup> − 1, genau berechnet aus der
Zerlegung des Moduls. r, s und die Startpaare kommen aus dem Formular und werden als ganze Zahlen gelesen.</p>
<p id="perioden-folgen"></p>
<div class="perioden-eingabe">
  <div>
  <label for="perioden-moduln">Moduln, einer je Zeile</label>
  <textarea id="perioden-moduln" rows="6" spellcheck="false" autocomplete="off"></textarea>
  </div>
  <fieldset>
  <legend>oder ein Bereich</legend>
  <label for="perioden-von">von</label>
  <input id="perioden-von" type="text" inputmode="numeric" autocomplete="off">
  <label for="perioden-bis">bis</label>
  <input id="perioden-bis" type="text" inputmode="numeric" autocomplete="off">
  </fieldset>
</div>
<p class="perioden-knoepfe">
  <button id="perioden-start" type="button">Berechnen</button>
  <a id="perioden-csv" download="perioden.csv" aria-disabled="true">CSV herunterladen</a>
</p>
<p id="perioden-meldung" role="alert"></p>
<p id="perioden-stand" role="status" aria-live="polite"></p>
<div class="perioden-rahmen">
  <table id="perioden-tabelle" data-state="leer" aria-labelledby="perioden-titel" aria-busy="false">
  <thead><tr>${HEADINGS.map((h) => `<th scope="col">${h}</th>`).join('')}</tr></thead>
  <tbody></tbody>
  </table>
</div>
</div>`;

// A list this long or longer is not written into the address.
const LONGEST_ADDRESS_LIST = 2000;

// Builds the view inside `container` (an empty element with an id) and wires
// it up. `formInputs()` answers the form's inputs now (a Map by key);
// `workerUrl` is where the periods' worker script lies. Answers the
// router's view: { section, show(params), hide() }. The address carries the
// list ("#perioden&moduln=10,12" or "#perioden&von=2&bis=100"), so that a
// result can be shared as a link; such a link computes on opening.
export function mountPeriodsView(container, formInputs, workerUrl = 'periods_worker.js') {
  // The sequences' eight inputs as the form holds them now.
  const sequenceInputs = () => {
    const inputs = formInputs();
    return SEQUENCE_KEYS.map((key) => inputs.get(key) ?? '');
  };
  container.innerHTML = TEMPLATE;
  const $ = (id) => container.querySelector(`#${id}`);
  const moduli = $('perioden-moduln');
  const from = $('perioden-von');
  const to = $('perioden-bis');
  const start = $('perioden-start');
  const csvLink = $('perioden-csv');
  const message = $('perioden-meldung');
  const progress = $('perioden-stand');
  const sequences = $('perioden-folgen');
  const table = $('perioden-tabelle');
  const body = table.tBodies[0];

  let worker = null;
  let running = false;
  let job = 0;
  let csvUrl = null;

  const showSequences = () => {
    const v = sequenceInputs();
    sequences.textContent = `Folge 1: r = ${v[0]}, s = ${v[1]}, Start ${v[2]}, ${v[3]}; ` +
      `Folge 2: r = ${v[4]}, s = ${v[5]}, Start ${v[6]}, ${v[7]}.`;
  };

  const setCsv = (text) => {
    if (csvUrl) URL.revokeObjectURL(csvUrl);
    csvUrl = null;
    csvLink.removeAttribute('href');
    csvLink.setAttribute('aria-disabled', 'true');
    if (text !== null) {
      csvUrl = URL.createObjectURL(new Blob([text], { type: 'text/csv' }));
      csvLink.href = csvUrl;
      csvLink.setAttribute('aria-disabled', 'false');
    }
  };

  const appendRows = (rows) => {
    const fragment = document.createDocumentFragment();
    for (const cells of rows) {
      const tr = document.createElement('tr');
      cells.forEach((text, i) => {
        const cell = document.createElement(i === 0 ? 'th' : 'td');
        if (i === 0) cell.scope = 'row';
        cell.textContent = text;
        tr.appendChild(cell);
      });
      fragment.appendChild(tr);
    }
    body.appendChild(fragment);
  };

  // The rows of the job in hand, as they come.
  let csv = '';
  let count = 0;
  let done = 0;

  const finish = (state) => {
    running = false;
    table.dataset.state = state;
    table.setAttribute('aria-busy', 'false');
  };

  const receive = (answer) => {
    if (answer.job !== job) return;
    if (answer.problem !== undefined) {
      // Nothing shown is lost: the rows before stay.
      message.textContent = answer.problem;
      progress.textContent = '';
      finish(body.rows.length > 0 ? 'fertig' : 'leer');
    } else if (answer.csvHeader !== undefined) {
      body.replaceChildren();
      setCsv(null);
      csv = answer.csvHeader;
      count = answer.count;
      done = 0;
    } else if (answer.rows !== undefined) {
      appendRows(answer.rows);
      csv += answer.csv;
      done += answer.rows.length;
      progress.textContent = `${done} von ${count} Moduln`;
    } else if (answer.failure !== undefined) {
      message.textContent = answer.failure;
      finish('fehler');
    } else if (answer.done) {
      setCsv(csv);
      progress.textContent = `Fertig: ${count} ${count === 1 ? 'Modul' : 'Moduln'}.`;
      finish('fertig');
    }
  };

  // The worker is started when the view is first shown, so that its engine
  // is loaded and compiled before the first click.
  const startWorker = () => {
    if (worker) return;
    worker = new Worker(workerUrl);
    worker.onmessage = (event) => receive(event.data);
    worker.onerror = (event) => {
      event.preventDefault();
      worker = null;
      if (running) {
        message.textContent = 'Der Rechenkern ließ sich nicht laden.';
        finish('fehler');
      }
    };
  };

  const run = () => {
    // A new list ends the one still running, and with it its worker.
    if (worker && running) {
      worker.terminate();
      worker = null;
    }
    startWorker();
    running = true;
    job += 1;
    message.textContent = '';
    table.dataset.state = 'rechnet';
    table.setAttribute('aria-busy', 'true');
    start.textContent = 'Neu berechnen';
    progress.textContent = 'Rechnet …';
    worker.postMessage({ job, inputs: sequenceInputs(), moduli: moduli.value, from: from.value, to: to.value });
    keepInAddress();
  };

  // The list in the address, without a new entry in the history.
  const keepInAddress = () => {
    const params = [];
    const list = moduli.value.split(/\r?\n/).map((line) => line.trim()).filter((line) => line !== '');
    if (list.length > 0 && moduli.value.length < LONGEST_ADDRESS_LIST) params.push(['moduln', list.join(',')]);
    if (from.value.trim() !== '') params.push(['von', from.value.trim()]);
    if (to.value.trim() !== '') params.push(['bis', to.value.trim()]);
    history.replaceState(null, '', formatAddress('perioden', params) || '#perioden');
  };

  start.addEventListener('click', run);
  csvLink.addEventListener('click', (event) => {
    if (!csvUrl) event.preventDefault();
  });
  // Shows the sequences as the form holds them now, and the list the
  // address carries.
  const show = (params) => {
    showSequences();
    startWorker();
    const wanted = {
      moduli: (params.get('moduln') ?? '').split(',').filter((m) => m !== '').join('\n'),
      from: params.get('von') ?? '',
      to: params.get('bis') ?? '',
    };
    if (wanted.moduli === '' && wanted.from === '' && wanted.to === '') return;
    if (wanted.moduli === moduli.value && wanted.from === from.value && wanted.to === to.value) return;
    moduli.value = wanted.moduli;
    from.value = wanted.from;
    to.value = wanted.to;
    run();
  };
  return { section: container.id, show, hide: () => {} };
}
