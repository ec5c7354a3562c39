#include "tools/UnitSystemInfo.h"

#include <QPixmap>

#include "ui_UnitSystemInfo.h"

TSysteminfoForm::TSysteminfoForm(QWidget* parent) : QDialog(parent), ui(new Ui::TSysteminfoForm) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    ui->Image1->setPixmap(QPixmap(":/images/Product.bmp"));
    connect(ui->CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

TSysteminfoForm::~TSysteminfoForm() { delete ui; }
