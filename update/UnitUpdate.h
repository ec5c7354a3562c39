#pragma once

#include <QDialog>

namespace Ui {
class TUpdateForm;
}

class TUpdateForm : public QDialog {
    Q_OBJECT

public:
    explicit TUpdateForm(QWidget* parent = nullptr);
    ~TUpdateForm() override;

    Ui::TUpdateForm* Ui() const { return ui; }

private:
    Ui::TUpdateForm* ui;
};
