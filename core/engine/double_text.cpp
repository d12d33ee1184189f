// SPDX-License-Identifier: MIT
// Doubles from and to decimal text: by from_chars and to_chars, or where the library lacks them, by the C library.
#include "core/engine/double_text.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <version>

#if defined(__cpp_lib_to_chars)
#include <charconv>
#include <system_error>
#endif

namespace fibmod {

std::optional<double> NearestDoubleByStrtod(const std::string& decimal)
{
    errno = 0;
    const double value = std::strtod(decimal.c_str(), nullptr);
    // strtod also flags a subnormal result, which from_chars returns as it is.
    if (errno == ERANGE && (std::isinf(value) || value == 0)) return std::nullopt;
    return value;
}

std::string GeneralTextByPrintf(double value, int precision)
{
    std::array<char, 64> buffer{};
    const int length = std::snprintf(buffer.data(), buffer.size(), "%.*g", precision, value);
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

#if defined(__cpp_lib_to_chars)

std::optional<double> NearestDouble(const std::string& decimal)
{
    double value = 0;
    const auto [end, error] = std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) return std::nullopt;
    return value;
}

void AppendGeneralText(std::string& out, double value, int precision)
{
    std::array<char, 64> buffer{};
    const auto written =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, precision);
    out.append(buffer.data(), written.ptr);
}

#else

std::optional<double> NearestDouble(const std::string& decimal) { return NearestDoubleByStrtod(decimal); }

void AppendGeneralText(std::string& out, double value, int precision)
{
    out += GeneralTextByPrintf(value, precision);
}

#endif

std::string GeneralText(double value, int precision)
{
    std::string text;
    AppendGeneralText(text, value, precision);
    return text;
}

} // namespace fibmod
