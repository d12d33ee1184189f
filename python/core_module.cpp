// SPDX-License-Identifier: MIT
// The extension fibmod._core: the engine's scan, show and stepping for Python.
// It only converts arguments and results, releases the GIL while the engine
// computes and turns the engine's exceptions into Python ones; the package
// fibmod around it builds the pandas objects.
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "core/modulus_range.h"
#include "core/modulus_row.h"
#include "core/run_time_error.h"
#include "core/scan.h"
#include "core/scan_csv.h"
#include "core/show.h"
#include "python/gate.h"
#include "python/input_values.h"
#include "python/periods.h"
#include "version/version.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace fibmod::python {

namespace {

// Rows between two looks at pending signals (Ctrl-C) on the calling thread.
constexpr std::int64_t kRowsBetweenSignalChecks = 1024;

// ValueError naming max_terms when the bound does not fit the inputs. Inputs
// whose reading is itself a run-time error are the rows' business.
void CheckBound(const PythonInputs& inputs, TermBound bound)
{
    Inputs values;
    try {
        values = ValuesOf(inputs.texts());
    } catch (const RunTimeError&) {
        return;
    }
    if (!BoundFits(values, bound)) throw py::value_error("max_terms: " + BoundProblem(values, bound));
}

// The most worker threads a scan may be asked for.
constexpr std::int64_t kThreadsMax = 1024;

// threads: an int from 0 (one per core) to kThreadsMax.
unsigned ThreadsOf(py::handle threads)
{
    return static_cast<unsigned>(WholeNumberOf(threads, "threads", 0, kThreadsMax));
}

struct Arguments {
    PythonInputs inputs;
    ScanOptions options;
};

Arguments ArgumentsOf(py::handle r1, py::handle s1, py::handle start1, py::handle r2, py::handle s2,
                      py::handle start2, py::handle maxTerms)
{
    Arguments arguments{InputsOf(r1, s1, start1, r2, s2, start2), {}};
    arguments.options.maxTerms = TermBoundOf(maxTerms);
    CheckBound(arguments.inputs, arguments.options.maxTerms);
    return arguments;
}

// The rows of first … last, computed with the GIL released. Every so many
// rows the calling thread looks for a pending signal; KeyboardInterrupt (or
// what the handler raised) stops the scan and is raised here.
std::vector<ScanRow> ScanWithoutGil(const Arguments& arguments, std::int64_t first, std::int64_t last)
{
    std::vector<ScanRow> rows;
    std::stop_source stop;
    ScanOptions options = arguments.options;
    options.stop = stop.get_token();
    bool interrupted = false;
    {
        const py::gil_scoped_release release;
        ScanRows(arguments.inputs.texts(), {first, last}, options, [&](ScanRow&& row) {
            rows.push_back(std::move(row));
            if (rows.size() % kRowsBetweenSignalChecks != 0) return;
            const py::gil_scoped_acquire acquire;
            if (PyErr_CheckSignals() != 0) {
                interrupted = true;
                stop.request_stop();
            }
        });
    }
    if (interrupted) throw py::error_already_set();
    return rows;
}

py::object RowFailureNumber(const ScanRow& row)
{
    if (!row.failed()) return py::none();
    return py::int_(row.failure->error);
}

// One row as a dict: modulus, length1, length2, residues (None in a failed
// row), error (the row's message or None), error_number (6, 9, 0 for a start
// pair that never comes back, None) and never_recurs.
py::dict RowDict(const ScanRow& row)
{
    const bool failed = row.failed();
    py::list residues;
    for (const std::int64_t residue : row.residues) residues.append(residue);
    return py::dict("modulus"_a = row.modulus, "length1"_a = failed ? py::object(py::none()) : py::int_(row.length1),
                    "length2"_a = failed ? py::object(py::none()) : py::int_(row.length2),
                    "residues"_a = failed ? py::object(py::none()) : py::object(residues),
                    "error"_a = failed ? py::object(py::str(row.failure->message)) : py::object(py::none()),
                    "error_number"_a = RowFailureNumber(row), "never_recurs"_a = row.neverRecurs());
}

py::dict ScanColumns(py::handle first, py::handle last, py::handle r1, py::handle s1, py::handle start1,
                     py::handle r2, py::handle s2, py::handle start2, py::handle maxTerms, py::handle threads,
                     Gate* gate)
{
    Arguments arguments = ArgumentsOf(r1, s1, start1, r2, s2, start2, maxTerms);
    arguments.options.threads = ThreadsOf(threads);
    if (gate) arguments.options.beforeModulus = [gate](std::int64_t m) { gate->hold(m); };
    const std::int64_t from = WholeNumberOf(first, "first", kModulusMin, kEngineModulusMax);
    const std::int64_t to = WholeNumberOf(last, "last", kModulusMin, kEngineModulusMax);
    const std::vector<ScanRow> rows = ScanWithoutGil(arguments, from, to);

    const auto n = static_cast<py::ssize_t>(rows.size());
    std::size_t total = 0;
    for (const ScanRow& row : rows) total += row.residues.size();
    py::array_t<std::int64_t> modulus(n), length1(n), length2(n), count(n);
    py::array_t<bool> failed(n);
    // Every residue is below its modulus, below 2^31.
    py::array_t<std::int32_t> residues(static_cast<py::ssize_t>(total));
    py::list errors(n);
    auto m = modulus.mutable_unchecked<1>();
    auto l1 = length1.mutable_unchecked<1>();
    auto l2 = length2.mutable_unchecked<1>();
    auto c = count.mutable_unchecked<1>();
    auto f = failed.mutable_unchecked<1>();
    auto r = residues.mutable_unchecked<1>();
    py::ssize_t k = 0;
    for (py::ssize_t i = 0; i < n; ++i) {
        const ScanRow& row = rows[static_cast<std::size_t>(i)];
        m(i) = row.modulus;
        l1(i) = row.length1;
        l2(i) = row.length2;
        c(i) = row.commonCount();
        f(i) = row.failed();
        for (const std::int64_t residue : row.residues) r(k++) = static_cast<std::int32_t>(residue);
        errors[i] = row.failed() ? py::object(py::str(row.failure->message)) : py::object(py::none());
    }
    return py::dict("modulus"_a = modulus, "length1"_a = length1, "length2"_a = length2, "common_count"_a = count,
                    "failed"_a = failed, "residues"_a = residues, "error"_a = errors);
}

py::str ScanCsvText(py::handle first, py::handle last, py::handle r1, py::handle s1, py::handle start1,
                    py::handle r2, py::handle s2, py::handle start2, py::handle maxTerms, py::handle threads,
                    bool header)
{
    Arguments arguments = ArgumentsOf(r1, s1, start1, r2, s2, start2, maxTerms);
    arguments.options.threads = ThreadsOf(threads);
    const std::int64_t from = WholeNumberOf(first, "first", kModulusMin, kEngineModulusMax);
    const std::int64_t to = WholeNumberOf(last, "last", kModulusMin, kEngineModulusMax);
    const std::vector<ScanRow> rows = ScanWithoutGil(arguments, from, to);
    std::string csv;
    {
        const py::gil_scoped_release release;
        csv = ScanCsv(rows);
        // Without the header: the rows alone, for parts that follow one another.
        if (!header) csv.erase(0, ScanCsv({}).size());
    }
    return py::str(csv);
}

py::list Numbers(const std::vector<double>& terms)
{
    py::list list(terms.size());
    for (std::size_t i = 0; i < terms.size(); ++i) list[i] = py::float_(terms[i]);
    return list;
}

py::dict Show(py::handle modulusValue, py::handle r1, py::handle s1, py::handle start1, py::handle r2, py::handle s2,
              py::handle start2, py::handle maxTerms, bool listings)
{
    const Arguments arguments = ArgumentsOf(r1, s1, start1, r2, s2, start2, maxTerms);
    const std::int64_t modulus = WholeNumberOf(modulusValue, "modulus", kModulusMin, kEngineModulusMax);
    ShownModulus shown;
    {
        const py::gil_scoped_release release;
        shown = ShowModulus(arguments.inputs.texts(), modulus, arguments.options.maxTerms, listings);
    }
    py::list members(shown.members.size());
    for (std::size_t i = 0; i < shown.members.size(); ++i) {
        const CommonMember& member = shown.members[i];
        members[i] = py::make_tuple(member.value, member.position1, member.position2);
    }
    py::dict result = RowDict(shown.row);
    result["terms1"] = Numbers(shown.terms1);
    result["terms2"] = Numbers(shown.terms2);
    result["members"] = members;
    result["texts"] = py::dict("listing1"_a = shown.listing1, "listing2"_a = shown.listing2,
                               "common"_a = shown.common, "length1"_a = shown.length1,
                               "length2"_a = shown.length2, "count"_a = shown.count);
    return result;
}

py::object NextStopRow(py::handle modulusValue, py::handle r1, py::handle s1, py::handle start1, py::handle r2,
                       py::handle s2, py::handle start2, py::handle limitValue, py::handle maxTerms, Gate* gate)
{
    Arguments arguments = ArgumentsOf(r1, s1, start1, r2, s2, start2, maxTerms);
    if (gate) arguments.options.beforeModulus = [gate](std::int64_t m) { gate->hold(m); };
    const std::int64_t modulus = WholeNumberOf(modulusValue, "modulus", kModulusMin, kEngineModulusMax);
    const std::int64_t limit = WholeNumberOf(limitValue, "limit", kModulusMin, kEngineModulusMax);
    std::optional<ScanRow> stop;
    {
        const py::gil_scoped_release release;
        stop = NextStop(arguments.inputs.texts(), modulus, limit, arguments.options);
    }
    if (!stop) return py::none();
    return RowDict(*stop);
}

// The residues of each row as a list of ints, None for a failed row, from
// the columns scan_columns gives (or those of consecutive scans joined).
py::list ResidueLists(const py::array_t<std::int32_t, py::array::c_style | py::array::forcecast>& residues,
                      const py::array_t<std::int64_t, py::array::c_style | py::array::forcecast>& counts,
                      const py::array_t<bool, py::array::c_style | py::array::forcecast>& failed)
{
    const auto r = residues.unchecked<1>();
    const auto c = counts.unchecked<1>();
    const auto f = failed.unchecked<1>();
    if (c.shape(0) != f.shape(0)) throw py::value_error("counts and failed differ in length");
    py::list lists(static_cast<std::size_t>(c.shape(0)));
    py::ssize_t k = 0;
    for (py::ssize_t i = 0; i < c.shape(0); ++i) {
        if (f(i)) {
            lists[static_cast<std::size_t>(i)] = py::none();
            continue;
        }
        if (c(i) < 0 || k + c(i) > r.shape(0)) throw py::value_error("the counts exceed the residues");
        py::list list(static_cast<std::size_t>(c(i)));
        for (py::ssize_t j = 0; j < c(i); ++j) list[static_cast<std::size_t>(j)] = py::int_(r(k++));
        lists[static_cast<std::size_t>(i)] = std::move(list);
    }
    return lists;
}

void CheckArguments(py::handle first, py::handle last, py::handle r1, py::handle s1, py::handle start1,
                    py::handle r2, py::handle s2, py::handle start2, py::handle maxTerms)
{
    ArgumentsOf(r1, s1, start1, r2, s2, start2, maxTerms);
    WholeNumberOf(first, "first", kModulusMin, kEngineModulusMax);
    WholeNumberOf(last, "last", kModulusMin, kEngineModulusMax);
}

} // namespace

} // namespace fibmod::python

