// SPDX-License-Identifier: GPL-3.0-or-later
#include "nmea/ui/BoatNetwork.h"

#include <QUuid>

#include "platform/Log.h"

#include "nmea/Sentences.h"

TBoatNetwork::TBoatNetwork(QObject* parent) : QObject(parent) {
    connect(&access, &TSignalKAccess::Approved, this, [this](const QString& clientId, const QString& token) {
        // Only the token is new: what the file holds stays as it is (not an override's).
        nmea::TNmeaSettings kept = nmea::LoadNmeaSettings(archivePath);
        kept.signalkClientId = settings.signalkClientId = clientId.toStdString();
        kept.signalkToken = settings.signalkToken = token.toStdString();
        if (!nmea::SaveNmeaSettings(archivePath, kept))
            platform::Log(std::string("settings: the Signal K token could not be saved in ") + archivePath);
        position.Apply(settings);
        notifier.SetServer(settings.signalkAlerts, settings.signalkToken);
    });
}

void TBoatNetwork::RequestSignalKAccess(const QString& hostPort) {
    access.Request(hostPort, QUuid::createUuid().toString(QUuid::WithoutBraces));
}

void TBoatNetwork::Start(const std::string& path, const std::string& override) {
    archivePath = path;
    Apply(nmea::WithOverride(nmea::LoadNmeaSettings(archivePath), override), false);
}

void TBoatNetwork::Apply(const nmea::TNmeaSettings& newSettings, bool save) {
    settings = newSettings;
    output.Apply(settings);
    position.Apply(settings);
    notifier.SetServer(settings.signalkAlerts, settings.signalkToken);
    if (save && !nmea::SaveNmeaSettings(archivePath, settings))
        platform::Log(std::string("settings: ") + nmea::SettingsFileName + " could not be saved in " +
                      archivePath);
}

void TBoatNetwork::TreeRebuilt(const TMsgList& international, const TMsgList& national) {
    // All of one rebuild as one batch.
    std::vector<std::string> sentences;
    for (const nmea::TNavtexMessage& m : newMessages.Arrived(international, national)) {
        if (!settings.enabled) continue;
        const std::vector<std::string> nrx = nmea::NrxSentences(m, nrxSequence);
        sentences.insert(sentences.end(), nrx.begin(), nrx.end());
        nrxSequence = (nrxSequence + 1) % 1000;
    }
    if (!sentences.empty()) output.Send(sentences);
}

void TBoatNetwork::StatusShown(const TAcquisitionState& state) {
    if (!settings.enabled || !state.SeaLevelHpa || !state.TemperatureC) return;
    output.Send(nmea::MdaSentence(*state.SeaLevelHpa, *state.TemperatureC));
    output.Send(nmea::XdrSentence(*state.SeaLevelHpa, *state.TemperatureC));
}
