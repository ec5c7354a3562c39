// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <string>

#include "acquisition/AcquisitionState.h"
#include "navtex/UnitNavtex.h"
#include "nmea/NewMessages.h"
#include "nmea/NmeaSettings.h"
#include "nmea/ui/NmeaOutput.h"
#include "position/ui/BoatPosition.h"
#include "signalk/ui/SignalKAccess.h"
#include "signalk/ui/SignalKNotifier.h"

// The boat's network as the window sees it: its settings (NMEA.INI, or ZEL2_NMEA), the
// output, what goes out on it (the barometer at each status refresh and each message that
// newly entered the archive), and the boat's position that comes in.
class TBoatNetwork : public QObject {
    Q_OBJECT

public:
    explicit TBoatNetwork(QObject* parent = nullptr);

    // Loads the settings kept beside CONFIG.BIN, with the environment's override.
    void Start(const std::string& archivePath, const std::string& override);
    const nmea::TNmeaSettings& Settings() const { return settings; }
    // Applies new settings, and keeps them in NMEA.INI when save is set.
    void Apply(const nmea::TNmeaSettings& newSettings, bool save);
    TNmeaOutput& Output() { return output; }
    TBoatPosition& Position() { return position; }
    TSignalKAccess& SignalKAccess() { return access; }
    // The alerts as the Signal K server's notifications, where one is set.
    TSignalKNotifier& Notifier() { return notifier; }
    // Asks the Signal K server at host:port to let the program in; the token its approval
    // brings is kept in NMEA.INI and used from then on.
    void RequestSignalKAccess(const QString& hostPort);

    // After each tree rebuild: NRX for what arrived since the last one (never what the
    // archive held at start).
    void TreeRebuilt(const TMsgList& international, const TMsgList& national);
    // After each status refresh: MDA and XDR with the values the status bar shows.
    void StatusShown(const TAcquisitionState& state);

private:
    std::string archivePath;
    nmea::TNmeaSettings settings;
    TNmeaOutput output;
    TBoatPosition position;
    TSignalKAccess access;
    TSignalKNotifier notifier;
    nmea::TNewMessages newMessages;
    int nrxSequence = 0;
};
