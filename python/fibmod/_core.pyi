# SPDX-License-Identifier: MIT
# Type stub of the compiled extension fibmod._core, which has no Python source to read the names from.
from collections.abc import Iterable
from typing import Any, Final

import numpy

__version__: Final[str]
MODULUS_MIN: Final[int]
MODULUS_MAX: Final[int]
ENGINE_MODULUS_MAX: Final[int]
WINDOW_TERM_BOUND: Final[int]
TERM_BOUND_MAX: Final[int]
WORKER_THREADS_MAX: Final[int]
PERIOD_MODULUS_MAX: Final[int]
ROW_COLUMNS: Final[tuple[str, ...]]
PERIOD_COLUMNS: Final[tuple[str, ...]]
# r1, s1, start1, r2, s2, start2 as the window shows them when it opens.
DESIGN_TIME_INPUTS: Final[dict[str, Any]]

# A scan's rows as columns: modulus, length1, length2, common_count, failed
# (numpy arrays), residues (every row's, one after another: uint16 up to
# modulus 65536, int32 above) and error (a list of str or None).
def scan_columns(first: Any, last: Any, *, r1: Any, s1: Any, start1: Any, r2: Any, s2: Any, start2: Any,
                 max_terms: Any, threads: Any = 0, residues: bool = True) -> dict[str, Any]: ...
def choose_columns(names: list[str]) -> list[str]: ...
def scan_csv(first: Any, last: Any, *, r1: Any, s1: Any, start1: Any, r2: Any, s2: Any, start2: Any,
             max_terms: Any, threads: Any = 0, header: bool = True) -> str: ...
# One modulus's row (modulus, length1, length2, residues, error, error_number,
# never_recurs) with terms1, terms2, members and the window's texts.
def show(modulus: Any, *, r1: Any, s1: Any, start1: Any, r2: Any, s2: Any, start2: Any, max_terms: Any,
         listings: bool = True) -> dict[str, Any]: ...
def next_stop(modulus: Any, *, r1: Any, s1: Any, start1: Any, r2: Any, s2: Any, start2: Any, limit: Any,
              max_terms: Any) -> dict[str, Any] | None: ...
def residue_lists(residues: numpy.ndarray, counts: Any, failed: Any) -> numpy.ndarray: ...
def csv_header() -> str: ...
def read_number(text: str) -> str: ...
def read_start_pair(text: str) -> tuple[str, str]: ...
def read_whole_number(text: str, low: int, high: int) -> int: ...
def read_term_bound(text: str) -> int | None: ...
def check_arguments(first: Any, last: Any, *, r1: Any, s1: Any, start1: Any, r2: Any, s2: Any, start2: Any,
                    max_terms: Any) -> None: ...

# A period row: (modulus, preperiod1, length1, preperiod2, length2,
# [(p, e), ...], the factors as text), Python ints of any size.
PeriodRow = tuple[int, int, int, int, int, list[tuple[int, int]], str]

def period_rows(moduli: Iterable[Any], *, r1: Any, s1: Any, start1: Any, r2: Any, s2: Any, start2: Any,
                threads: Any = 0, name: str = "moduli") -> list[PeriodRow]: ...
def period_range(first: Any, last: Any, *, r1: Any, s1: Any, start1: Any, r2: Any, s2: Any, start2: Any,
                 threads: Any = 0) -> list[PeriodRow]: ...
def check_period_arguments(first: Any, last: Any, *, r1: Any, s1: Any, start1: Any, r2: Any, s2: Any,
                           start2: Any) -> tuple[int, int]: ...
