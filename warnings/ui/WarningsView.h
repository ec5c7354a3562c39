// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>

#include "app/ui/AlertNotice.h"
#include "app/ui/Notice.h"
#include "navtex/ui/NavtexTreeControl.h"
#include "signalk/Notifications.h"
#include "warnings/Alerts.h"
#include "warnings/Export.h"
#include "warnings/Urgency.h"

// What the window shows of warnings: the positions under the message (with a button that
// copies them), the state in words in the header above it, messages no longer in force in
// grey in the tree with the reason as a tool tip, the urgent ones marked while in force, the
// alerts (a new distress message, gale warning or navigational warning near the boat: one
// line each on the one notice, remembered in ALARMS.INI with the crew's acknowledgement, and
// as Signal K notifications until they end or are acknowledged), and the files for the
// chart plotter, written after each transfer and whenever a state changes with the time
// alone, when a folder is set.
class TWarningsView : public QObject {
    Q_OBJECT

public:
    // A message: band (518 or 490), identifier, and its file time as the tree packs it.
    using Key = std::tuple<int, std::string, int32_t>;
    // The newest message of the history by band and identifier: the one the receiver shows
    // (a repeated broadcast is one message of the history, kept with its first reception).
    using Name = std::pair<int, std::string>;
    struct Info {
        warnings::TWarning::State state = warnings::TWarning::State::InForce;
        warnings::TWarning::Cause cause = warnings::TWarning::Cause::None;
        char subject = 0;
        std::string cancelledBy;
        int64_t cancelledAt = -1, expires = -1;
    };
    // "annulé par SA58 le 10/03/2019 à 22:00", "expiré le …": why it is no longer in force.
    static QString EndedWords(const Info& info);

    TWarningsView(QWidget* window, QLabel* positions, QPushButton* copy, TAlertNotice* alerts);

    // wake: has the history's thread call HistoryWritten soon (with nothing added), where
    // the states are aged once a minute.
    void Start(const std::string& archiveRoot, const std::string& exportFolder,
               std::function<void()> wake = {});
    void SetExportFolder(const std::string& folder);

    // On the history writer's thread, after each batch: states anew, the plotter's files.
    void HistoryWritten(int added, const history::THistoryStore& store);

    // The receiver's tree after a rebuild or a selection: colours, tool tips, alarms.
    void Decorate(const navtex::TNavtexTree& tree, const TNavtexTreeControl& control);
    // "Positions : 54°11.0′N 007°48.2′E (point) · …"; copied gets one position a line.
    static QString PositionsLine(const std::vector<warnings::TShape>& shapes, QString* copied = nullptr);
    // The message shown (UTF-8, as in the memo).
    void ShowPositions(const std::string& text);
    // The boat's position while it is current, for the distances.
    void SetBoat(std::function<std::optional<position::TLatLon>()> boat) { this->boat = std::move(boat); }
    // Within this distance a new navigational warning concerns the boat: one notice each.
    void SetNearDistance(int nm) { nearDistanceNm = nm; }
    // How far the shown message's places lie from the boat: "à 12,4 nm au 245°", "le bateau
    // est dans la zone"; empty without places or a current position.
    QString DistanceWords() const;
    static QString RangeWords(const position::TRange& range);
    // Why the history's message id is no longer in force, for its tool tip; empty while it is.
    QString EndedTip(int64_t id) const;
    // The state in words: "en vigueur", or why not; empty before the states are known.
    QString StateWords(int band, const std::string& name) const;
    QString StateWordsOf(int64_t id) const;
    bool InForce(int64_t id) const;
    // How urgent the history's message id is: none once it has ended; "near" only with a
    // current position and its places within the distance.
    warnings::TUrgency UrgencyOf(int64_t id, const std::string& name) const;
    // A warning in force with places within the distance of the boat (true for any message
    // while there is no current position).
    bool Near(int64_t id) const;
    int NearDistance() const { return nearDistanceNm; }
    // Once a minute: the states aged on the history's thread.
    void AgeStates();

