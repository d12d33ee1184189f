# SPDX-License-Identifier: MIT
"""Scans on a Dask cluster: the range split into chunks of about equal cost.

:func:`scan` returns the same DataFrame as :func:`fibmod.scan` for the same
arguments, computed as one task per chunk on the cluster's workers. A task is
a plain function of plain arguments (the chunk's first and last modulus and
the inputs), so it is small to send and Dask runs it again elsewhere when its
worker dies: no row is lost or doubled.

As a program, ``python3 -m fibmod.distributed`` (its ``__main__`` module)
writes the same CSV as ``fibmod-cli scan``, from :func:`csv_parts`. Every
worker host needs the same version of python3-fibmod.
"""

from __future__ import annotations

import collections
import math
from collections.abc import Callable, Iterator, Sequence
from typing import TYPE_CHECKING, Any

import numpy
import pandas

import fibmod
from fibmod import Number, Pair, Whole, WholePair, _core
from fibmod.frames import chosen_columns, period_frame, scan_frame

if TYPE_CHECKING:
    import distributed

# The window's design-time inputs, every function's defaults.
_D = _core.DESIGN_TIME_INPUTS

__all__ = ["scan", "scan_columns", "csv_parts", "periods", "chunk_bounds"]

# What a modulus costs besides its cycles, in terms (the flag tables, the
# row): so that chunks of small moduli are not made too long.
_COST_PER_MODULUS = 64
# Chunks per worker thread by default: enough for both cores to stay busy to
# the end, few enough that the scheduler's cost per task stays small.
_CHUNKS_PER_THREAD = 8
# The most moduli in one chunk by default, so that a chunk's rows stay small.
_MOST_MODULI_PER_CHUNK = 50_000


def _cost_below(x: int, cap: int | None) -> float:
    """What the moduli first … x-1 cost, from 0: a modulus M costs min(M, cap) + a constant."""
    if cap is None or x <= cap:
        linear = x * x / 2
    else:
        linear = cap * cap / 2 + cap * (x - cap)
    return linear + _COST_PER_MODULUS * x


def chunk_bounds(first: int, last: int, chunks: int, max_terms: int | None = None) -> list[tuple[int, int]]:
    """The range first … last split into at most ``chunks`` chunks of about equal cost.

    A list of (first, last) pairs, ascending, covering the range without gaps
    or overlaps; empty for an empty range. A modulus M costs about min(M,
    max_terms) terms, so the chunks of larger moduli are shorter.
    """
    if first > last:
        return []
    chunks = max(1, min(chunks, last - first + 1))
    low = _cost_below(first, max_terms)
    total = _cost_below(last + 1, max_terms) - low
    starts = [first]
    for k in range(1, chunks):
        goal = low + total * k / chunks
        lo, hi = starts[-1] + 1, last + 1
        while lo < hi:  # the first x with cost_below(x) >= goal
            mid = (lo + hi) // 2
            if _cost_below(mid, max_terms) >= goal:
                hi = mid
            else:
                lo = mid + 1
        if lo <= last:
            starts.append(lo)
    ends = [start - 1 for start in starts[1:]] + [last]
    return list(zip(starts, ends))


def _default_chunks(client: distributed.Client, first: int, last: int) -> int:
    threads = sum(client.nthreads().values()) or 1
    count = max(0, last - first + 1)
    return max(_CHUNKS_PER_THREAD * threads, math.ceil(count / _MOST_MODULI_PER_CHUNK))


def _scan_chunk(first: int, last: int, inputs: dict[str, Any], max_terms: int | None,
                residues: bool = True) -> dict[str, Any]:
    """A task: the rows of first … last as the extension's columns, on one thread of a worker.

    Numpy arrays, the residues of all rows one after another: they travel
    as plain memory, where lists of ints would be pickled one int at a time,
    and as 16-bit numbers where every residue is below 2^16 (last <= 2^16),
    half the bytes to send and to receive. Without ``residues`` none are
    listed, and only the counts travel.
    """
    return _core.scan_columns(first, last, **inputs, max_terms=max_terms, threads=1, residues=residues)


def _joined(parts: Sequence[dict[str, Any]]) -> dict[str, Any]:
    """The columns of consecutive chunks as the columns of the whole range."""
    joined = {name: numpy.concatenate([part[name] for part in parts]) for name in parts[0] if name != "error"}
    joined["error"] = [error for part in parts for error in part["error"]]
    return joined


def _with_lists(part: dict[str, Any]) -> dict[str, Any]:
    """A chunk's columns with its residues made into the lists of its rows (``residue_lists``)."""
    part["residue_lists"] = _core.residue_lists(part.pop("residues"), part["common_count"], part["failed"])
    return part


