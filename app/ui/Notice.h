// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

class QWidget;

// A notice that a person at the chart table cannot miss and that stops nothing: in the tray
// where there is one, otherwise a box that does not hold up the program. A new notice of the
// same kind replaces the box still open.
class TNotice : public QObject {
public:
    TNotice(QWidget* window, const char* objectName, const QString& title);
    void Show(const QString& text, QSystemTrayIcon::MessageIcon icon = QSystemTrayIcon::Warning);
    QMessageBox* Box() const { return box; }

private:
    QWidget* window;
    const char* name;
    QString title;
    QPointer<QMessageBox> box;
    QSystemTrayIcon* trayIcon = nullptr;
};
