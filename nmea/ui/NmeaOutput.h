// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <QUdpSocket>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "nmea/NmeaSettings.h"
#include "platform/Network.h"

class QTcpSocket;

// The NMEA 0183 output on the boat's network: a TCP server any number of chart plotters
// connect to, and optionally one UDP destination. Nothing here ever waits on the network:
// sentences are queued and written from the event loop in slices, a host name is looked
// up on a thread of its own, a busy port is tried again in the background, and a client
// that stops reading is let go.
class TNmeaOutput : public QObject {
    Q_OBJECT

public:
    enum class TState { Off, Listening, PortBusy };

    explicit TNmeaOutput(QObject* parent = nullptr);
    ~TNmeaOutput() override;

    // Starts, moves or stops the output as the settings say; false while the port is taken
    // (it is then tried again every RetryMilliseconds).
    bool Apply(const nmea::TNmeaSettings& settings);
    TState State() const;
    bool Listening() const { return listener.IsListening(); }
    quint16 Port() const { return static_cast<quint16>(listener.Port()); }
    int Clients() const { return static_cast<int>(clients.size()); }
    // Clients refused since the output started, because MaxClients were connected.
    int Refused() const { return refused; }
    // Whether accepting is paused after the system refused a connection (no descriptor left).
    bool AcceptPaused() const { return acceptBackoff > 0; }
    // Bytes queued and not yet handed to the system, over all clients and UDP.
    qint64 Waiting() const;
    // Where the settings are shown: on or off, the port, the clients, the UDP destination.
    QString StatusText() const;

    void Send(const std::string& sentence);
    void Send(const std::vector<std::string>& sentences);

    // A client with this much waiting that has taken nothing for StallMilliseconds is let go.
    static constexpr qint64 MaxBacklog = 256 * 1024;
    static constexpr int StallMilliseconds = 2000;
    static constexpr int RetryMilliseconds = 2000;
    // After a failed accept the port rests, from the first to the last, doubling.
    static constexpr int FirstBackoffMilliseconds = 100;
    static constexpr int LastBackoffMilliseconds = 3200;

signals:
    void StatusChanged();

private:
    struct TClient {
        QTcpSocket* socket = nullptr;
        std::deque<QByteArray> queue;  // batches shared by every client
        qsizetype offset = 0;          // into the first batch
        qint64 queued = 0;
        QElapsedTimer sinceProgress;
    };
    struct TLookup;

    void Accept();
    void AcceptFailed(platform::TcpListener::Accept failure);
    void TryListen();
    void StartLookup();
    void TakeLookup();
    void Queue(const QByteArray& batch, const std::vector<QByteArray>& datagrams);
    void Pump();
    void SchedulePump();
    void Drop(QTcpSocket* socket);
    void CloseAll();

    platform::TcpListener listener;
    std::unique_ptr<QSocketNotifier> listening;
    QUdpSocket udp;
    QHostAddress udpHost;
    quint16 udpPort = 0;
    std::deque<QByteArray> datagrams;
    std::vector<std::unique_ptr<TClient>> clients;
    QTimer pumpTimer, stallTimer, retryTimer, lookupTimer, backoffTimer;
    int acceptBackoff = 0;  // milliseconds, 0 while accepting
    int refused = 0;
    size_t mostClients = 0;           // since the memory was last given back
    size_t firstClient = 0;           // where the next pass starts, so that every client gets its turn
    std::shared_ptr<TLookup> lookup;  // the pending name lookup, if any
    bool lookupFailed = false;
    nmea::TNmeaSettings current;
    bool applied = false;
};
