#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs the built fibmod-cli as a user would and checks what it prints.

The program's path comes from the environment (FIBMOD_CLI); the argument
names the group of cases to run, e.g. `cli_test.py ScanTest`.
"""

import csv
import io
import json
import os
import pty
import random
import re
import signal
import subprocess
import sys
import tempfile
import unittest

PROGRAM = os.environ.get("FIBMOD_CLI", "fibmod-cli")
# The same program built with a hook that holds it before a modulus (FIBMOD_CLI_HOLD_AT).
HELD_PROGRAM = os.environ.get("FIBMOD_CLI_HELD", "fibmod-cli-held")

CRLF = "\r\n"
ERROR_6 = "Laufzeitfehler 6: Überlauf"
ERROR_9 = "Laufzeitfehler 9: Index außerhalb des gültigen Bereichs"
LIMIT = "Begrenzung: Modul m < 2000"
CSV_HEADER = ["modulus", "length1", "length2", "common_count", "common_residues", "error"]

# Sequence 1 as the Fibonacci numbers: its cycle modulo 1030 is longer than
# the window's 3000 terms, which is error 9.
FIBONACCI_1 = ["--r1", "1", "--s1", "1"]


def run(*args, stdout=subprocess.PIPE):
    return subprocess.run([PROGRAM, *args], stdout=stdout, stderr=subprocess.PIPE, timeout=20)


def text(data):
    return data.decode("utf-8")


def lines(field):
    """The lines of a field's text, whose lines all end with CR LF."""
    assert field == "" or field.endswith(CRLF), repr(field)
    return field.split(CRLF)[:-1]


def interrupt(process, when_ready):
    """Waits for `when_ready()`, stops `process` with SIGINT and waits for
    it to end (killing it should anything fail meanwhile)."""
    try:
        when_ready()
        process.send_signal(signal.SIGINT)
        process.communicate(timeout=20)
    finally:
        process.kill()
        process.wait()


class ProgramCase(unittest.TestCase):
    def succeed(self, *args):
        """The standard output of a run that must succeed quietly."""
        result = run(*args)
        self.assertEqual(result.returncode, 0, text(result.stderr))
        self.assertEqual(result.stderr, b"")
        return text(result.stdout)

    def fail_with(self, code, *args):
        """The one line on standard error of a run that must fail with `code`."""
        result = run(*args)
        self.assertEqual(result.returncode, code, f"{args}: {text(result.stderr)}")
        self.assertEqual(result.stdout, b"", args)
        report = text(result.stderr)
        self.assertTrue(report.endswith("\n"), report)
        self.assertNotIn("\n", report[:-1], f"{args}: more than one line: {report!r}")
        return report[:-1]

    def scan_csv(self, *args):
        """The CSV rows of a scan, checked for the header and CR LF line ends."""
        out = run("scan", "--format", "csv", *args).stdout
        self.assertTrue(out.endswith(b"\r\n"))
        self.assertNotIn(b"\n", out.replace(b"\r\n", b""))
        rows = list(csv.reader(io.StringIO(text(out), newline=""), strict=True))
        self.assertEqual(rows[0], CSV_HEADER)
        return rows[1:]

    def scan_json(self, *args):
        return json.loads(self.succeed("scan", "--format", "json", *args))


class ShowTest(ProgramCase):
    def test_modulus_3_with_the_default_inputs_gives_the_worked_example(self):
        shown = json.loads(self.succeed("show", "--modulus", "3", "--json"))
        fields = shown["fields"]
        self.assertEqual(lines(fields["Text1(0)"]), [" 0", " 2", " 2", " 0", " 1", " 1"])
        self.assertEqual(lines(fields["Text1(1)"]), [" 2", " 2", " 1", " 1"])
        self.assertEqual(
            lines(fields["Text1(6)"]),
            [" 2 bei  1 2", " 2 bei  2 2", " 2 bei  1 3", " 2 bei  2 3",
             " 1 bei  3 5", " 1 bei  4 5", " 1 bei  3 6", " 1 bei  4 6",
             "", "", "Zusammenfassung:", "gemeinsam sind", "die Reste", "", " 1", " 2"])
        self.assertEqual((fields["Text3(0)"], fields["Text3(1)"], fields["Text3(2)"]), ("4", "6", "2"))
        self.assertEqual(fields["Text2"], "3")
        self.assertEqual(
            {k: shown[k] for k in ("modulus", "length1", "length2", "common_count", "common_residues")},
            {"modulus": 3, "length1": 4, "length2": 6, "common_count": 2, "common_residues": [1, 2]})

    def test_the_inputs_are_typed_into_their_fields(self):
        shown = json.loads(self.succeed("show", *FIBONACCI_1, "--start1", "0,1", "--r2", "3",
                                        "--start2", "2, 5", "-m", "10", "--json"))
        fields = shown["fields"]
        self.assertEqual([fields[f"Text4({i})"] for i in range(4)], ["1", "1", "-1", "3"])
        self.assertEqual([fields[f"Text1({i})"] for i in range(2, 6)], ["2", " 5", "0", "1"])
        # The Fibonacci numbers repeat modulo 10 after 60 terms.
        self.assertEqual(shown["length1"], 60)
        self.assertEqual(len(lines(fields["Text1(1)"])), 60)

    def test_the_readable_layout_puts_each_listing_under_its_heading(self):
        out = self.succeed("show", "--modulus", "3").split("\n")
        self.assertEqual(out[:2], ["Modul 3", ""])
        heading = out[2]
        starts = [heading.index(h) for h in
                  ("Def.  Folge 1", "Def.   Folge 2", "Gemeinsames Folgenglied x  bei...")]
        self.assertEqual(out[-1], "")
        body, results = out[3:-3], out[-2]
        self.assertEqual(out[-3], "")
        columns = [[line[a:b].rstrip() for line in body]
                   for a, b in zip(starts, starts[1:] + [None])]
        self.assertEqual([c for c in columns[0] if c], [" 2", " 2", " 1", " 1"])
        self.assertEqual([c for c in columns[1] if c], [" 0", " 2", " 2", " 0", " 1", " 1"])
        self.assertEqual(columns[2][:8], [" 2 bei  1 2", " 2 bei  2 2", " 2 bei  1 3", " 2 bei  2 3",
                                          " 1 bei  3 5", " 1 bei  4 5", " 1 bei  3 6", " 1 bei  4 6"])
        self.assertEqual(columns[2][8:], ["", "", "Zusammenfassung:", "gemeinsam sind", "die Reste", "",
                                          " 1", " 2"])
        self.assertEqual([results[a:b].strip() for a, b in zip(starts, starts[1:] + [None])],
                         ["Zykellänge: 4", "Zykellänge: 6", "Anzahl gemeinsamer Glieder: 2"])

    def test_its_numbers_are_the_scans_row(self):
        rows = {row["modulus"]: row for row in self.scan_json("--from", "2", "--to", "60")}
        for modulus in (2, 9, 24, 60):
            shown = json.loads(self.succeed("show", "-m", str(modulus), "--json"))
            row = rows[modulus]
            for key in ("length1", "length2", "common_count", "common_residues"):
                self.assertEqual(shown[key], row[key], (modulus, key))
            summary = lines(shown["fields"]["Text1(6)"])
            residues = summary[summary.index("die Reste") + 2:]
            self.assertEqual([int(r) for r in residues], row["common_residues"])
            self.assertEqual(int(shown["fields"]["Text3(2)"]), row["common_count"])

    def test_a_run_time_error_gives_the_windows_message_and_exit_1(self):
        self.assertEqual(self.fail_with(1, "show", "--r2", "1e400", "-m", "3"), f"fibmod-cli: {ERROR_6}")
        self.assertEqual(self.fail_with(1, "show", *FIBONACCI_1, "-m", "1030"), f"fibmod-cli: {ERROR_9}")


