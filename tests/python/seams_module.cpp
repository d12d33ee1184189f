// SPDX-License-Identifier: MIT
// The test-only extension _core_seams: the scan, the stepping and a period run with a gate
// that holds them inside the engine, so that a test can show that the GIL is
// free meanwhile. Built for the tests alone; nothing installs it.
#include <pybind11/pybind11.h>

#include "python/engine_calls.h"
#include "python/period_job.h"
#include "tests/python/gate.h"

namespace py = pybind11;

namespace {

using fibmod::python::testing::Gate;

fibmod::python::ModulusHook HoldAt(Gate& gate)
{
    return [&gate](std::int64_t modulus) { gate.hold(modulus); };
}

} // namespace

PYBIND11_MODULE(_core_seams, module)
{
    module.doc() = "Test hooks into fibmod's engine.";
    py::class_<Gate>(module, "Gate", "Holds a scan inside the engine until opened.")
        .def(py::init<>())
        .def_readwrite("guard_seconds", &Gate::guardSeconds)
        .def("wait_until_held", &Gate::waitUntilHeld, py::call_guard<py::gil_scoped_release>())
        .def("open", &Gate::open, py::call_guard<py::gil_scoped_release>())
        .def_property_readonly("opened_in_time", &Gate::openedInTime)
        .def_property_readonly("held_modulus", &Gate::heldModulus);
    module.def(
        "scan_columns",
        [](Gate& gate, py::handle first, py::handle last, py::kwargs inputs) {
            return fibmod::python::ScanColumns(first, last, inputs["r1"], inputs["s1"], inputs["start1"],
                                               inputs["r2"], inputs["s2"], inputs["start2"], inputs["max_terms"],
                                               py::int_(0), HoldAt(gate));
        },
        py::arg("gate"), py::arg("first"), py::arg("last"), "_core.scan_columns held at the gate.");
    module.def(
        "next_stop",
        [](Gate& gate, py::handle modulus, py::kwargs inputs) {
            return fibmod::python::NextStopRow(modulus, inputs["r1"], inputs["s1"], inputs["start1"], inputs["r2"],
                                               inputs["s2"], inputs["start2"], inputs["limit"], inputs["max_terms"],
                                               HoldAt(gate));
        },
        py::arg("gate"), py::arg("modulus"), "_core.next_stop held at the gate.");
    module.def(
        "period_run_held",
        [](Gate& gate) {
            // A modulus that does not look at the stop request, as a long
            // factoring does not, held until the gate opens.
            return fibmod::python::PeriodRowsWatched(
                       [&gate](std::stop_token, const fibmod::PeriodRowSink&) { gate.hold(2); })
                .size();
        },
        py::arg("gate"), "A period run that ignores the stop request, held at the gate; its number of rows.");
    module.def("wait_for_runs_left_behind", &fibmod::python::WaitForRunsLeftBehind,
               py::call_guard<py::gil_scoped_release>(), "Waits until the period runs left behind have ended.");
}
