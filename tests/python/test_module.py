# SPDX-License-Identifier: MIT
"""The module fibmod: the same rows and texts as fibmod-cli, its arguments, its errors and its GIL."""
import _thread
import json
import threading

import numpy
import pandas
import pytest

import fibmod
from fibmod import _core
import _core_seams
from conftest import cli_options, cli_scan_json, random_inputs, run_cli

FIBONACCI_1 = {"r1": 1, "s1": 1}
ERROR_9 = "Laufzeitfehler 9: Index außerhalb des gültigen Bereichs"


def rows_of(frame):
    """The frame's rows as the command line's JSON writes them."""
    rows = []
    for row in frame.itertuples(index=False):
        rows.append({
            "modulus": row.modulus,
            "length1": None if row.length1 is pandas.NA else row.length1,
            "length2": None if row.length2 is pandas.NA else row.length2,
            "common_count": None if row.common_count is pandas.NA else row.common_count,
            "common_residues": row.common_residues,
            "error": row.error,
        })
    return rows


class TestScan:
    def test_has_the_command_lines_columns_with_nullable_integers(self):
        frame = fibmod.scan(2, 10)
        assert tuple(frame.columns) == fibmod.COLUMNS
        for column in ("modulus", "length1", "length2", "common_count"):
            assert frame[column].dtype == pandas.Int64Dtype()
        assert frame.common_residues[7] == [1, 2, 4, 5, 7, 8]
        assert type(frame.common_residues[7]) is list
        assert all(type(residue) is int for residue in frame.common_residues[7])

    def test_equals_the_command_line_over_the_windows_range(self):
        assert rows_of(fibmod.scan()) == cli_scan_json(2, 2000, {})

    def test_equals_the_command_line_on_random_inputs(self, rng):
        for _ in range(12):
            inputs = random_inputs(rng)
            first = rng.randint(2, 1990)
            last = rng.randint(first, min(first + 40, 2000))
            assert rows_of(fibmod.scan(first, last, **inputs)) == cli_scan_json(first, last, inputs), inputs

    def test_puts_a_run_time_error_into_its_row_with_na(self):
        frame = fibmod.scan(1029, 1031, **FIBONACCI_1)
        error = frame[frame.modulus == 1030].iloc[0]
        assert error.error == ERROR_9
        assert error.length1 is pandas.NA and error.common_count is pandas.NA and error.common_residues is None
        assert frame.error.isna().sum() == 2

    def test_without_a_term_bound_goes_past_the_window(self):
        frame = fibmod.scan(1030, 1030, **FIBONACCI_1, max_terms=None)
        assert frame.error[0] is None
        assert frame.length1[0] > 3000

    def test_gives_the_same_rows_for_one_and_two_threads(self):
        one = fibmod.scan(2, 3000, **FIBONACCI_1, max_terms=None, threads=1)
        two = fibmod.scan(2, 3000, **FIBONACCI_1, max_terms=None, threads=2)
        pandas.testing.assert_frame_equal(one, two)

    def test_of_a_range_ending_below_its_start_is_empty(self):
        frame = fibmod.scan(10, 9)
        assert len(frame) == 0 and tuple(frame.columns) == fibmod.COLUMNS

    def test_reports_a_start_pair_that_never_comes_back(self):
        frame = fibmod.scan(4, 4, s2=2, max_terms=None)
        assert frame.error[0].startswith("Folge 2: Startpaar kehrt nicht wieder")
        assert frame.length2[0] is pandas.NA


class TestScanColumns:
    def test_keeps_the_named_columns_in_their_order_with_the_same_cells(self):
        full = fibmod.scan(1990, 2010)
        for chosen in (["common_count", "modulus"], ["error", "common_residues", "length2"]):
            frame = fibmod.scan(1990, 2010, columns=chosen)
            assert list(frame.columns) == chosen
            pandas.testing.assert_frame_equal(frame, full[chosen])

    @pytest.mark.parametrize("columns", [[], ["modulus", "modulus"], ["modulus", "lenght1"]])
    def test_refuses_an_empty_list_a_repeated_or_unknown_name_listing_the_valid_ones(self, columns):
        with pytest.raises(ValueError, match="modulus, length1, length2, common_count, common_residues, error"):
            fibmod.scan(2, 10, columns=columns)


    def test_residue_lists_read_columns_that_start_at_any_byte(self):
        # As another process's columns arrive: views into one message at odd offsets.
        columns = _core.scan_columns(1990, 2010, **fibmod._core.DESIGN_TIME_INPUTS, max_terms=3000, threads=1)
        expected = _core.residue_lists(columns["residues"], columns["common_count"], columns["failed"])
        odd = [numpy.frombuffer(b"\0" + columns[name].tobytes(), dtype=columns[name].dtype, offset=1)
               for name in ("residues", "common_count", "failed")]
        assert not odd[0].flags.aligned and not odd[1].flags.aligned
        assert list(_core.residue_lists(*odd)) == list(expected)


