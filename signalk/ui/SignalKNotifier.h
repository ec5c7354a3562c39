// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <map>
#include <string>

#include "signalk/Notifications.h"

// The program's alerts as notifications of a Signal K server, over its WebSocket: each path
// keeps its latest value; what the server has not had yet is sent once it answers. A server
// that is away is tried again every few seconds, and after it returns it gets every alert
// still raised (a restarted server has forgotten them). Nothing here ever waits.
class TSignalKNotifier : public QObject {
    Q_OBJECT

public:
    static constexpr int RetryMs = 5000;

    explicit TSignalKNotifier(QObject* parent = nullptr);
    ~TSignalKNotifier() override;

    // host:port, empty for none; the token of an approved access request, if any.
    void SetServer(const std::string& hostPort, const std::string& token);
    // The latest value of its path; sent when it differs from what the server has.
    void Set(const signalk::TNotification& notification);
    // For the dialog: connected, waiting, refused; empty while off.
    QString StateText() const { return state; }
    bool Connected() const { return upgraded; }
    // Paths whose latest value the server has not had yet.
    size_t Pending() const;

signals:
    void StateChanged();

private:
    // The server's API first: a server whose security is on takes a WebSocket without a
    // token and drops what it sends; its API says so.
    void Connect();
    void Open();
    void Disconnected(const QString& why);
    void Refused(const QString& why);
    void Read();
    void Flush();
    void SetState(const QString& text);

    QTcpSocket socket;
    QNetworkAccessManager* http = nullptr;  // made at the first connection
    int generation = 0;                     // answers for a server given up are not read
    QTimer retry;
    std::string host, token;
    int port = 0;
    QByteArray key;
    std::string received;
    bool upgraded = false;
    QString state;
    struct TEntry {
        signalk::TNotification value;
        bool sent = false;
        bool raisedHere = false;  // set in this run: sent again after a reconnection
    };
    std::map<std::string, TEntry> entries;
};