class ScanTest(ProgramCase):
    def test_csv_has_the_header_and_one_row_per_modulus(self):
        rows = self.scan_csv()
        self.assertEqual([int(row[0]) for row in rows], list(range(2, 2001)))
        self.assertEqual(rows[0], ["2", "1", "1", "1", "1", ""])
        self.assertEqual(rows[1], ["3", "4", "6", "2", "1 2", ""])
        self.assertEqual(rows[7], ["9", "12", "18", "6", "1 2 4 5 7 8", ""])
        for row in rows:
            residues = [int(r) for r in row[4].split(" ")]
            self.assertEqual(" ".join(map(str, residues)), row[4], "plain numbers, single blanks")
            self.assertEqual(residues, sorted(set(residues)))
            self.assertEqual(int(row[3]), len(residues))
            self.assertEqual(row[5], "")

    def test_from_and_to_bound_the_rows(self):
        self.assertEqual([row[0] for row in self.scan_csv("--from", "5", "--to", "7")], ["5", "6", "7"])
        self.assertEqual([row[0] for row in self.scan_csv("--from", "2000")], ["2000"])

    def test_a_run_time_error_fills_only_the_error_column(self):
        rows = {int(row[0]): row for row in self.scan_csv(*FIBONACCI_1, "--from", "1029", "--to", "1031")}
        self.assertEqual(rows[1030], ["1030", "", "", "", "", ERROR_9])
        self.assertEqual(rows[1029][5], "")
        json_rows = {row["modulus"]: row for row in
                     self.scan_json(*FIBONACCI_1, "--from", "1029", "--to", "1031")}
        self.assertEqual(json_rows[1030], {"modulus": 1030, "length1": None, "length2": None,
                                           "common_count": None, "common_residues": None, "error": ERROR_9})

    def test_a_number_beyond_the_double_range_is_every_rows_error(self):
        rows = self.scan_csv("--s1", "-1e400", "--to", "20")
        self.assertEqual(len(rows), 19)
        for row in rows:
            self.assertEqual(row[1:], ["", "", "", "", ERROR_6])

    def test_json_holds_what_csv_holds(self):
        # Rows with and without run-time errors.
        span = ("--from", "1000", "--to", "1100")
        rows = self.scan_csv(*FIBONACCI_1, *span)
        objects = self.scan_json(*FIBONACCI_1, *span)
        self.assertEqual(len(objects), len(rows))
        for row, obj in zip(rows, objects):
            self.assertEqual(list(obj), CSV_HEADER)
            self.assertEqual(obj["modulus"], int(row[0]))
            if obj["error"] is not None:
                self.assertEqual(obj["error"], row[5])
                continue
            self.assertEqual([obj["length1"], obj["length2"], obj["common_count"]], [int(v) for v in row[1:4]])
            self.assertEqual(" ".join(map(str, obj["common_residues"])), row[4])

    def test_the_table_aligns_the_csv_values(self):
        out = self.succeed("scan", "--to", "120").split("\n")
        self.assertEqual(out[-1], "")
        header, body = out[0], out[1:-1]
        self.assertEqual(header.split(), ["Modul", "Zykellänge", "1", "Zykellänge", "2", "Anzahl", "gemeinsame",
                                          "Reste"])
        self.assertEqual([line.split() for line in body],
                         [row[:4] + row[4].split() for row in self.scan_csv("--to", "120")])
        # Numbers are right-aligned under their headings.
        for name in ("Modul", "Zykellänge 1", "Zykellänge 2", "Anzahl"):
            end = header.index(name) + len(name)
            for line in body:
                self.assertNotEqual(line[end - 1], " ", (name, line))
                self.assertEqual(line[end], " ", (name, line))


