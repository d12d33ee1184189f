// SPDX-License-Identifier: MIT
// The window's run-time errors 6 and 9, as exceptions carrying the number.
#pragma once

#include <stdexcept>
#include <string>

namespace fibmod {

// A run-time error of the computation: it carries the classic error number
// (6 overflow, 9 subscript out of range) and a short German description.
class RunTimeError : public std::runtime_error {
public:
    RunTimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int number() const noexcept { return number_; }
    // What the window reports: "Laufzeitfehler 9: Index außerhalb des gültigen Bereichs".
    std::string message() const;

private:
    int number_;
};

// Error 6: a number beyond the range of its type.
RunTimeError Overflow();
// Error 9: an index outside a table.
RunTimeError SubscriptOutOfRange();

} // namespace fibmod
