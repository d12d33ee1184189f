// SPDX-License-Identifier: MIT
// Python values as the texts and numbers the engine takes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include <pybind11/pybind11.h>

#include "core/engine/inputs.h"
#include "core/engine/term_bound.h"

namespace fibmod::python {

// The eight texts of the two recurrences, made from Python values and held
// by value, so that the engine may read them with the GIL released.
struct PythonInputs {
    HeldInputTexts held;

    // The texts to type into the window's fields, the modulus field empty.
    InputTexts texts() const { return held.texts(); }
};

// A message naming the parameter, with huge values shortened as the
// command line shortens them: "r1: 'x' is not a number".
std::string Message(const char* name, const std::string& what);

// True for a bool, Python's or numpy's.
bool IsBool(pybind11::handle value);
// True for an int (and what Python takes as one), never for a bool.
bool IsInt(pybind11::handle value);
// repr(value), and the name of its type.
std::string Repr(pybind11::handle value);
std::string TypeName(pybind11::handle value);

// The two start values of a tuple or list (a0, a1); TypeError naming `name`
// for anything else.
std::pair<pybind11::object, pybind11::object> StartValues(pybind11::handle start, const char* name);

// The text a Python value stands for in an input field: an int in decimal
// digits, a float in 17 significant digits (so that reading it gives the same
// double back), a str as given. A str must be a number and nothing else, as
// on the command line. ValueError or TypeError naming `name` otherwise.
std::string InputText(pybind11::handle value, const char* name);

// The inputs r1, s1, start1 = (a0, a1), r2, s2, start2 as Python passes them.
PythonInputs InputsOf(pybind11::handle r1, pybind11::handle s1, pybind11::handle start1, pybind11::handle r2,
                      pybind11::handle s2, pybind11::handle start2);

// A whole-number argument (a modulus, a limit, a count): an int from `low` to `high`. TypeError for anything
// that is not an int (bool included), ValueError outside the range; both name
// `name`.
std::int64_t WholeNumberOf(pybind11::handle value, const char* name, std::int64_t low, std::int64_t high);

// max_terms: None for no bound, or an int from 1 to kTermBoundMax.
TermBound TermBoundOf(pybind11::handle value);

} // namespace fibmod::python
