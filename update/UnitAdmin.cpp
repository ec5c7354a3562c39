#include "update/UnitAdmin.h"

#include "ui_UnitAdmin.h"

TNoAdminForm::TNoAdminForm(QWidget* parent) : QDialog(parent), ui(new Ui::TNoAdminForm) {
    ui->setupUi(this);
    connect(ui->CloseButton, &QPushButton::clicked, this, &QDialog::close);
}

TNoAdminForm::~TNoAdminForm() { delete ui; }
