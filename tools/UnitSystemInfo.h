#pragma once

#include <QDialog>

namespace Ui {
class TSysteminfoForm;
}

class TSysteminfoForm : public QDialog {
    Q_OBJECT

public:
    explicit TSysteminfoForm(QWidget* parent = nullptr);
    ~TSysteminfoForm() override;

    Ui::TSysteminfoForm* Ui() const { return ui; }

private:
    Ui::TSysteminfoForm* ui;
};
