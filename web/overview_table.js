// SPDX-License-Identifier: MIT
// The overview's table: a million rows scrolled smoothly by drawing only those in view, sorted by
// any column, filtered to the one-residue moduli.

const ROW_HEIGHT = 24;
// Browsers cap an element's height (Firefox near 17.9 million pixels): past
// this the scroll bar's way is shared out among the rows.
const TALLEST = 15e6;
const HEADINGS = ['Modul', 'Zykellänge Folge 1', 'Zykellänge Folge 2', 'Anzahl gemeinsamer Reste', 'die Reste', 'Fehler'];
// While rows still come, a sorted or filtered order is built again at most this often.
const REORDER_MILLISECONDS = 1000;

// The table inside `container`. `rows()` answers the rows (see overview.js's
// Rows); `residues(modulus)` a row's residues {cell} or null while they are
// being fetched; `onRow(i)` is called on a click at a row, `onModulus(m)` on
// a click at a modulus up to `formModulusMax` (a button there).
export class VirtualTable {
  constructor(container, { rows, residues, onRow, onModulus, formModulusMax }) {
    Object.assign(this, { rows, residues, onRow, onModulus, formModulusMax });
    container.innerHTML = `
<div class="uebersicht-tabelle" role="table" aria-label="Tabelle aller Moduln" aria-rowcount="1">
  <div role="rowgroup" class="kopf"><div role="row" aria-rowindex="1" class="zeile">${HEADINGS.map((h, c) =>
    `<div role="columnheader" aria-sort="none"><button type="button" data-column="${c}"
      title="Sortiert nach dieser Spalte; ein zweiter Klick kehrt die Reihenfolge um">${h}</button></div>`).join('')}</div></div>
  <div class="rumpf" tabindex="0" role="rowgroup" aria-label="Zeilen">
    <div class="hoehe"><div class="fenster"></div></div>
  </div>
</div>`;
    this.table = container.firstElementChild;
    this.body = container.querySelector('.rumpf');
    this.spacer = container.querySelector('.hoehe');
    this.window = container.querySelector('.fenster');
    this.sort = { column: 0, descending: false };
    this.onlySingle = false;
    this.order = null; // positions in view order, or null for every row in modulus order
    this.orderBuilt = 0;
    this.selected = -1;
    this.pending = false;
    this.body.addEventListener('scroll', () => this.refresh());
    new ResizeObserver(() => this.refresh()).observe(this.body);
    container.querySelector('.kopf').addEventListener('click', (event) => {
      const button = event.target.closest('button');
      if (!button) return;
      const column = Number(button.dataset.column);
      this.sort = { column, descending: this.sort.column === column ? !this.sort.descending : false };
      this.rebuild();
    });
    this.window.addEventListener('click', (event) => {
      const row = event.target.closest('[role=row]');
      if (!row) return;
      const i = Number(row.dataset.position);
      this.selected = i;
      const modulus = event.target.closest('button.modul');
      if (modulus) this.onModulus(Number(modulus.textContent));
      else this.onRow(i);
      this.refresh();
    });
  }

  reset() {
    this.order = null;
    this.selected = -1;
    this.body.scrollTop = 0;
    this.rebuild();
  }

  setOnlySingle(on) {
    this.onlySingle = on;
    this.rebuild();
  }

  // New rows came: the order is built again (not too often), then drawn.
  rowsChanged() {
    const ordered = this.onlySingle || this.sort.column !== 0 || this.sort.descending;
    if (ordered && performance.now() - this.orderBuilt >= REORDER_MILLISECONDS) this.rebuild();
    else this.refresh();
  }

