// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "core/field_access.h"
#include "core/inputs.h"

namespace fibmod::overview {

// The eight input texts the scan's rows depend on, held by value so that a
// worker thread may use them after the fields changed. The modulus field is
// left out: the scan covers every modulus.
struct ScanInputs {
    std::string s1, r1, first1, second1;
    std::string s2, r2, first2, second2;

    // Views into this object; valid while it lives unchanged. The modulus is empty.
    InputTexts texts() const;

    friend bool operator==(const ScanInputs&, const ScanInputs&) = default;
};

// The texts the fields hold now. Reads only; runs nothing.
ScanInputs ReadScanInputs(FieldAccess& fields);

} // namespace fibmod::overview
