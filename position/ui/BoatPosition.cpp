// SPDX-License-Identifier: GPL-3.0-or-later
#include "position/ui/BoatPosition.h"

#include <QCoreApplication>
#include <QNetworkDatagram>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "common/Json.h"
#include "position/Fixes.h"

namespace {

constexpr qsizetype MaxLine = 4096;  // no sentence or report is longer: more is not a line

// "host:port" as the settings keep it.
bool SplitAddress(const std::string& address, QString& host, quint16& port) {
    std::string name;
    int number = 0;
    if (!nmea::Destination(address, name, number)) return false;
    host = QString::fromStdString(name);
    port = static_cast<quint16>(number);
    return true;
}

}  // namespace

TBoatPosition::TBoatPosition(QObject* parent) : QObject(parent) {
    retry.setSingleShot(true);
    connect(&retry, &QTimer::timeout, this, &TBoatPosition::Connect);
    serialPoll.setInterval(100);
    connect(&serialPoll, &QTimer::timeout, this, &TBoatPosition::ReadSerial);
    poll.setInterval(2000);
    connect(&poll, &QTimer::timeout, this, &TBoatPosition::AskSignalK);
    state = QCoreApplication::translate("TBoatPosition", "Aucune source de position.");
}

void TBoatPosition::Stop() {
    retry.stop();
    poll.stop();
    serialPoll.stop();
    serial.reset();
    signalkStamp.clear();
    if (udp) udp->deleteLater();
    if (tcp) {
        tcp->disconnect(this);
        tcp->abort();
        tcp->deleteLater();
    }
    pending.clear();
}

void TBoatPosition::Apply(const nmea::TNmeaSettings& s) {
    const bool same =
        s.positionSource == settings.positionSource && s.positionAddress == settings.positionAddress &&
        s.fixedLatitude == settings.fixedLatitude && s.fixedLongitude == settings.fixedLongitude;
    settings = s;
    if (same && (udp || tcp || serial || s.positionSource == "none" || s.positionSource == "fixed")) return;
    Stop();
    last.reset();
    if (s.positionSource == "fixed") {
        last = position::TLatLon{s.fixedLatitude, s.fixedLongitude};
        since.start();
        SetState(QCoreApplication::translate("TBoatPosition", "Position fixe."));
        emit PositionChanged();
        return;
    }
    if (s.positionSource == "none") {
        SetState(QCoreApplication::translate("TBoatPosition", "Aucune source de position."));
        emit PositionChanged();
        return;
    }
    Connect();
    emit PositionChanged();
}

