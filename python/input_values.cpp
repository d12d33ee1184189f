// SPDX-License-Identifier: MIT
// Python values as the texts and numbers the engine takes.
#include "python/input_values.h"

#include <cstdio>

#include "core/engine/input_rules.h"

namespace py = pybind11;

namespace fibmod::python {

std::string Message(const char* name, const std::string& what)
{
    return ShortenedWords(std::string(name) + ": " + what);
}

bool IsBool(py::handle value)
{
    if (py::isinstance<py::bool_>(value)) return true;
    // numpy's bool_ (bool in numpy 2) is no subclass of bool, but an index.
    const py::handle type = value.get_type();
    return py::str(type.attr("__module__")).cast<std::string>() == "numpy" &&
           py::str(type.attr("__name__")).cast<std::string>().rfind("bool", 0) == 0;
}

bool IsInt(py::handle value) { return !IsBool(value) && PyIndex_Check(value.ptr()); }

std::string Repr(py::handle value) { return py::repr(value).cast<std::string>(); }

std::string TypeName(py::handle value) { return py::str(value.get_type().attr("__name__")); }

std::pair<py::object, py::object> StartValues(py::handle start, const char* name)
{
    const bool sequence = py::isinstance<py::tuple>(start) || py::isinstance<py::list>(start);
    if (!sequence || py::len(start) != 2)
        throw py::type_error(Message(name, "expected two start values (a0, a1), not " + Repr(start)));
    const py::sequence values = py::reinterpret_borrow<py::sequence>(start);
    return {values[0], values[1]};
}

std::string InputText(py::handle value, const char* name)
{
    if (py::isinstance<py::str>(value)) {
        std::string text = value.cast<std::string>();
        if (!IsEntirelyANumber(text))
            throw py::value_error(Message(name, NotANumber(text)));
        return text;
    }
    if (IsInt(value)) return py::str(py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr())));
    if (py::isinstance<py::float_>(value)) {
        const double x = value.cast<double>();
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", x);
        if (!IsEntirelyANumber(text))
            throw py::value_error(Message(name, NotANumber(Repr(value))));
        return text;
    }
    throw py::type_error(Message(name, "expected an int, a float or a str, not " + TypeName(value)));
}

PythonInputs InputsOf(py::handle r1, py::handle s1, py::handle start1, py::handle r2, py::handle s2,
                      py::handle start2)
{
    PythonInputs inputs;
    HeldInputTexts& held = inputs.held;
    const auto pair = [](py::handle start, const char* name, std::string& first, std::string& second) {
        const auto [a0, a1] = StartValues(start, name);
        first = InputText(a0, name);
        second = InputText(a1, name);
    };
    held.r1 = InputText(r1, "r1");
    held.s1 = InputText(s1, "s1");
    pair(start1, "start1", held.first1, held.second1);
    held.r2 = InputText(r2, "r2");
    held.s2 = InputText(s2, "s2");
    pair(start2, "start2", held.first2, held.second2);
    return inputs;
}

std::int64_t WholeNumberOf(py::handle value, const char* name, std::int64_t low, std::int64_t high)
{
    if (!IsInt(value))
        throw py::type_error(Message(name, "expected an int, not " + TypeName(value)));
    const py::int_ number = py::reinterpret_steal<py::int_>(PyNumber_Index(value.ptr()));
    const py::int_ lowest(low);
    const py::int_ highest(high);
    if (number < lowest || number > highest)
        throw py::value_error(Message(name, OutsideRange(Repr(number), low, high)));
    return number.cast<std::int64_t>();
}

TermBound TermBoundOf(py::handle value)
{
    if (value.is_none()) return std::nullopt;
    return WholeNumberOf(value, "max_terms", 1, kTermBoundMax);
}

} // namespace fibmod::python
