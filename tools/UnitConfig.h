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

    void FormShow();
    void OKBtnClick();
    // The network output's state, kept current while the dialog is open.
    void ShowNetworkStatus();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Ui::TConfigurationDlg* ui;
};
