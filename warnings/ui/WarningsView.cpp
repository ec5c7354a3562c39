// SPDX-License-Identifier: GPL-3.0-or-later
#include "warnings/ui/WarningsView.h"

#include "app/ui/Palette.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "common/DateTime.h"
#include "common/Windows1252.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Process.h"
#include "warnings/StationNames.h"
#include "warnings/Summary.h"
#include "warnings/ui/UrgencyMark.h"

namespace {

constexpr const char* NotifiedName = "ALARMS.INI";
constexpr size_t NotifiedKept = 2000;

// In the program's own local time, as the tree's reception times.
QString When(int64_t seconds) {
    return QString::fromStdString(datetime::LocalDateTimeText(seconds));
}

}  // namespace

TWarningsView::TWarningsView(QWidget* window, QLabel* p, QPushButton* c, TAlertNotice* a)
    : QObject(window),
      positions(p),
      copy(c),
      alerts(a),
      exportNotice(
          new TNotice(window, "ExportNotice",
                      QCoreApplication::translate("TWarningsView", "Avertissements pour le traceur"))) {
    connect(this, &TWarningsView::ExportChanged, this, &TWarningsView::ExportNotice, Qt::QueuedConnection);
    positions->hide();
    copy->hide();
    connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(copied); });
    // A forecast outlives its day, a warning its lifetime, without any new message.
    ageing.setInterval(60 * 1000);
    connect(&ageing, &QTimer::timeout, this, &TWarningsView::AgeStates);
}

void TWarningsView::AgeStates() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        ageDue = true;
    }
    if (wake) wake();
}

void TWarningsView::Start(const std::string& root, const std::string& folder, std::function<void()> w) {
    archiveRoot = root;
    wake = std::move(w);
    if (wake) ageing.start();
    SetExportFolder(folder);
    std::vector<uint8_t> bytes;
    if (platform::ReadWholeFile(platform::JoinPath(archiveRoot, NotifiedName), bytes, 1 << 20))
        book = warnings::TAlertBook::Read(std::string(bytes.begin(), bytes.end()));
}

void TWarningsView::SaveBook() const {
    const std::string text = book.Text();
    if (!platform::WriteFileAtomic(platform::JoinPath(archiveRoot, NotifiedName), text.data(), text.size()))
        platform::Log(std::string("alarms: ") + NotifiedName +
                      " could not be saved; a restart may raise them again");
}

QString TWarningsView::AlertKey(const Key& key) {
    return QStringLiteral("%1 %2 %3")
        .arg(std::get<0>(key))
        .arg(QString::fromStdString(std::get<1>(key)))
        .arg(std::get<2>(key));
}

std::optional<TWarningsView::Key> TWarningsView::ReadAlertKey(const QString& text) {
    const QStringList parts = text.split(' ');
    bool bandOk = false, ageOk = false;
    if (parts.size() != 3) return std::nullopt;
    const int band = parts[0].toInt(&bandOk);
    const int32_t age = parts[2].toInt(&ageOk);
    if (!bandOk || !ageOk) return std::nullopt;
    return Key{band, parts[1].toStdString(), age};
}

void TWarningsView::Acknowledge(const QStringList& keys) {
    for (const QString& text : keys) {
        const std::optional<Key> key = ReadAlertKey(text);
        if (!key) continue;
        book.Acknowledge(*key);
        if (const auto it = notifications.find(*key); it != notifications.end() && notify) {
            it->second.notification.state = "normal";
            if (!it->second.notification.path.empty()) notify(it->second.notification);
        }
    }
    SaveBook();
}

void TWarningsView::SetExportFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(mutex);
    if (folder != exportFolder) exportDue = true;
    exportFolder = folder;
}

