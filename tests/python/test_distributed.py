# SPDX-License-Identifier: MIT
"""fibmod.distributed on a real LocalCluster: two worker processes of one thread each."""
import multiprocessing
import os
import re
import signal
import subprocess
import sys

import distributed
import pandas
import pytest

import fibmod
import fibmod.distributed as fd
from conftest import cli_options, random_inputs, run_cli

FIBONACCI_1 = {"r1": 1, "s1": 1}


@pytest.fixture(scope="module")
def client():
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None,
                                  silence_logs=40) as cluster, distributed.Client(cluster) as client:
        yield client
    assert multiprocessing.active_children() == [], "the cluster left worker processes behind"


def living_processes_in_group(group):
    """The processes of a process group that still run code of their own.

    Left out: ended ones waiting to be reaped (state Z), and those in the
    middle of ending, whose memory (and with it their command line) is gone
    already, such as a worker the cluster killed when it closed.
    """
    living = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read().rpartition(")")[2].split()
        except OSError:
            continue
        state, process_group = fields[0], int(fields[2])
        if process_group == group and state not in ("Z", "X"):
            with open(f"/proc/{entry}/cmdline", "rb") as cmdline:
                if cmdline.read():
                    living.append(int(entry))
    return living


class TestScan:
    def test_equals_fibmod_scan_with_the_windows_bound(self, client):
        expected = fibmod.scan(2, 4000, **FIBONACCI_1)
        pandas.testing.assert_frame_equal(fd.scan(client, 2, 4000, **FIBONACCI_1), expected)

    def test_equals_fibmod_scan_without_a_term_bound(self, client):
        expected = fibmod.scan(2, 4000, max_terms=None)
        pandas.testing.assert_frame_equal(fd.scan(client, 2, 4000, max_terms=None), expected)

    def test_equals_fibmod_scan_on_random_inputs_and_chunks(self, client, rng):
        for _ in range(3):
            inputs = random_inputs(rng)
            first = rng.randint(2, 3000)
            last = first + rng.randint(0, 500)
            chunks = rng.randint(1, 40)
            expected = fibmod.scan(first, last, **inputs)
            pandas.testing.assert_frame_equal(fd.scan(client, first, last, **inputs, chunks=chunks), expected)

    def test_equals_fibmod_scan_where_the_residues_outgrow_16_bits(self, client):
        # Chunks up to 2**16 send their residues as 16-bit numbers, those above as 32-bit ones.
        expected = fibmod.scan(65526, 65545, max_terms=None)
        pandas.testing.assert_frame_equal(fd.scan(client, 65526, 65545, max_terms=None, chunks=4), expected)

    def test_keeps_the_named_columns_as_fibmod_scan(self, client):
        chosen = ["modulus", "common_count", "length1"]
        frame = fd.scan(client, 1990, 2100, max_terms=None, columns=chosen, chunks=4)
        pandas.testing.assert_frame_equal(frame, fibmod.scan(1990, 2100, max_terms=None, columns=chosen))

    def test_of_an_empty_range_is_empty(self, client):
        frame = fd.scan(client, 100, 99)
        assert len(frame) == 0 and tuple(frame.columns) == fibmod.COLUMNS

    def test_of_one_modulus_is_its_row(self, client):
        pandas.testing.assert_frame_equal(fd.scan(client, 1030, 1030, **FIBONACCI_1),
                                          fibmod.scan(1030, 1030, **FIBONACCI_1))

    def test_loses_and_doubles_no_row_when_a_worker_dies(self, client, tmp_path):
        marker = tmp_path / "die-once"
        marker.touch()

        def arm():
            """On a worker: the engine's scan, which every chunk task calls, replaced by one whose
            first run to find the marker kills its worker. (The task itself may be cached there.)"""
            import os
            import signal

            from fibmod import _core
            plain = _core.scan_columns

            def dying(*args, **kwargs):
                try:
                    os.unlink(marker)
                except FileNotFoundError:
                    return plain(*args, **kwargs)
                os.kill(os.getpid(), signal.SIGKILL)

            _core.scan_columns = dying

        client.run(arm)
        frame = fd.scan(client, 2, 3000, max_terms=None, chunks=6)
        assert not marker.exists(), "no task met the hook"
        pandas.testing.assert_frame_equal(frame, fibmod.scan(2, 3000, max_terms=None))
        assert frame.modulus.is_unique

    @pytest.mark.parametrize("arguments, error, message", [
        ({"r1": "abc"}, ValueError, "r1: 'abc' is not a number"),
        ({"first": 1}, ValueError, "first: 1 is outside the range"),
        ({"r1": 0.5, "max_terms": None}, ValueError, "max_terms: Ohne Gliederbegrenzung"),
        ({"chunks": 0}, ValueError, "chunks: 0 is not at least 1"),
        ({"chunks": 2.5}, TypeError, "chunks: expected an int or None"),
    ])
    def test_raises_for_bad_arguments_before_sending_a_task(self, client, arguments, error, message):
        arguments = {"first": 2, "last": 100, **arguments}
        with pytest.raises(error) as raised:
            fd.scan(client, **arguments)
        assert str(raised.value).startswith(message)


