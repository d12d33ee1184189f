// SPDX-License-Identifier: MIT
// Exact pre-periods and periods for Python: whole numbers of any size in and
// out as Python ints, the engine run on a thread of its own without the GIL.
#include "python/periods.h"

#include <stop_token>
#include <utility>
#include <string>
#include <vector>

#include "core/engine/input_rules.h"
#include "core/engine/period/period_engine.h"
#include "core/engine/period/period_rows.h"
#include "python/engine_calls.h"
#include "python/input_values.h"
#include "python/period_job.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace fibmod::python {

namespace {

// The text of an int (in decimal), or a str as given; TypeError naming
// `name` for anything else.
std::string WholeText(py::handle value, const char* name)
{
    if (py::isinstance<py::str>(value)) return value.cast<std::string>();
    if (IsInt(value)) return py::str(py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr())));
    throw py::type_error(Message(name, "expected an int or a str of decimal digits, not " + TypeName(value)));
}

// An int, or a str of decimal digits with an optional sign (blanks around
// allowed): the number exactly, in plain form. TypeError or ValueError
// naming `name`.
std::string WholeOf(py::handle value, const char* name)
{
    const std::string text = WholeText(value, name);
    try {
        return ReadWholeNumberText(text);
    } catch (const std::invalid_argument& error) {
        throw py::value_error(Message(name, error.what()));
    }
}

PeriodUInt128 ModulusOf(py::handle value, const char* name)
{
    const std::string text = WholeText(value, name);
    try {
        return ReadPeriodModulus(text);
    } catch (const std::invalid_argument& error) {
        throw py::value_error(Message(name, error.what()));
    }
}

WholeInputTexts SequenceOf(py::handle r, py::handle s, py::handle start, const char* rName, const char* sName,
                           const char* startName)
{
    const auto [a0, a1] = StartValues(start, startName);
    return {WholeOf(r, rName), WholeOf(s, sName), WholeOf(a0, startName), WholeOf(a1, startName)};
}

// The int of a whole number in decimal digits.
py::int_ IntOf(const std::string& digits)
{
    return py::reinterpret_steal<py::int_>(PyLong_FromString(digits.c_str(), nullptr, 10));
}

py::int_ IntOf(PeriodUInt128 n) { return IntOf(DecimalText(n)); }

// One row: (modulus, preperiod1, length1, preperiod2, length2,
// [(p, e), …], factors as the CSV's text).
py::tuple RowTuple(const PeriodRowText& row)
{
    py::list factors;
    for (const PrimePowerText& factor : row.factors)
        factors.append(py::make_tuple(IntOf(factor.prime), factor.exponent));
    return py::make_tuple(IntOf(row.modulus), IntOf(row.preperiod[0]), IntOf(row.length[0]), IntOf(row.preperiod[1]),
                          IntOf(row.length[1]), factors, FactorsText(row.factors));
}

// The period engine, loaded on the first call; ImportError when it cannot be.
const PeriodEngine& Engine()
{
    try {
        return LoadedPeriodEngine();
    } catch (const PeriodEngineMissing& missing) {
        throw py::import_error(missing.what());
    }
}

PeriodJob JobOf(py::handle r1, py::handle s1, py::handle start1, py::handle r2, py::handle s2, py::handle start2,
              py::handle threads)
{
    PeriodJob job;
    job.sequences = {SequenceOf(r1, s1, start1, "r1", "s1", "start1"),
                     SequenceOf(r2, s2, start2, "r2", "s2", "start2")};
    job.threads = ThreadsOf(threads);
    return job;
}

// Moduli taken from an iterable at a time: enough to keep the workers busy,
// few enough that an iterable of any length is read as it goes.
constexpr std::size_t kModuliAtATime = 4096;

void AppendTuples(py::list& result, const std::vector<PeriodRowText>& rows)
{
    for (const PeriodRowText& row : rows) result.append(RowTuple(row));
}

