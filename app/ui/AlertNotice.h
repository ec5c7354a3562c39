// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QDialog>
#include <QIcon>
#include <QStringList>

#include <vector>

class QPushButton;
class QSystemTrayIcon;
class QTreeWidget;
class QTreeWidgetItem;

// One notice for whatever needs the crew: each alert on a line with its station, subject
// and first line. Alerts that come while it is open join it; it never stacks another box
// and never stops the program. "Ouvrir" opens the chosen line's message (the first one
// when none is chosen), a double click any line's; "Acquitter" acknowledges every line.
class TAlertNotice : public QDialog {
    Q_OBJECT

public:
    struct TEntry {
        QString key;  // the caller's: which message, or the storm
        QIcon icon;   // in the day's colours: the notice shades them
        QColor colour;
        QString station, subject, line;
    };

    explicit TAlertNotice(QWidget* window);

    void Add(const std::vector<TEntry>& entries);
    // While held, alerts are gathered and shown once it is released.
    void Hold(bool hold);
    QTreeWidget* List();
    QPushButton* OpenButton();
    QPushButton* AcknowledgeButton();
    // The keys on the notice now.
    QStringList Keys() const;

signals:
    void Open(const QString& key);
    void Acknowledged(const QStringList& keys);

private:
    void Build();
    void OpenItem(QTreeWidgetItem* item);
    void Tell(const QStringList& lines);
    // Each line's icon and colour in the palette of the moment.
    static void Shade(QTreeWidgetItem* item);

    QTreeWidget* list = nullptr;
    QPushButton* open = nullptr;
    QPushButton* acknowledge = nullptr;
    QSystemTrayIcon* trayIcon = nullptr;
    bool held = false;
    QStringList waiting;  // the lines gathered while held, for the tray
};
