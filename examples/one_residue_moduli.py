#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The moduli with exactly one common residue, and how many there are up to M.

Scans 2 … 100,000 with the window's inputs when it opens (r1=6, s1=-1,
r2=4, s2=-1, both start pairs 1, 1) and no term bound, through the module
fibmod, and draws with matplotlib the moduli where "Nächster: Nur Rest 1
gemeinsam" stops, with their running count against M.

    PYTHONPATH=build/default/python /usr/bin/python3 examples/one_residue_moduli.py
"""

import argparse
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402 (after choosing the backend)

import fibmod  # noqa: E402

# Moduli scanned at once.
BLOCK = 2_000


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--to", type=int, default=100_000, help="the last modulus (100000)")
    parser.add_argument("--output", default="docs/one_residue_moduli.png", help="the PNG to write")
    arguments = parser.parse_args()

    # A block of moduli at a time: the rows of large moduli hold hundreds of
    # common residues each, which as Python ints would fill gigabytes.
    start = time.monotonic()
    single = []
    failed = 0
    for first in range(2, arguments.to + 1, BLOCK):
        rows = fibmod.scan(first, min(first + BLOCK - 1, arguments.to), max_terms=None)
        single += rows[rows.common_count == 1].modulus.tolist()
        failed += int(rows.error.notna().sum())
    seconds = time.monotonic() - start
    print(f"{len(single)} of {arguments.to - 1} moduli 2 … {arguments.to} have exactly one common residue "
          f"({failed} rows without figures); scanned in {seconds:.1f} s")

    figure, (ticks, count) = plt.subplots(2, 1, sharex=True, figsize=(9, 5.5),
                                          gridspec_kw={"height_ratios": [1, 3]}, layout="constrained")
    ticks.eventplot(single, lineoffsets=0, linelengths=1, linewidths=0.4, color="purple")
    ticks.set_yticks([])
    ticks.set_title("Moduli with exactly one common residue (r1=6, s1=-1, r2=4, s2=-1, start 1, 1)")
    count.step(single, range(1, len(single) + 1), where="post", color="purple")
    count.set_xlabel("modulus M")
    count.set_ylabel("moduli up to M")
    count.set_xlim(2, arguments.to)
    count.set_ylim(bottom=0)
    count.grid(True, alpha=0.3)
    figure.savefig(arguments.output, dpi=100)
    print(f"wrote {arguments.output}")


if __name__ == "__main__":
    main()
