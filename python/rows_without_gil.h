// SPDX-License-Identifier: MIT
// Rows taken from the engine with the GIL released, stopped by a pending signal.
#pragma once

#include <cstddef>
#include <stop_token>
#include <utility>
#include <vector>

#include <pybind11/pybind11.h>

namespace fibmod::python {

// Rows between two looks at pending signals (Ctrl-C) on the calling thread.
inline constexpr std::size_t kRowsBetweenSignalChecks = 1024;

// Calls run(stop, sink) with the GIL released and hands each row that run
// gives sink to each(row), on the calling thread, in order. Every so many
// rows the calling thread looks for a pending signal; KeyboardInterrupt (or
// what the handler raised) requests the stop and is raised here once run
// has returned.
template <class Row, class Run, class Each>
void EachRowWithoutGil(const Run& run, Each&& each)
{
    std::stop_source stop;
    std::size_t rows = 0;
    bool interrupted = false;
    {
        const pybind11::gil_scoped_release release;
        run(stop.get_token(), [&](Row&& row) {
            each(std::move(row));
            if (++rows % kRowsBetweenSignalChecks != 0) return;
            const pybind11::gil_scoped_acquire acquire;
            if (PyErr_CheckSignals() != 0) {
                interrupted = true;
                stop.request_stop();
            }
        });
    }
    if (interrupted) throw pybind11::error_already_set();
}

// The same, returning the rows.
template <class Row, class Run>
std::vector<Row> RowsWithoutGil(const Run& run)
{
    std::vector<Row> rows;
    EachRowWithoutGil<Row>(run, [&rows](Row&& row) { rows.push_back(std::move(row)); });
    return rows;
}

} // namespace fibmod::python
