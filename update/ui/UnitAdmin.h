// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace Ui {
class TNoAdminForm;
}

class TNoAdminForm : public QDialog {
    Q_OBJECT

public:
    explicit TNoAdminForm(QWidget* parent = nullptr);
    ~TNoAdminForm() override;

    Ui::TNoAdminForm* Ui() const { return ui; }

    void FormShow();
    void CloseButtonClick() { close(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    Ui::TNoAdminForm* ui;
};
