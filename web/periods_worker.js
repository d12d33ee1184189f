// SPDX-License-Identifier: MIT
// The periods' worker: runs the period engine compiled to WebAssembly over
// one list of moduli and sends the rows back in batches, in order.
/* global importScripts, createPeriodsEngine */
'use strict';

importScripts('periods_engine.js');

// Rows are sent at most this often, so that the page draws few, large batches.
const BATCH_MILLISECONDS = 50;

const engine = createPeriodsEngine().then((module) => ({
  prepare: module.cwrap('fibmod_periods_prepare', 'string', ['string', 'string', 'string', 'string']),
  count: module.cwrap('fibmod_periods_count', 'number', []),
  next: module.cwrap('fibmod_periods_next', 'string', []),
  csvHeader: module.cwrap('fibmod_periods_csv_header', 'string', []),
}));

// One job: {job, inputs: [8 texts], moduli, from, to}. Answers {job, problem}
// or {job, count, csvHeader}, then {job, rows: [[6 cells]], csv} batches and
// {job, done: true}, or {job, failure} should the engine fail.
self.onmessage = async (event) => {
  const { job, inputs, moduli, from, to } = event.data;
  const periods = await engine;
  const problem = periods.prepare(inputs.join('\n'), moduli, from, to);
  if (problem !== '') {
    self.postMessage({ job, problem });
    return;
  }
  self.postMessage({ job, count: periods.count(), csvHeader: periods.csvHeader() });
  let rows = [];
  let csv = '';
  let sent = performance.now();
  for (;;) {
    const row = periods.next();
    if (row.startsWith('!')) {
      self.postMessage({ job, rows, csv });
      self.postMessage({ job, failure: row.slice(1) });
      return;
    }
    if (row !== '') {
      const end = row.indexOf('\n');
      rows.push(row.slice(0, end).split('\t'));
      csv += row.slice(end + 1);
    }
    if (row === '' || performance.now() - sent >= BATCH_MILLISECONDS) {
      self.postMessage({ job, rows, csv });
      rows = [];
      csv = '';
      sent = performance.now();
    }
    if (row === '') break;
  }
  self.postMessage({ job, done: true });
};