class NextTest(ProgramCase):
    def test_stops_at_the_next_modulus_with_one_common_residue(self):
        self.assertEqual(self.succeed("next", "--modulus", "2"), "4\n")
        self.assertEqual(self.succeed("next", "--modulus", "4"), "5\n")

    def test_agrees_with_the_scan(self):
        single = [row["modulus"] for row in self.scan_json() if row["common_count"] == 1]
        for modulus in (5, 100, 641, 1500):
            expected = next(m for m in single if m > modulus)
            self.assertEqual(self.succeed("next", "-m", str(modulus)), f"{expected}\n", modulus)

    def test_at_the_limit_or_without_a_stop_shows_the_limit_message(self):
        self.assertEqual(self.succeed("next", "--modulus", "2000"), LIMIT + "\n")
        # r = 4, s = -1 from 1, 1 in both columns: above 2 no modulus has a single residue.
        self.assertEqual(self.succeed("next", "--r1", "4", "--modulus", "1950"), LIMIT + "\n")
        # The limit is checked before anything is read.
        self.assertEqual(self.succeed("next", "--r1", "1e400", "--modulus", "2000"), LIMIT + "\n")

    def test_a_run_time_error_on_the_way_stops_there(self):
        self.assertEqual(self.fail_with(1, "next", *FIBONACCI_1, "-m", "700"), f"fibmod-cli: Modul 1030: {ERROR_9}")
        self.assertEqual(self.fail_with(1, "next", "--s2", "1e400", "-m", "3"), f"fibmod-cli: Modul 4: {ERROR_6}")


class ColumnsTest(ProgramCase):
    FIB = ["--r1", "1", "--s1", "1", "--start1", "0,1", "--r2", "1", "--s2", "1", "--start2", "0,1"]

    def test_the_named_columns_come_in_the_named_order_in_every_format(self):
        args = ["scan", "--from", "1995", "--to", "2003"]
        full = list(csv.reader(io.StringIO(self.succeed(*args, "--format", "csv"))))
        chosen = ["common_count", "modulus", "error", "length2"]
        picked = list(csv.reader(io.StringIO(self.succeed(*args, "--format", "csv", "--columns", ",".join(chosen)))))
        self.assertEqual(picked[0], chosen)
        index = [full[0].index(name) for name in chosen]
        self.assertEqual(picked[1:], [[row[i] for i in index] for row in full[1:]])
        rows = json.loads(self.succeed(*args, "--format", "json", "--columns", ",".join(chosen)))
        self.assertEqual([list(row) for row in rows], [chosen] * len(rows))
        self.assertEqual([row["modulus"] for row in rows], list(range(1995, 2004)))

    def test_the_table_keeps_its_headings_and_puts_an_error_after_the_last_column(self):
        # Modulus 1997 is error 9 with the window's bound.
        table = self.succeed("scan", *self.FIB, "--from", "1996", "--to", "1998", "--columns",
                             "length1,modulus").split("\n")
        self.assertEqual(table[0].split(), ["Zykellänge", "1", "Modul"])
        self.assertTrue(table[2].rstrip().endswith("1997  Laufzeitfehler 9: Index außerhalb des gültigen Bereichs"),
                        table[2])
        # With the residues last, the message stands in their place, as without --columns.
        plain = self.succeed("scan", *self.FIB, "--from", "1996", "--to", "1998")
        same = self.succeed("scan", *self.FIB, "--from", "1996", "--to", "1998", "--columns",
                            "modulus,length1,length2,common_count,common_residues")
        self.assertEqual(same, plain)

    def test_unknown_repeated_or_no_names_are_usage_errors_listing_the_valid_ones(self):
        for columns in ["modulus,lenght1", "modulus,modulus", "", "modulus,"]:
            with self.subTest(columns=columns):
                report = self.fail_with(2, "scan", "--columns", columns)
                self.assertIn("--columns", report)
                self.assertIn("modulus, length1, length2, common_count, common_residues, error", report)


class UsageErrorTest(ProgramCase):
    def test_each_bad_input_is_one_line_naming_option_and_value_and_exit_2(self):
        cases = [
            (["show", "--modulus", "2147483648"], ["--modulus", "2147483648", "2147483647"]),
            (["next", "--modulus", "1"], ["--modulus", "1", "2"]),
            (["show", "--modulus", "abc"], ["--modulus", "abc"]),
            (["show", "--modulus", "3.5"], ["--modulus", "3.5"]),
            (["show"], ["--modulus", "required"]),
            (["scan", "--from", "10", "--to", "5"], ["--from", "10", "--to", "5"]),
            (["scan", "--to", "2147483648"], ["--to", "2147483648", "2147483647"]),
            (["scan", "--format", "xml"], ["--format", "xml"]),
            (["scan", "--bogus"], ["--bogus"]),
            (["show", "-m", "3", "--start1", "1"], ["--start1", "'1'"]),
            (["show", "-m", "3", "--start2", "1,2,3"], ["--start2", "'1,2,3'"]),
            (["show", "-m", "3", "--start1", "1,x"], ["--start1", "'1,x'"]),
            (["show", "-m", "3", "--start1", ",1"], ["--start1", "',1'"]),
            (["show", "-m", "3", "--r1", "abc"], ["--r1", "'abc'"]),
            (["show", "-m", "3", "--s2", "12x"], ["--s2", "'12x'"]),
            (["scan", "--r2", ""], ["--r2", "''"]),
            (["scan", "--s1", "1 2"], ["--s1", "'1 2'"]),
            ([], ["subcommand"]),
        ]
        for args, words in cases:
            with self.subTest(args=args):
                report = self.fail_with(2, *args)
                self.assertTrue(report.startswith("fibmod-cli: "), report)
                for word in words:
                    self.assertIn(word, report)

    def test_negative_numbers_are_values_not_options(self):
        default = self.succeed("show", "-m", "7", "--json")
        self.assertEqual(self.succeed("show", "-m", "7", "--json", "--s1", "-1", "--s2=-1"), default)
        shown = json.loads(self.succeed("show", "-m", "7", "--json", "--s1", "-2", "--start2", "-1,-3"))
        self.assertEqual([shown["fields"][f] for f in ("Text4(0)", "Text1(2)", "Text1(3)")], ["-2", "-1", "-3"])


