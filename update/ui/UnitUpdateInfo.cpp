// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/ui/UnitUpdateInfo.h"

#include "acquisition/AcquisitionState.h"
#include "receiver/Models.h"
#include "ui_UnitUpdateInfo.h"

#include <QCoreApplication>
#include <initializer_list>

TUpdateInfoForm::TUpdateInfoForm(QWidget* parent) : QDialog(parent), ui(new Ui::TUpdateInfoForm) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    connect(ui->CloseButton, &QPushButton::clicked, this, &TUpdateInfoForm::CloseButtonClick);
}

TUpdateInfoForm::~TUpdateInfoForm() {
    delete ui;
}

void TUpdateInfoForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TUpdateInfoForm::FormShow() {
    setWindowTitle(QCoreApplication::translate("TUpdateInfoForm", "Mise à jour"));
    ui->CloseButton->setText(QCoreApplication::translate("TUpdateInfoForm", "Fermer"));
    ui->Memo1->clear();
    const std::initializer_list<QString> modelD = {
        QCoreApplication::translate("TUpdateInfoForm", "La mise à jour a été réalisée avec succès."), "",
        QCoreApplication::translate("TUpdateInfoForm", "Après cela, tous les messages sont perdus."), "",
        QCoreApplication::translate("TUpdateInfoForm", "Après cela, le récepteur va se déconnecter du PC.")};
    const std::initializer_list<QString> others = {
        QCoreApplication::translate("TUpdateInfoForm", "La mise à jour a été réalisée avec succès."),
        QCoreApplication::translate("TUpdateInfoForm", "Après cela, tous les messages sont perdus."),
        QCoreApplication::translate("TUpdateInfoForm", "Le système de dossier va être formaté."),
        QCoreApplication::translate("TUpdateInfoForm", "Un message d'erreur va probablement apparaître."),
        QCoreApplication::translate("TUpdateInfoForm", "Ce message d'erreur peut être ignoré."),
        QCoreApplication::translate("TUpdateInfoForm", "Attendre 30 secondes jusqu'à l'éclairage de la LED."),
        QCoreApplication::translate("TUpdateInfoForm", "Après cela, le récepteur va se déconnecter du PC.")};
    for (const QString& line :
         receiver::ModelOf(Acquisition.ReceiverModel()).storage == receiver::TStorage::Rings ? modelD
                                                                                             : others)
        ui->Memo1->appendPlainText(line);
}
