// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/NmeaOutput.h"

#include <QTcpSocket>

#include <algorithm>
#include <mutex>
#include <thread>

#include "platform/Network.h"

namespace {

// What one pass of the event loop hands to the system: no pass keeps the window long.
constexpr qsizetype SliceBytes = 16 * 1024;
constexpr qint64 SocketBufferBytes = 64 * 1024;
constexpr int PassMilliseconds = 4;
// A name that could not be looked up is tried again after this long (the network may come up later).
constexpr int LookupRetryMilliseconds = 30000;

}  // namespace

// Shared with the thread that looks the name up: that thread may outlive the output (and
// the program's last event), so it owns nothing else.
struct TNmeaOutput::TLookup {
    std::mutex mutex;
    bool done = false;
    std::string address;
};

TNmeaOutput::TNmeaOutput(QObject* parent) : QObject(parent) {
    connect(&server, &QTcpServer::newConnection, this, &TNmeaOutput::Accept);
    pumpTimer.setSingleShot(true);
    pumpTimer.setInterval(0);
    connect(&pumpTimer, &QTimer::timeout, this, &TNmeaOutput::Pump);
    stallTimer.setSingleShot(true);
    stallTimer.setInterval(StallMilliseconds / 4);
    connect(&stallTimer, &QTimer::timeout, this, &TNmeaOutput::SchedulePump);
    retryTimer.setInterval(RetryMilliseconds);
    connect(&retryTimer, &QTimer::timeout, this, &TNmeaOutput::TryListen);
    lookupTimer.setInterval(100);
    connect(&lookupTimer, &QTimer::timeout, this, &TNmeaOutput::TakeLookup);
}

TNmeaOutput::~TNmeaOutput() {
    // Nothing is waited for: unsent sentences are dropped, a lookup goes on alone.
    CloseAll();
}

TNmeaOutput::TState TNmeaOutput::State() const {
    if (!current.enabled) return TState::Off;
    return server.isListening() ? TState::Listening : TState::PortBusy;
}

qint64 TNmeaOutput::Waiting() const {
    qint64 total = 0;
    for (const auto& c : clients) total += c->queued;
    for (const QByteArray& d : datagrams) total += d.size();
    return total;
}

QString TNmeaOutput::StatusText() const {
    QString text;
    switch (State()) {
    case TState::Off:
        return QStringLiteral("Sortie arrêtée");
    case TState::PortBusy:
        text = QStringLiteral("Port %1 occupé : nouvel essai toutes les %2 secondes")
                   .arg(current.tcpPort)
                   .arg(RetryMilliseconds / 1000);
        break;
    case TState::Listening:
        text = QStringLiteral("À l’écoute sur le port %1, ").arg(Port());
        if (clients.empty())
            text += QStringLiteral("aucun client connecté");
        else if (clients.size() == 1)
            text += QStringLiteral("1 client connecté");
        else
            text += QStringLiteral("%1 clients connectés").arg(clients.size());
        break;
    }
    if (!current.udpHost.empty() && current.udpPort > 0) {
        const QString host = QString::fromStdString(current.udpHost);
        if (udpPort != 0)
            text += QStringLiteral(" ; UDP vers %1 port %2").arg(udpHost.toString()).arg(udpPort);
        else if (lookupFailed)
            text += QStringLiteral(" ; UDP : hôte « %1 » introuvable").arg(host);
        else
            text += QStringLiteral(" ; UDP : recherche de l’hôte « %1 »…").arg(host);
    }
    return text;
}

bool TNmeaOutput::Apply(const nmea::TNmeaSettings& settings) {
    if (applied && settings == current) return !settings.enabled || server.isListening();
    applied = true;
    current = settings;
    CloseAll();
    if (settings.enabled && nmea::ValidHost(settings.udpHost) && settings.udpPort > 0) {
        const QHostAddress address(QString::fromStdString(settings.udpHost));
        if (!address.isNull()) {
            udpHost = address;
            udpPort = static_cast<quint16>(settings.udpPort);
        } else {
            StartLookup();
        }
    }
    if (settings.enabled) TryListen();
    emit StatusChanged();
    return !settings.enabled || server.isListening();
}

void TNmeaOutput::CloseAll() {
    server.close();
    retryTimer.stop();
    // abort() says "disconnected" at once, which must not reach Drop while this loops.
    const std::vector<std::unique_ptr<TClient>> closing = std::move(clients);
    clients.clear();
    for (const auto& c : closing) {
        c->socket->disconnect(this);
        c->socket->abort();
        c->socket->deleteLater();
    }
    datagrams.clear();
    udpPort = 0;
    lookup.reset();  // a pending answer is for settings that no longer hold
    lookupTimer.stop();
    lookupFailed = false;
}

void TNmeaOutput::TryListen() {
    if (!current.enabled || server.isListening()) {
        retryTimer.stop();
        return;
    }
    const bool listening = server.listen(current.allInterfaces ? QHostAddress::Any : QHostAddress::LocalHost,
                                         static_cast<quint16>(current.tcpPort));
    if (listening) {
        retryTimer.stop();
        emit StatusChanged();
    } else if (!retryTimer.isActive()) {
        retryTimer.start();
    }
}