class TestShow:
    def test_equals_the_command_lines_fields_on_random_inputs(self, rng):
        for _ in range(15):
            inputs = random_inputs(rng)
            modulus = rng.randint(2, 2000)
            result = run_cli("show", "--modulus", modulus, "--json", *cli_options(inputs), check=False)
            if result.returncode == 1:
                with pytest.raises(fibmod.RunTimeError) as raised:
                    fibmod.show(modulus, **inputs)
                assert result.stderr.decode() == f"fibmod-cli: {raised.value}\n"
                continue
            expected = json.loads(result.stdout)
            shown = fibmod.show(modulus, **inputs)
            fields = expected["fields"]
            assert (shown.length1, shown.length2, shown.common_count, shown.common_residues) == (
                expected["length1"], expected["length2"], expected["common_count"], expected["common_residues"])
            assert shown.texts.listing1 == fields["Text1(1)"]
            assert shown.texts.listing2 == fields["Text1(0)"]
            assert shown.texts.common == fields["Text1(6)"]
            assert (shown.texts.length1, shown.texts.length2, shown.texts.count) == (
                fields["Text3(0)"], fields["Text3(1)"], fields["Text3(2)"])

    def test_holds_the_listings_and_members_as_numbers(self):
        shown = fibmod.show(3)
        assert shown.listing1 == [2, 2, 1, 1] and shown.listing2 == [0, 2, 2, 0, 1, 1]
        assert shown.members[0] == (2, 1, 2)
        assert shown.common_residues == [1, 2] and shown.common_count == 2

    def test_without_listings_keeps_the_figures_only(self):
        shown = fibmod.show(1030, **FIBONACCI_1, max_terms=None, listings=False)
        assert shown.listing1 == [] and shown.members == [] and shown.length1 > 3000
        assert shown.texts.length1 == str(shown.length1)

    def test_raises_the_windows_run_time_error_with_its_number(self):
        with pytest.raises(fibmod.RunTimeError) as raised:
            fibmod.show(1030, **FIBONACCI_1)
        assert raised.value.number == 9 and raised.value.modulus == 1030 and str(raised.value) == ERROR_9
        with pytest.raises(fibmod.RunTimeError) as raised:
            fibmod.show(5, r1="1e400")
        assert raised.value.number == 6

    def test_reads_a_large_int_as_the_double_it_becomes(self):
        # Past 2000 whole numbers are exact: 2**60 + 1 and 2**60 would differ there.
        pandas.testing.assert_frame_equal(fibmod.scan(5000, 5010, r1=2**60 + 1), fibmod.scan(5000, 5010, r1=2**60))
        assert not fibmod.scan(5000, 5010, r1=2**60).equals(fibmod.scan(5000, 5010, r1=2**60 + 2**8))
        # A float is passed with all its digits: 0.1 reads as "0.1" does.
        pandas.testing.assert_frame_equal(fibmod.scan(2, 300, r1=0.1, s2=1 / 3),
                                          fibmod.scan(2, 300, r1="0.1", s2="0.33333333333333331"))


class TestNextModulus:
    def test_equals_the_command_line(self, rng):
        for modulus in [2, 5, 100] + [rng.randint(2, 1999) for _ in range(5)]:
            out = run_cli("next", "--modulus", modulus).stdout
            # Above the last stop below 2000 the command line gives the window's limit message.
            assert fibmod.next_modulus(modulus) == (None if out.startswith(b"Begrenzung") else int(out)), modulus

    def test_is_none_when_no_modulus_up_to_the_limit_stops(self):
        assert fibmod.next_modulus(1999) is None
        assert fibmod.next_modulus(30, limit=30) is None

    def test_raises_where_the_stepping_meets_an_error(self):
        with pytest.raises(fibmod.RunTimeError) as raised:
            fibmod.next_modulus(1000, **FIBONACCI_1)
        assert raised.value.modulus == 1030 and raised.value.number == 9
        with pytest.raises(fibmod.NeverRecursError) as raised:
            fibmod.next_modulus(3, s2=2, max_terms=None)
        assert raised.value.modulus == 4

    def test_goes_past_the_window_without_a_term_bound(self):
        assert fibmod.next_modulus(1999, limit=10_000, max_terms=None) == 2009
        between = fibmod.scan(2000, 2009, max_terms=None)
        assert list(between.common_count != 1) == [True] * 9 + [False]