class ProgramTest(ProgramCase):
    def test_a_closed_pipe_ends_the_output_quietly(self):
        read_end, write_end = os.pipe()
        os.close(read_end)
        try:
            result = subprocess.run([PROGRAM, "scan", "--format", "csv"], stdout=write_end,
                                    stderr=subprocess.PIPE, timeout=20)
        finally:
            os.close(write_end)
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stderr, b"")

    def test_help_shows_the_commands_and_examples(self):
        out = self.succeed("--help")
        for word in ("Usage:", "show", "scan", "next", "Examples:", "fibmod-cli show --modulus 3"):
            self.assertIn(word, out)
        every = self.succeed("--help-all")
        for option in ("--modulus", "--json", "--from", "--to", "--format", "--r1", "--s1", "--start1", "--r2",
                       "--s2", "--start2"):
            self.assertIn(option, every)

    def test_version_is_the_projects(self):
        self.assertEqual(self.succeed("--version"), f"fibmod-cli {os.environ['FIBMOD_VERSION']}\n")

    def loaded_libraries(self, *args):
        """The shared objects the dynamic loader opens for a run, from its own trace."""
        result = subprocess.run([PROGRAM, *args], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=20,
                                env={**os.environ, "LD_DEBUG": "files"})
        self.assertEqual(result.returncode, 0, result.stderr[-2000:])
        return " ".join(line for line in text(result.stderr).splitlines() if "file=" in line)

    def test_flint_is_loaded_only_by_the_runs_that_need_it_and_highway_by_none(self):
        small = self.loaded_libraries("scan", "--to", "2000")
        for library in ("libhwy", "libflint", "fibmod-period.so"):
            self.assertNotIn(library, small)
        lanes = self.loaded_libraries("scan", "--from", "2001", "--to", "2001", "--max-terms", "none")
        self.assertNotIn("libhwy", lanes)
        self.assertNotIn("libflint", lanes)
        periods = self.loaded_libraries("period", "12")
        self.assertIn("fibmod-period.so", periods)
        self.assertIn("libflint", periods)




# The independent computation the engine's rows are checked against: a plain
# integer loop over the pairs of consecutive terms modulo M.
def walk(r, s, first, second, modulus, bound):
    """The residues of one cycle and its length; ("bound", None) past `bound`
    terms; ("never", (tail, cycle)) when the start pair never comes back
    (only with no bound)."""
    r, s = r % modulus, s % modulus
    start = (first % modulus, second % modulus)
    a, b = start
    seen = {} if bound is None else None
    residues = set()
    steps = 0
    while True:
        if seen is not None:
            seen[(a, b)] = steps
        a, b = b, (r * b + s * a) % modulus
        steps += 1
        residues.add(a)
        if (a, b) == start:
            return "closed", (steps, residues)
        if bound is not None and steps >= bound:
            return "bound", None
        if seen is not None and (a, b) in seen:
            return "never", (seen[(a, b)], steps - seen[(a, b)])


def expected_row(seq1, seq2, modulus, bound):
    """The CSV row the scan must give, from walk()."""
    ends = [walk(*seq, modulus, bound) for seq in (seq1, seq2)]
    for number, (end, what) in enumerate(ends, start=1):
        if end == "bound":
            return [str(modulus), "", "", "", "", ERROR_9]
        if end == "never":
            return [str(modulus), "", "", "", "",
                    f"Folge {number}: Startpaar kehrt nicht wieder (Vorlauf {what[0]}, Zyklus {what[1]})"]
    (length1, residues1), (length2, residues2) = (what for _, what in ends)
    common = sorted(residues1 & residues2)
    return [str(modulus), str(length1), str(length2), str(len(common)), " ".join(map(str, common)), ""]


def sequence_args(seq1, seq2):
    return ["--r1", str(seq1[0]), "--s1", str(seq1[1]), "--start1", f"{seq1[2]},{seq1[3]}",
            "--r2", str(seq2[0]), "--s2", str(seq2[1]), "--start2", f"{seq2[2]},{seq2[3]}"]