  // The view's order: the filter's rows, sorted by the chosen column.
  rebuild() {
    const rows = this.rows();
    this.orderBuilt = performance.now();
    for (const [c, header] of this.table.querySelectorAll('[role=columnheader]').entries()) {
      header.setAttribute('aria-sort', c === this.sort.column ? (this.sort.descending ? 'descending' : 'ascending') : 'none');
    }
    if (!this.onlySingle && this.sort.column === 0) {
      this.order = null;
      this.refresh();
      return;
    }
    let positions = [];
    for (let i = 0; i < rows.count; ++i) if (!this.onlySingle || rows.kind(i) === 1) positions.push(i);
    positions = Uint32Array.from(positions);
    const key = this.sortKey(rows);
    if (key) {
      const sign = this.sort.descending ? -1 : 1;
      positions.sort((a, b) => sign * (key(a) - key(b) || a - b));
    } else if (this.sort.column === 5) {
      const sign = this.sort.descending ? -1 : 1;
      positions.sort((a, b) => sign * (rows.failure(a).localeCompare(rows.failure(b), 'de') || a - b));
    } else if (this.sort.descending) {
      positions.reverse();
    }
    this.order = positions;
    this.refresh();
  }

  // A column's number to sort by: rows without figures after every number.
  // The residues sort by their count (the page keeps the lists of few rows).
  sortKey(rows) {
    const figure = (value) => (i) => (rows.kind(i) >= 2 ? Infinity : value(i));
    switch (this.sort.column) {
    case 1: return figure((i) => rows.length1(i));
    case 2: return figure((i) => rows.length2(i));
    case 3: case 4: return figure((i) => rows.common(i));
    default: return null;
    }
  }

  // Draws the rows in view at the next frame.
  refresh() {
    if (this.pending) return;
    this.pending = true;
    requestAnimationFrame(() => {
      this.pending = false;
      this.draw();
    });
  }

  draw() {
    const rows = this.rows();
    const count = this.order ? this.order.length : rows.count;
    this.table.setAttribute('aria-rowcount', String(count + 1));
    const full = count * ROW_HEIGHT;
    const height = Math.min(full, TALLEST);
    this.spacer.style.height = `${height}px`;
    const view = this.body.clientHeight;
    const visible = Math.ceil(view / ROW_HEIGHT) + 1;
    const scrollable = Math.max(1, height - view);
    const first = full <= TALLEST ? Math.floor(this.body.scrollTop / ROW_HEIGHT)
      : Math.floor((this.body.scrollTop / scrollable) * Math.max(0, count - visible + 1));
    const offset = full <= TALLEST ? -(this.body.scrollTop % ROW_HEIGHT) : 0;
    this.window.style.height = `${view}px`;
    const lines = [];
    for (let k = first; k < Math.min(count, first + visible); ++k) {
      const i = this.order ? this.order[k] : k;
      lines.push(this.line(rows, i, k, offset + (k - first) * ROW_HEIGHT));
    }
    this.window.replaceChildren(...lines);
  }

  line(rows, i, k, top) {
    const line = document.createElement('div');
    line.setAttribute('role', 'row');
    line.className = 'zeile';
    line.setAttribute('aria-rowindex', String(k + 2));
    if (i === this.selected) line.setAttribute('aria-selected', 'true');
    line.dataset.position = String(i);
    line.style.transform = `translateY(${top}px)`;
    const modulus = rows.from + i;
    const failed = rows.kind(i) >= 2;
    const cells = [null, failed ? '' : String(rows.length1(i)), failed ? '' : String(rows.length2(i)),
      failed ? '' : String(rows.common(i)), '', rows.failure(i)];
    if (!failed) {
      const found = rows.common(i) === 0 ? { cell: '' } : this.residues(modulus);
      cells[4] = found ? found.cell : '…';
    }
    cells.forEach((text, c) => {
      const cell = document.createElement('div');
      cell.setAttribute('role', 'cell');
      if (c === 0 && modulus <= this.formModulusMax) {
        const button = document.createElement('button');
        button.type = 'button';
        button.className = 'modul';
        button.title = 'Zeigt diesen Modul im Formular';
        button.textContent = String(modulus);
        cell.appendChild(button);
      } else {
        cell.textContent = c === 0 ? String(modulus) : text;
      }
      if (rows.kind(i) === 1) cell.classList.add('eins');
      line.appendChild(cell);
    });
    return line;
  }
}
