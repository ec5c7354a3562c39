// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/UnitSystemInfo.h"

#include <QPixmap>

#include <QKeyEvent>
#include <QMouseEvent>

#include "acquisition/AcquisitionState.h"
#include "platform/Process.h"
#include "tools/OsName.h"
#include "ui_UnitSystemInfo.h"

TSysteminfoForm::TSysteminfoForm(QWidget* parent) : QDialog(parent), ui(new Ui::TSysteminfoForm) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    ui->Image1->setPixmap(QPixmap(":/images/Product.bmp"));
    connect(ui->CloseButton, &QPushButton::clicked, this, &TSysteminfoForm::CloseButtonClick);
    ui->UpdatesLinkLabel->setCursor(Qt::PointingHandCursor);
    ui->UpdatesLinkLabel->installEventFilter(this);
}

TSysteminfoForm::~TSysteminfoForm() { delete ui; }

void TSysteminfoForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TSysteminfoForm::FormShow() {
    ui->OSLabel->setText(QString::fromStdString(tools::OsName(platform::GetOsVersion())));
    ui->SoftwareVersionLabel->setText(SoftwareVersion);
    ui->SoftwareVersionLabel->setToolTip("Logiciel libre sous licence GNU GPL, version 3 ou ultérieure");
    ui->ProduktLabel->setText(QString::fromStdString(Acquisition.ReceiverModel()));
    ui->FirmwareLabel->setText(QString::fromStdString(Acquisition.FirmwareVersionText));
    ui->SeriennummerLabel->setText(QString::fromStdString(Acquisition.SerialNumberText));
    ui->CloseButton->setText("Close");
    ui->SeriLabel->setText("Serial number:");
    ui->ProduktnameLabel->setText("Product:");
    ui->FirmLabel->setText("Firmware version:");
    ui->SoftwareLabel->setText("Software version:");
}

void TSysteminfoForm::UpdatesLinkLabelClick() { platform::OpenInBrowser(ui->UpdatesLinkLabel->text().toStdString()); }

// Its button is no cancel button: Esc leaves the dialog open.
void TSysteminfoForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TSysteminfoForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->UpdatesLinkLabel && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        UpdatesLinkLabelClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
