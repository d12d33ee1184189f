# SPDX-License-Identifier: MIT
"""Two linear recurrences a(n+1) = r*a(n) + s*a(n-1) modulo M, from Python.

The same three operations as ``fibmod-cli``, from the same engine, with the
same defaults (the window's inputs when it opens: r1=6, s1=-1, r2=4, s2=-1,
both start pairs (1, 1)) and the same term bound (3000 terms, the window's;
``max_terms=None`` walks every cycle to its end):

- :func:`show` — one modulus: listings, lengths, common members and residues;
- :func:`scan` — every modulus of a range as a :class:`pandas.DataFrame`;
- :func:`next_modulus` — where "Nächster: Nur Rest 1 gemeinsam" stops;
- :func:`period` and :func:`periods` — the exact pre-period and period of
  both sequences for moduli up to 2**127-1, from the factors of M instead of
  a walk through the cycle (inputs here are whole numbers of any size).

Inputs are ints, floats or strings. Strings are read with the window's number
rules and must be a number and nothing else (blanks around it are fine).
Every number is read as the window reads it, as a double: an int above 2**53
becomes that double. The engine runs without the GIL, so Python threads and
Dask workers compute in parallel. ``fibmod.distributed`` runs a scan on a Dask
cluster.
"""

from __future__ import annotations

import dataclasses
from collections.abc import Iterable, Sequence
from typing import Any, NamedTuple, Union

import pandas as _pandas

from fibmod import _core
from fibmod._errors import NeverRecursError, RunTimeError
from fibmod.frames import COLUMNS, PERIOD_COLUMNS, chosen_columns, period_frame, scan_frame

__all__ = ["Shown", "WindowTexts", "RunTimeError", "NeverRecursError", "show", "scan", "next_modulus",
           "Period", "period", "periods", "COLUMNS", "PERIOD_COLUMNS", "MODULUS_MIN", "MODULUS_MAX",
           "ENGINE_MODULUS_MAX", "PERIOD_MODULUS_MAX", "WINDOW_TERM_BOUND", "Number", "Pair", "Whole",
           "WholePair"]
__version__: str = _core.__version__

#: An input of show, scan and next_modulus: read as the window reads it.
Number = Union[int, float, str]
#: A start pair: two inputs.
Pair = Union[tuple[Number, Number], Sequence[Number]]
#: An input of period and periods: a whole number of any size, or its decimal digits.
Whole = Union[int, str]
#: A start pair of period and periods.
WholePair = Union[tuple[Whole, Whole], Sequence[Whole]]

#: The window's moduli: the default range of a scan and the stepping's limit.
MODULUS_MIN: int = _core.MODULUS_MIN
MODULUS_MAX: int = _core.MODULUS_MAX
#: The largest modulus the engine computes.
ENGINE_MODULUS_MAX: int = _core.ENGINE_MODULUS_MAX
#: The window's bound on a cycle's length, the default max_terms.
WINDOW_TERM_BOUND: int = _core.WINDOW_TERM_BOUND
#: The largest modulus :func:`period` takes, 2**127-1.
PERIOD_MODULUS_MAX: int = _core.PERIOD_MODULUS_MAX


class Period(NamedTuple):
    """The result of :func:`period`: both sequences' pre-period (the index of
    the first pair on the cycle, "Vorlauf") and period ("Zykellänge"), and
    M's factorisation as a dict {p: e} in ascending primes. Python ints of
    any size."""

    preperiod1: int
    length1: int
    preperiod2: int
    length2: int
    factors: dict[int, int]


# The window's design-time inputs, every function's defaults.
_D = _core.DESIGN_TIME_INPUTS


@dataclasses.dataclass(frozen=True)
class WindowTexts:
    """The window's texts for one modulus, every line ended by CR LF.

    listing1, listing2: the cycles' listings (empty without listings);
    common: the common members (left out without listings), then the summary;
    length1, length2, count: the three result fields.
    """

    listing1: str
    listing2: str
    common: str
    length1: str
    length2: str
    count: str