void TBoatPosition::Connect() {
    const std::string& source = settings.positionSource;
    if (source == "udp") {
        udp = new QUdpSocket(this);
        const quint16 port = static_cast<quint16>(std::atoi(settings.positionAddress.c_str()));
        // Beside the plotter programs that listen on the same port.
        if (!udp->bind(QHostAddress::AnyIPv4, port,
                       QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
            const QString why = udp->errorString();
            udp->deleteLater();
            Retry(QCoreApplication::translate("TBoatPosition", "Le port UDP %1 ne peut pas être ouvert (%2).")
                      .arg(port)
                      .arg(why));
            return;
        }
        connect(udp, &QUdpSocket::readyRead, this, &TBoatPosition::Read);
        SetState(QCoreApplication::translate("TBoatPosition",
                                             "À l’écoute sur le port UDP %1, en attente de phrases NMEA.")
                     .arg(port));
        return;
    }
    if (source == "serial") {
        OpenSerial();
        return;
    }
    QString host;
    quint16 port = 0;
    if (!SplitAddress(settings.positionAddress, host, port)) {
        SetState(
            QCoreApplication::translate("TBoatPosition", "Adresse de la source incomplète (hôte:port)."));
        return;
    }
    if (source == "signalk") {
        if (!http) http = new QNetworkAccessManager(this);
        signalkUrl = QStringLiteral("http://%1:%2/signalk/v1/api/vessels/self/navigation/position")
                         .arg(host)
                         .arg(port);
        SetState(QCoreApplication::translate("TBoatPosition", "Interrogation du serveur Signal K %1:%2…")
                     .arg(host)
                     .arg(port));
        AskSignalK();
        poll.start();
        return;
    }
    tcp = new QTcpSocket(this);
    connect(tcp, &QTcpSocket::readyRead, this, &TBoatPosition::Read);
    connect(tcp, &QTcpSocket::connected, this, [this, host, port] {
        // gpsd sends nothing until it is asked to.
        if (settings.positionSource == "gpsd") tcp->write("?WATCH={\"enable\":true,\"json\":true};\n");
        SetState(QCoreApplication::translate("TBoatPosition", "Connecté à %1:%2, en attente d’une position.")
                     .arg(host)
                     .arg(port));
    });
    connect(tcp, &QTcpSocket::errorOccurred, this, [this, host, port](QAbstractSocket::SocketError) {
        Retry(QCoreApplication::translate("TBoatPosition", "%1:%2 ne répond pas (%3).")
                  .arg(host)
                  .arg(port)
                  .arg(tcp ? tcp->errorString() : QString()));
    });
    connect(tcp, &QTcpSocket::disconnected, this, [this, host, port] {
        Retry(
            QCoreApplication::translate("TBoatPosition", "%1:%2 a fermé la connexion.").arg(host).arg(port));
    });
    SetState(QCoreApplication::translate("TBoatPosition", "Connexion à %1:%2…").arg(host).arg(port));
    tcp->connectToHost(host, port);  // the lookup and the connection run in the background
}

void TBoatPosition::OpenSerial() {
    std::string device;
    int baud = 0;
    if (!nmea::SerialAddress(settings.positionAddress, device, baud)) {
        SetState(QCoreApplication::translate("TBoatPosition",
                                             "Indiquez le port série, par exemple /dev/ttyUSB0 ou COM3."));
        return;
    }
    // A USB GPS speaks at 4800 baud (NMEA 0183) or 38400 (the faster receivers): without a
    // speed given, both are tried in turn until one gives sentences.
    serialAuto = baud == 0;
    serialBaud = baud ? baud : (serialTrial % 2 ? 38400 : 4800);
    serial = std::make_unique<platform::SerialPort>();
    const QString name = QString::fromStdString(device);
    switch (serial->OpenPort(device, serialBaud)) {
        case platform::SerialPort::Open::Done:
            break;
        case platform::SerialPort::Open::Missing:
            Retry(QCoreApplication::translate("TBoatPosition",
                                              "Le port série %1 n’existe pas (récepteur débranché ?).")
                      .arg(name));
            return;
        case platform::SerialPort::Open::Busy:
            Retry(QCoreApplication::translate("TBoatPosition",
                                              "Le port série %1 est occupé par un autre programme.")
                      .arg(name));
            return;
        case platform::SerialPort::Open::Failed:
            Retry(
                QCoreApplication::translate("TBoatPosition", "Le port série %1 ne peut pas être ouvert (%2).")
                    .arg(name, QString::fromStdString(serial->Error())));
            return;
    }
    serialHeard.start();
    serialPoll.start();
    SerialWaiting();
}

void TBoatPosition::SerialWaiting() {
    std::string device;
    int baud = 0;
    nmea::SerialAddress(settings.positionAddress, device, baud);
    SetState(QCoreApplication::translate("TBoatPosition",
                                         "Port série %1 ouvert à %2 bauds, en attente de phrases NMEA.")
                 .arg(QString::fromStdString(device))
                 .arg(serialBaud));
}

void TBoatPosition::ReadSerial() {
    if (!serial) return;
    char buffer[4096];
    for (int rounds = 0; rounds < 16; ++rounds) {  // a flood is read over several turns
        const long n = serial->Read(buffer, sizeof buffer);
        if (n < 0) {
            Retry(QCoreApplication::translate("TBoatPosition", "Le port série %1 ne répond plus (%2).")
                      .arg(QString::fromStdString(settings.positionAddress),
                           QString::fromStdString(serial->Error())));
            return;
        }
        if (n == 0) break;
        pending.append(buffer, n);
    }
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        const QByteArray line = pending.left(end).trimmed();
        pending.remove(0, end + 1);
        if (position::IsNmeaSentence(std::string_view(line.constData(), static_cast<size_t>(line.size())))) {
            if (state.contains(QStringLiteral("en attente de phrases")))
                SetState(QCoreApplication::translate("TBoatPosition",
                                                     "Port série %1 à %2 bauds : phrases NMEA reçues.")
                             .arg(QString::fromStdString(settings.positionAddress))
                             .arg(serialBaud));
            serialHeard.start();
        }
        Line(line);
        if (!serial) return;
    }
    if (pending.size() > MaxLine) pending.clear();
    if (serialAuto && serialHeard.elapsed() > SerialSpeedTrialMs) {
        // Nothing readable at this speed: the other one, on the same open port.
        serialTrial++;
        serialBaud = serialTrial % 2 ? 38400 : 4800;
        serial->SetBaud(serialBaud);
        pending.clear();
        serialHeard.start();
        SerialWaiting();
    }
}

