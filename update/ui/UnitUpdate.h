// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

#include "update/FirmwareTransfer.h"

namespace Ui {
class TUpdateForm;
}

// The firmware update dialog: Start runs the transfer chosen for the attached receiver.
class TUpdateForm : public QDialog, public update::IUpdateView {
    Q_OBJECT

public:
    explicit TUpdateForm(std::vector<std::string> arguments = {}, QWidget* parent = nullptr);
    ~TUpdateForm() override;

    Ui::TUpdateForm* Ui() const { return ui; }

    void FormShow();
    void StartButtonClick();
    void CancelUpdateButtonClick() { close(); }

    // Tests put an emulated receiver here; the real one is the platform's.
    void SetTarget(update::IUpdateTarget* replacement);

    void SetStatus(const std::string& text) override;
    void SetProgressMaximum(int maximum) override;
    void SetProgress(int position) override;
    void Repaint() override { repaint(); }
    void ShowMessage(const std::string& text) override;
    void ShowUpdateInfo() override;
    void ShowNoAdmin() override;
    void CloseDialog() override { close(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowPackage();

    Ui::TUpdateForm* ui;
    std::vector<std::string> arguments;
    update::TPlatformUpdateTarget platformTarget;
    update::IUpdateTarget* target = &platformTarget;
};
