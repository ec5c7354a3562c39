#include "update/UnitUpdateInfo.h"

#include "ui_UnitUpdateInfo.h"

TUpdateInfoForm::TUpdateInfoForm(QWidget* parent) : QDialog(parent), ui(new Ui::TUpdateInfoForm) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    connect(ui->CloseButton, &QPushButton::clicked, this, &QDialog::close);
}

TUpdateInfoForm::~TUpdateInfoForm() { delete ui; }