class LargeRangeTest(ProgramCase):
    def random_inputs(self, rng):
        return tuple((rng.randint(-60, 60), rng.randint(-60, 60), rng.randint(-30, 30), rng.randint(-30, 30))
                     for _ in range(2))

    def test_rows_past_2000_and_past_3000_terms_match_a_plain_integer_loop(self):
        rng = random.Random(1303)
        for case in range(12):
            seq1, seq2 = self.random_inputs(rng)
            bound = rng.choice([3000, 3001, 5000, 20000])
            moduli = sorted(rng.sample(range(2001, 40000), 4))
            with self.subTest(case=case, inputs=(seq1, seq2), bound=bound):
                for modulus in moduli:
                    rows = self.scan_csv(*sequence_args(seq1, seq2), "--from", str(modulus), "--to", str(modulus),
                                         "--max-terms", str(bound))
                    self.assertEqual(rows, [expected_row(seq1, seq2, modulus, bound)], modulus)

    def test_rows_without_a_term_bound_match_a_plain_integer_loop(self):
        rng = random.Random(2026)
        for case in range(6):
            seq1, seq2 = self.random_inputs(rng)
            modulus = rng.randint(2001, 2400)
            with self.subTest(case=case, inputs=(seq1, seq2), modulus=modulus):
                rows = self.scan_csv(*sequence_args(seq1, seq2), "--from", str(modulus), "--to", str(modulus),
                                     "--max-terms", "none")
                self.assertEqual(rows, [expected_row(seq1, seq2, modulus, None)])

    def test_a_start_pair_that_never_comes_back_is_the_rows_error(self):
        # s = 2 shares a factor with every even modulus.
        seq1, seq2 = (6, -1, 1, 1), (2, 2, 1, 1)
        rows = self.scan_csv(*sequence_args(seq1, seq2), "--from", "4", "--to", "40", "--max-terms", "none")
        self.assertEqual(rows, [expected_row(seq1, seq2, m, None) for m in range(4, 41)])
        self.assertEqual(rows[0][5], "Folge 2: Startpaar kehrt nicht wieder (Vorlauf 4, Zyklus 1)")
        # With a bound it is error 9, as in the window.
        self.assertEqual(self.scan_csv(*sequence_args(seq1, seq2), "--from", "4", "--to", "4")[0][5], ERROR_9)
        report = self.fail_with(1, "show", *sequence_args(seq1, seq2), "-m", "4", "--max-terms", "none")
        self.assertEqual(report, f"fibmod-cli: {rows[0][5]}")
        report = self.fail_with(1, "next", *sequence_args(seq1, seq2), "-m", "3", "--max-terms", "none")
        self.assertEqual(report, f"fibmod-cli: Modul 4: {rows[0][5]}")

    def test_no_bound_with_inputs_that_are_not_whole_numbers_is_a_usage_error_saying_why(self):
        for command in (["scan"], ["show", "-m", "3"], ["next", "-m", "3"]):
            report = self.fail_with(2, *command, "--r1", "1.5", "--max-terms", "none")
            self.assertIn("--max-terms", report)
            self.assertIn("ganze Zahlen", report)

    def test_rows_come_in_ascending_order_with_one_and_two_threads(self):
        args = (*FIBONACCI_1, "--from", "1990", "--to", "2400", "--max-terms", "none")
        one = run("scan", "--format", "csv", "--threads", "1", *args).stdout
        two = run("scan", "--format", "csv", "--threads", "2", *args).stdout
        self.assertEqual(one, two)
        moduli = [int(line.split(b",")[0]) for line in one.split(b"\r\n")[1:-1]]
        self.assertEqual(moduli, list(range(1990, 2401)))

    def test_parts_of_a_range_join_into_the_whole_byte_for_byte(self):
        args = ("--format", "csv", *FIBONACCI_1, "--max-terms", "none")
        whole = run("scan", *args, "--from", "2", "--to", "3000").stdout
        parts = (run("scan", *args, "--from", "2", "--to", "999").stdout
                 + run("scan", *args, "--from", "1000", "--to", "2500", "--no-header").stdout
                 + run("scan", *args, "--from", "2501", "--to", "3000", "--no-header").stdout)
        self.assertEqual(parts, whole)

    def test_next_with_another_limit_says_so_in_one_line(self):
        self.assertEqual(self.succeed("next", "--r1", "4", "-m", "1950", "--limit", "2100"),
                         "Kein Modul über 1950 bis 2100 hat genau einen gemeinsamen Rest\n")
        single = [int(row[0]) for row in self.scan_csv("--from", "2001", "--to", "3000", "--max-terms", "none")
                  if row[3] == "1"]
        self.assertEqual(self.succeed("next", "-m", "2000", "--limit", "3000", "--max-terms", "none"),
                         f"{single[0]}\n")
        # With the window's bound the search soon stops at an error row.
        stop = next(row for row in self.scan_csv(*FIBONACCI_1, "--from", "2001", "--to", "2100")
                    if row[3] == "1" or row[5])
        self.assertEqual(stop[5], ERROR_9)
        self.assertEqual(self.fail_with(1, "next", *FIBONACCI_1, "-m", "2000", "--limit", "5000"),
                         f"fibmod-cli: Modul {stop[0]}: {ERROR_9}")

    def test_show_past_the_windows_bounds_agrees_with_the_scan(self):
        row = next(row for row in self.scan_json(*FIBONACCI_1, "--from", "2001", "--to", "2100", "--max-terms", "none")
                   if row["length1"] > 3000)
        modulus = row["modulus"]
        shown = json.loads(self.succeed("show", *FIBONACCI_1, "-m", str(modulus), "--max-terms", "none", "--json"))
        self.assertEqual(len(lines(shown["sequence1"]["listing"])), row["length1"])
        self.assertGreater(row["length1"], 3000)
        self.assertEqual(shown["common"]["residues"], row["common_residues"])
        summary = self.succeed("show", *FIBONACCI_1, "-m", str(modulus), "--max-terms", "none", "--summary")
        out = summary.split("\n")
        self.assertEqual(out[:5], [f"Modul {modulus}", "", f"Zykellänge: {row['length1']}",
                                   f"Zykellänge: {row['length2']}",
                                   f"Anzahl gemeinsamer Glieder: {row['common_count']}"])
        self.assertEqual([int(r) for r in out[10:-1]], row["common_residues"])
        self.assertEqual(len(out), 11 + len(row["common_residues"]))


