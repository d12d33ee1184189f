// SPDX-License-Identifier: MIT
// The scan's inputs as owned copies of the fields' texts.
#include "ui/overview/scan_inputs.h"

namespace fibmod::overview {

InputTexts ScanInputs::texts() const
{
    return {s1, r1, first1, second1, s2, r2, first2, second2, {}};
}

ScanInputs ReadScanInputs(FieldAccess& fields)
{
    // The same fields that core/inputs.cpp reads for the two columns.
    return {fields.getText(Text4(0)), fields.getText(Text4(1)), fields.getText(Text1(4)), fields.getText(Text1(5)),
            fields.getText(Text4(2)), fields.getText(Text4(3)), fields.getText(Text1(2)), fields.getText(Text1(3))};
}

} // namespace fibmod::overview
