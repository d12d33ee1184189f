#pragma once

#include <string>
#include <string_view>

namespace fibmod::cli {

// One CSV field as RFC 4180 writes it: in double quotes, with every quote
// doubled, when it holds a comma, a quote, a carriage return or a line feed;
// otherwise unchanged.
std::string CsvField(std::string_view text);

} // namespace fibmod::cli
