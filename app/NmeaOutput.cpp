#include "app/NmeaOutput.h"

#include <QHostInfo>
#include <QTcpSocket>

#include <algorithm>

TNmeaOutput::TNmeaOutput(QObject* parent) : QObject(parent) {
    connect(&server, &QTcpServer::newConnection, this, &TNmeaOutput::Accept);
}

TNmeaOutput::~TNmeaOutput() {
    for (QTcpSocket* c : clients) c->abort();
}

bool TNmeaOutput::Apply(const nmea::TNmeaSettings& settings) {
    if (applied && settings == current) return !settings.enabled || server.isListening();
    applied = true;
    current = settings;
    server.close();
    for (QTcpSocket* c : clients) {
        c->abort();
        c->deleteLater();
    }
    clients.clear();
    udpPort = 0;
    ++lookups;
    if (!settings.enabled) return true;
    if (!settings.udpHost.empty() && settings.udpPort > 0) {
        QHostAddress address(QString::fromStdString(settings.udpHost));
        if (address.isNull()) {
            const QHostInfo info = QHostInfo::fromName(QString::fromStdString(settings.udpHost));
            if (!info.addresses().isEmpty()) address = info.addresses().first();
        }
        if (!address.isNull()) {
            udpHost = address;
            udpPort = static_cast<quint16>(settings.udpPort);
        } else {
            // A name is looked up in the background: without a network that can take long.
            const quint16 port = static_cast<quint16>(settings.udpPort);
            const int generation = ++lookups;
            QHostInfo::lookupHost(QString::fromStdString(settings.udpHost), this, [this, port, generation](const QHostInfo& info) {
                if (generation != lookups || info.addresses().isEmpty() || !current.enabled) return;
                udpHost = info.addresses().first();
                udpPort = port;
            });
        }
    }
    return server.listen(settings.allInterfaces ? QHostAddress::Any : QHostAddress::LocalHost,
                         static_cast<quint16>(settings.tcpPort));
}

void TNmeaOutput::Accept() {
    while (QTcpSocket* client = server.nextPendingConnection()) {
        clients.push_back(client);
        // What a client sends is of no interest; only its going matters.
        connect(client, &QTcpSocket::readyRead, client, [client] { client->readAll(); });
        connect(client, &QTcpSocket::disconnected, this, [this, client] {
            clients.erase(std::remove(clients.begin(), clients.end(), client), clients.end());
            client->deleteLater();
        });
    }
}

void TNmeaOutput::Send(const std::string& sentence) {
    const QByteArray bytes = QByteArray::fromStdString(sentence);
    for (QTcpSocket* client : std::vector<QTcpSocket*>(clients)) {
        if (client->bytesToWrite() > MaxBacklog) {
            clients.erase(std::remove(clients.begin(), clients.end(), client), clients.end());
            client->abort();
            client->deleteLater();
            continue;
        }
        client->write(bytes);
        client->flush();  // to the system now, as far as it takes without waiting
    }
    if (udpPort != 0) udp.writeDatagram(bytes, udpHost, udpPort);
}

void TNmeaOutput::Send(const std::vector<std::string>& sentences) {
    for (const std::string& s : sentences) Send(s);
}