class TestBadArguments:
    @pytest.mark.parametrize("arguments, error, message", [
        ({"r1": "abc"}, ValueError, "r1: 'abc' is not a number"),
        ({"s2": "1 2"}, ValueError, "s2: '1 2' is not a number"),
        ({"start1": (1, "x")}, ValueError, "start1: 'x' is not a number"),
        ({"start2": (1,)}, TypeError, "start2: expected two start values"),
        ({"start1": "1,1"}, TypeError, "start1: expected two start values"),
        ({"r2": None}, TypeError, "r2: expected an int, a float or a str"),
        ({"r1": True}, TypeError, "r1: expected an int, a float or a str, not bool"),
        ({"r1": float("nan")}, ValueError, "r1: 'nan' is not a number"),
        ({"max_terms": 0}, ValueError, "max_terms: 0 is outside the range 1 to"),
        ({"max_terms": 2.0}, TypeError, "max_terms: expected an int"),
        ({"r1": 0.5, "max_terms": None}, ValueError,
         "max_terms: Ohne Gliederbegrenzung müssen r, s und die Startwerte ganze Zahlen sein"),
    ])
    def test_name_the_python_parameter_in_every_operation(self, arguments, error, message):
        for call in (lambda: fibmod.scan(2, 3, **arguments), lambda: fibmod.show(5, **arguments),
                     lambda: fibmod.next_modulus(5, **arguments)):
            with pytest.raises(error) as raised:
                call()
            assert str(raised.value).startswith(message)

    def test_of_the_moduli_name_them(self):
        with pytest.raises(ValueError, match="^first: 1 is outside the range 2 to 2147483647$"):
            fibmod.scan(1, 3)
        with pytest.raises(ValueError, match="^last: 2147483648 is outside the range"):
            fibmod.scan(2, 2**31)
        with pytest.raises(TypeError, match="^modulus: expected an int, not float"):
            fibmod.show(5.0)
        with pytest.raises(ValueError, match="^limit: 1 is outside the range"):
            fibmod.next_modulus(5, limit=1)

    def test_of_the_threads_name_them(self):
        with pytest.raises(ValueError, match="^threads: -1 is outside the range 0 to"):
            fibmod.scan(2, 3, threads=-1)
        with pytest.raises(TypeError, match="^threads: expected an int, not str"):
            fibmod.scan(2, 3, threads="2")

    def test_shorten_a_huge_value_in_the_message(self):
        with pytest.raises(ValueError) as raised:
            fibmod.scan(2, 3, r1="x" * 10_000)
        assert len(str(raised.value)) < 100


class TestGil:
    def hold_and_release(self, run):
        """Runs `run(gate)` while another Python thread must run before the engine may go on."""
        gate = _core_seams.Gate()
        ran = []

        def other():
            gate.wait_until_held()
            ran.append(gate.held_modulus)
            gate.open()

        thread = threading.Thread(target=other)
        thread.start()
        result = run(gate)
        thread.join()
        assert ran and gate.opened_in_time, "the engine held the GIL while it computed"
        return result

    def test_is_released_while_a_scan_computes(self):
        columns = self.hold_and_release(lambda gate: _core_seams.scan_columns(
            gate, 2, 200, r1=6, s1=-1, start1=(1, 1), r2=4, s2=-1, start2=(1, 1), max_terms=3000))
        assert list(columns["modulus"]) == list(range(2, 201))

    def test_is_released_while_the_stepping_computes(self):
        row = self.hold_and_release(lambda gate: _core_seams.next_stop(
            gate, 5, r1=6, s1=-1, start1=(1, 1), r2=4, s2=-1, start2=(1, 1), limit=2000, max_terms=3000))
        assert row["modulus"] == 7

    def test_lets_ctrl_c_stop_a_long_scan(self):
        gate = _core_seams.Gate()

        def interrupt():
            gate.wait_until_held()
            _thread.interrupt_main()
            gate.open()

        thread = threading.Thread(target=interrupt)
        thread.start()
        with pytest.raises(KeyboardInterrupt):
            _core_seams.scan_columns(gate, 2, 100_000, r1=6, s1=-1, start1=(1, 1), r2=4, s2=-1, start2=(1, 1),
                                     max_terms=3000)
        thread.join()
