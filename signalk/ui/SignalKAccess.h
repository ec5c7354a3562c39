// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTimer>

// One access request to a Signal K server, awaited in the background: asked again every two
// seconds until the server's administrator approves or denies it, however long that takes
// and whether the dialog that made it is still open.
class TSignalKAccess : public QObject {
    Q_OBJECT

public:
    static constexpr int AskEveryMs = 2000;

    explicit TSignalKAccess(QObject* parent = nullptr);

    // Asks the server at host:port to let clientId in (a request before is dropped).
    void Request(const QString& hostPort, const QString& clientId);
    bool Pending() const { return poll.isActive() || asking; }
    // What the request is doing, for the dialog; empty before the first.
    QString StateText() const { return state; }
    QString HostPort() const { return hostPort; }

signals:
    void Approved(const QString& clientId, const QString& token);
    void StateChanged();

private:
    void Ask();
    void Read(const QByteArray& body, int status, const QString& error);
    void SetState(const QString& text);

    QNetworkAccessManager* http = nullptr;  // made at the first request: most boats never make one
    QTimer poll;
    QString hostPort, clientId, href, state;
    bool asking = false;
    int generation = 0;  // answers to a request given up are not read
};
