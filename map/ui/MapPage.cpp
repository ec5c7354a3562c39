// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/ui/MapPage.h"

#include "app/ui/Palette.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QSplitter>
#include <QTimeZone>
#include <QVBoxLayout>

#include <set>

#include "common/DateTime.h"
#include "navtex/UnitNavtex.h"
#include "platform/Process.h"
#include "warnings/Summary.h"
#include "warnings/ui/UrgencyMark.h"
#include "warnings/ui/WarningsView.h"

namespace {

constexpr int IdRole = Qt::UserRole, SortRole = Qt::UserRole + 1, EndedRole = Qt::UserRole + 2;

// Rows sort by what they hold, not by their words: times and distances as numbers.
class TRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant a = data(column, SortRole), b = other.data(column, SortRole);
        if (a.isValid() && b.isValid()) return QVariant::compare(a, b) == QPartialOrdering::Less;
        return text(column).localeAwareCompare(other.text(column)) < 0;
    }
};

QString SubjectWords(char subject) {
    return QCoreApplication::translate("navtex",
                                       navtex::CategoryTexts[navtex::CategoryOf(std::string("?") + subject)]);
}

QString When(int64_t utc, bool local) {
    if (utc < 0) return {};
    const QDateTime t = QDateTime::fromSecsSinceEpoch(utc, QTimeZone::utc());
    return (local ? t.toLocalTime() : t)
        .toString(QCoreApplication::translate("TMapPage", "dd/MM/yyyy HH:mm"));
}

}  // namespace

const map::TLand& TMapPage::Land() {
    static const map::TLand land = [] {
        QFile file(QStringLiteral(":/map/land.bin"));
        if (!file.open(QIODevice::ReadOnly)) return map::TLand{};
        const QByteArray bytes = file.readAll();
        return map::ReadLand(reinterpret_cast<const uint8_t*>(bytes.constData()),
                             static_cast<size_t>(bytes.size()));
    }();
    return land;
}