def _csv_chunk(first: int, last: int, inputs: dict[str, Any], max_terms: int | None) -> str:
    """A task: the rows of first … last as the command line's CSV lines, without the header."""
    return _core.scan_csv(first, last, **inputs, max_terms=max_terms, threads=1, header=False)


def _chunk_count(client: distributed.Client, first: int, last: int, chunks: int | None) -> int:
    """The number of chunks asked for, or the default for this cluster; TypeError or ValueError naming chunks."""
    if chunks is None:
        return _default_chunks(client, first, last)
    if isinstance(chunks, bool) or not isinstance(chunks, int):
        raise TypeError(f"chunks: expected an int or None, not {type(chunks).__name__}")
    if chunks < 1:
        raise ValueError(f"chunks: {chunks} is not at least 1")
    return chunks


def _gathered(client: distributed.Client, futures: list[distributed.Future],
              each: Callable[[Any], Any] | None = None) -> list[Any]:
    """The results of the futures, in their order; the futures are released either way.

    With ``each``, each result is fetched as soon as its task is done, while
    the others still compute, and ``each`` is applied to it then: what is
    left to do once the last task is done is that task's share alone.
    Without it, all are fetched at once at the end, in one exchange with the
    workers instead of one a task.
    """
    try:
        if each is None:
            return client.gather(futures)
        # Dask only once a cluster is used: the package only recommends it.
        from distributed import as_completed

        results = [None] * len(futures)
        place = {future.key: k for k, future in enumerate(futures)}
        for future, result in as_completed(futures, with_results=True):
            results[place[future.key]] = each(result)
            future.release()
        return results
    finally:
        for future in futures:
            future.release()


def _submit(client: distributed.Client, task: Callable[..., Any], first: int, last: int, inputs: dict[str, Any],
            max_terms: int | None, chunks: int | None, *extra: Any) -> list[distributed.Future]:
    """One future per chunk, in modulus order. The arguments are checked here, before any task runs."""
    _core.check_arguments(first, last, **inputs, max_terms=max_terms)
    chunks = _chunk_count(client, first, last, chunks)
    bounds = chunk_bounds(first, last, chunks, max_terms)
    return [client.submit(task, a, b, inputs, max_terms, *extra, pure=False) for a, b in bounds]


def scan(client: distributed.Client, first: int = fibmod.MODULUS_MIN, last: int = fibmod.MODULUS_MAX, *,
         r1: Number = _D["r1"], s1: Number = _D["s1"], start1: Pair = _D["start1"], r2: Number = _D["r2"],
         s2: Number = _D["s2"], start2: Pair = _D["start2"], max_terms: int | None = fibmod.WINDOW_TERM_BOUND,
         chunks: int | None = None, columns: Sequence[str] | None = None) -> pandas.DataFrame:
    """The rows of first … last, computed on the Dask cluster of ``client``.

    The same DataFrame as :func:`fibmod.scan` with the same arguments, in
    modulus order. The range is split into ``chunks`` chunks of about equal
    cost (by default 8 per worker thread, and at most 50,000 moduli each);
    each chunk is one task that computes its rows with the engine behind
    :func:`fibmod.scan` on one thread of a worker and sends them back as numpy
    columns; the DataFrame is made here, once. Bad arguments raise ValueError or TypeError here, before any task
    is sent. A worker that dies mid-chunk costs only time: the scheduler runs
    its task again elsewhere. ``columns`` chooses the columns as for
    :func:`fibmod.scan`; the choice travels with each task, so that residues
    not asked for are neither listed nor sent.
    """
    inputs = dict(r1=r1, s1=s1, start1=start1, r2=r2, s2=s2, start2=start2)
    chosen = chosen_columns(columns)
    residues = "common_residues" in chosen
    futures = _submit(client, _scan_chunk, first, last, inputs, max_terms, chunks, residues)
    if not futures:
        return fibmod.scan(first, last, **inputs, max_terms=max_terms, columns=chosen)
    return scan_frame(_joined(_gathered(client, futures, _with_lists if residues else None)), chosen)


def scan_columns(client: distributed.Client, first: int = fibmod.MODULUS_MIN, last: int = fibmod.MODULUS_MAX, *,
                 r1: Number = _D["r1"], s1: Number = _D["s1"], start1: Pair = _D["start1"], r2: Number = _D["r2"],
                 s2: Number = _D["s2"], start2: Pair = _D["start2"], max_terms: int | None = fibmod.WINDOW_TERM_BOUND,
                 chunks: int | None = None, columns: Sequence[str] | None = None) -> dict[str, Any]:
    """The cluster's part of :func:`scan` alone: the rows as numpy columns, before any DataFrame is made.

    The same tasks as :func:`scan`, their columns fetched all at once when
    the last is done and joined in modulus order: ``modulus``, ``length1``,
    ``length2``, ``common_count`` and ``failed`` as arrays, ``residues`` as
    the residues of every row one after another (empty when ``columns``
    leaves out ``common_residues``), ``error`` as a list.
    :func:`fibmod.frames.scan_frame` makes the DataFrame of them.
    """
    inputs = dict(r1=r1, s1=s1, start1=start1, r2=r2, s2=s2, start2=start2)
    residues = "common_residues" in chosen_columns(columns)
    futures = _submit(client, _scan_chunk, first, last, inputs, max_terms, chunks, residues)
    if not futures:
        return _scan_chunk(first, last, inputs, max_terms, residues)
    return _joined(_gathered(client, futures))


