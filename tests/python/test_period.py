# SPDX-License-Identifier: MIT
# The module's exact periods: one modulus, many, a Dask cluster, bad arguments and Ctrl-C.
import _thread
import subprocess
import sys
import threading

import numpy
import pandas
import pytest

from _core_seams import Gate, period_run_held, wait_for_runs_left_behind

import fibmod
import fibmod.distributed
from conftest import run_cli


def test_period_gives_the_walking_engines_figures_as_python_ints():
    assert fibmod.period(12, s2=2) == (0, 4, 4, 6, {2: 2, 3: 1})
    huge = fibmod.period(2**127 - 1, r1=1, s1=1, start1=(0, 1))
    assert huge.length1 == 2**128
    assert huge.factors == {2**127 - 1: 1}
    # Inputs of any size, as ints or digit strings, reduced modulo M first.
    assert fibmod.period(1000003, r1=6 + 10**40 * 1000003, start1=("-5", 7)) == fibmod.period(
        1000003, start1=(1000003 - 5, 7))


def test_pisano_periods_of_powers_of_ten():
    frame = fibmod.periods([10**k for k in range(3, 39)], r1=1, s1=1, start1=(0, 1))
    assert list(frame["length1"]) == [15 * 10 ** (k - 1) for k in range(3, 39)]


def test_periods_of_a_huge_range_match_the_command_lines_csv():
    first = 10**12
    frame = fibmod.periods(range(first, first + 200), s2=6, threads=2)
    assert list(frame.columns) == list(fibmod.PERIOD_COLUMNS)
    assert all(frame[column].dtype == object for column in frame.columns)
    assert all(type(value) is int for value in frame["length1"])
    cli = run_cli("period", "--s2", "6", "--from", first, "--to", first + 199, "--format", "csv").stdout.decode()
    lines = cli.split("\r\n")[1:-1]
    assert lines == [",".join(map(str, row)) for row in frame.itertuples(index=False)]
    # Any iterable gives the same rows, in its own order.
    listed = fibmod.periods(reversed(range(first, first + 200)), s2=6)
    pandas.testing.assert_frame_equal(listed.iloc[::-1].reset_index(drop=True), frame)


def test_flint_is_loaded_with_the_first_period_as_fibmod_cli_loads_it():
    shown = subprocess.run([sys.executable, "-c", """if True:
        import fibmod
        def flint(): return "libflint" in open("/proc/self/maps").read()
        fibmod.scan(2, 10)
        print(flint(), fibmod.period(12).length1, flint())"""], capture_output=True, text=True, timeout=60)
    assert shown.stdout == "False 4 True\n", shown.stderr


@pytest.mark.parametrize("arguments, error, message", [
    (dict(modulus=1), ValueError, "modulus: 1 is outside the range 2 to 170141183460469231731687303715884105727"),
    (dict(modulus=2**127), ValueError, "modulus: 1701411834604692317316873037158841057"),
    (dict(modulus=12, r1=2.5), TypeError, "r1: expected an int or a str of decimal digits, not float"),
    (dict(modulus=12, s2="1e3"), ValueError, "s2: '1e3' is not a whole number in decimal digits"),
    (dict(modulus=12, start1=(1,)), TypeError, "start1: expected two start values"),
    (dict(modulus=12.0), TypeError, "modulus: expected an int"),
    (dict(modulus=numpy.bool_(True)), TypeError, "modulus: expected an int or a str of decimal digits, not bool"),
    (dict(modulus=12, r1=numpy.bool_(True)), TypeError, "r1: expected an int or a str of decimal digits, not bool"),
])
def test_bad_arguments_name_the_parameter(arguments, error, message):
    with pytest.raises(error, match=message.replace("(", r"\(").replace(")", r"\)")):
        fibmod.period(**arguments)


def test_periods_names_its_parameter_when_not_given_moduli():
    with pytest.raises(TypeError, match="^moduli: expected an iterable of moduli"):
        fibmod.periods(12)


def test_ctrl_c_does_not_wait_for_the_modulus_under_way():
    # Above 2**64 one modulus may take a second, and the engine looks at the
    # stop request only between moduli: the caller must not wait for it.
    gate = Gate()

    def interrupt():
        gate.wait_until_held()
        _thread.interrupt_main()

    thread = threading.Thread(target=interrupt)
    thread.start()
    with pytest.raises(KeyboardInterrupt):
        period_run_held(gate)
    thread.join()
    gate.open()
    wait_for_runs_left_behind()
    assert gate.opened_in_time, "the interrupt waited for the held modulus"


def test_periods_on_a_dask_cluster_equal_the_local_ones():
    distributed = pytest.importorskip("distributed")
    first = 2**100
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True) as cluster, \
            distributed.Client(cluster) as client:
        frame = fibmod.distributed.periods(client, first, first + 40, s1=3, chunks=3)
        # Digit strings are numbers, compared as such.
        digits = fibmod.distributed.periods(client, "9", "10")
        with pytest.raises(ValueError, match="first: 1 is outside"):
            fibmod.distributed.periods(client, 1, 5)
    pandas.testing.assert_frame_equal(frame, fibmod.periods(range(first, first + 41), s1=3))
    pandas.testing.assert_frame_equal(digits, fibmod.periods([9, 10]))