void TWarningsView::HistoryWritten(int added, const history::THistoryStore& store) {
    std::string folder;
    bool firstReading = false, folderChanged = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (added == 0 && evaluated && !exportDue && !ageDue) return;  // nothing new since the last reading
        firstReading = !evaluated;
        folderChanged = exportDue;
        evaluated = true;
        exportDue = false;
        ageDue = false;
        folder = exportFolder;
    }
    // Only what the batch added is read: a large history costs a transfer next to nothing.
    const bool whole = evaluation.Warnings().empty();
    bool changed = false;
    if (!evaluation.Update(store, history::UnixNow(), &changed)) return;  // the program is ending
    // Neither the files nor the window change while no state does.
    if (!changed && !firstReading && !folderChanged) return;
    if (whole) {
        // Every text went through the cache once: neither it nor the freed buffers are kept.
        store.ReleaseMemory();
        platform::ReleaseFreeMemory();
    }
    std::map<Name, Info> fresh;
    std::unordered_map<int64_t, Info> ended;
    for (const warnings::TWarning& w : evaluation.Warnings()) {  // oldest first: the newest of a name stays
        const Info info{w.state,       w.cause,       w.name.size() > 1 ? w.name[1] : '\0',
                        w.cancelledBy, w.cancelledAt, w.expires};
        fresh[{w.band, w.name}] = info;
        if (w.state != warnings::TWarning::State::InForce) ended.emplace(w.id, info);
    }
    // What is in force with its shapes: the plotter's files and the distances read them.
    std::vector<warnings::TWarning> shown;
    for (const warnings::TWarning& w : evaluation.Warnings())
        if (w.state == warnings::TWarning::State::InForce) shown.push_back(w);
    warnings::FillTexts(store, shown, true);
    shown.erase(std::remove_if(shown.begin(), shown.end(), [](const auto& w) { return w.shapes.empty(); }),
                shown.end());
    std::unordered_map<int64_t, std::vector<position::TPlace>> places;
    for (const warnings::TWarning& w : shown) places.emplace(w.id, warnings::Places(w.shapes));
    if (!folder.empty()) Export(folder, shown);
    // The map's: what is in force, and what ended lately, to be shown greyed.
    auto drawn = std::make_shared<std::vector<warnings::TWarning>>(shown);
    std::vector<warnings::TWarning> recent;
    const int64_t since = history::UnixNow() - int64_t{RecentlyEndedDays} * 86400;
    for (const warnings::TWarning& w : evaluation.Warnings())
        if (w.state != warnings::TWarning::State::InForce && std::max(w.cancelledAt, w.expires) >= since)
            recent.push_back(w);
    warnings::FillTexts(store, recent, true);
    for (warnings::TWarning& w : recent)
        if (!w.shapes.empty()) drawn->push_back(std::move(w));
    {
        std::lock_guard<std::mutex> lock(mutex);
        placesById = std::move(places);
        mapWarnings = std::move(drawn);
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        states = std::move(fresh);
        endedById = std::move(ended);
    }
    emit StatesChanged();
}

std::shared_ptr<const std::vector<warnings::TWarning>> TWarningsView::MapWarnings() const {
    std::lock_guard<std::mutex> lock(mutex);
    return mapWarnings;
}

void TWarningsView::Export(const std::string& folder, const std::vector<warnings::TWarning>& shown) {
    const warnings::ExportProblem problem = warnings::WriteExportChecked(folder, shown, false, true);
    if (problem != warnings::ExportProblem::None)
        platform::Log("plotter files: not written into " + folder + ": " +
                      ExportProblemText(problem, QString::fromStdString(folder)).toStdString());
    {
        std::lock_guard<std::mutex> lock(mutex);
        exportState.folder = folder;
        exportState.problem = problem;
        if (problem == warnings::ExportProblem::None) {
            exportState.written = history::UnixNow();
            exportState.count = shown.size();
        }
    }
    emit ExportChanged();
}

QString TWarningsView::ExportProblemText(warnings::ExportProblem problem, const QString& folder) {
    switch (problem) {
        case warnings::ExportProblem::Relative:
            return QCoreApplication::translate(
                       "TWarningsView", "«\u00A0%1\u00A0» n’est pas un chemin complet : rien n’y est écrit.")
                .arg(folder);
        case warnings::ExportProblem::Missing:
            return QCoreApplication::translate(
                       "TWarningsView", "Le dossier «\u00A0%1\u00A0» n’existe pas : rien n’y est écrit.")
                .arg(folder);
        case warnings::ExportProblem::NotAFolder:
            return QCoreApplication::translate(
                       "TWarningsView",
                       "«\u00A0%1\u00A0» est un fichier, pas un dossier : rien n’y est écrit.")
                .arg(folder);
        case warnings::ExportProblem::Unwritable:
            return QCoreApplication::translate(
                       "TWarningsView",
                       "Les fichiers ne peuvent pas être écrits dans «\u00A0%1\u00A0» (droits d’accès ?).")
                .arg(folder);
        case warnings::ExportProblem::None:
            break;
    }
    return {};
}

