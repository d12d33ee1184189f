// SPDX-License-Identifier: MIT
// The program's messages as modal dialogs with one button OK, one after another.
const queue = [];
let showing = false;
let focusBefore = null;

function dialog() {
  return document.getElementById('meldung');
}

function showNext() {
  if (showing || queue.length === 0) return;
  showing = true;
  document.getElementById('meldung-text').textContent = queue.shift();
  dialog().dataset.wartend = String(queue.length);
  dialog().showModal();
  document.getElementById('meldung-ok').focus();
}

// The shown message is done with (OK, or Escape): the next one follows at
// once; after the last the focus goes back where it was.
function closed() {
  if (!showing) return;
  showing = false;
  if (dialog().open) dialog().close();
  if (queue.length > 0) {
    showNext();
    return;
  }
  dialog().dataset.wartend = '0';
  if (focusBefore && document.contains(focusBefore)) focusBefore.focus();
  focusBefore = null;
}

// Wires the dialog once.
export function setUpMessages() {
  dialog().dataset.wartend = '0';
  document.getElementById('meldung-ok').addEventListener('click', (event) => {
    event.preventDefault();
    closed();
  });
  // Escape closes the dialog itself. The close event comes late, when the
  // next message may already be open: that one stays.
  dialog().addEventListener('close', () => {
    if (!dialog().open) closed();
  });
}

// Shows `messages` in order, each in a modal dialog of its own.
export function showMessages(messages) {
  if (messages.length === 0) return;
  if (!showing) focusBefore = document.activeElement;
  queue.push(...messages);
  showNext();
}

// True while a message waits for its OK: the page takes no other input then.
export function messageOpen() {
  return showing;
}
