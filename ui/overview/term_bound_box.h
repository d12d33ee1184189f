// SPDX-License-Identifier: MIT
// The box "max. Glieder": a number of terms, or none as the word "unbegrenzt".
#pragma once

#include <QSpinBox>

namespace fibmod::overview {

// A spin box of whole numbers from 0 up whose 0 reads "unbegrenzt" (no
// bound). The word can be typed as well as 0, in any case; while it is
// being typed, its beginning is taken as unfinished, not refused.
class TermBoundBox : public QSpinBox {
    Q_OBJECT

public:
    explicit TermBoundBox(QWidget* parent = nullptr);

    static QString noBoundText();

protected:
    QValidator::State validate(QString& input, int& position) const override;
    int valueFromText(const QString& text) const override;

private:
    // True when `input` is the word or its beginning, in any case.
    static bool beginsWord(const QString& input);
};

} // namespace fibmod::overview