class TestChunkBounds:
    def test_cover_the_range_in_order_without_gaps(self):
        for first, last, chunks in [(2, 60_000, 16), (2, 2, 8), (5, 9, 100), (10**6, 2 * 10**6, 7)]:
            bounds = fd.chunk_bounds(first, last, chunks)
            assert bounds[0][0] == first and bounds[-1][1] == last
            assert all(a <= b for a, b in bounds)
            assert all(b + 1 == c for (_, b), (c, _) in zip(bounds, bounds[1:]))
            assert len(bounds) <= chunks

    def test_of_an_empty_range_are_none(self):
        assert fd.chunk_bounds(10, 9, 4) == []

    def test_make_the_chunks_of_large_moduli_shorter(self):
        widths = [b - a + 1 for a, b in fd.chunk_bounds(2, 60_000, 8)]
        assert widths == sorted(widths, reverse=True) and widths[0] > 2 * widths[-1]
        # A modulus M costs about M terms without a bound.
        costs = [sum(range(a, b + 1)) for a, b in fd.chunk_bounds(2, 60_000, 8)]
        assert max(costs) < 1.02 * min(costs)


class TestCommandLine:
    def program(self, *args):
        return subprocess.run([sys.executable, "-m", "fibmod.distributed", *map(str, args)],
                              capture_output=True, timeout=120)

    def test_writes_the_command_lines_csv_byte_for_byte(self, client, rng):
        address = client.scheduler.address
        cases = [[], ["--from", 1000, "--to", 1100, *cli_options(FIBONACCI_1)],
                 ["--to", 60, "--r2", "-5e0", "--s1", "-1.5D0", "--start1", "-1,2"],
                 ["--from", 1990, *cli_options(random_inputs(rng))]]
        for options in cases:
            ours = self.program("--scheduler", address, "--format", "csv", *options)
            assert ours.returncode == 0, ours.stderr.decode()
            assert ours.stdout == run_cli("scan", "--format", "csv", *options).stdout, options

    def test_leaves_out_the_header_so_that_parts_join(self, client):
        address = client.scheduler.address
        head = self.program("--scheduler", address, "--to", 700)
        tail = self.program("--scheduler", address, "--from", 701, "--no-header")
        assert head.stdout + tail.stdout == run_cli("scan", "--format", "csv").stdout

    def test_starts_a_cluster_of_its_own_without_a_scheduler(self):
        ours = self.program("--workers", 1, "--from", 50, "--to", 80)
        assert ours.returncode == 0, ours.stderr.decode()
        assert ours.stdout == run_cli("scan", "--format", "csv", "--from", 50, "--to", 80).stdout

    def test_shares_the_command_lines_option_names_value_names_and_defaults(self):
        from fibmod.distributed.__main__ import OPTIONS

        listed = re.findall(r"^ +(?:-\w,)?(--[\w-]+)(?: ([^\s=]+)(?:=(\S+))?)?", run_cli("scan", "--help").stdout.decode(),
                            re.MULTILINE)
        cli = {name: (value, default) for name, value, default in listed}
        # The format differs on purpose: the program writes CSV alone.
        shared = [option for option in OPTIONS if option.name in cli and option.name not in ("--help", "--format")]
        assert {option.name for option in shared} == {"--from", "--to", "--r1", "--s1", "--start1", "--r2", "--s2",
                                                      "--start2", "--max-terms", "--no-header"}
        for option in shared:
            assert (option.value or "", option.default or "") == cli[option.name], option.name

    def test_writes_its_help_from_the_table(self):
        shown = self.program("-h")
        assert shown.returncode == 0 and b"--max-terms N|none" in shown.stdout and b"(default: 3000)" in shown.stdout

    def test_reports_a_usage_error_in_the_options_words(self):
        for args, message in [(["--r1", "abc"], "argument --r1: 'abc' is not a number"),
                              (["--r1"], "argument --r1: expected one argument"),
                              (["--from=3", "--modulus", "4"], "unrecognized arguments: --modulus"),
                              (["--from", 1], "--from: 1 is outside the range 2 to 2147483647"),
                              (["--max-terms", "none", "--s1", "0.5"], "--max-terms: Ohne Gliederbegrenzung")]:
            result = self.program(*args)
            assert result.returncode == 2 and result.stdout == b""
            assert message in result.stderr.decode()

    @pytest.mark.parametrize("signal_number, status", [(signal.SIGINT, 130), (signal.SIGTERM, 143)])
    def test_stops_on_a_signal_after_a_whole_row_and_leaves_no_process(self, signal_number, status):
        # Far more than it could finish; the header shows that the scan is under way. In a session
        # of its own, so that every process it started can be looked for afterwards.
        program = subprocess.Popen([sys.executable, "-m", "fibmod.distributed", "--workers", "1", "--from", "100000",
                                    "--to", "10000000", "--max-terms", "none"],
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, start_new_session=True)
        try:
            header = program.stdout.readline()
            assert header.startswith(b"modulus,")
            program.send_signal(signal_number)
            rest, errors = program.communicate(timeout=60)
            assert program.returncode == status, errors.decode()
            assert (header + rest).endswith(b"\r\n")
            assert living_processes_in_group(program.pid) == []
        finally:
            try:
                os.killpg(program.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass

    def test_reports_a_failed_write(self):
        with open("/dev/full", "wb") as full:
            result = subprocess.run([sys.executable, "-m", "fibmod.distributed", "--workers", "1", "--to", "20"],
                                    stdout=full, stderr=subprocess.PIPE, timeout=120)
        assert result.returncode == 1
        assert "writing the rows failed" in result.stderr.decode()


def test_period_chunks_are_made_and_sent_a_window_at_a_time():
    # A range of 2**64 moduli has more chunks than memory holds: they are
    # made as results come back, never more than the window ahead.
    class Future:
        def __init__(self, value):
            self.value = value

        def result(self):
            return self.value

        def release(self):
            pass

    class Client:
        def __init__(self):
            self.submitted = 0

        def submit(self, function, *arguments, pure):
            self.submitted += 1
            return Future(function(*arguments))

    made = []

    def tasks():
        for first, last in fd._period_bounds(2, 2**64 + 1, 2**40):
            made.append(first)
            yield (lambda a, b: (a, b)), first, last

    client = Client()
    results = fd._results_in_order(client, tasks(), window=4)
    firsts = [next(results)[0] for _ in range(10)]
    assert firsts == made[:10] == sorted(made[:10])
    assert len(made) == client.submitted <= 10 + 4
