// SPDX-License-Identifier: MIT
// The engine's scan and stepping called from Python, shared by the extension and its test build.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <pybind11/pybind11.h>

#include "core/engine/scan.h"
#include "core/engine/scan_row.h"
#include "python/input_values.h"

namespace fibmod::python {

// Called on a worker before it begins a modulus (see ScanOptions::beforeModulus).
using ModulusHook = std::function<void(std::int64_t modulus)>;

// The inputs and the scan's options of one call, checked.
struct Arguments {
    PythonInputs inputs;
    ScanOptions options;
};

// The arguments r1 … start2 and max_terms, checked: ValueError or TypeError
// naming the parameter, ValueError naming max_terms when the bound does not
// fit the inputs.
Arguments ArgumentsOf(pybind11::handle r1, pybind11::handle s1, pybind11::handle start1, pybind11::handle r2,
                      pybind11::handle s2, pybind11::handle start2, pybind11::handle maxTerms);

// threads: an int from 0 (one per core) to kWorkerThreadsMax.
unsigned ThreadsOf(pybind11::handle threads);

// Hands each row of first … last to each(row) on the calling thread, in
// order, computed with the GIL released (each must not touch Python). Every
// so many rows the calling thread looks for a pending signal;
// KeyboardInterrupt (or what the handler raised) stops the scan and is
// raised here.
void EachScanRowWithoutGil(const Arguments& arguments, std::int64_t first, std::int64_t last, const RowSink& each);

// One row as a dict: modulus, length1, length2, residues (None in a failed
// row), error (the row's message or None), error_number (6, 9, 0 for a start
// pair that never comes back, None) and never_recurs.
pybind11::dict RowDict(const ScanRow& row);

// The rows of first … last as columns: numpy arrays (modulus, length1,
// length2, common_count, failed, and the residues of every row one after
// another: uint16 where last <= 2^16, int32 above) and the list of errors.
// Without `listResidues` the scan lists none (the residues array is empty)
// and keeps the counts alone.
pybind11::dict ScanColumns(pybind11::handle first, pybind11::handle last, pybind11::handle r1, pybind11::handle s1,
                           pybind11::handle start1, pybind11::handle r2, pybind11::handle s2,
                           pybind11::handle start2, pybind11::handle maxTerms, pybind11::handle threads,
                           const ModulusHook& beforeModulus = {}, bool listResidues = true);

// The row where "Nächster: Nur Rest 1 gemeinsam" pressed at modulus stops,
// up to limit, as RowDict gives it, or None.
pybind11::object NextStopRow(pybind11::handle modulusValue, pybind11::handle r1, pybind11::handle s1,
                             pybind11::handle start1, pybind11::handle r2, pybind11::handle s2,
                             pybind11::handle start2, pybind11::handle limitValue, pybind11::handle maxTerms,
                             const ModulusHook& beforeModulus = {});

} // namespace fibmod::python
