# SPDX-License-Identifier: MIT
"""Scans on a Dask cluster: the range split into chunks of about equal cost.

:func:`scan` returns the same DataFrame as :func:`fibmod.scan` for the same
arguments, computed as one task per chunk on the cluster's workers. A task is
a plain function of plain arguments (the chunk's first and last modulus and
the inputs), so it is small to send and Dask runs it again elsewhere when its
worker dies: no row is lost or doubled.

As a program, ``python3 -m fibmod.distributed --scheduler tcp://HOST:8786 --to N
--format csv`` writes the same CSV as ``fibmod-cli scan`` for the same
arguments; without ``--scheduler`` it starts a LocalCluster of its own. Every
worker host needs the same version of python3-fibmod.
"""

from __future__ import annotations

import argparse
import math
import os
import signal
import sys

import numpy

import fibmod
from fibmod import _core

__all__ = ["scan", "periods", "chunk_bounds", "main"]

# What a modulus costs besides its cycles, in terms (the flag tables, the
# row): so that chunks of small moduli are not made too long.
_COST_PER_MODULUS = 64
# Chunks per worker thread by default: enough for both cores to stay busy to
# the end, few enough that the scheduler's cost per task stays small.
_CHUNKS_PER_THREAD = 8
# The most moduli in one chunk by default, so that a chunk's rows stay small.
_MOST_MODULI_PER_CHUNK = 50_000
# Test hook: when this environment variable names a file, the first task to
# remove it kills its own worker process, as a crash would.
_DIE_ONCE_VARIABLE = "FIBMOD_TEST_DIE_ONCE"


def _cost_below(x, cap):
    """What the moduli first … x-1 cost, from 0: a modulus M costs min(M, cap) + a constant."""
    if cap is None or x <= cap:
        linear = x * x / 2
    else:
        linear = cap * cap / 2 + cap * (x - cap)
    return linear + _COST_PER_MODULUS * x


def chunk_bounds(first, last, chunks, max_terms=None):
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


def _default_chunks(client, first, last):
    threads = sum(client.nthreads().values()) or 1
    count = max(0, last - first + 1)
    return max(_CHUNKS_PER_THREAD * threads, math.ceil(count / _MOST_MODULI_PER_CHUNK))


def _die_once_if_armed():
    """The test hook: kills this worker process when this task is the first to find the marker."""
    marker = os.environ.get(_DIE_ONCE_VARIABLE)
    if not marker:
        return
    try:
        os.unlink(marker)
    except FileNotFoundError:
        return
    os.kill(os.getpid(), signal.SIGKILL)


def _scan_chunk(first, last, inputs, max_terms):
    """A task: the rows of first … last as the extension's columns, on one thread of a worker.

    Numpy arrays, the residues of all rows one after another: they travel
    as plain memory, where lists of ints would be pickled one int at a time.
    """
    _die_once_if_armed()
    return _core.scan_columns(first, last, **inputs, max_terms=max_terms, threads=1)


def _joined(parts):
    """The columns of consecutive chunks as the columns of the whole range."""
    joined = {name: numpy.concatenate([part[name] for part in parts]) for name in parts[0] if name != "error"}
    joined["error"] = [error for part in parts for error in part["error"]]
    return joined


def _csv_chunk(first, last, inputs, max_terms):
    """A task: the rows of first … last as the command line's CSV lines, without the header."""
    _die_once_if_armed()
    return _core.scan_csv(first, last, **inputs, max_terms=max_terms, threads=1, header=False)


def _submit(client, task, first, last, inputs, max_terms, chunks):
    """One future per chunk, in modulus order. The arguments are checked here, before any task runs."""
    _core.check_arguments(first, last, **inputs, max_terms=max_terms)
    if chunks is None:
        chunks = _default_chunks(client, first, last)
    elif isinstance(chunks, bool) or not isinstance(chunks, int):
        raise TypeError(f"chunks: expected an int or None, not {type(chunks).__name__}")
    elif chunks < 1:
        raise ValueError(f"chunks: {chunks} is not at least 1")
    bounds = chunk_bounds(first, last, chunks, max_terms)
    return [client.submit(task, a, b, inputs, max_terms, pure=False) for a, b in bounds]