void TBoatPosition::Retry(const QString& why) {
    if (retry.isActive()) return;
    serialPoll.stop();
    serial.reset();
    if (tcp) {
        tcp->disconnect(this);
        tcp->abort();
        tcp->deleteLater();
    }
    pending.clear();
    SetState(
        why +
        QCoreApplication::translate("TBoatPosition", " Nouvel essai dans %1 s.").arg(RetryAfterMs / 1000));
    retry.start(RetryAfterMs);
}

void TBoatPosition::Read() {
    if (udp) {
        while (udp->hasPendingDatagrams()) {
            const QByteArray data = udp->receiveDatagram(65536).data();
            for (const QByteArray& line : data.split('\n')) Line(line);
        }
    }
    if (tcp) {
        pending += tcp->readAll();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            Line(pending.left(end));
            pending.remove(0, end + 1);
        }
        if (pending.size() > MaxLine) pending.clear();  // no line: whatever it is, not ours
    }
}

void TBoatPosition::Line(const QByteArray& raw) {
    const QByteArray line = raw.trimmed();
    if (line.isEmpty() || line.size() > MaxLine) return;
    const std::string_view text(line.constData(), static_cast<size_t>(line.size()));
    const std::optional<position::TLatLon> fix =
        settings.positionSource == "gpsd" ? position::FixFromGpsd(text) : position::FixFromNmea(text);
    if (!fix) return;
    const bool first = !last;
    last = fix;
    since.start();
    if (first) SetState(QCoreApplication::translate("TBoatPosition", "Position reçue."));
    emit PositionChanged();
}