QString TWarningsView::ExportStateText() const {
    std::lock_guard<std::mutex> lock(mutex);
    if (exportFolder.empty())
        return QCoreApplication::translate("TWarningsView", "Aucun dossier : pas d’export.");
    const QString folder = QString::fromStdString(exportFolder);
    if (exportState.folder != exportFolder)
        return QCoreApplication::translate("TWarningsView",
                                           "Écrits vers «\u00A0%1\u00A0» après le prochain transfert.")
            .arg(folder);
    if (exportState.problem != warnings::ExportProblem::None)
        return ExportProblemText(exportState.problem, folder);
    return QCoreApplication::translate("TWarningsView",
                                       "Écrits le %1 (%2 avertissements en vigueur avec positions).")
        .arg(When(exportState.written))
        .arg(exportState.count);
}

// Once for each problem with each folder: the sailor learns that the plotter gets nothing.
void TWarningsView::ExportNotice() {
    std::pair<std::string, warnings::ExportProblem> now;
    {
        std::lock_guard<std::mutex> lock(mutex);
        now = {exportState.folder, exportState.problem};
    }
    if (now == noticed) return;
    noticed = now;
    if (now.second != warnings::ExportProblem::None)
        exportNotice->Show(QCoreApplication::translate(
                               "TWarningsView", "Les avertissements pour le traceur n’ont pas été écrits. ") +
                               ExportProblemText(now.second, QString::fromStdString(now.first)),
                           QSystemTrayIcon::Warning);
}

bool TWarningsView::ExportOnce(const std::string& root, const std::string& folder) {
    history::THistoryStore store;
    if (!store.OpenForReading(platform::JoinPath(root, history::DatabaseName))) return false;
    return warnings::WriteExport(folder, warnings::Evaluate(store, history::UnixNow()), false);
}

namespace {

// Its reception time and first line of text.
QString MessageTip(const TMsgHeaderElement& record) {
    QString tip;
    if (record.Age >= 0)
        tip = QCoreApplication::translate("TWarningsView", "reçu le ") +
              When(platform::FromLocal(datetime::UnpackFat(record.Age)));
    for (const std::string& line : record.Lines)
        if (!line.empty() && line.compare(0, 4, "ZCZC") != 0) {
            tip += (tip.isEmpty() ? "" : "\n") + QString::fromStdString(text::Windows1252ToUtf8(line));
            break;
        }
    return tip;
}

// "90 jours", "36 heures".
QString LifetimeText(int64_t seconds) {
    constexpr int64_t Day = 86400;
    if (seconds >= 2 * Day && seconds % Day == 0)
        return QCoreApplication::translate("TWarningsView", "%1 jours").arg(seconds / Day);
    return QCoreApplication::translate("TWarningsView", "%1 heures").arg(seconds / 3600);
}

QString EndedText(const TWarningsView::Info& info) {
    return QStringLiteral("\n") + TWarningsView::EndedWords(info);
}

}  // namespace

QString TWarningsView::EndedWords(const Info& info) {
    const QString by = QString::fromStdString(info.cancelledBy);
    using State = warnings::TWarning::State;
    using Cause = warnings::TWarning::Cause;
    switch (info.state) {
        case State::Cancelled:
            return QCoreApplication::translate("TWarningsView", "annulé par %1 le %2")
                .arg(by, When(info.cancelledAt));
        case State::Superseded:
            if (info.cause == Cause::SameIdentifier)
                return QCoreApplication::translate("TWarningsView",
                                                   "remplacé : son identifiant a été repris par %1 du %2")
                    .arg(by, When(info.cancelledAt));
            return QCoreApplication::translate("TWarningsView", "remplacé par %1 du %2")
                .arg(by, When(info.cancelledAt));
        case State::NotListed:
            return QCoreApplication::translate("TWarningsView",
                                               "absent de la liste des avertissements en vigueur de %1 du %2")
                .arg(by, When(info.cancelledAt));
        case State::Expired:
            if (info.cause == Cause::Lifetime)
                return QCoreApplication::translate("TWarningsView", "expiré le %1 (sans nouvelle depuis %2)")
                    .arg(When(info.expires), LifetimeText(warnings::SubjectLifetime(info.subject)));
            return QCoreApplication::translate("TWarningsView", "expiré depuis le %1")
                .arg(When(info.expires));
        case State::InForce:
            break;
    }
    return QCoreApplication::translate("TWarningsView", "en vigueur");
}

QString TWarningsView::StateWords(int band, const std::string& name) const {
    std::lock_guard<std::mutex> lock(mutex);
    const auto it = states.find({band, name});
    return it == states.end() ? QString() : EndedWords(it->second);
}

QString TWarningsView::StateWordsOf(int64_t id) const {
    std::lock_guard<std::mutex> lock(mutex);
    if (states.empty()) return {};
    const auto it = endedById.find(id);
    return it == endedById.end() ? QCoreApplication::translate("TWarningsView", "en vigueur")
                                 : EndedWords(it->second);
}

