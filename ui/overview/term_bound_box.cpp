// SPDX-License-Identifier: MIT
// The box "max. Glieder", which takes "unbegrenzt" typed as well as 0.
#include "ui/overview/term_bound_box.h"

#include <limits>

namespace fibmod::overview {

TermBoundBox::TermBoundBox(QWidget* parent) : QSpinBox(parent)
{
    setRange(0, std::numeric_limits<int>::max());
    setSpecialValueText(noBoundText());
}

QString TermBoundBox::noBoundText() { return QStringLiteral("unbegrenzt"); }

bool TermBoundBox::beginsWord(const QString& input)
{
    const QString typed = input.trimmed();
    return !typed.isEmpty() && noBoundText().startsWith(typed, Qt::CaseInsensitive);
}

QValidator::State TermBoundBox::validate(QString& input, int& position) const
{
    if (!beginsWord(input)) return QSpinBox::validate(input, position);
    return input.trimmed().compare(noBoundText(), Qt::CaseInsensitive) == 0 ? QValidator::Acceptable
                                                                            : QValidator::Intermediate;
}

int TermBoundBox::valueFromText(const QString& text) const
{
    if (text.trimmed().compare(noBoundText(), Qt::CaseInsensitive) == 0) return minimum();
    return QSpinBox::valueFromText(text);
}

} // namespace fibmod::overview
