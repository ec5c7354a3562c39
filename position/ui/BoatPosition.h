// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

#include <memory>
#include <optional>

#include "nmea/NmeaSettings.h"
#include "platform/Serial.h"
#include "position/Geodesy.h"

// The boat's position from the source the settings name: NMEA 0183 sentences in UDP
// datagrams (a multiplexer's broadcast) or from a TCP server, gpsd's reports, a Signal K
// server's navigation.position (its REST API, asked every two seconds), a serial GPS, or a
// position typed in. Every connection is asynchronous; a source that goes away is tried again in the
// background, and a fix older than a minute is lost: nothing uses it as current.
class TBoatPosition : public QObject {
    Q_OBJECT

public:
    static constexpr int LostAfterSeconds = 60;
    static constexpr int RetryAfterMs = 5000;
    // A serial port that gives no sentence for this long is tried at the other speed.
    static constexpr int SerialSpeedTrialMs = 3000;

    explicit TBoatPosition(QObject* parent = nullptr);

    // Starts the settings' source anew (stopping the one before).
    void Apply(const nmea::TNmeaSettings& settings);

    // The position while it is current: fixed, or a fix of the last minute.
    std::optional<position::TLatLon> Current() const;
    // The last fix, however old, and its age in seconds (-1: none yet).
    std::optional<position::TLatLon> Last() const { return last; }
    qint64 AgeSeconds() const;
    // "GPS (NMEA UDP 10110)", "gpsd", "position fixe".
    QString SourceText() const;
    // The status bar's words: "Position : 54°04.1′N 010°12.3′E · GPS · il y a 2 s".
    QString StatusText() const;
    // The dialog's: what the source is doing.
    QString StateText() const { return state; }

signals:
    void PositionChanged();
    void StateChanged();

private:
    void Stop();
    void Connect();
    void Retry(const QString& why);
    void Read();
    void Line(const QByteArray& line);
    void SetState(const QString& text);
    void AskSignalK();
    void ReadSerial();
    void OpenSerial();
    void SerialWaiting();

    nmea::TNmeaSettings settings;
    QPointer<QUdpSocket> udp;
    QPointer<QTcpSocket> tcp;
    std::unique_ptr<platform::SerialPort> serial;
    QTimer serialPoll;                    // the port is read, never waited on
    QElapsedTimer serialHeard;            // since the last sentence from it
    int serialBaud = 0, serialTrial = 0;  // the speed now; which of the speeds tried
    bool serialAuto = true;               // no speed given: found by trying
    QTimer retry;
    QTimer poll;  // Signal K: the next question
    QNetworkAccessManager* http = nullptr;
    QString signalkUrl, signalkStamp;  // what is asked, and the time of the last answer's fix
    QByteArray pending;                // a TCP line not ended yet
    std::optional<position::TLatLon> last;
    QElapsedTimer since;  // since the last fix
    QString state;
};
