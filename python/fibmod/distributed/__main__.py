# SPDX-License-Identifier: MIT
"""The program ``python3 -m fibmod.distributed``: a scan on a Dask cluster, written as ``fibmod-cli scan`` writes it.

``python3 -m fibmod.distributed --scheduler tcp://HOST:8786 --to N --format csv``
writes the same CSV as ``fibmod-cli scan`` for the same arguments; without
``--scheduler`` it starts a LocalCluster of its own. Its options are one
table, :data:`OPTIONS`, which the parser reads and the help is written from:
the command line's names and defaults, read by the same rules, with the same
messages.
"""

from __future__ import annotations

import dataclasses
import os
import signal
import sys
import textwrap
from collections.abc import Callable, Sequence
from typing import Any, BinaryIO

import fibmod.distributed
from fibmod import _core

__all__ = ["Option", "OPTIONS", "UsageError", "parse", "help_text", "main"]

PROGRAM = "python3 -m fibmod.distributed"


@dataclasses.dataclass(frozen=True)
class Option:
    """One option of the program.

    name: as typed (``--from``); parameter: the keyword it fills; value: how
    its value is named in the help, None for a flag that takes none; read:
    the engine's rule that reads the value (ValueError says why it refuses
    one); default: the value as it would be typed, read by the same rule
    (None: left to the program, as ``explained`` says); explained: the help.
    """

    name: str
    parameter: str
    value: str | None
    read: Callable[[str], Any] | None
    default: str | None
    explained: str


def _modulus(text: str) -> int:
    return _core.read_whole_number(text, _core.MODULUS_MIN, _core.ENGINE_MODULUS_MAX)


def _workers(text: str) -> int:
    return _core.read_whole_number(text, 1, _core.WORKER_THREADS_MAX)


def _chunks(text: str) -> int:
    return _core.read_whole_number(text, 1, _core.ENGINE_MODULUS_MAX)


def _csv_only(text: str) -> str:
    if text != "csv":
        raise ValueError(f"invalid choice: '{text}' (choose from 'csv')")
    return text


def _typed(value: Any) -> str:
    """A design-time input as it is typed: "6", "1,1"."""
    return ",".join(map(str, value)) if isinstance(value, tuple) else str(value)


def _input_options() -> list[Option]:
    inputs = _core.DESIGN_TIME_INPUTS
    options = []
    for n in (1, 2):
        options += [
            Option(f"--r{n}", f"r{n}", "NUMBER", _core.read_number, _typed(inputs[f"r{n}"]), f"r of sequence {n}"),
            Option(f"--s{n}", f"s{n}", "NUMBER", _core.read_number, _typed(inputs[f"s{n}"]), f"s of sequence {n}"),
            Option(f"--start{n}", f"start{n}", "A,B", _core.read_start_pair, _typed(inputs[f"start{n}"]),
                   f"the start values a(0),a(1) of sequence {n}"),
        ]
    return options


#: Every option, in the order the help lists them. The inputs' defaults are
#: the window's design-time inputs, as for fibmod-cli.
OPTIONS: tuple[Option, ...] = (
    Option("--help", "help", None, None, None, "show this help and exit (also -h)"),
    Option("--scheduler", "scheduler", "ADDRESS", str, None,
           "the Dask scheduler, e.g. tcp://host:8786; without it, a LocalCluster on this machine"),
    Option("--workers", "workers", "N", _workers, None,
           "worker processes of the LocalCluster, one thread each (default: one per core)"),
    Option("--from", "first", "M", _modulus, str(_core.MODULUS_MIN), "the first modulus"),
    Option("--to", "last", "M", _modulus, str(_core.MODULUS_MAX), "the last modulus"),
    *_input_options(),
    Option("--max-terms", "max_terms", "N|none", _core.read_term_bound, str(_core.WINDOW_TERM_BOUND),
           "the most terms a cycle may have (the window's bound); none walks every cycle to its end"),
    Option("--format", "format", "csv", _csv_only, "csv", "the output format"),
    Option("--no-header", "no_header", None, None, None,
           "leave out the header line, so that the parts of a range concatenate into the whole"),
    Option("--chunks", "chunks", "N", _chunks, None, "tasks to split the range into (default: 8 per worker thread)"),
)

_BY_NAME = {option.name: option for option in OPTIONS}
_USAGE = f"usage: {PROGRAM} [options]"


class UsageError(Exception):
    """A usage error, in the words of the options."""


def help_text(width: int = 100) -> str:
    """The program's help, written from :data:`OPTIONS`."""
    rows = []
    for option in OPTIONS:
        typed = option.name if option.value is None else f"{option.name} {option.value}"
        explained = option.explained if option.default is None else f"{option.explained} (default: {option.default})"
        rows.append((typed, explained))
    indent = max(len(typed) for typed, _ in rows) + 4
    lines = [_USAGE, "",
             textwrap.fill("Scans a range of moduli on a Dask cluster and writes the rows as fibmod-cli scan "
                           "writes them (CSV).", width), "", "options:"]
    for typed, explained in rows:
        lines.append(textwrap.fill(explained, width, initial_indent=f"  {typed}".ljust(indent),
                                   subsequent_indent=" " * indent))
    lines += ["", textwrap.fill("Every worker host needs the same version of python3-fibmod. Example: "
                                f"{PROGRAM} --scheduler tcp://host:8786 --to 1000000 --max-terms none "
                                "--format csv > rows.csv", width, break_on_hyphens=False)]
    return "\n".join(lines) + "\n"