py::list PeriodRows(py::object moduli, py::handle r1, py::handle s1, py::handle start1, py::handle r2,
                    py::handle s2, py::handle start2, py::handle threads, const std::string& name)
{
    const PeriodJob job = JobOf(r1, s1, start1, r2, s2, start2, threads);
    const PeriodEngine* engine = &Engine();
    const py::object iterator = py::reinterpret_steal<py::object>(PyObject_GetIter(moduli.ptr()));
    if (!iterator) {
        PyErr_Clear();
        throw py::type_error(Message(name.c_str(), "expected an iterable of moduli (ints or str of decimal digits), "
                                                   "not " + TypeName(moduli)));
    }
    py::list result;
    for (;;) {
        std::vector<PeriodUInt128> values;
        while (values.size() < kModuliAtATime) {
            const py::object modulus = py::reinterpret_steal<py::object>(PyIter_Next(iterator.ptr()));
            if (!modulus) {
                if (PyErr_Occurred() != nullptr) throw py::error_already_set();
                break;
            }
            values.push_back(ModulusOf(modulus, name.c_str()));
        }
        if (values.empty()) return result;
        const bool last = values.size() < kModuliAtATime;
        AppendTuples(result, PeriodRowsWatched([engine, job, values = std::move(values)](
                                                   std::stop_token stop, const PeriodRowSink& sink) {
            PeriodJob stoppable = job;
            stoppable.stop = stop;
            engine->periods(stoppable, values, sink);
        }));
        if (last) return result;
    }
}

py::list PeriodRange(py::handle first, py::handle last, py::handle r1, py::handle s1, py::handle start1,
                     py::handle r2, py::handle s2, py::handle start2, py::handle threads)
{
    const PeriodJob job = JobOf(r1, s1, start1, r2, s2, start2, threads);
    const PeriodUInt128 from = ModulusOf(first, "first");
    const PeriodUInt128 to = ModulusOf(last, "last");
    py::list result;
    if (from > to) return result;
    const PeriodEngine* engine = &Engine();
    AppendTuples(result, PeriodRowsWatched([engine, job, from, to](std::stop_token stop, const PeriodRowSink& sink) {
        PeriodJob stoppable = job;
        stoppable.stop = stop;
        engine->range(stoppable, from, to, sink);
    }));
    return result;
}

py::tuple CheckPeriodArguments(py::handle first, py::handle last, py::handle r1, py::handle s1, py::handle start1,
                               py::handle r2, py::handle s2, py::handle start2)
{
    JobOf(r1, s1, start1, r2, s2, start2, py::int_(0));
    return py::make_tuple(IntOf(ModulusOf(first, "first")), IntOf(ModulusOf(last, "last")));
}

} // namespace

void AddPeriodFunctions(py::module_& module)
{
    module.attr("PERIOD_MODULUS_MAX") = IntOf(kPeriodModulusMax);
    py::tuple columns(kPeriodColumns.size());
    for (std::size_t c = 0; c < kPeriodColumns.size(); ++c) columns[c] = py::str(std::string(PeriodColumnName(kPeriodColumns[c])));
    module.attr("PERIOD_COLUMNS") = columns;
    module.def("period_rows", &PeriodRows, py::arg("moduli"), py::kw_only(), py::arg("r1"), py::arg("s1"),
               py::arg("start1"), py::arg("r2"), py::arg("s2"), py::arg("start2"), py::arg("threads") = 0,
               py::arg("name") = "moduli",
               "Each modulus's row (modulus, preperiod1, length1, preperiod2, length2, [(p, e), ...], factors text), "
               "in the order given; errors name the parameter `name`.");
    module.def("period_range", &PeriodRange, py::arg("first"), py::arg("last"), py::kw_only(), py::arg("r1"),
               py::arg("s1"), py::arg("start1"), py::arg("r2"), py::arg("s2"), py::arg("start2"),
               py::arg("threads") = 0, "The rows of first … last, ascending, as period_rows gives them.");
    module.def("check_period_arguments", &CheckPeriodArguments, py::arg("first"), py::arg("last"), py::kw_only(),
               py::arg("r1"), py::arg("s1"), py::arg("start1"), py::arg("r2"), py::arg("s2"), py::arg("start2"),
               "Raises what period_range would raise for these arguments; else (first, last) as ints.");
    // A run left behind by Ctrl-C ends before the interpreter does.
    py::module_::import("atexit").attr("register")(py::cpp_function([] {
        const py::gil_scoped_release release;
        WaitForRunsLeftBehind();
    }));
}

} // namespace fibmod::python