void TNmeaOutput::StartLookup() {
    auto pending = std::make_shared<TLookup>();
    lookup = pending;
    const std::string host = current.udpHost;
    // A resolver that never answers would hold up whoever waits for it; nobody does.
    std::thread([pending, host] {
        std::string address = platform::ResolveHostAddress(host);
        const std::lock_guard<std::mutex> lock(pending->mutex);
        pending->address = std::move(address);
        pending->done = true;
    }).detach();
    lookupTimer.start();
}

void TNmeaOutput::TakeLookup() {
    if (!lookup) {
        lookupTimer.stop();
        return;
    }
    std::string address;
    {
        const std::lock_guard<std::mutex> lock(lookup->mutex);
        if (!lookup->done) return;
        address = lookup->address;
    }
    lookup.reset();
    lookupTimer.stop();
    const QHostAddress found(QString::fromStdString(address));
    if (found.isNull()) {
        lookupFailed = true;
        QTimer::singleShot(LookupRetryMilliseconds, this, [this, settings = current] {
            if (current == settings && udpPort == 0 && !lookup) StartLookup();
        });
    } else {
        lookupFailed = false;
        udpHost = found;
        udpPort = static_cast<quint16>(current.udpPort);
    }
    emit StatusChanged();
}

void TNmeaOutput::Accept() {
    while (QTcpSocket* socket = server.nextPendingConnection()) {
        auto client = std::make_unique<TClient>();
        client->socket = socket;
        client->sinceProgress.start();
        clients.push_back(std::move(client));
        // What a client sends is of no interest; only its going matters.
        connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { Drop(socket); });
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] {
            for (auto& c : clients)
                if (c->socket == socket) c->sinceProgress.restart();
            SchedulePump();
        });
        emit StatusChanged();
    }
}

void TNmeaOutput::Drop(QTcpSocket* socket) {
    const auto it = std::find_if(clients.begin(), clients.end(), [socket](const auto& c) { return c->socket == socket; });
    if (it == clients.end()) return;
    clients.erase(it);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    emit StatusChanged();
}

void TNmeaOutput::Send(const std::string& sentence) {
    const QByteArray bytes = QByteArray::fromStdString(sentence);
    Queue(bytes, {bytes});
}

void TNmeaOutput::Send(const std::vector<std::string>& sentences) {
    if (sentences.empty()) return;
    QByteArray batch;
    std::vector<QByteArray> single;
    for (const std::string& s : sentences) {
        batch += QByteArray::fromStdString(s);
        if (udpPort != 0) single.push_back(QByteArray::fromStdString(s));
    }
    Queue(batch, single);
}

void TNmeaOutput::Queue(const QByteArray& batch, const std::vector<QByteArray>& sentences) {
    for (auto& c : clients) {
        if (c->queued == 0) c->sinceProgress.restart();
        c->queue.push_back(batch);  // shared, not copied
        c->queued += batch.size();
    }
    // One datagram a sentence, as chart plotters read them.
    if (udpPort != 0) datagrams.insert(datagrams.end(), sentences.begin(), sentences.end());
    SchedulePump();
}

void TNmeaOutput::SchedulePump() {
    if (!pumpTimer.isActive()) pumpTimer.start();
}

void TNmeaOutput::Pump() {
    QElapsedTimer pass;
    pass.start();
    std::vector<QTcpSocket*> stalled;
    bool more = false;
    const size_t count = clients.size();
    for (size_t i = 0; i < count; ++i) {
        auto& c = clients[(firstClient + i) % count];
        const qint64 waiting = c->queued + c->socket->bytesToWrite();
        if (waiting > MaxBacklog && c->sinceProgress.elapsed() > StallMilliseconds) {
            stalled.push_back(c->socket);
            continue;
        }
        while (!c->queue.empty() && c->socket->bytesToWrite() < SocketBufferBytes) {
            const QByteArray& front = c->queue.front();
            const qsizetype n = std::min(SliceBytes, front.size() - c->offset);
            c->socket->write(front.constData() + c->offset, n);
            c->offset += n;
            c->queued -= n;
            if (c->offset == front.size()) {
                c->queue.pop_front();
                c->offset = 0;
            }
        }
        if (c->queued > 0 || c->socket->bytesToWrite() > 0) more = true;
        if (pass.elapsed() >= PassMilliseconds) {
            firstClient = (firstClient + i + 1) % count;
            more = true;
            break;
        }
    }
    while (!datagrams.empty() && pass.elapsed() < PassMilliseconds) {
        udp.writeDatagram(datagrams.front(), udpHost, udpPort);
        datagrams.pop_front();
    }
    for (QTcpSocket* s : stalled) Drop(s);
    // Bytes in Qt's buffers go out when the system takes them (bytesWritten pumps again);
    // a slow check keeps the stall rule alive when nothing at all moves.
    if (!datagrams.empty() || pass.elapsed() >= PassMilliseconds)
        SchedulePump();
    else if (more && !stallTimer.isActive())
        stallTimer.start();
}