def scan(client, first=2, last=2000, *, r1=6, s1=-1, start1=(1, 1), r2=4, s2=-1, start2=(1, 1), max_terms=3000,
         chunks=None):
    """The rows of first … last, computed on the Dask cluster of ``client``.

    The same DataFrame as :func:`fibmod.scan` with the same arguments, in
    modulus order. The range is split into ``chunks`` chunks of about equal
    cost (by default 8 per worker thread, and at most 50,000 moduli each);
    each chunk is one task that computes its rows with the engine behind
    :func:`fibmod.scan` on one thread of a worker and sends them back as numpy
    columns; the DataFrame is made here, once. Bad arguments raise ValueError or TypeError here, before any task
    is sent. A worker that dies mid-chunk costs only time: the scheduler runs
    its task again elsewhere.
    """
    inputs = dict(r1=r1, s1=s1, start1=start1, r2=r2, s2=s2, start2=start2)
    futures = _submit(client, _scan_chunk, first, last, inputs, max_terms, chunks)
    if not futures:
        return fibmod.scan(first, last, **inputs, max_terms=max_terms)
    try:
        parts = client.gather(futures)
    finally:
        for future in futures:
            future.release()
    return fibmod._frame(_joined(parts))


def _period_chunk(first, last, inputs):
    """A task: the period rows of first … last, on one thread of a worker."""
    _die_once_if_armed()
    return _core.period_range(first, last, **inputs, threads=1)


