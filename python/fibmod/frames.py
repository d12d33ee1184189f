# SPDX-License-Identifier: MIT
"""The pandas DataFrames of fibmod: a scan's rows and the periods' rows, made from the extension's results.

:func:`fibmod.scan` and :func:`fibmod.distributed.scan` make their frame here
with :func:`scan_frame`, :func:`fibmod.periods` and
:func:`fibmod.distributed.periods` with :func:`period_frame`, so that the
local and the cluster's results cannot differ in their columns or types.
"""

from __future__ import annotations

from collections.abc import Iterable, Sequence
from typing import Any

import pandas as _pandas

from fibmod import _core

__all__ = ["COLUMNS", "PERIOD_COLUMNS", "chosen_columns", "scan_frame", "period_frame"]

#: The columns of a scan, as the command line's CSV names them.
COLUMNS: tuple[str, ...] = _core.ROW_COLUMNS
#: The columns of :func:`fibmod.periods`, as the command line's ``period`` CSV names them.
PERIOD_COLUMNS: tuple[str, ...] = _core.PERIOD_COLUMNS


def chosen_columns(columns: Iterable[str] | None) -> list[str]:
    """The columns a scan is asked for, checked by the engine's rule: all of them for None.

    ValueError names the valid columns for an unknown or repeated name or an
    empty list; TypeError for a single str.
    """
    if columns is None:
        return list(COLUMNS)
    if isinstance(columns, str):
        raise TypeError("columns: expected a list of column names, not a str")
    return _core.choose_columns(list(columns))


def scan_frame(columns: dict[str, Any], chosen: Sequence[str] | None = None) -> _pandas.DataFrame:
    """The DataFrame of a scan from the extension's columns: the chosen ones, in their order (all for None).

    ``columns`` is what ``_core.scan_columns`` returns (or those of
    consecutive chunks joined), optionally with the residues already made
    into each row's list under ``residue_lists``. A column not chosen never
    becomes Python objects; the residues' lists are made only when they are
    chosen.
    """
    chosen = list(COLUMNS) if chosen is None else list(chosen)
    failed = columns["failed"]
    made = {}
    for name in chosen:
        if name == "modulus":
            made[name] = _pandas.array(columns["modulus"], dtype="Int64")
        elif name in ("length1", "length2", "common_count"):
            made[name] = _pandas.arrays.IntegerArray(columns[name], failed.copy())
        elif name == "common_residues":
            lists = columns.get("residue_lists")
            if lists is None:
                lists = _core.residue_lists(columns["residues"], columns["common_count"], failed)
            made[name] = _pandas.Series(lists, dtype=object, copy=False)
        else:
            made[name] = _pandas.Series(columns["error"], dtype=object)
    return _pandas.DataFrame(made, columns=chosen)


def period_frame(rows: Sequence[tuple[Any, ...]]) -> _pandas.DataFrame:
    """The DataFrame of :func:`fibmod.periods` from the extension's period rows."""
    columns = {name: _pandas.Series([row[i] for row in rows], dtype=object)
               for i, name in enumerate(PERIOD_COLUMNS[:5])}
    columns["factors"] = _pandas.Series([row[6] for row in rows], dtype=object)
    return _pandas.DataFrame(columns)
