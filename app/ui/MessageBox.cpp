// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/MessageBox.h"

#include <QApplication>
#include <QPushButton>

#include <memory>

namespace {

TBoxAnswerer& Answerer() {
    static TBoxAnswerer answerer;
    return answerer;
}

}  // namespace

QString BoxCaption(TBoxKind kind) {
    switch (kind) {
        case TBoxKind::Warning:
            return QStringLiteral("Warnung");
        case TBoxKind::Information:
            return QStringLiteral("Information");
        case TBoxKind::Confirmation:
            return QStringLiteral("Bestätigen");
        case TBoxKind::Error:  // the application's own error box carries its title
        case TBoxKind::Plain:
            break;
    }
    return QApplication::applicationName();
}

QMessageBox* MakeMessageBox(QWidget* parent, TBoxKind kind, const QString& text, TBoxButtons buttons) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (kind) {
        case TBoxKind::Warning:
            icon = QMessageBox::Warning;
            break;
        case TBoxKind::Information:
            icon = QMessageBox::Information;
            break;
        case TBoxKind::Error:
            icon = QMessageBox::Critical;
            break;
        case TBoxKind::Confirmation:
            icon = QMessageBox::Question;
            break;
        case TBoxKind::Plain:
            break;
    }
    auto* box = new QMessageBox(icon, BoxCaption(kind), text, QMessageBox::NoButton, parent);
    if (buttons == TBoxButtons::YesNo) {
        box->addButton(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
        box->addButton(QMessageBox::No)->setText(QStringLiteral("&Nein"));
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
    } else {
        box->addButton(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
    }
    return box;
}

int ShowMessageBox(QWidget* parent, TBoxKind kind, const QString& text, TBoxButtons buttons) {
    std::unique_ptr<QMessageBox> box(MakeMessageBox(parent, kind, text, buttons));
    if (Answerer()) return Answerer()(*box);
    const int answer = box->exec();
    // Closing the box with its close button counts as its escape button.
    return answer == QMessageBox::Yes || answer == QMessageBox::No || answer == QMessageBox::Ok
               ? answer
               : (buttons == TBoxButtons::YesNo ? QMessageBox::No : QMessageBox::Ok);
}

void SetMessageBoxAnswerer(TBoxAnswerer answerer) {
    Answerer() = std::move(answerer);
}
