// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/ui/UnitUpdate.h"

#include "acquisition/AcquisitionState.h"
#include "app/ui/Application.h"
#include "app/ui/MessageBox.h"
#include "ui_UnitUpdate.h"
#include "update/ui/UnitAdmin.h"
#include "update/ui/UnitUpdateInfo.h"

TUpdateForm::TUpdateForm(std::vector<std::string> args, QWidget* parent)
    : QDialog(parent), ui(new Ui::TUpdateForm), arguments(std::move(args)) {
    ui->setupUi(this);
    // Dialog border without title-bar buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    connect(ui->StartButton, &QPushButton::clicked, this, &TUpdateForm::StartButtonClick);
    connect(ui->CancelUpdateButton, &QPushButton::clicked, this, &TUpdateForm::CancelUpdateButtonClick);
}

TUpdateForm::~TUpdateForm() {
    delete ui;
}

void TUpdateForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TUpdateForm::FormShow() {
    ui->StartButton->setText(QCoreApplication::translate("TUpdateForm", "Mise à jour"));
    ui->CancelUpdateButton->setText(QCoreApplication::translate("TUpdateForm", "Fermer"));
    setWindowTitle(QCoreApplication::translate("TUpdateForm", "Mise à jour"));
    ShowPackage();
}

void TUpdateForm::ShowPackage() {
    // Before a transfer the label says what Start would write, or that nothing can be.
    const std::string model = Acquisition.ReceiverModel();
    if (model.empty() || !ui->StatusLabel->text().isEmpty()) return;
    const update::TPackageChoice choice = update::FindFirmwarePackage(update::InstalledPackageRoots(), model);
    if (choice.package) {
        ui->StatusLabel->setText(QString::fromStdString(update::DescribePackage(*choice.package, model)));
        ui->StatusLabel->setToolTip(QString::fromStdString(choice.package->folder));
    } else {
        ui->StatusLabel->setText(QCoreApplication::translate("TUpdateForm", "Aucun firmware installé"));
        ui->StatusLabel->setToolTip(QString::fromStdString(choice.problem));
    }
}

void TUpdateForm::SetTarget(update::IUpdateTarget* replacement) {
    target = replacement ? replacement : &platformTarget;
}

void TUpdateForm::StartButtonClick() {
    // Cancel cannot act while the transfer runs.
    ui->CancelUpdateButton->setEnabled(false);
    ui->StartButton->setEnabled(false);
    update::TFirmwareUpdater updater(*target, *this, Acquisition, arguments, update::InstalledPackageRoots());
    updater.StartButtonClick();
    ui->CancelUpdateButton->setEnabled(true);
    ui->StartButton->setEnabled(true);
}

void TUpdateForm::SetStatus(const std::string& text) {
    // The transfer's own texts in the user's language; a package's problem as it is written.
    ui->StatusLabel->setText(QCoreApplication::translate("update", text.c_str()));
}

void TUpdateForm::SetProgressMaximum(int maximum) {
    ui->ProgressBar1->setMaximum(maximum);
}

void TUpdateForm::SetProgress(int position) {
    ui->ProgressBar1->setValue(position);
}

void TUpdateForm::ShowMessage(const std::string& text) {
    ShowMessageBox(this, TBoxKind::Plain, QString::fromStdString(text));
}

void TUpdateForm::ShowUpdateInfo() {
    if (Forms.UpdateInfoForm) Forms.UpdateInfoForm->exec();
}

void TUpdateForm::ShowNoAdmin() {
    if (Forms.NoAdminForm) Forms.NoAdminForm->exec();
}
