# SPDX-License-Identifier: MIT
# Shared helpers of the module's tests: the built fibmod-cli and random inputs.
import json
import os
import random
import subprocess

import pytest

CLI = os.environ.get("FIBMOD_CLI", "fibmod-cli")


def run_cli(*args, check=True):
    """The built fibmod-cli's completed run (stdout and stderr as text)."""
    result = subprocess.run([CLI, *map(str, args)], capture_output=True, timeout=60)
    if check:
        assert result.returncode == 0, result.stderr.decode()
    return result


def cli_options(inputs):
    """The command line's options for the module's keyword arguments."""
    options = []
    for name, value in inputs.items():
        text = ",".join(map(str, value)) if name.startswith("start") else str(value)
        options += [f"--{name}", text]
    return options


def cli_scan_json(first, last, inputs):
    return json.loads(run_cli("scan", "--from", first, "--to", last, "--format", "json", *cli_options(inputs)).stdout)


@pytest.fixture
def rng(request):
    """A random generator seeded per test; FIBMOD_RANDOM_SEED replays a run."""
    seed = int(os.environ.get("FIBMOD_RANDOM_SEED", random.randrange(2**32)))
    print(f"seed {seed} (FIBMOD_RANDOM_SEED={seed} replays it)")
    return random.Random(seed)


def random_number(rng):
    """An input as a user might pass it: a small int, a float, a number in a str."""
    kind = rng.randrange(6)
    whole = rng.randint(-9, 9)
    if kind == 0:
        return rng.choice([0.5, -1.5, 2.25, 0.1])
    if kind == 1:
        return f" {whole} "
    if kind == 2:
        return f"{whole}e0"
    return whole


def random_inputs(rng):
    """Keyword arguments r1 … start2 of the module, at random."""
    return {
        "r1": random_number(rng), "s1": random_number(rng),
        "start1": (random_number(rng), random_number(rng)),
        "r2": random_number(rng), "s2": random_number(rng),
        "start2": (random_number(rng), random_number(rng)),
    }
