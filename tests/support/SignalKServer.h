// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>

#include "support/TempFolder.h"

namespace testing_support {

// The Signal K server scripts/install-deps installs (Debian has none), on loopback: its
// NMEA 0183 input on a UDP port, its security on or off. With security on, the test is the
// administrator who approves the program's access requests.
class SignalKServer {
public:
    static constexpr const char* Admin = "admin";
    static constexpr const char* Password = "chart-table";

    // Empty where the server can be started; why not otherwise.
    static QString MissingReason() {
        return Node().isEmpty() || !QFileInfo::exists(Script())
                   ? QStringLiteral("no Signal K server here (scripts/install-deps installs it)")
                   : QString();
    }

    ~SignalKServer() { Stop(); }

    // Writes its configuration into folder and starts it; the port it answers on is Port().
    void Start(const TempFolder& temp, quint16 nmeaUdpPort, bool secure) {
        folder = temp.MakeFolder("signalk");
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port = probe.serverPort();
        probe.close();
        temp.WriteFile(
            "signalk/settings.json",
            QStringLiteral(
                R"({"interfaces": {"nmea-tcp": false, "tcp": false, "mdns": false, "appstore": false,
 "plugins": false, "webapps": false, "logfiles": false}, "mdns": false, "ssl": false, %2
 "pipedProviders": [{"id": "gps", "enabled": true, "pipeElements": [{"type": "providers/simple",
 "options": {"logging": false, "type": "NMEA0183", "subOptions": {"type": "udp", "port": %1}}}]}]})")
                .arg(nmeaUdpPort)
                .arg(secure ? R"("security": {"strategy": "./tokensecurity"},)" : "")
                .toStdString());
        if (secure)
            // Nothing is read without a token; the administrator's password is Password.
            temp.WriteFile(
                "signalk/security.json",
                R"({"allow_readonly": false, "expiration": "1d", "secretKey": "0123456789abcdef0123456789abcdef",
 "allowDeviceAccessRequests": true, "acls": [], "devices": [],
 "users": [{"username": "admin", "type": "admin",
 "password": "$2a$10$P3prDGwNTzrJPffAsQ9m/Ovpzkqip3CzOh3vcyOoAMeliwUwnxWB."}]})");
        Launch();
    }

    void Launch() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PORT", QString::number(port));
        environment.insert("SIGNALK_DISABLE_SERVER_UPDATES", "1");  // it never asks the registry
        environment.insert("SKIP_ADMINUI_VERSION_CHECK", "1");
        daemon.setProcessEnvironment(environment);
        daemon.start(Node(), {Script(), "-c", QString::fromStdString(folder)});
        daemon.waitForStarted(5000);
    }

    void Stop() {
        if (daemon.state() == QProcess::NotRunning) return;
        daemon.kill();
        daemon.waitForFinished(5000);
    }

    quint16 Port() const { return port; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port); }

    // One HTTP exchange, awaited: the reply's status and body (0 when none came).
    int Http(const QByteArray& verb, const QString& path, const QByteArray& body,
             QByteArray* answer = nullptr, const QByteArray& token = {}) {
        QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path)));
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
        if (!token.isEmpty()) request.setRawHeader("Authorization", "Bearer " + token);
        QNetworkReply* reply = http.sendCustomRequest(request, verb, body);
        if (!QTest::qWaitFor([&] { return reply->isFinished(); }, 10000)) reply->abort();
        if (answer) *answer = reply->readAll();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        reply->deleteLater();
        return status;
    }

    // The administrator's token, for what the server shows only to those logged in.
    QByteArray AdminToken() {
        QByteArray login;
        Http("POST", "/signalk/v1/auth/login",
             QStringLiteral(R"({"username": "%1", "password": "%2"})").arg(Admin, Password).toUtf8(), &login);
        return QJsonDocument::fromJson(login).object().value("token").toString().toUtf8();
    }

    // A value of the vessel's own as the REST API holds it ("notifications/navtex/518/ED04"):
    // its "value" member; empty when the server has none.
    QJsonObject SelfValue(const QString& path, const QByteArray& token = {}) {
        QByteArray body;
        if (Http("GET", "/signalk/v1/api/vessels/self/" + path, {}, &body, token) != 200) return {};
        return QJsonDocument::fromJson(body).object().value("value").toObject();
    }

    // The administrator approves every pending device request; how many there were.
    int ApproveAll() {
        const QByteArray token = AdminToken();
        QByteArray pending;
        Http("GET", "/skServer/security/access/requests", {}, &pending, token);
        int approved = 0;
        for (const QJsonValue& r : QJsonDocument::fromJson(pending).array()) {
            const QString id = r.toObject().value("accessIdentifier").toString();
            if (Http("PUT", "/skServer/security/access/requests/" + id + "/approved",
                     R"({"permissions": "readwrite", "config": {}, "expiration": "1d"})", nullptr,
                     token) == 200)
                ++approved;
        }
        return approved;
    }

private:
    static QString Node() { return QStandardPaths::findExecutable("node"); }
    static QString Script() {
        const QString cache = qEnvironmentVariable("XDG_CACHE_HOME", QDir::homePath() + "/.cache");
        return qEnvironmentVariable("ZEL2_SIGNALK", cache + "/zel2-signalk") +
               "/node_modules/signalk-server/bin/signalk-server";
    }

    QProcess daemon;
    QNetworkAccessManager http;
    std::string folder;
    quint16 port = 0;
};

}  // namespace testing_support
