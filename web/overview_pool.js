// SPDX-License-Identifier: MIT
// The overview's workers, one per core, and a run of stretches of moduli over them whose
// answers come back in modulus order.

// A stretch should take a worker some tens of milliseconds: a modulus M
// costs about M steps without a bound, so the stretches shorten as M grows.
const STEPS_PER_CHUNK = 2e6;
const MOST_PER_CHUNK = 512;
// Stretches a worker holds at once, so that it never waits for the page.
const IN_FLIGHT = 2;
// How far ahead of the next stretch in order the workers may run, in
// stretches per worker: it bounds the answers waiting to be handed on.
const AHEAD_PER_WORKER = 8;

// The stretches of from … to: `length` of them, `at(i)` answering stretch
// i as {from, to} (as an array of such does too). Their bounds are one
// array of numbers, as a range of a million moduli has some hundred
// thousand stretches.
export function chunksOf(from, to) {
  const bounds = [];
  for (let start = from; start <= to;) {
    bounds.push(start);
    start += Math.max(1, Math.min(MOST_PER_CHUNK, Math.floor(STEPS_PER_CHUNK / start)));
  }
  bounds.push(to + 1);
  const starts = Float64Array.from(bounds);
  return {
    length: starts.length - 1,
    at: (i) => ({ from: starts[i], to: starts[i + 1] - 1 }),
  };
}

// The workers: `size` of them for stretches and one more for single moduli
// (a row's residues), so that those are answered during a long run too.
// `url` is the worker script with the engine chosen.
export class WorkerPool {
  constructor(size, url) {
    this.url = url;
    this.workers = Array.from({ length: size }, () => this.spawn());
    this.single = null;
  }

  // The worker for single moduli, started when first needed: a run that
  // nobody looks into keeps no engine for it.
  get lookup() {
    if (!this.single) this.single = this.spawn();
    return this.single;
  }

  spawn() {
    const worker = { thread: new Worker(this.url), busy: 0, onanswer: null };
    worker.thread.onmessage = (event) => {
      worker.busy = Math.max(0, worker.busy - 1);
      if (worker.onanswer) worker.onanswer(event.data, worker);
    };
    worker.thread.onerror = (event) => {
      event.preventDefault();
      if (worker.onanswer) worker.onanswer({ job: -1, failure: 'Der Rechenkern ließ sich nicht laden.' }, worker);
    };
    return worker;
  }

  // Ends the work in hand: a worker still computing a stretch is replaced
  // by a fresh one, so that the next run need not wait for it.
  quiet() {
    this.workers = this.workers.map((worker) => {
      worker.onanswer = null;
      if (worker.busy === 0) return worker;
      worker.thread.terminate();
      return this.spawn();
    });
  }
}

// One run over the stretches of a range: each stretch is sent to a worker
// as `request(chunk)` (a message the worker answers once), and `ordered`
// receives the answers in the stretches' order. `failed(text)` ends the run
// on a refusal or a failure of the engine; `finished()` after the last answer.
export class OrderedRun {
  constructor(pool, job, chunks, { request, ordered, failed, finished }) {
    Object.assign(this, { pool, job, chunks, request, ordered, failed, finished });
    this.nextSent = 0;
    this.nextHanded = 0;
    this.waiting = new Map();
    this.stopped = false;
    for (const worker of pool.workers) worker.onanswer = (answer) => this.answered(answer);
    this.send();
  }

  // Ends the run: no further stretch is sent, no answer handed on.
  stop() {
    this.stopped = true;
    this.pool.quiet();
  }

  send() {
    const limit = this.nextHanded + AHEAD_PER_WORKER * this.pool.workers.length;
    for (const worker of this.pool.workers) {
      while (!this.stopped && worker.busy < IN_FLIGHT && this.nextSent < this.chunks.length && this.nextSent < limit) {
        worker.busy += 1;
        worker.thread.postMessage(this.request(this.nextSent, this.chunks.at(this.nextSent)));
        this.nextSent += 1;
      }
    }
  }

  answered(answer) {
    if (this.stopped || answer.job !== this.job && answer.job !== -1) return;
    if (answer.problem !== undefined || answer.failure !== undefined) {
      this.stop();
      this.failed(answer.problem ?? answer.failure);
      return;
    }
    this.waiting.set(answer.chunk, answer);
    while (!this.stopped && this.waiting.has(this.nextHanded)) {
      const next = this.waiting.get(this.nextHanded);
      this.waiting.delete(this.nextHanded);
      this.nextHanded += 1;
      this.ordered(next, this.nextHanded - 1);
    }
    if (this.stopped) return;
    if (this.nextHanded === this.chunks.length) {
      this.stopped = true;
      for (const each of this.pool.workers) each.onanswer = null;
      this.finished();
      return;
    }
    this.send();
  }
}
