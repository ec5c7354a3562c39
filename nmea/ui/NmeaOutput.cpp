// SPDX-License-Identifier: GPL-3.0-or-later
#include "nmea/ui/NmeaOutput.h"

#include <QCoreApplication>
#include <QTcpSocket>

#include <algorithm>
#include <mutex>
#include <thread>

#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Network.h"
#include "platform/Process.h"

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
    backoffTimer.setSingleShot(true);
    connect(&backoffTimer, &QTimer::timeout, this, [this] {
        platform::KeepDescriptorInReserve();
        if (listening) listening->setEnabled(true);
        Accept();
    });
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
    return listener.IsListening() ? TState::Listening : TState::PortBusy;
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
            return QCoreApplication::translate("TNmeaOutput", "Sortie arrêtée");
        case TState::PortBusy:
            text = QCoreApplication::translate("TNmeaOutput",
                                               "Port %1 occupé : nouvel essai toutes les %2 secondes")
                       .arg(current.tcpPort)
                       .arg(RetryMilliseconds / 1000);
            break;
        case TState::Listening:
            text = QCoreApplication::translate("TNmeaOutput", "À l’écoute sur le port %1, ").arg(Port());
            if (clients.empty())
                text += QCoreApplication::translate("TNmeaOutput", "aucun client connecté");
            else if (clients.size() == 1)
                text += QCoreApplication::translate("TNmeaOutput", "1 client connecté");
            else
                text +=
                    QCoreApplication::translate("TNmeaOutput", "%1 clients connectés").arg(clients.size());
            if (refused > 0)
                text += QCoreApplication::translate("TNmeaOutput", " (%1 refusés : au plus %2 à la fois)")
                            .arg(refused)
                            .arg(current.maxClients);
            if (acceptBackoff > 0) text += QStringLiteral(" ; le système refuse de nouvelles connexions");
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
    if (applied && settings == current) return !settings.enabled || listener.IsListening();
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
    return !settings.enabled || listener.IsListening();
}

void TNmeaOutput::CloseAll() {
    listening.reset();
    listener.Close();
    retryTimer.stop();
    backoffTimer.stop();
    acceptBackoff = 0;
    refused = 0;
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
    if (!current.enabled || listener.IsListening()) {
        retryTimer.stop();
        return;
    }
    if (listener.Listen(current.allInterfaces, current.tcpPort)) {
        listening =
            std::make_unique<QSocketNotifier>(static_cast<qintptr>(listener.Handle()), QSocketNotifier::Read);
        connect(listening.get(), &QSocketNotifier::activated, this, &TNmeaOutput::Accept);
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

void TNmeaOutput::AcceptFailed(platform::TcpListener::Accept failure) {
    // Trying again at once would find the same lack of descriptors and keep the window's
    // thread busy for nothing: the waiting client is told no, and the port rests, longer each time.
    if (listening) listening->setEnabled(false);
    if (failure == platform::TcpListener::Accept::OutOfDescriptors) listener.RefuseOne();
    acceptBackoff =
        acceptBackoff == 0 ? FirstBackoffMilliseconds : std::min(acceptBackoff * 2, LastBackoffMilliseconds);
    platform::Log(std::string("NMEA output: accepting a client failed (") +
                  (failure == platform::TcpListener::Accept::OutOfDescriptors ? "no file descriptor left"
                                                                              : "system error") +
                  "); port " + std::to_string(current.tcpPort) + " rests " + std::to_string(acceptBackoff) +
                  " ms");
    backoffTimer.start(acceptBackoff);
    emit StatusChanged();
}

void TNmeaOutput::Accept() {
    // A few at a time: a flood of connections never keeps the window long.
    for (int n = 0; n < 64 && listener.IsListening(); ++n) {
        long long descriptor = -1;
        const platform::TcpListener::Accept result = listener.AcceptOne(descriptor);
        if (result == platform::TcpListener::Accept::NoneWaiting) break;
        if (result != platform::TcpListener::Accept::Client) {
            AcceptFailed(result);
            return;
        }
        if (acceptBackoff > 0) {
            acceptBackoff = 0;
            emit StatusChanged();
        }
        if (clients.size() >= static_cast<size_t>(std::max(1, current.maxClients))) {
            // Refused at once: a flood of connections never takes the descriptors the
            // program's own files need, nor the window's time.
            platform::TcpListener::CloseClient(descriptor);
            if (refused++ == 0)
                platform::Log("NMEA output: more than " + std::to_string(current.maxClients) +
                              " clients; the others are refused");
            emit StatusChanged();
            continue;
        }
        auto* socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(static_cast<qintptr>(descriptor))) {
            platform::TcpListener::CloseClient(descriptor);
            delete socket;
            continue;
        }
        auto client = std::make_unique<TClient>();
        client->socket = socket;
        client->sinceProgress.start();
        clients.push_back(std::move(client));
        mostClients = std::max(mostClients, clients.size());
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
    const auto it =
        std::find_if(clients.begin(), clients.end(), [socket](const auto& c) { return c->socket == socket; });
    if (it == clients.end()) return;
    clients.erase(it);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    // After many clients have gone, what their sockets held is given back to the system.
    if (mostClients >= 16 && clients.size() <= mostClients / 4) {
        mostClients = clients.size();
        QTimer::singleShot(0, this, [] { platform::ReleaseFreeMemory(); });
    }
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
