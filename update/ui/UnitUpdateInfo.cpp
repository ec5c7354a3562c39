// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/ui/UnitUpdateInfo.h"

#include "acquisition/AcquisitionState.h"
#include "receiver/Models.h"
#include "ui_UnitUpdateInfo.h"

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
    setWindowTitle("Mise à jour");
    ui->CloseButton->setText("Fermer");
    ui->Memo1->clear();
    const std::initializer_list<const char*> modelD = {"La mise à jour a été réalisée avec succès.", "",
                                                       "Après cela, tous les messages sont perdus.", "",
                                                       "Après cela, le récepteur va se déconnecter du PC."};
    const std::initializer_list<const char*> others = {"La mise à jour a été réalisée avec succès.",
                                                       "Après cela, tous les messages sont perdus.",
                                                       "Le système de dossier va être formaté.",
                                                       "Un message d'erreur va probablement apparaître.",
                                                       "Ce message d'erreur peut être ignoré.",
                                                       "Attendre 30 secondes jusqu'à l'éclairage de la LED.",
                                                       "Après cela, le récepteur va se déconnecter du PC."};
    for (const char* line :
         receiver::ModelOf(Acquisition.ReceiverModel()).storage == receiver::TStorage::Rings ? modelD
                                                                                             : others)
        ui->Memo1->appendPlainText(line);
}
