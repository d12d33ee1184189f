# SPDX-License-Identifier: MIT
# Type stub of fibmod.distributed, so that editors complete its names.
from typing import Sequence

import distributed
import pandas

from fibmod import Number, Pair, Whole, WholePair

def chunk_bounds(first: int, last: int, chunks: int, max_terms: int | None = ...) -> list[tuple[int, int]]: ...
def scan(
    client: distributed.Client,
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
    chunks: int | None = ...,
    columns: Sequence[str] | None = ...,
) -> pandas.DataFrame: ...
def periods(
    client: distributed.Client,
    first: int | str,
    last: int | str,
    *,
    r1: Whole = ...,
    s1: Whole = ...,
    start1: WholePair = ...,
    r2: Whole = ...,
    s2: Whole = ...,
    start2: WholePair = ...,
    chunks: int | None = ...,
) -> pandas.DataFrame: ...
def main(argv: Sequence[str] | None = ...) -> int: ...
