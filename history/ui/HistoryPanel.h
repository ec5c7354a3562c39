// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

#include <functional>
#include <memory>

#include "history/HistoryWriter.h"

class QCheckBox;
class QMessageBox;

// The left side of the NAVTEX page: a search field and its filters over the receiver's
// tree. Typing shows, in a tree of its own, the messages of the whole history that hold
// the words typed; Escape or an empty field brings the receiver's tree back. It also owns
// the history's writer, which the tree rebuilds feed.
class THistoryPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int ShownHits = 500;

    // tree: the receiver's tree, placed under the search field.
    THistoryPanel(QTreeWidget* tree, QWidget* parent);
    ~THistoryPanel() override;

    // Opens the history of the archive root (on the writer's thread); before the first
    // tree rebuild, so that the archive at start-up reaches it.
    // written: after each batch, on the writer's thread (the warnings read the history there).
    void Start(const std::string& archiveRoot,
               std::function<void(int added, const history::THistoryStore& store)> written = {});
    // Writes what was handed over and closes the history.
    void Stop();
    // What a tree rebuild found in the archive.
    void ArchiveRead(std::vector<navtex::TArchiveFile> files);

    // Ctrl+F: the field, its text selected.
    void FocusSearch();
    bool Searching() const { return stack->currentWidget() == results; }
    // The identifier of the history message shown in the memo, empty when none is.
    const std::string& ShownName() const { return shownName; }
    void ForgetShown() { shownName.clear(); }
    // Why a message of the history is no longer in force (empty while it is): such results
    // are grey, the reason in their tool tip. Asked again after StatesChanged.
    void SetEndedTip(std::function<QString(int64_t id)> tip) { endedTip = std::move(tip); }
    // Whether a message of the history is in force ("En vigueur seulement"), and its state in
    // words for the header above it.
    void SetInForce(std::function<bool(int64_t id)> test) { inForce = std::move(test); }
    // How an urgent message in force is marked among the results (nothing for the others).
    struct TMark {
        QIcon icon;
        QColor colour;
        QString words;
    };
    void SetMarker(std::function<TMark(int64_t id, const std::string& name)> mark) {
        marker = std::move(mark);
    }
    // Whether a message lies within the distance of the boat ("À moins de N nm du bateau").
    void SetNear(std::function<bool(int64_t id)> test, int nm);
    void SetStateWords(std::function<QString(int64_t id)> words) { stateWords = std::move(words); }
    // Who sent a message found, for its header (empty: its letter).
    void SetStationNamer(
        std::function<std::string(int band, const std::string& name, const std::string& text)> namer) {
        stationNamer = std::move(namer);
    }
    // The station filter's entries name the stations heard under each letter ("G · Niton
    // (GB)"); asked again whenever the archive has taught more.
    void SetStationsHeard(std::function<std::string(char letter)> heard) {
        stationsHeard = std::move(heard);
        NameStations();
    }
    void NameStations();
    void ShowStates();

    // The filters, kept between runs as key=value lines.
    void LoadSettings(const QStringList& lines);
    QStringList Settings() const;

    QLineEdit* SearchField() const { return field; }
    QTreeWidget* Results() const { return results; }
    QLabel* Hits() const { return hits; }
    history::THistoryWriter* Writer() const { return writer.get(); }

signals:
    // A message of the history was chosen: its text (lines ended by CR LF) and its header.
    void MessageChosen(const std::string& text, const QString& header);
    // The receiver's tree is back.
    void SearchEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<QString(int64_t id)> endedTip;
    std::function<bool(int64_t id)> inForce, near;
    std::function<QString(int64_t id)> stateWords;
    std::function<std::string(int band, const std::string& name, const std::string& text)> stationNamer;
    std::function<std::string(char letter)> stationsHeard;
    std::function<TMark(int64_t, const std::string&)> marker;
    void Search();
    void EndSearch();
    void ShowHits(const history::TSearchResult& result, int64_t keep);
    void ColourStates();
    void Choose(QTreeWidgetItem* item);
    bool OpenReader();
    history::TFilter Filter() const;
    void Opened(history::THistoryWriter::State state, const QString& setAsideAs);
    void SetAsideNotice(const QString& setAsideAs);
    void Trouble(history::THistoryStore::Problem problem);
    void ShowNotice(const QString& text);

    QLineEdit* field;
    QComboBox* band;
    QComboBox* span;
    QComboBox* station;
    QComboBox* subject;
    QCheckBox* inForceOnly;
    QCheckBox* nearOnly;
    QLabel* hits;
    QStackedWidget* stack;
    QTreeWidget* receiverTree;
    QTreeWidget* results;
    QTimer typing;

    std::unique_ptr<history::THistoryWriter> writer;
    history::THistoryStore reader;
    std::string databasePath;
    std::string shownName;
    QPointer<QMessageBox> notice;
    history::THistoryWriter::State state = history::THistoryWriter::State::Opening;
};
