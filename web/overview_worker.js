// SPDX-License-Identifier: MIT
// The overview's worker: one engine instance computing the rows of the stretches of moduli it is
// sent, each answered as plain arrays (and, when asked, the command line's CSV lines).
/* global importScripts, createOverviewEngine */
'use strict';

// The page chooses the module: the SIMD build where the browser has WebAssembly SIMD.
const module = new URL(self.location.href).searchParams.get('engine') || 'overview_engine.js';
importScripts(module);

// A number the module answers: where something begins in its memory, or
// a size. Views of its memory are made after such calls, as the memory
// may have grown during the last one.
const number = (instance, entry) => instance.ccall(entry, 'number', [], []);

// The CSV lines come as their bytes, copied out of the module's memory:
// no text is made of them here or on the page, which keeps them as they are.
const encoder = new TextEncoder();
const engine = createOverviewEngine().then((instance) => ({
  prepare: instance.cwrap('fibmod_overview_prepare', 'string', ['string', 'number']),
  rows: instance.cwrap('fibmod_overview_rows', 'string', ['number', 'number', 'number']),
  figures: (count) => {
    const start = number(instance, 'fibmod_overview_figures');
    return new Float64Array(instance.HEAPU8.buffer, start, 3 * count);
  },
  kinds: (count) => {
    const start = number(instance, 'fibmod_overview_kinds');
    return instance.HEAPU8.slice(start, start + count);
  },
  csv: (header) => {
    const start = number(instance, 'fibmod_overview_csv');
    const size = number(instance, 'fibmod_overview_csv_size');
    const head = header ? encoder.encode(instance.ccall('fibmod_overview_csv_header', 'string', [], [])) : new Uint8Array(0);
    const bytes = new Uint8Array(head.length + size);
    bytes.set(head);
    bytes.set(instance.HEAPU8.subarray(start, start + size), head.length);
    return bytes;
  },
  residues: instance.cwrap('fibmod_overview_residues', 'string', ['number']),
}));

// The job whose inputs the engine holds.
let prepared = null;

// The figures of the `count` rows just computed, copied out of the
// module's memory (see fibmod_overview_figures), and their failures'
// lines as [position, message].
function rowsOf(overview, failureLines, count) {
  const figures = overview.figures(count);
  const failures = failureLines === '' ? [] : failureLines.slice(0, -1).split('\n').map((line) => {
    const tab = line.indexOf('\t');
    return [Number(line.slice(0, tab)), line.slice(tab + 1)];
  });
  return { lengths1: figures.slice(0, count), lengths2: figures.slice(count, 2 * count),
    counts: figures.slice(2 * count), kinds: overview.kinds(count), failures };
}

// Messages: {job, inputs: [8 texts], maxTerms (0: none), ...} and one of
//  {kind: 'rows', chunk, from, to, csv, header}: answers {job, chunk, from, lengths1,
//    lengths2, counts, kinds, failures: [[position, message]], csv}, csv the
//    bytes of the rows' CSV lines (after the file's header line with
//    `header`, a Uint8Array) or null;
//  {kind: 'residues', modulus}: answers {job, modulus, cell, detail}.
// A refusal answers {job, problem}; a failure of the engine {job, failure}.
self.onmessage = async (event) => {
  const request = event.data;
  const { job } = request;
  const overview = await engine;
  if (prepared !== job) {
    const problem = overview.prepare(request.inputs.join('\n'), request.maxTerms);
    if (problem !== '') {
      self.postMessage({ job, problem, chunk: request.chunk });
      return;
    }
    prepared = job;
  }
  if (request.kind === 'rows') {
    const text = overview.rows(request.from, request.to, request.csv ? 1 : 0);
    if (text.startsWith('!')) {
      self.postMessage({ job, chunk: request.chunk, failure: text.slice(1) });
      return;
    }
    const rows = rowsOf(overview, text, request.to - request.from + 1);
    const csv = request.csv ? overview.csv(request.header) : null;
    const buffers = [rows.lengths1.buffer, rows.lengths2.buffer, rows.counts.buffer, rows.kinds.buffer];
    self.postMessage({ job, chunk: request.chunk, from: request.from, csv, ...rows }, csv ? [...buffers, csv.buffer] : buffers);
  } else if (request.kind === 'residues') {
    const text = overview.residues(request.modulus);
    if (text.startsWith('!')) {
      self.postMessage({ job, modulus: request.modulus, cell: '', detail: text.slice(1) });
      return;
    }
    const end = text.indexOf('\n');
    self.postMessage({ job, modulus: request.modulus, cell: text.slice(0, end), detail: text.slice(end + 1) });
  }
};
