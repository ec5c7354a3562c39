#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QUdpSocket>

#include <string>
#include <vector>

#include "nmea/NmeaSettings.h"

class QTcpSocket;

// The NMEA 0183 output on the boat's network: a TCP server any number of chart plotters
// connect to, and optionally one UDP destination. Writes never wait: a client that does
// not keep up or has gone is dropped.
class TNmeaOutput : public QObject {
    Q_OBJECT

public:
    explicit TNmeaOutput(QObject* parent = nullptr);
    ~TNmeaOutput() override;

    // Starts, moves or stops the output as the settings say; false when the port is taken.
    bool Apply(const nmea::TNmeaSettings& settings);
    bool Listening() const { return server.isListening(); }
    quint16 Port() const { return server.serverPort(); }
    int Clients() const { return static_cast<int>(clients.size()); }

    void Send(const std::string& sentence);
    void Send(const std::vector<std::string>& sentences);

    // A client with this much unsent is too slow and is let go.
    static constexpr qint64 MaxBacklog = 256 * 1024;

private:
    void Accept();

    QTcpServer server;
    QUdpSocket udp;
    QHostAddress udpHost;
    quint16 udpPort = 0;
    int lookups = 0;  // a newer setting outdates a pending name lookup
    std::vector<QTcpSocket*> clients;
    nmea::TNmeaSettings current;
    bool applied = false;
};
