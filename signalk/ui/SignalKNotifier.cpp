// SPDX-License-Identifier: GPL-3.0-or-later
#include "signalk/ui/SignalKNotifier.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>

#include <array>
#include <vector>

#include "nmea/NmeaSettings.h"
#include "signalk/WebSocket.h"

namespace ws = signalk::websocket;

namespace {

// Only what is to be written; no value of the server's is wanted back.
constexpr const char* StreamTarget = "/signalk/v1/stream?subscribe=none";

int64_t Now() {
    return QDateTime::currentSecsSinceEpoch();
}

}  // namespace

TSignalKNotifier::TSignalKNotifier(QObject* parent) : QObject(parent) {
    retry.setSingleShot(true);
    retry.setInterval(RetryMs);
    connect(&retry, &QTimer::timeout, this, &TSignalKNotifier::Connect);
    connect(&socket, &QTcpSocket::connected, this, [this] {
        std::array<char, 16> nonce;
        for (char& c : nonce) c = static_cast<char>(QRandomGenerator::global()->bounded(256));
        key = QByteArray(nonce.data(), nonce.size()).toBase64();
        received.clear();
        socket.write(QByteArray::fromStdString(
            ws::UpgradeRequest(host, port, StreamTarget, key.toStdString(), token)));
    });
    connect(&socket, &QTcpSocket::readyRead, this, &TSignalKNotifier::Read);
    connect(&socket, &QTcpSocket::disconnected, this, [this] {
        Disconnected(QCoreApplication::translate("TSignalKNotifier", "le serveur a fermé la connexion"));
    });
    connect(&socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error != QAbstractSocket::RemoteHostClosedError) Disconnected(socket.errorString());
    });
}

TSignalKNotifier::~TSignalKNotifier() {
    // The socket closes after the members its signals would reach are gone.
    disconnect(&socket, nullptr, this, nullptr);
}

void TSignalKNotifier::SetServer(const std::string& hostPort, const std::string& newToken) {
    std::string newHost;
    int newPort = 0;
    if (!hostPort.empty() && !nmea::Destination(hostPort, newHost, newPort)) newHost.clear();
    if (newHost == host && newPort == port && newToken == token) return;
    retry.stop();
    upgraded = false;
    ++generation;
    host.clear();  // the abort is no failure to try again after
    socket.abort();
    host = newHost;
    port = newPort;
    token = newToken;
    // Another server has had none of them.
    for (auto& [path, entry] : entries) entry.sent = false;
    if (host.empty()) {
        SetState({});
        return;
    }
    Connect();
}

void TSignalKNotifier::Connect() {
    if (host.empty() || socket.state() != QAbstractSocket::UnconnectedState) return;
    SetState(QCoreApplication::translate("TSignalKNotifier", "Alertes Signal K : connexion à %1:%2…")
                 .arg(QString::fromStdString(host))
                 .arg(port));
    QNetworkRequest request(QUrl(QStringLiteral("http://%1:%2/signalk/v1/api/vessels/self/uuid")
                                     .arg(QString::fromStdString(host))
                                     .arg(port)));
    request.setTransferTimeout(10000);
    if (!token.empty()) request.setRawHeader("Authorization", QByteArray::fromStdString("Bearer " + token));
    if (!http) http = new QNetworkAccessManager(this);
    QNetworkReply* reply = http->get(request);
    const int asked = ++generation;
    connect(reply, &QNetworkReply::finished, this, [this, reply, asked] {
        reply->deleteLater();
        if (asked != generation || host.empty()) return;
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status == 401 || status == 403)
            Refused(
                QStringLiteral("Alertes Signal K : le serveur refuse l’accès ; demandez-le avec "
                               "« Demander l’accès »."));
        else if (status == 0)
            Disconnected(reply->errorString());
        else
            Open();
    });
}

void TSignalKNotifier::Open() {
    if (host.empty() || socket.state() != QAbstractSocket::UnconnectedState) return;
    socket.connectToHost(QString::fromStdString(host), static_cast<quint16>(port));
}

