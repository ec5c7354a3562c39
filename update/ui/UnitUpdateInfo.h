// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace Ui {
class TUpdateInfoForm;
}

class TUpdateInfoForm : public QDialog {
    Q_OBJECT

public:
    explicit TUpdateInfoForm(QWidget* parent = nullptr);
    ~TUpdateInfoForm() override;

    Ui::TUpdateInfoForm* Ui() const { return ui; }

    void FormShow();
    void CloseButtonClick() { close(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    Ui::TUpdateInfoForm* ui;
};
