// SPDX-License-Identifier: GPL-3.0-or-later
#include "position/ui/BoatPosition.h"

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
    poll.setInterval(2000);
    connect(&poll, &QTimer::timeout, this, &TBoatPosition::AskSignalK);
    state = QStringLiteral("Aucune source de position.");
}

void TBoatPosition::Stop() {
    retry.stop();
    poll.stop();
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
    if (same && (udp || tcp || s.positionSource == "none" || s.positionSource == "fixed")) return;
    Stop();
    last.reset();
    if (s.positionSource == "fixed") {
        last = position::TLatLon{s.fixedLatitude, s.fixedLongitude};
        since.start();
        SetState(QStringLiteral("Position fixe."));
        emit PositionChanged();
        return;
    }
    if (s.positionSource == "none") {
        SetState(QStringLiteral("Aucune source de position."));
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
            Retry(QStringLiteral("Le port UDP %1 ne peut pas être ouvert (%2).").arg(port).arg(why));
            return;
        }
        connect(udp, &QUdpSocket::readyRead, this, &TBoatPosition::Read);
        SetState(QStringLiteral("À l’écoute sur le port UDP %1, en attente de phrases NMEA.").arg(port));
        return;
    }
    QString host;
    quint16 port = 0;
    if (!SplitAddress(settings.positionAddress, host, port)) {
        SetState(QStringLiteral("Adresse de la source incomplète (hôte:port)."));
        return;
    }
    if (source == "signalk") {
        if (!http) http = new QNetworkAccessManager(this);
        signalkUrl = QStringLiteral("http://%1:%2/signalk/v1/api/vessels/self/navigation/position")
                         .arg(host)
                         .arg(port);
        SetState(QStringLiteral("Interrogation du serveur Signal K %1:%2…").arg(host).arg(port));
        AskSignalK();
        poll.start();
        return;
    }
    tcp = new QTcpSocket(this);
    connect(tcp, &QTcpSocket::readyRead, this, &TBoatPosition::Read);
    connect(tcp, &QTcpSocket::connected, this, [this, host, port] {
        // gpsd sends nothing until it is asked to.
        if (settings.positionSource == "gpsd") tcp->write("?WATCH={\"enable\":true,\"json\":true};\n");
        SetState(QStringLiteral("Connecté à %1:%2, en attente d’une position.").arg(host).arg(port));
    });
    connect(tcp, &QTcpSocket::errorOccurred, this, [this, host, port](QAbstractSocket::SocketError) {
        Retry(QStringLiteral("%1:%2 ne répond pas (%3).")
                  .arg(host)
                  .arg(port)
                  .arg(tcp ? tcp->errorString() : QString()));
    });
    connect(tcp, &QTcpSocket::disconnected, this,
            [this, host, port] { Retry(QStringLiteral("%1:%2 a fermé la connexion.").arg(host).arg(port)); });
    SetState(QStringLiteral("Connexion à %1:%2…").arg(host).arg(port));
    tcp->connectToHost(host, port);  // the lookup and the connection run in the background
}

void TBoatPosition::Retry(const QString& why) {
    if (retry.isActive()) return;
    if (tcp) {
        tcp->disconnect(this);
        tcp->abort();
        tcp->deleteLater();
    }
    pending.clear();
    SetState(why + QStringLiteral(" Nouvel essai dans %1 s.").arg(RetryAfterMs / 1000));
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
    if (first) SetState(QStringLiteral("Position reçue."));
    emit PositionChanged();
}

void TBoatPosition::AskSignalK() {
    QNetworkRequest request{QUrl(signalkUrl)};
    request.setTransferTimeout(5000);  // a server that hangs is a server away
    QNetworkReply* reply = http->get(request);
    const QString asked = signalkUrl;
    connect(reply, &QNetworkReply::finished, this, [this, reply, asked] {
        reply->deleteLater();
        if (asked != signalkUrl || settings.positionSource != "signalk") return;  // another source since
        const QString where = QUrl(asked).authority();
        if (reply->error() != QNetworkReply::NoError) {
            SetState(
                reply->error() == QNetworkReply::ContentNotFoundError
                    ? QStringLiteral("Le serveur Signal K %1 n’a pas de position du bateau.").arg(where)
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
            SetState(
                QStringLiteral("Connecté au serveur Signal K %1, en attente d’une position.").arg(where));
            return;
        }
        signalkStamp = stamp;
        SetState(QStringLiteral("Connecté au serveur Signal K %1.").arg(where));
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
    if (s == "signalk") return QStringLiteral("Signal K");
    if (s == "fixed") return QStringLiteral("position fixe");
    return {};
}

QString TBoatPosition::StatusText() const {
    if (settings.positionSource == "none") return {};
    if (!last) return QStringLiteral("Position : en attente · %1").arg(SourceText());
    const QString at = QString::fromStdString(position::PositionText(*last));
    if (settings.positionSource == "fixed") return QStringLiteral("Position : %1 · %2").arg(at, SourceText());
    const qint64 age = AgeSeconds();
    const QString ago = age < 60     ? QStringLiteral("il y a %1 s").arg(age)
                        : age < 3600 ? QStringLiteral("il y a %1 min").arg(age / 60)
                                     : QStringLiteral("il y a %1 h").arg(age / 3600);
    if (!Current()) return QStringLiteral("Position perdue : %1 · %2 · %3").arg(at, SourceText(), ago);
    return QStringLiteral("Position : %1 · %2 · %3").arg(at, SourceText(), ago);
}