bool TWarningsView::Near(int64_t id) const {
    const std::optional<position::TLatLon> at = boat ? boat() : std::nullopt;
    if (!at) return true;  // no position: nothing to measure, nothing left out
    std::lock_guard<std::mutex> lock(mutex);
    const auto it = placesById.find(id);
    return it != placesById.end() &&
           position::RangeToNearest(position::Boat(*at), it->second).distanceNm <= nearDistanceNm;
}

warnings::TUrgency TWarningsView::UrgencyOf(int64_t id, const std::string& name) const {
    const std::optional<position::TLatLon> at = boat ? boat() : std::nullopt;
    std::lock_guard<std::mutex> lock(mutex);
    if (endedById.count(id)) return warnings::TUrgency::None;
    const auto it = placesById.find(id);
    const bool within =
        at && it != placesById.end() &&
        position::RangeToNearest(position::Boat(*at), it->second).distanceNm <= nearDistanceNm;
    return warnings::UrgencyOf(name, within);
}

bool TWarningsView::InForce(int64_t id) const {
    std::lock_guard<std::mutex> lock(mutex);
    return endedById.count(id) == 0;
}

void TWarningsView::Decorate(const navtex::TNavtexTree& tree, const TNavtexTreeControl& control) {
    std::map<Name, Info> known;
    {
        std::lock_guard<std::mutex> lock(mutex);
        known = states;
    }
    // Before the first reading of the history every message looks in force: only distress
    // is raised then, as it always is.
    const bool statesKnown = !known.empty();
    std::vector<TAlertNotice::TEntry> raised;
    const std::optional<position::TLatLon> at = boat ? boat() : std::nullopt;
    std::map<Key, std::vector<position::TPlace>> places;  // of the messages in the tree now
    for (int node = 0; node < tree.NodeCount(); ++node) {
        int band = 0;
        const TMsgHeaderElement* record = tree.RecordOf(node, band);
        QTreeWidgetItem* item = control.Item(node);
        if (!record || !item) continue;
        if (!at) {
            Alert(*item, *record, band, DecorateMessage(*item, *record, band, known, false), statesKnown,
                  raised);
            continue;
        }
        // Each message's places are read once, not at every selection.
        const Key key{band, record->Name, record->Age};
        auto cached = placesOf.find(key);
        std::vector<position::TPlace> own =
            cached != placesOf.end()
                ? std::move(cached->second)
                : warnings::Places(warnings::FindShapes(warnings::TStationNames::Text(*record)));
        const std::optional<position::TRange> range =
            own.empty() ? std::nullopt : std::optional(position::RangeToNearest(position::Boat(*at), own));
        const warnings::TUrgency level =
            DecorateMessage(*item, *record, band, known, range && range->distanceNm <= nearDistanceNm);
        if (range) item->setToolTip(0, item->toolTip(0) + "\n" + RangeWords(*range));
        Alert(*item, *record, band, level, statesKnown, raised);
        places.emplace(key, std::move(own));
    }
    if (at) placesOf = std::move(places);
    control.SetHeaderState(StateWords(tree.ShownBand(), tree.ShownMessageName()));
    if (bookChanged) SaveBook();
    bookChanged = false;
    if (!raised.empty() && alerts) alerts->Add(raised);
}

// A new unread message in force that needs the crew: one line on the notice, once; while
// it stays raised its notification follows its state.
void TWarningsView::Alert(const QTreeWidgetItem& item, const TMsgHeaderElement& record, int band,
                          warnings::TUrgency level, bool statesKnown,
                          std::vector<TAlertNotice::TEntry>& raised) {
    const Key key{band, record.Name, record.Age};
    const bool unread = item.font(0).bold();
    const bool due =
        level == warnings::TUrgency::Distress || (level != warnings::TUrgency::None && statesKnown);
    const bool fresh = due && unread && book.Raise(key);
    if (!fresh && (!book.Raised(key) || !notify)) return;  // nothing to tell anyone
    auto made = notifications.find(key);
    if (made == notifications.end()) {
        // Its words and position, read once.
        const std::string text = warnings::TStationNames::Text(record);
        TAlertWords words;
        const std::string station = stationNamer ? stationNamer(band, record) : std::string();
        const std::string subject =
            QCoreApplication::translate("navtex", navtex::CategoryTexts[navtex::CategoryOf(record.Name)])
                .toStdString();
        const std::string line = text::Windows1252ToUtf8(warnings::MeaningfulLine(text));
        words.station = QString::fromStdString(station.empty() ? record.Name : station);
        words.subject = QString::fromStdString(subject);
        words.line = QString::fromStdString(line);
        signalk::TNotification& n = words.notification;
        n.path = signalk::NavtexPath(band, record.Name);
        n.message = record.Name + " (" + std::to_string(band) + " kHz)" +
                    (station.empty() ? "" : " · " + station) + " · " + subject + " · " + line;
        for (const warnings::TShape& shape : warnings::FindShapes(text))
            if (!shape.points.empty()) {
                n.latitude = shape.points.front().latitude;
                n.longitude = shape.points.front().longitude;
                break;
            }
        made = notifications.emplace(key, std::move(words)).first;
    }
    if (fresh) {
        const palette::TDayScope day;  // the notice shades them itself, now and when the palette changes
        raised.push_back({AlertKey(key), urgency::Icon(level), urgency::Colour(level), made->second.station,
                          made->second.subject, made->second.line});
    }
    bookChanged = bookChanged || fresh;
    signalk::TNotification& n = made->second.notification;
    n.state = book.Acknowledged(key) ? "normal" : warnings::NotificationState(level);
    if (notify && !n.path.empty()) notify(n);
}

