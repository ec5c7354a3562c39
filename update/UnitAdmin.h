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

private:
    Ui::TNoAdminForm* ui;
};
