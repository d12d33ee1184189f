// SPDX-License-Identifier: MIT
// The extension fibmod._core: the engine's scan, show and stepping for Python.
// It only converts arguments and results, releases the GIL while the engine
// computes and turns the engine's exceptions into Python ones; the package
// fibmod around it builds the pandas objects.
#include <algorithm>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "core/engine/input_rules.h"
#include "core/engine/modulus_range.h"
#include "core/engine/modulus_row.h"
#include "core/engine/row_columns.h"
#include "core/engine/run_time_error.h"
#include "core/engine/scan.h"
#include "core/engine/scan_csv.h"
#include "core/engine/worker_threads.h"
#include "core/window/show.h"
#include "python/engine_calls.h"
#include "python/input_values.h"
#include "python/periods.h"
#include "version/version.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace fibmod::python {

namespace {

py::str ScanCsvText(py::handle first, py::handle last, py::handle r1, py::handle s1, py::handle start1,
                    py::handle r2, py::handle s2, py::handle start2, py::handle maxTerms, py::handle threads,
                    bool header)
{
    Arguments arguments = ArgumentsOf(r1, s1, start1, r2, s2, start2, maxTerms);
    arguments.options.threads = ThreadsOf(threads);
    const std::int64_t from = WholeNumberOf(first, "first", kModulusMin, kEngineModulusMax);
    const std::int64_t to = WholeNumberOf(last, "last", kModulusMin, kEngineModulusMax);
    // Without the header: the rows alone, for parts that follow one another.
    std::string csv = header ? ScanCsvHeader() : std::string();
    EachScanRowWithoutGil(arguments, from, to, [&csv](ScanRow&& row) { csv += ScanCsvLine(row); });
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

// The residues of each row as a list of ints, None for a failed row, from
// the columns scan_columns gives (or those of consecutive scans joined), in
// a 1-D object array: pandas takes that as it is, where from a list of lists
// it would first walk every residue. One int object stands for every
// occurrence of its value, so that the lists of millions of residues are
// built without making millions of ints.
template <class Residue>
py::array ResidueListsOf(const py::array_t<Residue, py::array::c_style>& residues,
                         const py::array_t<std::int64_t, py::array::c_style>& counts,
                         const py::array_t<bool, py::array::c_style>& failed)
{
    const auto r = residues.template unchecked<1>();
    const auto c = counts.unchecked<1>();
    const auto f = failed.unchecked<1>();
    if (c.shape(0) != f.shape(0)) throw py::value_error("counts and failed differ in length");
    std::int64_t largest = 0;
    for (py::ssize_t k = 0; k < r.shape(0); ++k) {
        if constexpr (std::is_signed_v<Residue>)
            if (r(k) < 0) throw py::value_error("a residue is negative");
        largest = std::max<std::int64_t>(largest, r(k));
    }
    // The ints made so far, by value; a table only as long as the residues
    // themselves are many, so that a few huge residues take no huge table.
    const bool shared = largest < std::max<std::int64_t>(4 * std::int64_t{r.shape(0)}, 1 << 16);
    std::vector<py::object> ints(shared ? static_cast<std::size_t>(largest) + 1 : 0);
    const auto intOf = [&ints, shared](Residue value) -> PyObject* {
        if (!shared) return py::int_(value).release().ptr();
        py::object& made = ints[static_cast<std::size_t>(value)];
        if (!made) made = py::int_(value);
        return made.inc_ref().ptr();
    };
    // numpy.empty fills an object array with None, which failed rows keep.
    py::array lists = py::module_::import("numpy").attr("empty")(c.shape(0), "dtype"_a = "object");
    auto* slots = static_cast<PyObject**>(lists.mutable_data());
    py::ssize_t k = 0;
    for (py::ssize_t i = 0; i < c.shape(0); ++i) {
        if (f(i)) continue;
        if (c(i) < 0 || k + c(i) > r.shape(0)) throw py::value_error("the counts exceed the residues");
        py::list list(static_cast<std::size_t>(c(i)));
        // PyList_SET_ITEM takes over the reference intOf gives.
        for (py::ssize_t j = 0; j < c(i); ++j) PyList_SET_ITEM(list.ptr(), j, intOf(r(k++)));
        // A list of ints holds no cycle, so the cyclic collector need not
        // know it: tracked, every collection that looks at the young objects
        // would walk all the residues listed, several times what making the
        // lists costs. (A list a caller later appends itself to would not be
        // collected; these lists are results, not containers to grow.)
        PyObject_GC_UnTrack(list.ptr());
        Py_SETREF(slots[i], list.release().ptr());
    }
    return lists;
}

// The values as a C-contiguous, aligned array of T, converted or copied
// where they are not: an array received from another process may start at
// any byte of its message (Dask's frames), where reading it as numbers would
// be undefined.
template <class T>
py::array_t<T, py::array::c_style> AlignedArray(py::handle values)
{
    return py::module_::import("numpy")
        .attr("require")(values, "dtype"_a = py::dtype::of<T>(), "requirements"_a = "CA")
        .template cast<py::array_t<T, py::array::c_style>>();
}

// The same for residues as scan_columns gives them: 16-bit numbers up to
// 65536, int32 above; anything else is converted to int32 first.
py::array ResidueLists(const py::array& residues, py::handle counts, py::handle failed)
{
    const auto c = AlignedArray<std::int64_t>(counts);
    const auto f = AlignedArray<bool>(failed);
    if (residues.dtype().equal(py::dtype::of<std::uint16_t>()))
        return ResidueListsOf<std::uint16_t>(AlignedArray<std::uint16_t>(residues), c, f);
    return ResidueListsOf<std::int32_t>(AlignedArray<std::int32_t>(residues), c, f);
}

// The engine's rules for a typed value, for a program's options: the value
// read, or ValueError with the rule's reason.
std::string ReadNumberText(const std::string& text)
{
    if (!IsEntirelyANumber(text)) throw py::value_error(NotANumber(text));
    return text;
}

py::tuple ReadStartPairText(const std::string& text)
{
    if (!IsStartPair(text)) throw py::value_error(NotTwoNumbers(text));
    const auto [first, second] = *StartPairHalves(text);
    return py::make_tuple(std::string(first), std::string(second));
}

std::int64_t ReadWholeNumberText(const std::string& text, std::int64_t low, std::int64_t high)
{
    const WholeNumberReading reading = ReadWholeNumber(text, low, high);
    if (!reading.value) throw py::value_error(reading.problem);
    return *reading.value;
}

py::object ReadTermBoundText(const std::string& text)
{
    const TermBoundReading reading = ReadTermBound(text);
    if (!reading.problem.empty()) throw py::value_error(reading.problem);
    return reading.bound ? py::object(py::int_(*reading.bound)) : py::object(py::none());
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
    module.attr("WORKER_THREADS_MAX") = fibmod::kWorkerThreadsMax;
    py::tuple columns(fibmod::kRowColumns.size());
    for (std::size_t i = 0; i < fibmod::kRowColumns.size(); ++i)
        columns[i] = py::str(std::string(fibmod::ColumnName(fibmod::kRowColumns[i])));
    module.attr("ROW_COLUMNS") = columns;
    // The window's design-time inputs, every function's defaults.
    const fibmod::InputTexts& d = fibmod::kDesignTimeInputs;
    const auto whole = [](std::string_view text) { return py::int_(py::str(std::string(text))); };
    module.attr("DESIGN_TIME_INPUTS") =
        py::dict("r1"_a = whole(d.r1), "s1"_a = whole(d.s1), "start1"_a = py::make_tuple(whole(d.first1), whole(d.second1)),
                 "r2"_a = whole(d.r2), "s2"_a = whole(d.s2), "start2"_a = py::make_tuple(whole(d.first2), whole(d.second2)));

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
    module.def("scan_columns",
               [](py::handle first, py::handle last, py::handle r1, py::handle s1, py::handle start1, py::handle r2,
                  py::handle s2, py::handle start2, py::handle maxTerms, py::handle threads, bool residues) {
                   return ScanColumns(first, last, r1, s1, start1, r2, s2, start2, maxTerms, threads, {}, residues);
               }, py::arg("first"), py::arg("last"), py::kw_only(), py::arg("r1"),
               py::arg("s1"), py::arg("start1"), py::arg("r2"), py::arg("s2"), py::arg("start2"),
               py::arg("max_terms"), py::arg("threads") = 0, py::arg("residues") = true,
               "The rows of first … last as columns: numpy arrays, the residues of every row one after another "
               "(none without residues), the errors.");
    module.def(
        "choose_columns",
        [](const std::vector<std::string>& names) {
            const fibmod::ColumnChoice choice = fibmod::ChooseColumns(names);
            if (!choice.problem.empty()) throw py::value_error("columns: " + choice.problem);
            py::list chosen;
            for (const fibmod::RowColumn column : choice.columns) chosen.append(std::string(fibmod::ColumnName(column)));
            return chosen;
        },
        py::arg("names"), "The names of the columns chosen, in order; ValueError naming the valid ones otherwise.");
    module.def("scan_csv", &ScanCsvText, py::arg("first"), py::arg("last"), py::kw_only(), py::arg("r1"),
               py::arg("s1"), py::arg("start1"), py::arg("r2"), py::arg("s2"), py::arg("start2"),
               py::arg("max_terms"), py::arg("threads") = 0, py::arg("header") = true,
               "The rows of first … last as the command line's CSV.");
    module.def("show", &Show, py::arg("modulus"), py::kw_only(), py::arg("r1"), py::arg("s1"), py::arg("start1"),
               py::arg("r2"), py::arg("s2"), py::arg("start2"), py::arg("max_terms"), py::arg("listings") = true,
               "What the window shows for one modulus, as a dict.");
    module.def("next_stop",
               [](py::handle modulus, py::handle r1, py::handle s1, py::handle start1, py::handle r2, py::handle s2,
                  py::handle start2, py::handle limit, py::handle maxTerms) {
                   return NextStopRow(modulus, r1, s1, start1, r2, s2, start2, limit, maxTerms);
               }, py::arg("modulus"), py::kw_only(), py::arg("r1"), py::arg("s1"),
               py::arg("start1"), py::arg("r2"), py::arg("s2"), py::arg("start2"), py::arg("limit"),
               py::arg("max_terms"),
               "The row where the stepping stops above modulus, up to limit, or None.");

    module.def("residue_lists", &ResidueLists, py::arg("residues"), py::arg("counts"), py::arg("failed"),
               "The residues of each row as a list of ints (None for a failed row), in a 1-D object array.");
    module.def(
        "csv_header", [] { return fibmod::ScanCsvHeader(); }, "The header line of the command line's CSV, CR LF ended.");
    module.def("read_number", &ReadNumberText, py::arg("text"), "The text when it is a number and nothing else.");
    module.def("read_start_pair", &ReadStartPairText, py::arg("text"), "The two numbers of \"A,B\" as texts.");
    module.def("read_whole_number", &ReadWholeNumberText, py::arg("text"), py::arg("low"), py::arg("high"),
               "A whole number in decimal digits from low to high.");
    module.def("read_term_bound", &ReadTermBoundText, py::arg("text"), "\"none\" (None) or a term bound.");
    module.def("check_arguments", &CheckArguments, py::arg("first"), py::arg("last"), py::kw_only(), py::arg("r1"),
               py::arg("s1"), py::arg("start1"), py::arg("r2"), py::arg("s2"), py::arg("start2"),
               py::arg("max_terms"), "Raises what scan_columns would raise for these arguments, computing nothing.");

}
