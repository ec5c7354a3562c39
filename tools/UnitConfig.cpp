#include "tools/UnitConfig.h"

#include "ui_UnitConfig.h"

TConfigurationDlg::TConfigurationDlg(QWidget* parent) : QDialog(parent), ui(new Ui::TConfigurationDlg) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TConfigurationDlg::~TConfigurationDlg() { delete ui; }
