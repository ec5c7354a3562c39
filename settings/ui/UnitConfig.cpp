// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/UnitConfig.h"

#include "acquisition/AcquisitionState.h"
#include "settings/BaroHeightInput.h"
#include "ui_UnitConfig.h"

TConfigurationDlg::TConfigurationDlg(QWidget* parent) : QDialog(parent), ui(new Ui::TConfigurationDlg) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->OKBtn, &QPushButton::clicked, this, &TConfigurationDlg::OKBtnClick);
}

TConfigurationDlg::~TConfigurationDlg() {
    delete ui;
}

void TConfigurationDlg::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TConfigurationDlg::FormShow() {
    setWindowTitle(QCoreApplication::translate("TConfigurationDlg", "Configuration"));
    ui->GroupBox1->setTitle(
        QCoreApplication::translate("TConfigurationDlg", "Correction barométre altitude"));
    ui->Label1->setText(QCoreApplication::translate("TConfigurationDlg", "Barométre altitude [m]"));
    ui->LastMessageCheckBox->setText(
        QCoreApplication::translate("TConfigurationDlg", "Dernier message afficher automatiquement"));
    ui->OKBtn->setText(QCoreApplication::translate("TConfigurationDlg", "Sauvegarder"));
    ui->CancelBtn->setText(QCoreApplication::translate("TConfigurationDlg", "Fermer"));
    ui->BaroheightSpinEdit->setValue(Acquisition.BaroHeight);
    ui->LastMessageCheckBox->setChecked(Acquisition.ShowLastMessage != 0);
}

void TConfigurationDlg::OKBtnClick() {
    // The typed text, not the box's last valid value: what the user sees is what counts.
    Acquisition.BaroHeight = settings::ParseBaroHeight(ui->BaroheightSpinEdit->text().toStdString());
    Acquisition.ShowLastMessage = ui->LastMessageCheckBox->isChecked() ? 1 : 0;
    if (target) target->ConfigurationAccepted();
    accept();
}