TMapPage::TMapPage(QWidget* parent) : QWidget(parent) {
    connect(&palette::Notifier(), &palette::TNotifier::Changed, this, &TMapPage::Rebuild);
    map = new TMapView(this);
    map->setObjectName("MapView");

    list = new QTreeWidget(this);
    list->setObjectName("MapList");
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->setHeaderLabels({QCoreApplication::translate("TMapPage", "Identifiant"),
                           QCoreApplication::translate("TMapPage", "Station"),
                           QCoreApplication::translate("TMapPage", "Sujet"),
                           QCoreApplication::translate("TMapPage", "Reçu (heure locale)"),
                           QCoreApplication::translate("TMapPage", "Reçu (UTC)"),
                           QCoreApplication::translate("TMapPage", "Distance"),
                           QCoreApplication::translate("TMapPage", "Première ligne")});
    list->setSortingEnabled(true);
    list->sortByColumn(ReceivedUtc, Qt::DescendingOrder);  // newest first
    list->header()->setSectionResizeMode(QHeaderView::Interactive);

    subject = new QComboBox(this);
    subject->setObjectName("MapSubject");
    subject->addItem(QCoreApplication::translate("TMapPage", "Tous les sujets"), QString());
    station = new QComboBox(this);
    station->setObjectName("MapStation");
    station->addItem(QCoreApplication::translate("TMapPage", "Toutes les stations"), QString());
    nearOnly = new QCheckBox(this);
    nearOnly->setObjectName("MapNear");
    showEnded = new QCheckBox(
        QCoreApplication::translate("TMapPage", "Montrer les avertissements terminés (en gris)"), this);
    showEnded->setObjectName("MapShowEnded");
    auto* whole = new QPushButton(QCoreApplication::translate("TMapPage", "Toute la zone"), this);
    whole->setObjectName("MapWholeArea");
    whole->setToolTip(
        QCoreApplication::translate("TMapPage", "Montrer tous les avertissements en vigueur et le bateau"));
    count = new QLabel(this);
    count->setObjectName("MapCount");

    header = new QLabel(this);
    header->setObjectName("MapHeader");
    header->setWordWrap(true);
    text = new QPlainTextEdit(this);
    text->setObjectName("MapText");
    text->setReadOnly(true);
    text->setFont(QFont(QStringLiteral("Courier New"), 10));
    positions = new QLabel(this);
    positions->setObjectName("MapPositions");
    positions->setWordWrap(true);
    openNavtex = new QPushButton(QCoreApplication::translate("TMapPage", "Voir dans la page NAVTEX"), this);
    openNavtex->setObjectName("MapOpenNavtex");
    openNavtex->setEnabled(false);

    auto* filters = new QHBoxLayout;
    filters->addWidget(subject, 1);
    filters->addWidget(station, 1);
    filters->addWidget(nearOnly);
    auto* listPanel = new QWidget(this);
    auto* listLayout = new QVBoxLayout(listPanel);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addLayout(filters);
    listLayout->addWidget(list, 1);
    listLayout->addWidget(count);

    auto* mapTools = new QHBoxLayout;
    mapTools->addWidget(whole);
    mapTools->addWidget(showEnded);
    mapTools->addStretch(1);
    auto* mapPanel = new QWidget(this);
    auto* mapLayout = new QVBoxLayout(mapPanel);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    mapLayout->addLayout(mapTools);
    mapLayout->addWidget(map, 1);

    auto* messagePanel = new QWidget(this);
    auto* messageLayout = new QVBoxLayout(messagePanel);
    messageLayout->setContentsMargins(0, 0, 0, 0);
    messageLayout->addWidget(header);
    messageLayout->addWidget(text, 1);
    auto* below = new QHBoxLayout;
    below->addWidget(positions, 1);
    below->addWidget(openNavtex);
    messageLayout->addLayout(below);

    auto* right = new QSplitter(Qt::Vertical, this);
    right->addWidget(mapPanel);
    right->addWidget(messagePanel);
    right->setStretchFactor(0, 3);
    right->setStretchFactor(1, 1);
    right->setSizes({600, 200});
    splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName("MapSplitter");
    splitter->addWidget(listPanel);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({420, 980});  // the map wider than the list, whatever the columns want
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(splitter);

    connect(whole, &QPushButton::clicked, map, &TMapView::WholeArea);
    connect(showEnded, &QCheckBox::toggled, this, [this](bool on) {
        map->SetShowEnded(on);
        Filter();
    });
    connect(subject, &QComboBox::currentIndexChanged, this, &TMapPage::Filter);
    connect(station, &QComboBox::currentIndexChanged, this, &TMapPage::Filter);
    connect(nearOnly, &QCheckBox::toggled, this, &TMapPage::Filter);
    connect(map, &TMapView::ItemChosen, this, &TMapPage::Choose);
    connect(list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!item || choosing) return;
        const int64_t id = item->data(0, IdRole).toLongLong();
        map->CenterOn(id);
        ShowMessage(id);
    });
    connect(openNavtex, &QPushButton::clicked, this, [this] {
        const warnings::TWarning* w = Find(shown);
        if (w) emit OpenOnNavtexPage(w->text, header->text().toStdString());
    });
    SetBoat(std::nullopt, nearDistanceNm);
}

void TMapPage::showEvent(QShowEvent* event) {
    LoadLand();
    QWidget::showEvent(event);
}

void TMapPage::LoadLand() {
    // The land (5.8 MB read) only once the map is first looked at or printed: a program that
    // is never asked for its map does not carry it.
    map->SetLand(&Land());
}

void TMapPage::SetWarnings(std::shared_ptr<const std::vector<warnings::TWarning>> list) {
    if (list == warnings) return;
    warnings = std::move(list);
    Rebuild();
}

void TMapPage::SetBoat(std::optional<position::TLatLon> at, int nm) {
    const bool changed = at.has_value() != boat.has_value() || nm != nearDistanceNm ||
                         (at && (std::fabs(at->latitude - boat->latitude) > 0.002 ||
                                 std::fabs(at->longitude - boat->longitude) > 0.002));  // 0.1 nm
    boat = at;
    nearDistanceNm = nm;
    nearOnly->setText(QCoreApplication::translate("TMapPage", "À moins de %1 nm du bateau").arg(nm));
    nearOnly->setEnabled(boat.has_value());
    map->SetBoat(boat, nm);
    if (changed && warnings) Rebuild();
}

const warnings::TWarning* TMapPage::Find(int64_t id) const {
    if (!warnings) return nullptr;
    for (const warnings::TWarning& w : *warnings)
        if (w.id == id) return &w;
    return nullptr;
}