// Grey once it is no longer in force; the urgency's mark while it is, read or not.
warnings::TUrgency TWarningsView::DecorateMessage(QTreeWidgetItem& item, const TMsgHeaderElement& record,
                                                  int band, const std::map<Name, Info>& known,
                                                  bool withinDistance) {
    QString tip = MessageTip(record);
    QBrush colour;  // the tree's own
    bool ended = false;
    if (const auto it = known.find({band, record.Name});
        it != known.end() && it->second.state != warnings::TWarning::State::InForce) {
        colour = QColor(128, 128, 128);
        tip += EndedText(it->second);
        ended = true;
    }
    const warnings::TUrgency level =
        ended ? warnings::TUrgency::None : warnings::UrgencyOf(record.Name, withinDistance);
    if (level != warnings::TUrgency::None) {
        colour = urgency::Colour(level);
        tip += "\n" + urgency::Words(level);
    }
    item.setIcon(0, urgency::Icon(level));
    item.setForeground(0, colour);
    item.setToolTip(0, tip);
    return level;
}

QString TWarningsView::EndedTip(int64_t id) const {
    std::lock_guard<std::mutex> lock(mutex);
    const auto it = endedById.find(id);
    return it == endedById.end() ? QString() : EndedText(it->second);
}

QString TWarningsView::DistanceWords() const {
    const std::optional<position::TLatLon> at = boat ? boat() : std::nullopt;
    if (!at || shownPlaces.empty()) return {};
    return RangeWords(position::RangeToNearest(position::Boat(*at), shownPlaces));
}

QString TWarningsView::RangeWords(const position::TRange& range) {
    if (range.distanceNm < 0.05)
        return QCoreApplication::translate("TWarningsView", "le bateau est dans la zone");
    const QLocale french(QLocale::French);
    return QCoreApplication::translate("TWarningsView", "à %1 nm au %2°")
        .arg(french.toString(range.distanceNm, 'f', 1))
        .arg(static_cast<int>(std::lround(range.bearingDeg)) % 360, 3, 10, QChar('0'));
}

QString TWarningsView::PositionsLine(const std::vector<warnings::TShape>& shapes, QString* copied) {
    QStringList shown, lines;
    for (const warnings::TShape& shape : shapes) {
        QStringList points;
        for (const warnings::TPosition& p : shape.points) {
            points << QString::fromStdString(warnings::SailorText(p));
            lines << QString::fromStdString(warnings::SailorText(p));
        }
        QString kind = QString::fromUtf8(warnings::KindNameFr(shape.kind));
        if (shape.kind == warnings::TShape::Kind::Circle)
            kind += QCoreApplication::translate("TWarningsView", " de %1 NM").arg(shape.radiusNm);
        shown << points.join(QStringLiteral(" – ")) + QStringLiteral(" (") + kind + QStringLiteral(")");
    }
    if (copied) *copied = lines.join('\n');
    return QCoreApplication::translate("TWarningsView", "Positions : ") + shown.join(QStringLiteral(" · "));
}

void TWarningsView::ShowPositions(const std::string& text) {
    const std::vector<warnings::TShape> shapes = warnings::FindShapes(text);
    shownPlaces = warnings::Places(shapes);
    positions->setText(PositionsLine(shapes, &copied));
    positions->setVisible(!shapes.empty());
    copy->setVisible(!shapes.empty());
}
