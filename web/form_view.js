// SPDX-License-Identifier: MIT
// The form "Fibonaccifolgen": the window's controls drawn from its table, its events passed to the engine's run.
import { formatAddress, parseAddress } from './router.js';
import { messageOpen, showMessages } from './messages.js';

const hex = (rgb) => `#${rgb.toString(16).padStart(6, '0')}`;
// Lines end with CR LF in the model; a text area shows and gives back LF.
const shown = (text) => text.replace(/\r\n/g, '\n');
const typed = (text) => text.replace(/\r?\n/g, '\r\n');

// The window's two halves, which sit side by side on a wide screen and one
// above the other on a narrow one: the sequences, and the modulus with the
// common members. Each is laid out in the window's own coordinates.
function halfOf(rect) {
  return rect.left < 4500 ? 0 : 1;
}

export class FormView {
  constructor(engine) {
    this.engine = engine;
    this.table = engine.controlTable();
    this.section = 'ansicht-formular';
    this.session = null;
    // The address is the router's until the form is first shown.
    this.keepsAddress = false;
    this.boxes = [];
    this.kept = [];
    this.build();
    document.getElementById('neustart').addEventListener('click', () => this.restart());
    this.start(null);
    document.getElementById(this.section).dataset.state = 'bereit';
  }

  px(twips) {
    return Math.round(twips / this.table.twipsPerPixel);
  }

  place(element, rect, origin) {
    element.style.left = `${this.px(rect.left - origin.left)}px`;
    element.style.top = `${this.px(rect.top - origin.top)}px`;
    element.style.width = `${this.px(rect.width)}px`;
    element.style.height = `${this.px(rect.height)}px`;
  }

  build() {
    const t = this.table;
    document.getElementById('formular-untertitel').textContent = t.caption;
    const form = document.getElementById('formular');
    const rects = [...t.boxes, ...t.buttons, ...t.labels, t.scrollBar].map((c) => c.rect);
    const halves = [0, 1].map((h) => {
      const mine = rects.filter((r) => halfOf(r) === h);
      const left = Math.min(...mine.map((r) => r.left));
      const top = Math.min(...mine.map((r) => r.top));
      const right = Math.max(...mine.map((r) => r.left + r.width));
      const bottom = Math.max(...mine.map((r) => r.top + r.height));
      const half = document.createElement('div');
      half.className = 'haelfte';
      half.style.setProperty('--links', `${this.px(left)}px`);
      half.style.setProperty('--oben', `${this.px(top)}px`);
      half.style.width = `${this.px(right - left)}px`;
      half.style.height = `${this.px(bottom - top)}px`;
      form.append(half);
      return { element: half, origin: { left, top } };
    });
    form.style.setProperty('--breite', `${this.px(t.layoutRight)}px`);
    form.style.setProperty('--hoehe', `${this.px(t.layoutBottom)}px`);
    const add = (element, rect) => {
      const half = halves[halfOf(rect)];
      this.place(element, rect, half.origin);
      half.element.append(element);
    };

    for (const label of t.labels) {
      const element = document.createElement(label.for ? 'label' : 'span');
      element.className = `beschriftung ${label.kind}`;
      element.textContent = label.caption;
      if (label.for) element.htmlFor = label.for;
      else element.setAttribute('aria-hidden', 'true');
      add(element, label.rect);
    }
    this.boxes = new Array(t.boxes.length);
    for (const box of t.boxes) {
      const element = document.createElement(box.multiLine ? 'textarea' : 'input');
      if (!box.multiLine) element.type = 'text';
      element.id = box.id;
      element.className = box.modulus ? 'feld modul' : 'feld';
      element.spellcheck = false;
      element.autocomplete = 'off';
      element.setAttribute('aria-label', box.accessibleName);
      element.style.background = hex(box.background);
      element.style.textAlign = box.align;
      element.addEventListener('input', () => this.edited(box.slot));
      add(element, box.rect);
      this.boxes[box.slot] = element;
    }
    const scroll = document.createElement('input');
    scroll.type = 'range';
    scroll.id = t.scrollBar.id;
    scroll.min = t.scrollBar.minimum;
    scroll.max = t.scrollBar.maximum;
    scroll.step = 1;
    scroll.setAttribute('aria-label', t.scrollBar.accessibleName);
    scroll.addEventListener('input', () => this.act((s) => s.scroll(Number(scroll.value))));
    add(scroll, t.scrollBar.rect);
    this.scroll = scroll;
    for (const button of t.buttons) {
      const element = document.createElement('button');
      element.type = 'button';
      element.id = button.id;
      element.className = 'knopf';
      element.textContent = button.caption;
      if (button.face >= 0) element.style.background = hex(button.face);
      if (button.toolTip) element.title = button.toolTip;
      element.addEventListener('click', () => this.act((s) => s.click(button.command)));
      add(element, button.rect);
    }
    // The window's focus order.
    t.focusChain.forEach((id, index) => {
      document.getElementById(id).tabIndex = index + 1;
    });
  }

