// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSpinBox>

#include "settings/BaroHeightInput.h"

// The altitude field takes whatever is typed; the number counts when the dialog is
// confirmed, limited to 0..750 (letters count as 0). A plain spin box would swallow the
// keystrokes that leave its range, so "1000" would become 100.
class TBaroHeightSpinEdit : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }
    int valueFromText(const QString& text) const override {
        return settings::ParseBaroHeight(text.toStdString());
    }
};