class InterruptionTest(ProgramCase):
    def interrupt(self, signal_number, *args):
        """Holds the command before modulus 600, sends the signal and
        returns the exit code and the output. The output goes to a file, so
        that a full pipe cannot hold the command before it gets there."""
        env = dict(os.environ, FIBMOD_CLI_HOLD_AT="600")
        with tempfile.TemporaryFile() as out:
            process = subprocess.Popen([HELD_PROGRAM, *args], env=env, stdout=out, stderr=subprocess.PIPE)
            try:
                self.assertEqual(process.stderr.readline(), b"held at 600\n")
                process.send_signal(signal_number)
                _, err = process.communicate(timeout=20)
            finally:
                process.kill()
                process.wait()
            self.assertEqual(err, b"")
            out.seek(0)
            return process.returncode, out.read()

    def test_sigint_ends_the_csv_on_a_whole_row_with_exit_130(self):
        code, out = self.interrupt(signal.SIGINT, "scan", "--format", "csv", "--to", "100000", "--max-terms", "none")
        self.assertEqual(code, 130)
        whole = run("scan", "--format", "csv", "--to", "599", "--max-terms", "none").stdout
        self.assertTrue(out.endswith(b"\r\n"))
        self.assertTrue(whole.startswith(out), out[-200:])

    def test_sigterm_ends_the_json_as_a_valid_array_with_exit_143(self):
        code, out = self.interrupt(signal.SIGTERM, "scan", "--format", "json", "--to", "100000", "--max-terms", "none")
        self.assertEqual(code, 143)
        rows = json.loads(out)
        self.assertEqual([row["modulus"] for row in rows], list(range(2, 2 + len(rows))))
        # No row from the held modulus on; those before it may all be out.
        self.assertLessEqual(len(rows), 600 - 2)

    def test_next_stops_too(self):
        code, out = self.interrupt(signal.SIGINT, "next", "--r1", "4", "-m", "500", "--limit", "100000")
        self.assertEqual((code, out), (130, b""))


PERIOD_HEADER = "modulus,preperiod1,length1,preperiod2,length2,factors"
MAX_MODULUS = 2**127 - 1