@dataclasses.dataclass(frozen=True)
class Shown:
    """What the window shows for one modulus (see :func:`show`).

    modulus: M.
    length1, length2: the cycle lengths; None when the row has an error.
    common_count, common_residues: the common residues (ascending) and their
        number; None when the row has an error.
    members: every common member as (value, position in sequence 1, position
        in sequence 2), ordered as the window lists them; empty without
        listings.
    listing1, listing2: the terms a(2), a(3), … of each cycle, as the window
        lists them: ints where every term is whole, floats otherwise; empty
        without listings.
    error: None, or the row's German message when a start pair never comes
        back (only with max_terms=None).
    texts: the window's texts.
    """

    modulus: int
    length1: int | None
    length2: int | None
    common_count: int | None
    common_residues: list[int] | None
    members: list[tuple[int | float, int, int]]
    listing1: list[int | float]
    listing2: list[int | float]
    error: str | None
    texts: WindowTexts


def _raise_for(row: dict[str, Any]) -> None:
    """Raises the run-time error a row carries; returns quietly otherwise."""
    if row["error_number"] in (6, 9):
        raise RunTimeError(row["error_number"], row["error"], row["modulus"])


def show(modulus: int, *, r1: Number = _D["r1"], s1: Number = _D["s1"], start1: Pair = _D["start1"],
         r2: Number = _D["r2"], s2: Number = _D["s2"], start2: Pair = _D["start2"],
         max_terms: int | None = WINDOW_TERM_BOUND, listings: bool = True) -> Shown:
    """What the window shows after ``modulus`` is typed into its modulus field.

    ``modulus`` from 2 to 2**31-1 (the window's 2 … 2000 and beyond). Returns
    a :class:`Shown`. ``listings=False`` leaves out the listings and the
    members, which for long cycles grow very large; the lengths and residues
    stay. Raises :class:`RunTimeError` (``.number`` 6 or 9) where the window
    reports a run-time error, ValueError or TypeError for bad arguments.
    """
    result = _core.show(modulus, r1=r1, s1=s1, start1=start1, r2=r2, s2=s2, start2=start2, max_terms=max_terms,
                        listings=listings)
    _raise_for(result)
    failed = result["error"] is not None
    terms = result["terms1"] + result["terms2"]
    whole = all(term.is_integer() for term in terms)
    number = int if whole else float
    texts = result["texts"]
    return Shown(
        modulus=result["modulus"],
        length1=result["length1"],
        length2=result["length2"],
        common_count=None if failed else len(result["residues"]),
        common_residues=result["residues"],
        members=[(number(value), p1, p2) for value, p1, p2 in result["members"]],
        listing1=[number(term) for term in result["terms1"]],
        listing2=[number(term) for term in result["terms2"]],
        error=result["error"],
        texts=WindowTexts(**texts),
    )


def scan(first: int = MODULUS_MIN, last: int = MODULUS_MAX, *, r1: Number = _D["r1"], s1: Number = _D["s1"],
         start1: Pair = _D["start1"], r2: Number = _D["r2"], s2: Number = _D["s2"], start2: Pair = _D["start2"],
         max_terms: int | None = WINDOW_TERM_BOUND, threads: int = 0,
         columns: Sequence[str] | None = None) -> _pandas.DataFrame:
    """One row per modulus from ``first`` to ``last``, both included.

    Returns a :class:`pandas.DataFrame` with the command line's columns
    ``modulus, length1, length2, common_count, common_residues, error``, in
    ascending modulus order. Integer columns are nullable ``Int64``;
    ``common_residues`` holds lists of ints (ascending). A row where the
    window reports a run-time error, or (with ``max_terms=None``) whose start
    pair never comes back, has ``<NA>`` in the integer columns, None in
    ``common_residues`` and its German message in ``error``, which is None
    elsewhere. ``first`` and ``last`` lie in 2 … 2**31-1; ``first > last``
    gives an empty frame. ``threads=0`` uses every core; the rows do not
    depend on it. ``columns``, a list of those names, keeps only them, in
    that order; without ``common_residues`` the scan does not even list the
    residues (ValueError for an unknown or repeated name or an empty list).
    Ctrl-C stops a long scan (KeyboardInterrupt).
    """
    chosen = chosen_columns(columns)
    found = _core.scan_columns(first, last, r1=r1, s1=s1, start1=start1, r2=r2, s2=s2, start2=start2,
                               max_terms=max_terms, threads=threads, residues="common_residues" in chosen)
    return scan_frame(found, chosen)