void TMapPage::Rebuild() {
    std::vector<TMapItem> items;
    std::set<QString> subjects, stations;
    const QString chosenSubject = subject->currentData().toString(),
                  chosenStation = station->currentData().toString();
    const int64_t keep = shown;
    choosing = true;
    list->setSortingEnabled(false);
    list->clear();
    if (warnings)
        for (const warnings::TWarning& w : *warnings) {
            TMapItem item;
            item.id = w.id;
            item.subject = w.name.size() > 1 ? w.name[1] : '?';
            item.inForce = w.state == warnings::TWarning::State::InForce;
            item.name = QString::fromStdString(w.name);
            const std::string named = stationNamer ? stationNamer(w.band, w.name, w.text) : std::string();
            item.station = named.empty() ? QCoreApplication::translate("TMapPage", "station %1")
                                               .arg(QChar(w.name.empty() ? '?' : w.name[0]))
                                         : QString::fromStdString(named);
            item.firstLine = QString::fromStdString(warnings::MeaningfulLine(w.text));
            item.received = When(w.received, true);
            item.shapes = w.shapes;
            auto* row = new TRow(list);
            row->setData(0, IdRole, QVariant::fromValue<qlonglong>(w.id));
            row->setData(0, EndedRole, !item.inForce);
            row->setText(Identifier, QStringLiteral("%1 (%2)").arg(item.name).arg(w.band));
            row->setText(Station, item.station);
            row->setText(Subject, SubjectWords(item.subject));
            row->setText(ReceivedLocal, When(w.received, true));
            row->setText(ReceivedUtc, When(w.received, false));
            row->setData(ReceivedLocal, SortRole, QVariant::fromValue<qlonglong>(w.received));
            row->setData(ReceivedUtc, SortRole, QVariant::fromValue<qlonglong>(w.received));
            bool within = false;
            if (boat) {
                const position::TRange range =
                    position::RangeToNearest(position::Boat(*boat), warnings::Places(w.shapes));
                within = range.distanceNm <= nearDistanceNm;
                row->setText(Distance, QCoreApplication::translate("TMapPage", "%1 nm · %2°")
                                           .arg(QLocale(QLocale::French).toString(range.distanceNm, 'f', 1))
                                           .arg(static_cast<int>(std::lround(range.bearingDeg)) % 360, 3, 10,
                                                QChar('0')));
                row->setData(Distance, SortRole, range.distanceNm);
            }
            row->setText(FirstLine, item.firstLine);
            row->setToolTip(FirstLine, item.firstLine);
            if (!item.inForce) {
                for (int c = 0; c < Columns; ++c) row->setForeground(c, QColor(128, 128, 128));
                row->setToolTip(Identifier, WarningsViewEndedTip(w));
            }
            // Urgent ones marked as in every list; the others by their subject's colour.
            const warnings::TUrgency level =
                item.inForce ? warnings::UrgencyOf(w.name, within) : warnings::TUrgency::None;
            if (level != warnings::TUrgency::None) {
                row->setIcon(Identifier, urgency::Icon(level));
                for (int c = 0; c < Columns; ++c) row->setForeground(c, urgency::Colour(level));
                row->setToolTip(Identifier, urgency::Words(level));
            } else {
                row->setData(Identifier, Qt::DecorationRole,
                             palette::Shade(item.inForce ? TMapView::SubjectColor(item.subject)
                                                         : QColor(170, 170, 170)));
            }
            subjects.insert(QString(QChar(item.subject)));
            stations.insert(item.station);
            items.push_back(std::move(item));
        }
    list->setSortingEnabled(true);
    // The filters offer what there is.
    subject->blockSignals(true);
    station->blockSignals(true);
    while (subject->count() > 1) subject->removeItem(1);
    for (const QString& s : subjects)
        subject->addItem(QStringLiteral("%1 – %2").arg(s, SubjectWords(s.at(0).toLatin1())), s);
    while (station->count() > 1) station->removeItem(1);
    for (const QString& s : stations) station->addItem(s, s);
    subject->setCurrentIndex(std::max(0, subject->findData(chosenSubject)));
    station->setCurrentIndex(std::max(0, station->findData(chosenStation)));
    subject->blockSignals(false);
    station->blockSignals(false);
    map->SetItems(std::move(items));
    choosing = false;
    Filter();
    if (keep && Find(keep)) Choose(keep);
}

QString TMapPage::WarningsViewEndedTip(const warnings::TWarning& w) {
    TWarningsView::Info info;
    info.state = w.state;
    info.cause = w.cause;
    info.cancelledBy = w.cancelledBy;
    info.cancelledAt = w.cancelledAt;
    info.expires = w.expires;
    return TWarningsView::EndedWords(info);
}