class PeriodTest(ProgramCase):
    def period_csv(self, *args, stdin=None):
        result = subprocess.run([PROGRAM, "period", "--format", "csv", *map(str, args)], input=stdin,
                                capture_output=True, timeout=60)
        out = text(result.stdout)
        self.assertTrue(out.endswith(CRLF), out)
        self.assertNotIn("\n", out.replace(CRLF, ""))
        rows = out.split(CRLF)[:-1]
        self.assertEqual(rows[0], PERIOD_HEADER)
        return result.returncode, rows[1:], text(result.stderr)

    def test_the_three_formats_give_the_walking_engines_figures(self):
        self.assertEqual(self.period_csv("--s2", "2", 12)[:2], (0, ["12,0,4,4,6,2^2 3"]))
        table = self.succeed("period", "--s2", "2", "12").split("\n")
        self.assertEqual(table[0].split(), ["Modul", "Vorlauf", "1", "Zykellänge", "1", "Vorlauf", "2",
                                            "Zykellänge", "2", "Zerlegung"])
        self.assertEqual(table[1].split(), ["12", "0", "4", "4", "6", "2^2", "3"])
        rows = json.loads(self.succeed("period", "--format", "json", "--r1", "1", "--s1", "1", "--start1", "0,1",
                                       str(MAX_MODULUS), "600"))
        self.assertEqual(rows[0], {"modulus": MAX_MODULUS, "preperiod1": 0, "length1": 2**128, "preperiod2": 0,
                                   "length2": rows[0]["length2"], "factors": [[MAX_MODULUS, 1]]})
        self.assertEqual(rows[1]["factors"], [[2, 3], [3, 1], [5, 2]])

    def test_periods_match_the_scan_where_both_apply(self):
        scan = self.scan_csv("--from", "2", "--to", "400", "--max-terms", "none", "--s1", "3")
        _, rows, _ = self.period_csv("--from", 2, "--to", 400, "--s1", 3)
        # Where s1 = 3 shares a factor with M the scan's row reports a start
        # pair that never comes back; its pre-period is in the message.
        periods = [row.split(",") for row in rows]
        for scanned, period in zip(scan, periods, strict=True):
            if scanned[1]:
                self.assertEqual(scanned[:3], period[0:5:2])
                self.assertEqual(period[1:4:2], ["0", "0"])
            else:
                self.assertIn(f"(Vorlauf {period[1]}, Zyklus {period[2]})", scanned[5])

    def test_rows_come_in_the_order_given_and_inputs_take_any_length(self):
        _, rows, _ = self.period_csv(13, 12, 13)
        self.assertEqual([row.split(",")[0] for row in rows], ["13", "12", "13"])
        same = [self.period_csv(*args, 1000003)[1] for args in (
            ["--r1", "-3", "--start1", "-5,7"], ["--r1=-3", "--start1=-5,7"],
            ["--r1", str(-3 - 1000003 * 10**50), "--start1", f"{1000003 - 5},7"])]
        self.assertEqual(same[0], same[1])
        self.assertEqual(same[0], same[2])

    def test_standard_input_takes_blanks_empty_lines_and_crlf_and_stops_at_a_bad_line(self):
        code, rows, err = self.period_csv("-", stdin=b" 12 \r\n\n\t13\n")
        self.assertEqual((code, [row.split(",")[0] for row in rows], err), (0, ["12", "13"], ""))
        code, rows, err = self.period_csv("-", stdin=b"12\n13\n\n1e3\n14\n")
        self.assertEqual((code, [row.split(",")[0] for row in rows]), (2, ["12", "13"]))
        self.assertEqual(err, "fibmod-cli: standard input, line 4: '1e3' is not a whole number in decimal digits\n")
        code, _, err = self.period_csv("-", stdin=b"1\n")
        self.assertEqual((code, err), (2, "fibmod-cli: standard input, line 1: 1 is outside the range 2 to "
                                          f"{MAX_MODULUS}\n"))

    def test_usage_errors_are_one_line_and_no_row(self):
        cases = {
            ("1",): f"--MODULUS: 1 is outside the range 2 to {MAX_MODULUS}",
            (str(MAX_MODULUS + 1),): f"is outside the range 2 to {MAX_MODULUS}",
            ("12x",): "'12x' is not a whole number in decimal digits",
            ("--from", "9", "--to", "7"): "--from: 9 is above --to 7",
            ("12", "--from", "2", "--to", "3"): "not more than one",
            ("--from", "2"): "--from: a range needs --to as well",
            ("--to", "2"): "--to: a range needs --from as well",
            (): "give the moduli as arguments",
            ("-", "12"): "- (standard input) stands alone",
            ("--r1", "2.5", "12"): "--r1: '2.5' is not a whole number in decimal digits",
            ("--s2", "1e3", "12"): "--s2: '1e3' is not a whole number in decimal digits",
            ("--start1", "1", "12"): "--start1: '1' is not two numbers A,B",
            ("--start1", "1.5,2", "12"): "--start1: '1.5' is not a whole number in decimal digits",
            ("--format", "xml", "12"): "--format",
            ("--r1", "3", "--r1", "4", "12"): "--r1: given more than once; give it once",
        }
        for args, part in cases.items():
            with self.subTest(args=args):
                report = self.fail_with(2, "period", *args)
                self.assertTrue(report.startswith("fibmod-cli: "), report)
                self.assertIn(part.removeprefix("--MODULUS: "), report)

    def test_a_failed_write_is_exit_1_and_sigint_ends_on_a_whole_row(self):
        with open("/dev/full", "wb") as full:
            result = run("period", "12", stdout=full)
        self.assertEqual((result.returncode, text(result.stderr)),
                         (1, "fibmod-cli: cannot write the output: No space left on device\n"))
        # A range too long to end before the signal. Its rows go to a pipe
        # that is read from the header on, so whatever was written when the
        # signal came is checked.
        process = subprocess.Popen([PROGRAM, "period", "--format", "csv", "--from", "2", "--to", str(MAX_MODULUS)],
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        try:
            written = process.stdout.readline()
            self.assertEqual(written, (PERIOD_HEADER + "\r\n").encode())
            process.send_signal(signal.SIGINT)
            written += process.stdout.read()
            process.wait(timeout=20)
        finally:
            process.kill()
            process.wait()
        self.assertEqual(process.returncode, 130)
        self.assertTrue(written.endswith(b"\r\n"))
        last = written.split(b"\r\n")[-2].split(b",")[0]
        whole = run("period", "--format", "csv", "--from", "2", "--to", last if last.isdigit() else "2").stdout
        self.assertTrue(whole.startswith(written))

    def test_sigint_while_the_sieve_runs_leaves_no_scratch_behind(self):
        # A product of two 63-bit primes: FLINT factors it with its sieve,
        # in a scratch directory under TMPDIR. Several in a row, so that the
        # signal comes while one of them is under way.
        hard = "118815219034365295274746760506021432393"
        with tempfile.TemporaryDirectory() as scratch:
            process = subprocess.Popen([PROGRAM, "period", *[hard] * 20], env=dict(os.environ, TMPDIR=scratch),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

            def factoring():
                # (ThreadSanitizer keeps a file of its own there too.)
                while process.poll() is None and not any(name.startswith("fibmod-factor-")
                                                         for name in os.listdir(scratch)):
                    pass

            interrupt(process, factoring)
            self.assertEqual(process.returncode, 130)
            self.assertEqual([name for name in os.listdir(scratch) if name.startswith("fibmod-factor-")], [])


class ProgressTest(ProgramCase):
    def on_a_terminal(self, command, at, until, rows_too=False):
        """Runs `command`, with `at` the held program's, held before modulus
        `at`, with standard error (and with `rows_too` standard output) on a
        terminal; reads the terminal until every text of `until` is there,
        then stops the run with SIGINT and returns all it showed."""
        controller, terminal = pty.openpty()
        program, env = PROGRAM, os.environ
        if at is not None:
            program, env = HELD_PROGRAM, dict(os.environ, FIBMOD_CLI_HOLD_AT=str(at))
        with open(os.devnull, "wb") as nowhere:
            process = subprocess.Popen([program, *command], env=env, stdout=terminal if rows_too else nowhere,
                                       stderr=terminal)
        os.close(terminal)
        shown = b""
        try:
            while not all(text.encode() in shown for text in until):
                shown += os.read(controller, 4096)
            process.send_signal(signal.SIGINT)
            while True:
                try:
                    chunk = os.read(controller, 4096)
                except OSError:
                    break
                if not chunk:
                    break
                shown += chunk
            process.wait(timeout=20)
        finally:
            process.kill()
            process.wait()
            os.close(controller)
        self.assertEqual(process.returncode, 130)
        return shown.decode("utf-8")

    def held_on_a_terminal(self, *args, at=600):
        """A scan on a terminal until its progress line (or with --quiet the
        hold) is there."""
        until = [f"held at {at}"] if "--quiet" in args else ["moduli"]
        return self.on_a_terminal(["scan", "--to", "100000", "--max-terms", "none", *args], at, until)

    def test_a_terminal_shows_moduli_done_rate_and_time_left_and_the_line_is_wiped_at_the_end(self):
        shown = self.held_on_a_terminal()
        line = shown[shown.rindex("\r", 0, shown.index("moduli")):]
        self.assertRegex(line, r"^\r[\d,]+ of 99,999 moduli(, [\d,]+/s, about \d+ (s|min|h) left)?\x1b\[K")
        self.assertTrue(shown.endswith("\r\x1b[K"), repr(shown[-40:]))

    def test_counts_from_none_done(self):
        shown = self.held_on_a_terminal(at=2)
        self.assertIn("\r0 of 99,999 moduli\x1b[K", shown)

    def test_quiet_shows_no_progress(self):
        self.assertNotIn("moduli", self.held_on_a_terminal("--quiet"))

    def test_period_rows_on_the_same_terminal_start_on_a_wiped_line(self):
        # Rows keep coming on a range this long, and the line is drawn
        # between them; the signal comes once a line and a row after it are
        # out.
        shown = self.on_a_terminal(["period", "--from", "2", "--to", str(10**12)], None,
                                   ["moduli", "\x1b[K\r\x1b[K"], rows_too=True)
        # After a progress line the cursor stands at its end: what follows
        # must go back to the line's start first (the next progress line or
        # the wipe before rows).
        for progress in re.finditer(r"\r[\d,]+ of [\d,]+ moduli[^\x1b]*\x1b\[K", shown):
            rest = shown[progress.end():]
            self.assertTrue(rest == "" or rest.startswith("\r"), repr(rest[:60]))


class FaultTest(ProgramCase):
    def test_a_failed_write_is_one_line_and_exit_1(self):
        for args in (["scan", "--format", "csv"], ["show", "-m", "3"], ["next", "-m", "2"],
                     ["scan", "--to", "100000", "--max-terms", "none", "--format", "json"]):
            with self.subTest(args=args), open("/dev/full", "wb") as full:
                result = run(*args, stdout=full)
                self.assertEqual(result.returncode, 1)
                self.assertEqual(text(result.stderr),
                                 "fibmod-cli: cannot write the output: No space left on device\n")

    def test_a_reader_that_goes_away_mid_scan_ends_it_quietly(self):
        process = subprocess.Popen([PROGRAM, "scan", "--to", "1000000", "--max-terms", "none", "--format", "csv"],
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        try:
            self.assertEqual(process.stdout.readline(), b"modulus,length1,length2,common_count,common_residues,error\r\n")
            process.stdout.close()
            err = process.stderr.read()
            process.wait(timeout=20)
        finally:
            process.kill()
            process.wait()
        self.assertEqual((process.returncode, err), (0, b""))

    def test_integer_options_take_decimal_digits_with_blanks_around(self):
        self.assertEqual(self.scan_csv("--from", "010", "--to", " 12\t"), self.scan_csv("--from", "10", "--to", "12"))
        self.assertEqual(self.succeed("show", "--modulus", " 3 "), self.succeed("show", "--modulus", "3"))
        self.assertEqual(self.succeed("show", "--modulus", "09", "--summary").split("\n")[0], "Modul 9")
        for value in ("1e3", "3.0", "0x10", "", " ", "1 0", "abc", "3.5", "&H10"):
            with self.subTest(value=value):
                report = self.fail_with(2, "show", "--modulus", value)
                self.assertEqual(report, f"fibmod-cli: --modulus: '{value}' is not a whole number in decimal digits")
        for option in ("--threads", "--max-terms", "--limit"):
            self.assertIn("not a whole number in decimal digits", self.fail_with(2, "next", "-m", "3", option, "2.0"))

    def test_a_modulus_outside_the_range_names_the_range(self):
        for command in ("show", "next"):
            for value in ("1", "-5", "2147483648", "1" + "0" * 30):
                with self.subTest(command=command, value=value):
                    report = self.fail_with(2, command, "--modulus", value)
                    self.assertTrue(report.startswith(f"fibmod-cli: --modulus: {value[:20]}"), report)
                    self.assertTrue(report.endswith("is outside the range 2 to 2147483647"), report)
        self.assertEqual(self.fail_with(2, "scan", "--max-terms", "0"),
                         "fibmod-cli: --max-terms: 0 is outside the range 1 to 4611686018427387904")

    def test_an_unknown_subcommand_is_named_with_the_list_of_subcommands(self):
        self.assertEqual(self.fail_with(2, "frobnicate"),
                         "fibmod-cli: unknown subcommand 'frobnicate'; the subcommands are show, scan, next, period")

    def test_huge_values_are_shortened_in_messages(self):
        huge = "7" * 10000
        cases = {"modulus": ["show", "--modulus", huge], "number": ["show", "-m", "3", "--r1", huge + "x"],
                 "subcommand": [huge], "format": ["scan", "--format", huge]}
        for case, args in cases.items():
            with self.subTest(case=case):
                report = self.fail_with(2, *args)
                self.assertLess(len(report), 200, report)
                self.assertIn("7" * 30 + "…", report)

    def test_show_json_has_nested_objects_beside_the_fields(self):
        shown = json.loads(self.succeed("show", "--modulus", "3", "--json"))
        fields = shown["fields"]
        self.assertEqual(shown["sequence1"], {"listing": fields["Text1(1)"], "length": 4})
        self.assertEqual(shown["sequence2"], {"listing": fields["Text1(0)"], "length": 6})
        self.assertEqual(shown["common"]["residues"], [1, 2])
        self.assertEqual(shown["common"]["count"], 2)
        self.assertEqual(lines(shown["common"]["members"]), lines(fields["Text1(6)"])[:8])
        every = self.succeed("--help-all")
        for key in ("sequence1", "sequence2", "members", "residues", "fields", "Text1(1)"):
            self.assertIn(key, every)

    def test_help_names_the_options_for_large_ranges(self):
        every = self.succeed("--help-all")
        for option in ("--max-terms", "--threads", "--quiet", "--limit", "--summary", "--no-header", "2147483647",
                       "--max-terms none"):
            self.assertIn(option, every)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], *sys.argv[1:]], verbosity=2)
