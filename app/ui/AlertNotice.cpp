// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/AlertNotice.h"

#include "app/ui/Palette.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

enum Column { Station, Subject, Line };
constexpr int KeyRole = Qt::UserRole + 1;
constexpr int DayIconRole = Qt::UserRole + 2, DayColourRole = Qt::UserRole + 3;

}  // namespace

TAlertNotice::TAlertNotice(QWidget* window) : QDialog(window) {
    setObjectName("AlertNotice");
    setWindowTitle(QCoreApplication::translate("TAlertNotice", "Alertes"));
    setModal(false);
    connect(&palette::Notifier(), &palette::TNotifier::Changed, this, [this] {
        for (int i = 0; list && i < list->topLevelItemCount(); ++i) Shade(list->topLevelItem(i));
    });
}

// Made at the first alert: most runs raise none, and the idle program stays small.
void TAlertNotice::Build() {
    if (list) return;
    auto* heading =
        new QLabel(QCoreApplication::translate("TAlertNotice",
                                               "Messages et avis qui demandent l’attention de l’équipage :"),
                   this);
    list = new QTreeWidget(this);
    list->setObjectName("AlertList");
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QCoreApplication::translate("TAlertNotice", "Station"),
                           QCoreApplication::translate("TAlertNotice", "Sujet"),
                           QCoreApplication::translate("TAlertNotice", "Message")});
    list->header()->setStretchLastSection(true);
    list->setMinimumWidth(560);
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { OpenItem(item); });
    auto* buttons = new QDialogButtonBox(this);
    open = buttons->addButton(QCoreApplication::translate("TAlertNotice", "Ouvrir"),
                              QDialogButtonBox::ActionRole);
    open->setObjectName("AlertOpen");
    acknowledge = buttons->addButton(QCoreApplication::translate("TAlertNotice", "Acquitter"),
                                     QDialogButtonBox::AcceptRole);
    acknowledge->setObjectName("AlertAcknowledge");
    acknowledge->setToolTip(QCoreApplication::translate(
        "TAlertNotice", "Ces alertes ne seront plus signalées, ni ici ni sur le réseau du bord"));
    QPushButton* close = buttons->addButton(QCoreApplication::translate("TAlertNotice", "Fermer"),
                                            QDialogButtonBox::RejectRole);
    close->setObjectName("AlertClose");
    connect(open, &QPushButton::clicked, this,
            [this] { OpenItem(list->currentItem() ? list->currentItem() : list->topLevelItem(0)); });
    connect(acknowledge, &QPushButton::clicked, this, [this] {
        const QStringList keys = Keys();
        list->clear();
        hide();
        emit Acknowledged(keys);
    });
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    resize(620, 180);  // a few lines at first, and small: the crew widens it at will
}

QTreeWidget* TAlertNotice::List() {
    Build();
    return list;
}

QPushButton* TAlertNotice::OpenButton() {
    Build();
    return open;
}

QPushButton* TAlertNotice::AcknowledgeButton() {
    Build();
    return acknowledge;
}

QStringList TAlertNotice::Keys() const {
    QStringList keys;
    if (!list) return keys;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        keys << list->topLevelItem(i)->data(0, KeyRole).toString();
    return keys;
}

void TAlertNotice::Hold(bool hold) {
    held = hold;
    if (!held && !waiting.isEmpty()) Tell(std::exchange(waiting, {}));
}

void TAlertNotice::Add(const std::vector<TEntry>& entries) {
    Build();
    // A notice closed without acknowledging starts anew; one still open (or held) takes the
    // new lines.
    if (!isVisible() && !held) list->clear();
    QStringList keys = Keys(), added;
    for (const TEntry& entry : entries) {
        if (keys.contains(entry.key)) continue;
        keys << entry.key;
        auto* item = new QTreeWidgetItem(list, {entry.station, entry.subject, entry.line});
        item->setData(0, KeyRole, entry.key);
        item->setData(0, DayIconRole, entry.icon);
        item->setData(0, DayColourRole, entry.colour);
        Shade(item);
        item->setToolTip(Line, entry.line);
        added << entry.line;
    }
    if (added.isEmpty()) return;
    list->resizeColumnToContents(Station);
    list->resizeColumnToContents(Subject);
    if (held) {
        waiting << added;
        return;
    }
    Tell(added);
}

void TAlertNotice::Tell(const QStringList& added) {
    show();
    raise();
    QApplication::beep();
    // Also where the window is hidden behind another program.
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        if (!trayIcon) {
            trayIcon = new QSystemTrayIcon(parentWidget()->windowIcon(), this);
            trayIcon->show();
        }
        trayIcon->showMessage(windowTitle(), added.join('\n'), QSystemTrayIcon::Critical, 0);
    }
}

void TAlertNotice::Shade(QTreeWidgetItem* item) {
    const QIcon icon = item->data(0, DayIconRole).value<QIcon>();
    item->setIcon(
        Station, icon.isNull() ? icon : QIcon(QPixmap::fromImage(palette::Shade(icon.pixmap(32).toImage()))));
    const QColor colour = item->data(0, DayColourRole).value<QColor>();
    if (colour.isValid())
        for (const int column : {Station, Subject, Line}) item->setForeground(column, palette::Shade(colour));
}

void TAlertNotice::OpenItem(QTreeWidgetItem* item) {
    if (item) emit Open(item->data(0, KeyRole).toString());
}