def _read(option: Option, text: str) -> Any:
    try:
        return option.read(text)
    except ValueError as error:
        raise UsageError(f"argument {option.name}: {error}") from None


def parse(argv: Sequence[str]) -> dict[str, Any]:
    """The values of every option's parameter, read from ``argv`` by :data:`OPTIONS`.

    An option that takes a value takes the next argument, whatever it starts
    with (``--r1 -1e3``), or the one attached (``--r1=-1e3``); the last of a
    repeated option counts. Defaults are read by the same rules. Raises
    :class:`UsageError` for an unknown option, a missing or refused value,
    or an argument that is no option. ``-h`` stands for ``--help``.
    """
    values = {option.parameter: None if option.default is None else option.read(option.default)
              for option in OPTIONS if option.value is not None}
    values.update({option.parameter: False for option in OPTIONS if option.value is None})
    arguments = iter(argv)
    for argument in arguments:
        name, attached, value = ("--help", "", "") if argument == "-h" else argument.partition("=")
        option = _BY_NAME.get(name) if name.startswith("--") else None
        if option is None:
            raise UsageError(f"unrecognized arguments: {argument}")
        if option.value is None:
            if attached:
                raise UsageError(f"argument {name}: ignored explicit argument '{value}'")
            values[option.parameter] = True
            continue
        if not attached:
            value = next(arguments, None)
            if value is None:
                raise UsageError(f"argument {name}: expected one argument")
        values[option.parameter] = _read(option, value)
    return values


# The options that stand for the Python parameters in the engine's messages.
_NAMES = {option.parameter: option.name for option in OPTIONS}


def _option_message(error: Exception) -> str:
    """A message of the module ("first: 1 is …") naming the program's option instead ("--from: 1 is …")."""
    name, _, rest = str(error).partition(": ")
    return f"{_NAMES.get(name, '--' + name)}: {rest}"


_INPUTS = ("r1", "s1", "start1", "r2", "s2", "start2")


def _write_rows(client: Any, values: dict[str, Any], out: BinaryIO) -> None:
    """Writes the CSV, each chunk as soon as it and every chunk before it are done."""
    inputs = {name: values[name] for name in _INPUTS}
    parts = fibmod.distributed.csv_parts(client, values["first"], values["last"], **inputs,
                                         max_terms=values["max_terms"], chunks=values["chunks"])
    if not values["no_header"]:
        out.write(_core.csv_header().encode("utf-8"))
    for part in parts:
        out.write(part.encode("utf-8"))
        out.flush()


class _Terminated(Exception):
    """SIGTERM arrived: end as after Ctrl-C, with the cluster shut down."""


def _on_sigterm(signum: int, frame: Any) -> None:
    raise _Terminated


def main(argv: Sequence[str] | None = None) -> int:
    """The program: exit status 0, 1 for a failed write, 2 for a usage error,
    130 after SIGINT and 143 after SIGTERM (the output so far ends on a whole row)."""
    argv = sys.argv[1:] if argv is None else list(argv)
    try:
        values = parse(argv)
        if values["help"]:
            sys.stdout.write(help_text())
            return 0
        try:
            inputs = {name: values[name] for name in _INPUTS}
            _core.check_arguments(values["first"], values["last"], **inputs, max_terms=values["max_terms"])
        except (ValueError, TypeError) as error:
            raise UsageError(_option_message(error)) from None
    except UsageError as error:
        print(f"{_USAGE}\n{PROGRAM}: error: {error}", file=sys.stderr)
        return 2

    import distributed  # here: the help and a usage error need no Dask

    out = sys.stdout.buffer
    signal.signal(signal.SIGTERM, _on_sigterm)
    try:
        if values["scheduler"]:
            with distributed.Client(values["scheduler"]) as client:
                _write_rows(client, values, out)
        else:
            with distributed.LocalCluster(n_workers=values["workers"], threads_per_worker=1, processes=True,
                                          dashboard_address=None) as cluster, distributed.Client(cluster) as client:
                _write_rows(client, values, out)
    except BrokenPipeError:
        # The reader went away (| head): end quietly.
        devnull = os.open(os.devnull, os.O_WRONLY)
        os.dup2(devnull, sys.stdout.fileno())
        return 0
    except OSError as error:
        print(f"{PROGRAM}: writing the rows failed: {error.strerror or error}", file=sys.stderr)
        return 1
    except KeyboardInterrupt:
        return 130
    except _Terminated:
        return 143
    return 0


if __name__ == "__main__":
    # Dask's worker processes import the main module too: only the main
    # process runs the program.
    sys.exit(main())
