// SPDX-License-Identifier: MIT
// The engine's scan and stepping called from Python: arguments converted, the GIL released, rows converted back.
#include "python/engine_calls.h"

#include <optional>
#include <stop_token>
#include <vector>

#include <pybind11/numpy.h>

#include "core/engine/modulus_range.h"
#include "core/engine/modulus_row.h"
#include "core/engine/scan.h"
#include "core/engine/worker_threads.h"
#include "python/rows_without_gil.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace fibmod::python {

namespace {

// ValueError naming max_terms when the bound does not fit the inputs. Inputs
// whose reading is itself a run-time error are the rows' business.
void CheckBound(const PythonInputs& inputs, TermBound bound)
{
    const std::string problem = BoundProblem(inputs.texts(), bound);
    if (!problem.empty()) throw py::value_error("max_terms: " + problem);
}

} // namespace

unsigned ThreadsOf(py::handle threads)
{
    return static_cast<unsigned>(WholeNumberOf(threads, "threads", 0, kWorkerThreadsMax));
}

Arguments ArgumentsOf(py::handle r1, py::handle s1, py::handle start1, py::handle r2, py::handle s2,
                      py::handle start2, py::handle maxTerms)
{
    Arguments arguments{InputsOf(r1, s1, start1, r2, s2, start2), {}};
    arguments.options.maxTerms = TermBoundOf(maxTerms);
    CheckBound(arguments.inputs, arguments.options.maxTerms);
    return arguments;
}

std::vector<ScanRow> ScanWithoutGil(const Arguments& arguments, std::int64_t first, std::int64_t last)
{
    return RowsWithoutGil<ScanRow>([&](std::stop_token stop, const RowSink& sink) {
        ScanOptions options = arguments.options;
        options.stop = stop;
        ScanRows(arguments.inputs.texts(), {first, last}, options, sink);
    });
}

namespace {

py::object RowFailureNumber(const ScanRow& row)
{
    if (!row.failed()) return py::none();
    return py::int_(row.failure->error);
}

} // namespace

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
                     const ModulusHook& beforeModulus, bool listResidues)
{
    Arguments arguments = ArgumentsOf(r1, s1, start1, r2, s2, start2, maxTerms);
    arguments.options.threads = ThreadsOf(threads);
    arguments.options.residues = listResidues;
    arguments.options.beforeModulus = beforeModulus;
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

py::object NextStopRow(py::handle modulusValue, py::handle r1, py::handle s1, py::handle start1, py::handle r2,
                       py::handle s2, py::handle start2, py::handle limitValue, py::handle maxTerms,
                       const ModulusHook& beforeModulus)
{
    Arguments arguments = ArgumentsOf(r1, s1, start1, r2, s2, start2, maxTerms);
    arguments.options.beforeModulus = beforeModulus;
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

} // namespace fibmod::python
