// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace Ui {
class TConfigurationDlg;
}

// What OK asks of its neighbours: the chart redrawn with the new altitude now, and a full
// refresh within a second. The main window implements it.
class IConfigurationTarget {
public:
    virtual ~IConfigurationTarget() = default;
    virtual void ConfigurationAccepted() = 0;
};

class TConfigurationDlg : public QDialog {
    Q_OBJECT

public:
    explicit TConfigurationDlg(QWidget* parent = nullptr);
    ~TConfigurationDlg() override;

    Ui::TConfigurationDlg* Ui() const { return ui; }
    void SetTarget(IConfigurationTarget* newTarget) { target = newTarget; }

    void FormShow();
    void OKBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Ui::TConfigurationDlg* ui;
    IConfigurationTarget* target = nullptr;
};