  // Starts a run, as the program starts: the design-time inputs, then the
  // inputs `params` (address keys, or null) carries, typed in the window's order.
  start(params) {
    if (this.session) this.session.delete();
    this.session = new this.engine.FormSession();
    this.kept = new Array(this.boxes.length).fill(null);
    document.getElementById('formular').hidden = false;
    document.getElementById('beendet').hidden = true;
    this.applyParams(params);
  }

  applyParams(params) {
    if (!params) {
      this.render();
      return;
    }
    this.act((s) => {
      for (const input of this.table.inputs) {
        if (params.has(input.key)) s.edit(input.slot, params.get(input.key));
      }
    });
  }

  // The address's inputs are typed as a user types them.
  show(params) {
    this.keepsAddress = true;
    if (params.size > 0 && !this.session.ended()) this.applyParams(params);
  }

  hide() {}

  restart() {
    window.history.replaceState(null, '', window.location.pathname + window.location.search);
    this.start(null);
    this.boxes[this.table.boxes.find((b) => b.id === this.table.focusChain[0]).slot].focus();
  }

  edited(slot) {
    const element = this.boxes[slot];
    this.act((s) => s.edit(slot, typed(element.value)), slot);
  }

  // Runs one action of the form to its end, then shows the texts and the
  // messages it left. While a message is open the page takes no input.
  act(action, editedSlot = -1) {
    if (!this.session || messageOpen()) {
      this.render();
      return;
    }
    action(this.session);
    this.render(editedSlot);
    showMessages(this.session.takeMessages());
  }

  render(editedSlot = -1) {
    const texts = this.session.texts();
    for (let slot = 0; slot < this.boxes.length; ++slot) {
      if (texts[slot] === this.kept[slot]) continue;
      this.kept[slot] = texts[slot];
      const element = this.boxes[slot];
      const text = shown(texts[slot]);
      if (slot === editedSlot && element.value === text) continue;
      element.value = text;
    }
    this.scroll.value = this.session.scrollValue();
    const ended = this.session.ended();
    document.getElementById('formular').hidden = ended;
    document.getElementById('beendet').hidden = !ended;
    document.getElementById(this.section).dataset.ended = ended ? 'ja' : 'nein';
    if (ended) document.getElementById('neustart').focus();
    this.keepInAddress(texts);
  }

  // The inputs that differ from the design's, kept in the address so that
  // the view can be shared as a link.
  keepInAddress(texts) {
    if (!this.keepsAddress || parseAddress(window.location.hash).view !== '') return;
    const params = [];
    for (const input of this.table.inputs) {
      if (texts[input.slot] !== input.designTime) params.push([input.key, texts[input.slot]]);
    }
    const address = formatAddress('', params);
    if (address !== window.location.hash && !(address === '' && window.location.hash === '#')) {
      window.history.replaceState(null, '', address || window.location.pathname + window.location.search);
    }
  }

  // The nine inputs as the boxes hold them now, by address key (for the other views).
  inputs() {
    const texts = this.session.texts();
    return new Map(this.table.inputs.map((input) => [input.key, texts[input.slot]]));
  }
}