void TSignalKNotifier::Disconnected(const QString& why) {
    upgraded = false;
    if (socket.state() != QAbstractSocket::UnconnectedState) socket.abort();
    if (host.empty() || retry.isActive()) return;
    // A server that comes back may have forgotten what it had: it gets every value again.
    for (auto& [path, entry] : entries) entry.sent = entry.sent && !entry.raisedHere;
    SetState(
        QCoreApplication::translate(
            "TSignalKNotifier", "Alertes Signal K : serveur %1:%2 injoignable (%3), nouvel essai dans %4 s.")
            .arg(QString::fromStdString(host))
            .arg(port)
            .arg(why)
            .arg(RetryMs / 1000));
    retry.start();
}

void TSignalKNotifier::Refused(const QString& why) {
    // The state says why; the abort's own signals must not replace it.
    retry.start();
    upgraded = false;
    socket.abort();
    SetState(why);
}

void TSignalKNotifier::Read() {
    const QByteArray bytes = socket.readAll();
    received.append(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (!upgraded) {
        const ws::TUpgradeReply reply = ws::ReadUpgradeReply(received);
        if (!reply.complete) return;
        const QByteArray expected =
            QCryptographicHash::hash(key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11", QCryptographicHash::Sha1)
                .toBase64();
        if (reply.status != 101 || reply.accept != expected.toStdString()) {
            Refused(reply.status == 401 || reply.status == 403
                        ? QStringLiteral("Alertes Signal K : le serveur refuse l’accès ; demandez-le avec "
                                         "« Demander l’accès ».")
                        : QCoreApplication::translate(
                              "TSignalKNotifier",
                              "Alertes Signal K : le serveur a refusé la connexion (réponse %1).")
                              .arg(reply.status));
            return;
        }
        received.erase(0, reply.headLength);
        upgraded = true;
        SetState(QCoreApplication::translate("TSignalKNotifier", "Alertes Signal K : connecté à %1:%2.")
                     .arg(QString::fromStdString(host))
                     .arg(port));
        Flush();
    }
    ws::TFrame frame;
    for (;;) {
        const ws::TRead read = ws::NextFrame(received, frame);
        if (read == ws::TRead::NeedMore) return;
        if (read == ws::TRead::Error) {
            Disconnected(QCoreApplication::translate("TSignalKNotifier", "trame illisible"));
            return;
        }
        const std::array<uint8_t, 4> mask{0x5a, 0x4c, 0x32, 0x21};
        if (frame.opcode == ws::TOpcode::Ping)
            socket.write(QByteArray::fromStdString(ws::ClientFrame(ws::TOpcode::Pong, frame.payload, mask)));
        if (frame.opcode == ws::TOpcode::Close) {
            socket.write(QByteArray::fromStdString(ws::ClientFrame(ws::TOpcode::Close, {}, mask)));
            Disconnected(QCoreApplication::translate("TSignalKNotifier", "le serveur a fermé la connexion"));
            return;
        }
    }
}

void TSignalKNotifier::Set(const signalk::TNotification& notification) {
    auto [it, added] = entries.try_emplace(notification.path);
    // A path cleared before this run needs no clearing the server never had from us.
    if (added && notification.state == "normal") {
        it->second.value = notification;
        it->second.sent = true;
        return;
    }
    if (!added && it->second.value == notification) return;
    it->second.value = notification;
    it->second.sent = false;
    it->second.raisedHere = true;
    Flush();
}

size_t TSignalKNotifier::Pending() const {
    size_t pending = 0;
    for (const auto& [path, entry] : entries) pending += entry.sent ? 0 : 1;
    return pending;
}

void TSignalKNotifier::Flush() {
    if (!upgraded) return;
    std::vector<signalk::TNotification> due;
    for (auto& [path, entry] : entries)
        if (!entry.sent) {
            due.push_back(entry.value);
            entry.sent = true;
        }
    if (due.empty()) return;
    std::array<uint8_t, 4> mask;
    for (uint8_t& m : mask) m = static_cast<uint8_t>(QRandomGenerator::global()->bounded(256));
    socket.write(
        QByteArray::fromStdString(ws::ClientFrame(ws::TOpcode::Text, signalk::Delta(due, Now()), mask)));
}

void TSignalKNotifier::SetState(const QString& text) {
    if (text == state) return;
    state = text;
    emit StateChanged();
}
