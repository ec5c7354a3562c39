#pragma once

#include <QDialog>

namespace Ui {
class TConfigurationDlg;
}

class TConfigurationDlg : public QDialog {
    Q_OBJECT

public:
    explicit TConfigurationDlg(QWidget* parent = nullptr);
    ~TConfigurationDlg() override;

    Ui::TConfigurationDlg* Ui() const { return ui; }

private:
    Ui::TConfigurationDlg* ui;
};