PYBIND11_MODULE(_core, module)
{
    using namespace fibmod::python;
    module.doc() = "The engine of fibmod; use the package fibmod, which documents it.";
    module.attr("__version__") = fibmod::kVersion;
    module.attr("MODULUS_MIN") = fibmod::kModulusMin;
    module.attr("MODULUS_MAX") = fibmod::kModulusMax;
    module.attr("ENGINE_MODULUS_MAX") = fibmod::kEngineModulusMax;
    module.attr("WINDOW_TERM_BOUND") = *fibmod::kWindowTermBound;
    module.attr("TERM_BOUND_MAX") = fibmod::kTermBoundMax;

    // The engine's run-time errors as fibmod.RunTimeError, carrying the number.
    py::register_exception_translator([](std::exception_ptr error) {
        try {
            if (error) std::rethrow_exception(error);
        } catch (const fibmod::RunTimeError& e) {
            const py::object type = py::module_::import("fibmod._errors").attr("RunTimeError");
            PyErr_SetObject(type.ptr(), type(e.number(), e.message()).ptr());
        }
    });

    AddPeriodFunctions(module);
    module.def("scan_columns", &ScanColumns, py::arg("first"), py::arg("last"), py::kw_only(), py::arg("r1"),
               py::arg("s1"), py::arg("start1"), py::arg("r2"), py::arg("s2"), py::arg("start2"),
               py::arg("max_terms"), py::arg("threads") = 0, py::arg("gate") = nullptr,
               "The rows of first … last as columns: numpy arrays, the residues of every row one after another, the errors.");
    module.def("scan_csv", &ScanCsvText, py::arg("first"), py::arg("last"), py::kw_only(), py::arg("r1"),
               py::arg("s1"), py::arg("start1"), py::arg("r2"), py::arg("s2"), py::arg("start2"),
               py::arg("max_terms"), py::arg("threads") = 0, py::arg("header") = true,
               "The rows of first … last as the command line's CSV.");
    module.def("show", &Show, py::arg("modulus"), py::kw_only(), py::arg("r1"), py::arg("s1"), py::arg("start1"),
               py::arg("r2"), py::arg("s2"), py::arg("start2"), py::arg("max_terms"), py::arg("listings") = true,
               "What the window shows for one modulus, as a dict.");
    module.def("next_stop", &NextStopRow, py::arg("modulus"), py::kw_only(), py::arg("r1"), py::arg("s1"),
               py::arg("start1"), py::arg("r2"), py::arg("s2"), py::arg("start2"), py::arg("limit"),
               py::arg("max_terms"), py::arg("gate") = nullptr,
               "The row where the stepping stops above modulus, up to limit, or None.");

    module.def("residue_lists", &ResidueLists, py::arg("residues"), py::arg("counts"), py::arg("failed"),
               "The residues of each row as a list of ints (None for a failed row).");
    module.def(
        "csv_header", [] { return fibmod::ScanCsv({}); }, "The header line of the command line's CSV, CR LF ended.");
    module.def("check_arguments", &CheckArguments, py::arg("first"), py::arg("last"), py::kw_only(), py::arg("r1"),
               py::arg("s1"), py::arg("start1"), py::arg("r2"), py::arg("s2"), py::arg("start2"),
               py::arg("max_terms"), "Raises what scan_columns would raise for these arguments, computing nothing.");

    py::class_<Gate>(module, "_Gate", "Test hook: holds a scan inside the engine until opened.")
        .def(py::init<>())
        .def_readwrite("guard_seconds", &Gate::guardSeconds)
        .def("wait_until_held", &Gate::waitUntilHeld, py::call_guard<py::gil_scoped_release>())
        .def("open", &Gate::open, py::call_guard<py::gil_scoped_release>())
        .def_property_readonly("opened_in_time", &Gate::openedInTime)
        .def_property_readonly("held_modulus", &Gate::heldModulus);
}
