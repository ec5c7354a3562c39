#include "update/UnitUpdate.h"

#include "ui_UnitUpdate.h"

TUpdateForm::TUpdateForm(QWidget* parent) : QDialog(parent), ui(new Ui::TUpdateForm) {
    ui->setupUi(this);
    // Dialog border without title-bar buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    connect(ui->CancelUpdateButton, &QPushButton::clicked, this, &QDialog::close);
}

TUpdateForm::~TUpdateForm() { delete ui; }
