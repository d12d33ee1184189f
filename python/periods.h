// SPDX-License-Identifier: MIT
// The period engine's functions of the extension fibmod._core.
#pragma once

#include <pybind11/pybind11.h>

namespace fibmod::python {

// Adds period_rows, period_range and the period constants to `module`.
void AddPeriodFunctions(pybind11::module_& module);

} // namespace fibmod::python
