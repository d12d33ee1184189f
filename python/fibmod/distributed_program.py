# SPDX-License-Identifier: MIT
"""The program ``python3 -m fibmod.distributed``: a scan on a Dask cluster, written as ``fibmod-cli scan`` writes it.

``python3 -m fibmod.distributed --scheduler tcp://HOST:8786 --to N --format csv``
writes the same CSV as ``fibmod-cli scan`` for the same arguments; without
``--scheduler`` it starts a LocalCluster of its own. Its options are read by
the same rules, with the same messages, as the command line's.
"""

from __future__ import annotations

import argparse
import os
import signal
import sys

from fibmod import _core
from fibmod.distributed import _csv_chunk, _submit

__all__ = ["main"]

# The inputs as the window shows them when it opens.
_DEFAULT_INPUTS = {name: tuple(map(str, value)) if isinstance(value, tuple) else str(value)
                   for name, value in _core.DESIGN_TIME_INPUTS.items()}

# The options that stand for the Python parameters in messages.
_OPTIONS = {"first": "--from", "last": "--to", "max_terms": "--max-terms", "chunks": "--chunks"}


def _option_message(error):
    """A message of the module ("r1: 'x' is not a number") naming the program's option instead."""
    name, _, rest = str(error).partition(": ")
    return f"{_OPTIONS.get(name, '--' + name)}: {rest}"


def _rule(read, *bounds):
    """An argparse type that reads a value by one of the engine's rules and says why it refuses it."""
    def convert(text):
        try:
            return read(text, *bounds)
        except ValueError as error:
            raise argparse.ArgumentTypeError(str(error)) from None
    return convert


def _parser():
    parser = argparse.ArgumentParser(
        prog="python3 -m fibmod.distributed",
        description="Scans a range of moduli on a Dask cluster and writes the rows as fibmod-cli scan writes "
                    "them (CSV).",
        epilog="Every worker host needs the same version of python3-fibmod. Example: "
               "python3 -m fibmod.distributed --scheduler tcp://host:8786 --to 1000000 --max-terms none "
               "--format csv > rows.csv")
    modulus = _rule(_core.read_whole_number, _core.MODULUS_MIN, _core.ENGINE_MODULUS_MAX)
    count = _rule(_core.read_whole_number, 1, _core.WORKER_THREADS_MAX)
    parser.add_argument("--scheduler", metavar="ADDRESS",
                        help="the Dask scheduler, e.g. tcp://host:8786; without it, a LocalCluster on this machine")
    parser.add_argument("--workers", type=count, default=None, metavar="N",
                        help="worker processes of the LocalCluster (one thread each; default: one per core)")
    parser.add_argument("--from", dest="first", type=modulus, default=_core.MODULUS_MIN, metavar="A",
                        help=f"the first modulus ({_core.MODULUS_MIN})")
    parser.add_argument("--to", dest="last", type=modulus, default=_core.MODULUS_MAX, metavar="B",
                        help=f"the last modulus ({_core.MODULUS_MAX})")
    group = parser.add_argument_group("sequences (the window's inputs)")
    for n in (1, 2):
        r, s, start = _DEFAULT_INPUTS[f"r{n}"], _DEFAULT_INPUTS[f"s{n}"], _DEFAULT_INPUTS[f"start{n}"]
        group.add_argument(f"--r{n}", type=_rule(_core.read_number), default=r, metavar="NUMBER",
                           help=f"r of sequence {n} ({r})")
        group.add_argument(f"--s{n}", type=_rule(_core.read_number), default=s, metavar="NUMBER",
                           help=f"s of sequence {n} ({s})")
        group.add_argument(f"--start{n}", type=_rule(_core.read_start_pair), default=start, metavar="A,B",
                           help=f"start values a(0),a(1) of sequence {n} ({','.join(start)})")
    parser.add_argument("--max-terms", type=_rule(_core.read_term_bound), default=_core.WINDOW_TERM_BOUND,
                        metavar="N|none",
                        help="the most terms a cycle may have (3000, the window's); none walks every cycle to its end")
    parser.add_argument("--format", choices=["csv"], default="csv", help="the output format (csv)")
    parser.add_argument("--no-header", action="store_true",
                        help="leave out the header line, so that parts of a range concatenate into the whole")
    parser.add_argument("--chunks", type=_rule(_core.read_whole_number, 1, _core.ENGINE_MODULUS_MAX), default=None,
                        metavar="N", help="tasks to split the range into (default: 8 per worker thread)")
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
