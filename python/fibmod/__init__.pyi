# SPDX-License-Identifier: MIT
# Type stub of the package fibmod, so that editors complete its names.
import dataclasses
from typing import Final, Iterable, NamedTuple, Sequence, Union

import pandas

Number = Union[int, float, str]
Pair = Union[tuple[Number, Number], Sequence[Number]]

__version__: Final[str]
COLUMNS: Final[tuple[str, ...]]
MODULUS_MIN: Final[int]
MODULUS_MAX: Final[int]
ENGINE_MODULUS_MAX: Final[int]
WINDOW_TERM_BOUND: Final[int]
PERIOD_COLUMNS: Final[tuple[str, ...]]
PERIOD_MODULUS_MAX: Final[int]

Whole = Union[int, str]
WholePair = Union[tuple[Whole, Whole], Sequence[Whole]]

class Period(NamedTuple):
    preperiod1: int
    length1: int
    preperiod2: int
    length2: int
    factors: dict[int, int]

class RunTimeError(RuntimeError):
    number: int
    message: str
    modulus: int | None
    def __init__(self, number: int, message: str, modulus: int | None = ...) -> None: ...

class NeverRecursError(RuntimeError):
    message: str
    modulus: int | None
    def __init__(self, message: str, modulus: int | None = ...) -> None: ...

@dataclasses.dataclass(frozen=True)
class WindowTexts:
    listing1: str
    listing2: str
    common: str
    length1: str
    length2: str
    count: str

@dataclasses.dataclass(frozen=True)
class Shown:
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

def show(
    modulus: int,
    *,
    r1: Number = ...,
    s1: Number = ...,
    start1: Pair = ...,
    r2: Number = ...,
    s2: Number = ...,
    start2: Pair = ...,
    max_terms: int | None = ...,
    listings: bool = ...,
) -> Shown: ...
def scan(
    first: int = ...,
    last: int = ...,
    *,
    r1: Number = ...,
    s1: Number = ...,
    start1: Pair = ...,
    r2: Number = ...,
    s2: Number = ...,
    start2: Pair = ...,
    max_terms: int | None = ...,
    threads: int = ...,
    columns: Sequence[str] | None = ...,
) -> pandas.DataFrame: ...
def next_modulus(
    modulus: int,
    *,
    r1: Number = ...,
    s1: Number = ...,
    start1: Pair = ...,
    r2: Number = ...,
    s2: Number = ...,
    start2: Pair = ...,
    limit: int = ...,
    max_terms: int | None = ...,
) -> int | None: ...
def period(
    modulus: Whole,
    *,
    r1: Whole = ...,
    s1: Whole = ...,
    start1: WholePair = ...,
    r2: Whole = ...,
    s2: Whole = ...,
    start2: WholePair = ...,
) -> Period: ...
def periods(
    moduli: Iterable[Whole],
    *,
    r1: Whole = ...,
    s1: Whole = ...,
    start1: WholePair = ...,
    r2: Whole = ...,
    s2: Whole = ...,
    start2: WholePair = ...,
    threads: int = ...,
) -> pandas.DataFrame: ...
