// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Notice.h"

#include <QApplication>
#include <QWidget>

#include "app/ui/MessageBox.h"

TNotice::TNotice(QWidget* w, const char* objectName, const QString& t)
    : QObject(w), window(w), name(objectName), title(t) {}

void TNotice::Show(const QString& text, QSystemTrayIcon::MessageIcon icon) {
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        if (!trayIcon) {
            trayIcon = new QSystemTrayIcon(window->windowIcon(), this);
            trayIcon->show();
        }
        trayIcon->showMessage(title, text, icon, 0);
        return;
    }
    if (box) box->close();
    box = MakeMessageBox(window, TBoxKind::Warning, text, TBoxButtons::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->setObjectName(name);
    box->setWindowTitle(title);
    box->show();
}