void TMapPage::Filter() {
    const QString s = subject->currentData().toString(), st = station->currentData().toString();
    int visible = 0;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list->topLevelItem(i);
        const QString name = row->text(Identifier);
        const bool ended = row->data(0, EndedRole).toBool();
        bool show = (s.isEmpty() || (name.size() > 1 && name.at(1) == s.at(0))) &&
                    (st.isEmpty() || row->text(Station) == st) && (!ended || showEnded->isChecked());
        if (show && nearOnly->isChecked() && boat)
            show = row->data(Distance, SortRole).isValid() &&
                   row->data(Distance, SortRole).toDouble() <= nearDistanceNm;
        row->setHidden(!show);
        if (show && !ended) ++visible;
    }
    count->setText(
        visible == 1 ? QCoreApplication::translate("TMapPage", "1 avertissement en vigueur")
                     : QCoreApplication::translate("TMapPage", "%1 avertissements en vigueur").arg(visible));
}

void TMapPage::Choose(int64_t id) {
    choosing = true;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list->topLevelItem(i);
        if (row->data(0, IdRole).toLongLong() != id) continue;
        list->setCurrentItem(row);
        list->scrollToItem(row);
        break;
    }
    choosing = false;
    map->SetSelected(id);
    ShowMessage(id);
}

void TMapPage::ShowMessage(int64_t id) {
    const warnings::TWarning* w = Find(id);
    shown = w ? id : 0;
    openNavtex->setEnabled(w != nullptr);
    map->SetSelected(shown);
    if (!w) {
        header->clear();
        text->clear();
        positions->clear();
        return;
    }
    TMsgHeaderElement record;
    record.Name = w->name;
    record.Age = w->received < 0 ? -1 : datetime::PackFat(platform::ToLocal(w->received));
    const std::string named = stationNamer ? stationNamer(w->band, w->name, w->text) : std::string();
    QString words = QString::fromStdString(navtex::MessageHeader(record, w->band, false, named));
    words += QStringLiteral(" · ") + (w->state == warnings::TWarning::State::InForce
                                          ? QCoreApplication::translate("TMapPage", "en vigueur")
                                          : WarningsViewEndedTip(*w));
    if (boat)
        words += QStringLiteral(" · ") + TWarningsView::RangeWords(position::RangeToNearest(
                                             position::Boat(*boat), warnings::Places(w->shapes)));
    header->setText(words);
    text->setPlainText(QString::fromStdString(w->text));
    positions->setText(TWarningsView::PositionsLine(w->shapes));
}

namespace {

// The list's columns as WINDOW.INI names them.
const char* const ColumnNames[TMapPage::Columns] = {"identifier",   "station",  "subject",   "received-local",
                                                    "received-utc", "distance", "first-line"};

}  // namespace

QStringList TMapPage::Settings() const {
    const int column = list->header()->sortIndicatorSection();
    QStringList lines{QStringLiteral("map-view=%1").arg(QString::fromStdString(map->View().Text()))};
    if (column >= 0 && column < Columns)
        lines << QStringLiteral("map-sort=%1,%2")
                     .arg(ColumnNames[column],
                          list->header()->sortIndicatorOrder() == Qt::AscendingOrder ? "up" : "down");
    if (const int width = splitter->sizes().value(0); width > 0)
        lines << QStringLiteral("map-list-width=%1").arg(width);
    return lines;
}

void TMapPage::LoadSettings(const QStringList& lines) {
    for (const QString& raw : lines) {
        const QString line = raw.trimmed(), value = line.section('=', 1);
        if (line.startsWith(QStringLiteral("map-view="))) map::TView::Read(value.toStdString(), map->View());
        if (line.startsWith(QStringLiteral("map-sort="))) {
            const QString order = value.section(',', 1);
            for (int column = 0; column < Columns; ++column)
                if (value.section(',', 0, 0) == ColumnNames[column] && (order == "up" || order == "down"))
                    list->sortByColumn(column, order == "up" ? Qt::AscendingOrder : Qt::DescendingOrder);
        }
        bool ok = false;
        const int width = value.toInt(&ok);
        if (line.startsWith(QStringLiteral("map-list-width=")) && ok && width >= 100 && width <= 4000) {
            const int whole = std::max(splitter->width(), width + 300);
            splitter->setSizes({width, whole - width});
        }
    }
}

QString TMapPage::Title() const {
    return QCoreApplication::translate("TMapPage", "Avertissements NAVTEX en vigueur – %1")
        .arg(QDateTime::currentDateTime().toString(
            QCoreApplication::translate("TMapPage", "dd/MM/yyyy HH:mm")));
}