void TBoatPosition::AskSignalK() {
    QNetworkRequest request{QUrl(signalkUrl)};
    request.setTransferTimeout(5000);  // a server that hangs is a server away
    if (!settings.signalkToken.empty())
        request.setRawHeader("Authorization", "Bearer " + QByteArray::fromStdString(settings.signalkToken));
    QNetworkReply* reply = http->get(request);
    const QString asked = signalkUrl;
    connect(reply, &QNetworkReply::finished, this, [this, reply, asked] {
        reply->deleteLater();
        if (asked != signalkUrl || settings.positionSource != "signalk") return;  // another source since
        const QString where = QUrl(asked).authority();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status == 401 || status == 403) {
            SetState(settings.signalkToken.empty()
                         ? QCoreApplication::translate(
                               "TBoatPosition",
                               "Le serveur Signal K %1 demande une autorisation : cliquez « Demander "
                               "l’accès ».")
                               .arg(where)
                         : QCoreApplication::translate(
                               "TBoatPosition",
                               "Le serveur Signal K %1 refuse le jeton enregistré : cliquez « Demander "
                               "l’accès » à nouveau.")
                               .arg(where));
            return;
        }
        if (reply->error() != QNetworkReply::NoError) {
            SetState(
                reply->error() == QNetworkReply::ContentNotFoundError
                    ? QCoreApplication::translate("TBoatPosition",
                                                  "Le serveur Signal K %1 n’a pas de position du bateau.")
                          .arg(where)
                    : QStringLiteral("Le serveur Signal K %1 ne répond pas (%2) ; nouvel essai dans 2 s.")
                          .arg(where, reply->errorString()));
            return;
        }
        const QByteArray body = reply->read(65536);
        const std::string_view text(body.constData(), static_cast<size_t>(body.size()));
        const std::optional<position::TLatLon> fix = position::FixFromSignalK(text);
        // The server keeps its last value: only a new time is a new fix.
        json::TValue parsed;
        const QString stamp =
            json::Parse(text, parsed) ? QString::fromStdString(parsed.Text("timestamp")) : QString();
        if (!fix || (!stamp.isEmpty() && stamp == signalkStamp)) {
            SetState(QCoreApplication::translate(
                         "TBoatPosition", "Connecté au serveur Signal K %1, en attente d’une position.")
                         .arg(where));
            return;
        }
        signalkStamp = stamp;
        SetState(QCoreApplication::translate("TBoatPosition", "Connecté au serveur Signal K %1.").arg(where));
        last = fix;
        since.start();
        emit PositionChanged();
    });
}

void TBoatPosition::SetState(const QString& text) {
    if (text == state) return;
    state = text;
    emit StateChanged();
}

std::optional<position::TLatLon> TBoatPosition::Current() const {
    if (!last) return std::nullopt;
    if (settings.positionSource == "fixed") return last;
    return AgeSeconds() <= LostAfterSeconds ? last : std::nullopt;
}

qint64 TBoatPosition::AgeSeconds() const {
    return last && since.isValid() ? since.elapsed() / 1000 : -1;
}

QString TBoatPosition::SourceText() const {
    const std::string& s = settings.positionSource;
    if (s == "udp") return QStringLiteral("GPS (NMEA UDP)");
    if (s == "tcp") return QStringLiteral("GPS (NMEA TCP)");
    if (s == "gpsd") return QStringLiteral("gpsd");
    if (s == "signalk") return QCoreApplication::translate("TBoatPosition", "Signal K");
    if (s == "serial") return QCoreApplication::translate("TBoatPosition", "GPS (port série)");
    if (s == "fixed") return QCoreApplication::translate("TBoatPosition", "position fixe");
    return {};
}

QString TBoatPosition::StatusText() const {
    if (settings.positionSource == "none") return {};
    if (!last)
        return QCoreApplication::translate("TBoatPosition", "Position : en attente · %1").arg(SourceText());
    const QString at = QString::fromStdString(position::PositionText(*last));
    if (settings.positionSource == "fixed")
        return QCoreApplication::translate("TBoatPosition", "Position : %1 · %2").arg(at, SourceText());
    const qint64 age = AgeSeconds();
    const QString ago = age < 60 ? QCoreApplication::translate("TBoatPosition", "il y a %1 s").arg(age)
                        : age < 3600
                            ? QCoreApplication::translate("TBoatPosition", "il y a %1 min").arg(age / 60)
                            : QCoreApplication::translate("TBoatPosition", "il y a %1 h").arg(age / 3600);
    if (!Current())
        return QCoreApplication::translate("TBoatPosition", "Position perdue : %1 · %2 · %3")
            .arg(at, SourceText(), ago);
    return QCoreApplication::translate("TBoatPosition", "Position : %1 · %2 · %3").arg(at, SourceText(), ago);
}