def _in_order(futures: list[distributed.Future]) -> Iterator[str]:
    """The futures' results in their order, each as soon as it is done; each future released after its result."""
    try:
        for future in futures:
            yield future.result()
            future.release()
    finally:
        for future in futures:
            future.release()


def csv_parts(client: distributed.Client, first: int = fibmod.MODULUS_MIN, last: int = fibmod.MODULUS_MAX, *,
              r1: Number = _D["r1"], s1: Number = _D["s1"], start1: Pair = _D["start1"], r2: Number = _D["r2"],
              s2: Number = _D["s2"], start2: Pair = _D["start2"], max_terms: int | None = fibmod.WINDOW_TERM_BOUND,
              chunks: int | None = None) -> Iterator[str]:
    """The rows of first … last as ``fibmod-cli scan --format csv`` writes them, without the header, chunk by chunk.

    One str of whole CSV lines (CR LF) per chunk, in modulus order, each as
    soon as it and every chunk before it are done, so that a writer can pass
    them on while the later chunks still compute; joined, they are the
    command line's rows byte for byte (``_core.csv_header()`` is its
    header). Bad arguments raise ValueError or TypeError here, before any
    task is sent; the tasks are sent at once.
    """
    inputs = dict(r1=r1, s1=s1, start1=start1, r2=r2, s2=s2, start2=start2)
    return _in_order(_submit(client, _csv_chunk, first, last, inputs, max_terms, chunks))


def _period_chunk(first: Whole, last: Whole, inputs: dict[str, Any]) -> list[tuple[Any, ...]]:
    """A task: the period rows of first … last, on one thread of a worker."""
    return _core.period_range(first, last, **inputs, threads=1)


def _period_bounds(first: int, last: int, chunks: int) -> Iterator[tuple[int, int]]:
    """The (first, last) of ``chunks`` chunks of equal length, one at a time."""
    count = last - first + 1
    for k in range(chunks):
        yield first + count * k // chunks, first + count * (k + 1) // chunks - 1


def _results_in_order(client: distributed.Client, tasks: Iterator[tuple[Any, ...]], window: int) -> Iterator[Any]:
    """The results of ``tasks`` (function and arguments), in order, with at most ``window`` of them submitted at once."""
    pending = collections.deque()
    try:
        for task in tasks:
            pending.append(client.submit(*task, pure=False))
            if len(pending) >= window:
                yield pending.popleft().result()
        while pending:
            yield pending.popleft().result()
    finally:
        for future in pending:
            future.release()


def periods(client: distributed.Client, first: Whole, last: Whole, *, r1: Whole = _D["r1"], s1: Whole = _D["s1"],
            start1: WholePair = _D["start1"], r2: Whole = _D["r2"], s2: Whole = _D["s2"],
            start2: WholePair = _D["start2"], chunks: int | None = None) -> pandas.DataFrame:
    """The rows of :func:`fibmod.periods` for first … last, computed on the Dask cluster of ``client``.

    The same DataFrame as ``fibmod.periods(range(first, last + 1), ...)``, in
    modulus order. A modulus's cost hardly grows with its size, so the range
    is split into ``chunks`` chunks of equal length (by default 8 per worker
    thread, at most 50,000 moduli each); each is one task on one thread of a
    worker, run again elsewhere should its worker die. The chunks are made
    and sent as the results come back, a few per worker thread at a time.
    ``first`` and ``last`` may be any ints or digit strings from 2 to
    2**127-1, read as :func:`fibmod.period` reads a modulus. Bad arguments
    raise ValueError or TypeError here, before any task is sent.
    """
    inputs = dict(r1=r1, s1=s1, start1=start1, r2=r2, s2=s2, start2=start2)
    first, last = _core.check_period_arguments(first, last, **inputs)
    if first > last:
        return fibmod.periods([], **inputs)
    chunks = min(_chunk_count(client, first, last, chunks), last - first + 1)
    window = 2 * _CHUNKS_PER_THREAD * (sum(client.nthreads().values()) or 1)
    tasks = ((_period_chunk, a, b, inputs) for a, b in _period_bounds(first, last, chunks))
    return period_frame([row for part in _results_in_order(client, tasks, window) for row in part])