    // File menu: both files into folder once; false when they could not be written.
    static bool ExportOnce(const std::string& archiveRoot, const std::string& folder);
    // The plotter's files as they stand: last written (when, how many), or why not.
    QString ExportStateText() const;
    static QString ExportProblemText(warnings::ExportProblem problem, const QString& folder);

    // What the map draws: the warnings in force with places, and those with places that
    // ended in the last RecentlyEndedDays (greyed on request); texts and shapes filled.
    static constexpr int RecentlyEndedDays = 30;
    std::shared_ptr<const std::vector<warnings::TWarning>> MapWarnings() const;

    // Who sent a message, for the notice ("Niton (GB)").
    void SetStationNamer(std::function<std::string(int band, const TMsgHeaderElement&)> namer) {
        stationNamer = std::move(namer);
    }
    // Where each alert's state goes: the Signal K server's notifications.
    void SetNotificationSink(std::function<void(const signalk::TNotification&)> sink) {
        notify = std::move(sink);
    }
    // The notice's key of a message, and back.
    static QString AlertKey(const Key& key);
    static std::optional<Key> ReadAlertKey(const QString& text);
    // The crew acknowledged these: never raised again, their notifications cleared.
    void Acknowledge(const QStringList& keys);

signals:
    // New states from the history (queued to the window's thread).
    void StatesChanged();
    // The plotter's files were written, or could not be (on the history writer's thread).
    void ExportChanged();

private:
    warnings::TUrgency DecorateMessage(QTreeWidgetItem& item, const TMsgHeaderElement& record, int band,
                                       const std::map<Name, Info>& known, bool withinDistance);
    // Raises a new alert, and gives its notification the state it has now.
    void Alert(const QTreeWidgetItem& item, const TMsgHeaderElement& record, int band,
               warnings::TUrgency level, bool statesKnown, std::vector<TAlertNotice::TEntry>& raised);
    void SaveBook() const;
    void Export(const std::string& folder, const std::vector<warnings::TWarning>& shown);
    void ExportNotice();

    QLabel* positions;
    QPushButton* copy;
    std::vector<position::TPlace> shownPlaces;
    std::function<std::optional<position::TLatLon>()> boat;
    TAlertNotice* alerts;
    std::string archiveRoot;
    QString copied;

    mutable std::mutex mutex;  // the states and the folder, shared with the writer's thread
    std::map<Name, Info> states;
    std::unordered_map<int64_t, Info> endedById;  // every message no longer in force
    std::unordered_map<int64_t, std::vector<position::TPlace>> placesById;  // in force, with places
    std::shared_ptr<const std::vector<warnings::TWarning>> mapWarnings;
    std::string exportFolder;
    bool evaluated = false;
    bool exportDue = false;  // the folder changed: written at the next reading
    bool ageDue = false;     // the minute came: the states aged at the next reading
    std::function<void()> wake;
    QTimer ageing;
    struct ExportState {
        std::string folder;
        warnings::ExportProblem problem = warnings::ExportProblem::None;
        int64_t written = -1;  // when last written
        size_t count = 0;      // the warnings it holds
    } exportState;
    std::pair<std::string, warnings::ExportProblem> noticed;  // the last problem told
    TNotice* exportNotice;
    int nearDistanceNm = 50;
    // On the history writer's thread only: the states, brought up to date batch by batch.
    warnings::TEvaluation evaluation;

    warnings::TAlertBook book;  // alerts raised and acknowledged, kept between runs
    bool bookChanged = false;
    std::function<std::string(int, const TMsgHeaderElement&)> stationNamer;
    std::function<void(const signalk::TNotification&)> notify;
    // Each alert's notification as last made (its words and position, read once).
    struct TAlertWords {
        QString station, subject, line;
        signalk::TNotification notification;
    };
    std::map<Key, TAlertWords> notifications;
    std::map<Key, std::vector<position::TPlace>> placesOf;  // the tree's messages' places, read once
};
