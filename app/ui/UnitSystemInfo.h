// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QUrl>

class QPushButton;

namespace Ui {
class TSysteminfoForm;
}

class TSysteminfoForm : public QDialog {
    Q_OBJECT

public:
    explicit TSysteminfoForm(QWidget* parent = nullptr);
    ~TSysteminfoForm() override;

    Ui::TSysteminfoForm* Ui() const { return ui; }

    void FormShow();
    void CloseButtonClick() { reject(); }
    void UpdatesLinkLabelClick();
    QPushButton* LogButton() const { return logButton; }
    // The folder that holds the log, as the button opens it.
    static QUrl LogFolder();

    static constexpr const char* SoftwareVersion = ZEL2_VERSION;  // from the project's one version

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Ui::TSysteminfoForm* ui;
    QPushButton* logButton;
};
