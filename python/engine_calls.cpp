// SPDX-License-Identifier: MIT
// The engine's scan and stepping called from Python: arguments converted, the GIL released, rows converted back.
#include "python/engine_calls.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <optional>
#include <stop_token>
#include <string>
#include <type_traits>
#include <utility>
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

void EachScanRowWithoutGil(const Arguments& arguments, std::int64_t first, std::int64_t last, const RowSink& each)
{
    EachRowWithoutGil<ScanRow>(
        [&](std::stop_token stop, const RowSink& sink) {
            ScanOptions options = arguments.options;
            options.stop = stop;
            ScanRows(arguments.inputs.texts(), {first, last}, options, sink);
        },
        each);
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

namespace {

// Values of a trivially copyable type in one block grown by realloc, which
// moves a large block by remapping its pages instead of copying and touching
// them again, and handed to numpy as it is.
template <class T>
class GrowingColumn {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    GrowingColumn() = default;
    GrowingColumn(const GrowingColumn&) = delete;
    GrowingColumn& operator=(const GrowingColumn&) = delete;
    ~GrowingColumn() { std::free(data_); }

    // Room for `more` values past the last; std::bad_alloc where there is none.
    T* extend(std::size_t more)
    {
        if (size_ + more > capacity_) {
            const std::size_t capacity = std::max({size_ + more, 2 * capacity_, std::size_t{4096}});
            void* grown = std::realloc(data_, capacity * sizeof(T));
            if (grown == nullptr) throw std::bad_alloc();
            data_ = static_cast<T*>(grown);
            capacity_ = capacity;
        }
        T* end = data_ + size_;
        size_ += more;
        return end;
    }

    // A numpy array owning the values; this column is then empty.
    py::array_t<T> release()
    {
        if (size_ == 0) return py::array_t<T>(0);
        // Given back what was grown ahead; where that fails, kept as it was.
        T* data = static_cast<T*>(std::realloc(data_, size_ * sizeof(T)));
        if (data == nullptr) data = data_;
        const auto size = static_cast<py::ssize_t>(size_);
        data_ = nullptr;
        size_ = capacity_ = 0;
        py::capsule owner;
        try {
            owner = py::capsule(data, [](void* block) { std::free(block); });
        } catch (...) {
            std::free(data);
            throw;
        }
        return py::array_t<T>(size, data, owner);
    }

private:
    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// The rows of a scan as columns, taken one row at a time, so that no row's
// residues outlive their row: a residue as Residue, wide enough for every
// residue below the scan's last modulus.
template <class Residue>
py::dict ScanColumnsOf(const Arguments& arguments, std::int64_t from, std::int64_t to)
{
    GrowingColumn<std::int64_t> modulus, length1, length2, count;
    GrowingColumn<bool> failed;
    GrowingColumn<Residue> residues;
    std::vector<std::pair<std::size_t, std::string>> errors;
    std::size_t rows = 0;
    EachScanRowWithoutGil(arguments, from, to, [&](ScanRow&& row) {
        *modulus.extend(1) = row.modulus;
        *length1.extend(1) = row.length1;
        *length2.extend(1) = row.length2;
        *count.extend(1) = row.commonCount();
        *failed.extend(1) = row.failed();
        if (row.failed()) errors.emplace_back(rows, std::move(row.failure->message));
        std::copy(row.residues.begin(), row.residues.end(), residues.extend(row.residues.size()));
        ++rows;
    });
    py::list errorList(rows);
    for (std::size_t i = 0; i < rows; ++i) errorList[i] = py::none();
    for (auto& [row, message] : errors) errorList[row] = py::str(message);
    return py::dict("modulus"_a = modulus.release(), "length1"_a = length1.release(),
                    "length2"_a = length2.release(), "common_count"_a = count.release(),
                    "failed"_a = failed.release(), "residues"_a = residues.release(), "error"_a = errorList);
}

} // namespace

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
    // Every residue is below its modulus: below 2^16 up to 65536, below 2^31
    // everywhere.
    if (to <= std::int64_t{1} << 16) return ScanColumnsOf<std::uint16_t>(arguments, from, to);
    return ScanColumnsOf<std::int32_t>(arguments, from, to);
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