def next_modulus(modulus: int, *, r1: Number = _D["r1"], s1: Number = _D["s1"], start1: Pair = _D["start1"],
                 r2: Number = _D["r2"], s2: Number = _D["s2"], start2: Pair = _D["start2"], limit: int = MODULUS_MAX,
                 max_terms: int | None = WINDOW_TERM_BOUND) -> int | None:
    """Where "Nächster: Nur Rest 1 gemeinsam" stops when pressed at ``modulus``.

    The first modulus above ``modulus``, up to ``limit``, with exactly one
    common residue; None when there is none. Like the window, the stepping
    stops at a row with a run-time error: that raises :class:`RunTimeError`
    (with the ``.modulus`` it stopped at); a start pair that never comes back
    (only with ``max_terms=None``) raises :class:`NeverRecursError`. With the
    default bound of 3000 terms the search soon stops at an error 9 row;
    ``max_terms=None`` goes on.
    """
    row = _core.next_stop(modulus, r1=r1, s1=s1, start1=start1, r2=r2, s2=s2, start2=start2, limit=limit,
                          max_terms=max_terms)
    if row is None:
        return None
    _raise_for(row)
    if row["never_recurs"]:
        raise NeverRecursError(row["error"], row["modulus"])
    return row["modulus"]


def period(modulus: Whole, *, r1: Whole = _D["r1"], s1: Whole = _D["s1"], start1: WholePair = _D["start1"],
           r2: Whole = _D["r2"], s2: Whole = _D["s2"], start2: WholePair = _D["start2"]) -> Period:
    """The exact pre-period and period of both sequences modulo ``modulus``.

    ``modulus`` from 2 to 2**127-1. The inputs are whole numbers of any size
    (ints, or strings of decimal digits with an optional sign), reduced
    modulo M first; a float, or a string like ``"1e3"``, raises TypeError or
    ValueError naming the parameter. Returns a :class:`Period`. These are the
    walking engine's figures wherever it can walk: a start pair that comes
    back has pre-period 0 and its cycle's length; for one that never comes
    back they are the two figures of "Startpaar kehrt nicht wieder (Vorlauf
    …, Zyklus …)".
    """
    (row,) = _core.period_rows([modulus], r1=r1, s1=s1, start1=start1, r2=r2, s2=s2, start2=start2, threads=1,
                               name="modulus")
    return Period(row[1], row[2], row[3], row[4], dict(row[5]))


def periods(moduli: Iterable[Whole], *, r1: Whole = _D["r1"], s1: Whole = _D["s1"], start1: WholePair = _D["start1"],
            r2: Whole = _D["r2"], s2: Whole = _D["s2"], start2: WholePair = _D["start2"],
            threads: int = 0) -> _pandas.DataFrame:
    """One row per modulus of ``moduli``, in the order given.

    ``moduli`` is any iterable of ints (or digit strings) from 2 to
    2**127-1, read as the rows are computed; a ``range`` with step 1 is
    computed without listing it first (``periods(range(10**12, 10**12 +
    1000))``). Returns a
    :class:`pandas.DataFrame` with the columns of the command line's CSV,
    ``modulus, preperiod1, length1, preperiod2, length2, factors``: the
    integer columns hold Python ints of any size (object dtype), ``factors``
    the factorisation as text (``"2^3 3 5^2"``). ``threads=0`` uses every
    core; the rows do not depend on it. Ctrl-C stops a long run
    (KeyboardInterrupt).
    """
    inputs = dict(r1=r1, s1=s1, start1=start1, r2=r2, s2=s2, start2=start2)
    if isinstance(moduli, range) and moduli.step == 1:
        if moduli.start >= moduli.stop:  # len() would overflow past 2**63
            rows = []
        else:
            rows = _core.period_range(moduli.start, moduli.stop - 1, **inputs, threads=threads)
    else:
        rows = _core.period_rows(moduli, **inputs, threads=threads)
    return period_frame(rows)
