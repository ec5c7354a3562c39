// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/UnitSystemInfo.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>

#include <QKeyEvent>
#include <QMouseEvent>

#include "acquisition/AcquisitionState.h"
#include "app/OsName.h"
#include "platform/Log.h"
#include "platform/Process.h"
#include "ui_UnitSystemInfo.h"

TSysteminfoForm::TSysteminfoForm(QWidget* parent) : QDialog(parent), ui(new Ui::TSysteminfoForm) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    ui->Image1->setPixmap(QPixmap(":/images/Product.bmp"));
    connect(ui->CloseButton, &QPushButton::clicked, this, &TSysteminfoForm::CloseButtonClick);
    ui->UpdatesLinkLabel->setCursor(Qt::PointingHandCursor);
    ui->UpdatesLinkLabel->installEventFilter(this);
    // What a user who reports a fault can send: the program's log.
    logButton = new QPushButton(QCoreApplication::translate("TSysteminfoForm", "Journal…"),
                                ui->CloseButton->parentWidget());
    logButton->setObjectName("LogFolderButton");
    logButton->setToolTip(QCoreApplication::translate(
                              "TSysteminfoForm", "Ouvre le dossier qui contient le journal du programme (%1)")
                              .arg(platform::LogName));
    logButton->setGeometry(ui->CloseButton->x() + ui->CloseButton->width() + 16, ui->CloseButton->y(), 90,
                           ui->CloseButton->height());
    connect(logButton, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(LogFolder()); });
}

QUrl TSysteminfoForm::LogFolder() {
    const QString log = QString::fromStdString(platform::LogPath());
    return log.isEmpty() ? QUrl() : QUrl::fromLocalFile(QFileInfo(log).absolutePath());
}

TSysteminfoForm::~TSysteminfoForm() {
    delete ui;
}

void TSysteminfoForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TSysteminfoForm::FormShow() {
    ui->OSLabel->setText(QString::fromStdString(app::OsName(platform::GetOsVersion())));
    ui->SoftwareVersionLabel->setText(SoftwareVersion);
    ui->SoftwareVersionLabel->setToolTip(QCoreApplication::translate(
        "TSysteminfoForm", "Logiciel libre sous licence GNU GPL, version 3 ou ultérieure"));
    ui->ProduktLabel->setText(QString::fromStdString(Acquisition.ReceiverModel()));
    ui->FirmwareLabel->setText(QString::fromStdString(Acquisition.FirmwareVersionText));
    ui->SeriennummerLabel->setText(QString::fromStdString(Acquisition.SerialNumberText));
    ui->CloseButton->setText("Close");
    ui->SeriLabel->setText("Serial number:");
    ui->ProduktnameLabel->setText("Product:");
    ui->FirmLabel->setText("Firmware version:");
    ui->SoftwareLabel->setText("Software version:");
}

void TSysteminfoForm::UpdatesLinkLabelClick() {
    platform::OpenInBrowser(ui->UpdatesLinkLabel->text().toStdString());
}

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