def periods(client, first, last, *, r1=6, s1=-1, start1=(1, 1), r2=4, s2=-1, start2=(1, 1), chunks=None):
    """The rows of :func:`fibmod.periods` for first … last, computed on the Dask cluster of ``client``.

    The same DataFrame as ``fibmod.periods(range(first, last + 1), ...)``, in
    modulus order. A modulus's cost hardly grows with its size, so the range
    is split into ``chunks`` chunks of equal length (by default 8 per worker
    thread, at most 50,000 moduli each); each is one task on one thread of a
    worker, run again elsewhere should its worker die. ``first`` and
    ``last`` may be any ints from 2 to 2**127-1. Bad arguments raise
    ValueError or TypeError here, before any task is sent.
    """
    inputs = dict(r1=r1, s1=s1, start1=start1, r2=r2, s2=s2, start2=start2)
    _core.check_period_arguments(first, last, **inputs)
    if first > last:
        return fibmod.periods([], **inputs)
    if chunks is None:
        chunks = _default_chunks(client, first, last)
    elif isinstance(chunks, bool) or not isinstance(chunks, int):
        raise TypeError(f"chunks: expected an int or None, not {type(chunks).__name__}")
    elif chunks < 1:
        raise ValueError(f"chunks: {chunks} is not at least 1")
    count = last - first + 1
    chunks = min(chunks, count)
    starts = [first + count * k // chunks for k in range(chunks)]
    bounds = list(zip(starts, [start - 1 for start in starts[1:]] + [last]))
    futures = [client.submit(_period_chunk, a, b, inputs, pure=False) for a, b in bounds]
    try:
        parts = client.gather(futures)
    finally:
        for future in futures:
            future.release()
    return fibmod._period_frame([row for part in parts for row in part])


# The command line.

# The options that stand for the Python parameters in messages.
_OPTIONS = {"first": "--from", "last": "--to", "max_terms": "--max-terms", "chunks": "--chunks"}


def _option_message(error):
    """A message of the module ("r1: 'x' is not a number") naming the program's option instead."""
    name, _, rest = str(error).partition(": ")
    return f"{_OPTIONS.get(name, '--' + name)}: {rest}"


def _checked(name, value):
    """`value` for the parameter `name`, checked as fibmod.scan checks it."""
    try:
        _core.check_arguments(2, 2, **{**_DEFAULT_INPUTS, name: value}, max_terms=3000)
    except (ValueError, TypeError) as error:
        raise argparse.ArgumentTypeError(str(error).partition(": ")[2]) from None
    return value


def _number(name):
    return lambda text: _checked(name, text)


def _pair(name):
    def read(text):
        if text.count(",") != 1:
            raise argparse.ArgumentTypeError(f"'{text}' is not two numbers A,B")
        return _checked(name, tuple(text.split(",")))
    return read


def _term_bound(text):
    if text.strip() == "none":
        return None
    try:
        return int(text)
    except ValueError:
        raise argparse.ArgumentTypeError(f"'{text}' is not a whole number or none") from None


_DEFAULT_INPUTS = dict(r1="6", s1="-1", start1=("1", "1"), r2="4", s2="-1", start2=("1", "1"))


def _parser():
    parser = argparse.ArgumentParser(
        prog="python3 -m fibmod.distributed",
        description="Scans a range of moduli on a Dask cluster and writes the rows as fibmod-cli scan writes "
                    "them (CSV).",
        epilog="Every worker host needs the same version of python3-fibmod. Example: "
               "python3 -m fibmod.distributed --scheduler tcp://host:8786 --to 1000000 --max-terms none "
               "--format csv > rows.csv")
    parser.add_argument("--scheduler", metavar="ADDRESS",
                        help="the Dask scheduler, e.g. tcp://host:8786; without it, a LocalCluster on this machine")
    parser.add_argument("--workers", type=int, default=None, metavar="N",
                        help="worker processes of the LocalCluster (one thread each; default: one per core)")
    parser.add_argument("--from", dest="first", type=int, default=2, metavar="A", help="the first modulus (2)")
    parser.add_argument("--to", dest="last", type=int, default=2000, metavar="B", help="the last modulus (2000)")
    group = parser.add_argument_group("sequences (the window's inputs)")
    for n in (1, 2):
        r, s, start = _DEFAULT_INPUTS[f"r{n}"], _DEFAULT_INPUTS[f"s{n}"], _DEFAULT_INPUTS[f"start{n}"]
        group.add_argument(f"--r{n}", type=_number(f"r{n}"), default=r, metavar="NUMBER",
                           help=f"r of sequence {n} ({r})")
        group.add_argument(f"--s{n}", type=_number(f"s{n}"), default=s, metavar="NUMBER",
                           help=f"s of sequence {n} ({s})")
        group.add_argument(f"--start{n}", type=_pair(f"start{n}"), default=start, metavar="A,B",
                           help=f"start values a(0),a(1) of sequence {n} ({','.join(start)})")
    parser.add_argument("--max-terms", type=_term_bound, default=3000, metavar="N|none",
                        help="the most terms a cycle may have (3000, the window's); none walks every cycle to its end")
    parser.add_argument("--format", choices=["csv"], default="csv", help="the output format (csv)")
    parser.add_argument("--no-header", action="store_true",
                        help="leave out the header line, so that parts of a range concatenate into the whole")
    parser.add_argument("--chunks", type=int, default=None, metavar="N",
                        help="tasks to split the range into (default: 8 per worker thread)")
    return parser


# The options that take no value.
_FLAGS = {"-h", "--help", "--no-header"}


def _values_attached(argv):
    """The arguments with each option's value attached ("--r1=-1e3"), so that a value
    that starts with "-" and is not a plain negative number is not taken for an option."""
    attached = []
    arguments = iter(argv)
    for argument in arguments:
        takes_value = argument.startswith("--") and "=" not in argument and argument not in _FLAGS
        value = next(arguments, None) if takes_value else None
        attached.append(argument if value is None else f"{argument}={value}")
    return attached


def _write_rows(client, arguments, out):
    """Writes the CSV, each chunk as soon as it and every chunk before it are done."""
    inputs = {name: getattr(arguments, name) for name in _DEFAULT_INPUTS}
    futures = _submit(client, _csv_chunk, arguments.first, arguments.last, inputs, arguments.max_terms,
                      arguments.chunks)
    if not arguments.no_header:
        out.write(_core.csv_header().encode("utf-8"))
    for future in futures:
        out.write(future.result().encode("utf-8"))
        out.flush()
        future.release()


class _Terminated(Exception):
    """SIGTERM arrived: end as after Ctrl-C, with the cluster shut down."""


def _on_sigterm(signum, frame):
    raise _Terminated


def main(argv=None):
    """The program: exit status 0, 1 for a failed write, 2 for a usage error,
    130 after SIGINT and 143 after SIGTERM (the output so far ends on a whole row)."""
    parser = _parser()
    argv = sys.argv[1:] if argv is None else list(argv)
    arguments = parser.parse_args(_values_attached(argv))
    try:
        inputs = {name: getattr(arguments, name) for name in _DEFAULT_INPUTS}
        _core.check_arguments(arguments.first, arguments.last, **inputs, max_terms=arguments.max_terms)
        if arguments.chunks is not None and arguments.chunks < 1:
            raise ValueError(f"chunks: {arguments.chunks} is not at least 1")
    except (ValueError, TypeError) as error:
        parser.error(_option_message(error))

    import distributed  # here, so that importing this module needs no Dask for chunk_bounds

    out = sys.stdout.buffer
    signal.signal(signal.SIGTERM, _on_sigterm)
    try:
        if arguments.scheduler:
            with distributed.Client(arguments.scheduler) as client:
                _write_rows(client, arguments, out)
        else:
            with distributed.LocalCluster(n_workers=arguments.workers, threads_per_worker=1, processes=True,
                                          dashboard_address=None) as cluster, distributed.Client(cluster) as client:
                _write_rows(client, arguments, out)
    except BrokenPipeError:
        # The reader went away (| head): end quietly.
        devnull = os.open(os.devnull, os.O_WRONLY)
        os.dup2(devnull, sys.stdout.fileno())
        return 0
    except OSError as error:
        print(f"{parser.prog}: writing the rows failed: {error.strerror or error}", file=sys.stderr)
        return 1
    except KeyboardInterrupt:
        return 130
    except _Terminated:
        return 143
    return 0


if __name__ == "__main__":
    # Dask's worker processes import the main module: only the main process runs the program.
    from fibmod.distributed import main as _main

    sys.exit(_main())
