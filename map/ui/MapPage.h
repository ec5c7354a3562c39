// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QWidget>

class QSplitter;

#include <functional>
#include <memory>
#include <optional>

#include "map/Land.h"
#include "map/ui/MapView.h"
#include "warnings/Export.h"

// The page "CARTE": the map of the warnings in force beside the list that answers "what
// concerns me" (one row a warning, sortable and filtered), and the message chosen in either,
// with its header and positions, that can be opened on the NAVTEX page.
class TMapPage : public QWidget {
    Q_OBJECT

public:
    enum Column { Identifier, Station, Subject, ReceivedLocal, ReceivedUtc, Distance, FirstLine, Columns };

    explicit TMapPage(QWidget* parent = nullptr);

    // The warnings to show (in force, and lately ended), as the warnings' view gives them.
    void SetWarnings(std::shared_ptr<const std::vector<warnings::TWarning>> warnings);
    void SetBoat(std::optional<position::TLatLon> boat, int nearDistanceNm);
    // Who sent a message: the station's name as the headers give it.
    void SetStationNamer(
        std::function<std::string(int band, const std::string& name, const std::string& text)> namer) {
        stationNamer = std::move(namer);
    }

    TMapView* Map() const { return map; }
    QTreeWidget* List() const { return list; }
    QLabel* Header() const { return header; }
    QPlainTextEdit* Text() const { return text; }
    // The warning shown in the panel, or 0.
    int64_t Shown() const { return shown; }
    void Choose(int64_t id);

    // WINDOW.INI's lines: the map's view.
    QStringList Settings() const;
    void LoadSettings(const QStringList& lines);

    // Saving and printing: a picture and a page, with a title line and the time.
    QString Title() const;

    static const map::TLand& Land();
    // The land into the map: when it is first shown, saved or printed.
    void LoadLand();

protected:
    void showEvent(QShowEvent* event) override;

signals:
    // "Voir dans la page NAVTEX": the text and header to show there.
    void OpenOnNavtexPage(const std::string& text, const std::string& header);

private:
    void Rebuild();
    void Filter();
    void ShowMessage(int64_t id);
    const warnings::TWarning* Find(int64_t id) const;
    static QString WarningsViewEndedTip(const warnings::TWarning& w);

    TMapView* map;
    QTreeWidget* list;
    QSplitter* splitter;  // the list beside the map
    QComboBox* subject;
    QComboBox* station;
    QCheckBox* nearOnly;
    QCheckBox* showEnded;
    QLabel* header;
    QPlainTextEdit* text;
    QLabel* positions;
    QPushButton* openNavtex;
    QLabel* count;

    std::shared_ptr<const std::vector<warnings::TWarning>> warnings;
    std::optional<position::TLatLon> boat;
    int nearDistanceNm = 50;
    int64_t shown = 0;
    bool choosing = false;
    std::function<std::string(int, const std::string&, const std::string&)> stationNamer;
};
