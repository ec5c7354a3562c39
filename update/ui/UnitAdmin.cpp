// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/ui/UnitAdmin.h"

#include "ui_UnitAdmin.h"

TNoAdminForm::TNoAdminForm(QWidget* parent) : QDialog(parent), ui(new Ui::TNoAdminForm) {
    ui->setupUi(this);
    connect(ui->CloseButton, &QPushButton::clicked, this, &TNoAdminForm::CloseButtonClick);
}

TNoAdminForm::~TNoAdminForm() {
    delete ui;
}

void TNoAdminForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TNoAdminForm::FormShow() {
    ui->CloseButton->setText("Close");
    ui->Memo1->clear();
    for (const char* line : {"There is an new firmware available.", "",
                             "The update is only possible if the pc", "is running in priviledge mode.", "",
                             "Please log in as administrator or use", "another pc for this update."})
        ui->Memo1->appendPlainText(line);
}
