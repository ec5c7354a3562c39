// SPDX-License-Identifier: GPL-3.0-or-later
#include "signalk/ui/SignalKAccess.h"

#include <QCoreApplication>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "signalk/Access.h"

namespace {

constexpr qint64 MaxReply = 65536;

// What the server's administrator reads in its list of requests.
constexpr const char* Description = "ZEL2 NAVTEX";

}  // namespace

TSignalKAccess::TSignalKAccess(QObject* parent) : QObject(parent) {
    poll.setInterval(AskEveryMs);
    connect(&poll, &QTimer::timeout, this, &TSignalKAccess::Ask);
}

void TSignalKAccess::Request(const QString& where, const QString& id) {
    ++generation;
    poll.stop();
    hostPort = where;
    clientId = id;
    href.clear();
    asking = true;
    SetState(QCoreApplication::translate("TSignalKAccess", "Demande d’accès envoyée au serveur Signal K %1…")
                 .arg(where));
    QNetworkRequest request(QUrl(QStringLiteral("http://%1/signalk/v1/access/requests").arg(where)));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setTransferTimeout(10000);
    const std::string body = signalk::AccessRequestBody(id.toStdString(), Description);
    if (!http) http = new QNetworkAccessManager(this);
    QNetworkReply* reply = http->post(request, QByteArray::fromStdString(body));
    const int asked = generation;
    connect(reply, &QNetworkReply::finished, this, [this, reply, asked] {
        reply->deleteLater();
        if (asked != generation) return;
        asking = false;
        Read(reply->read(MaxReply), reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
             reply->error() == QNetworkReply::NoError ? QString() : reply->errorString());
    });
}

void TSignalKAccess::Ask() {
    if (asking || href.isEmpty()) return;
    asking = true;
    QNetworkRequest request(QUrl(QStringLiteral("http://%1%2").arg(hostPort, href)));
    request.setTransferTimeout(10000);
    QNetworkReply* reply = http->get(request);
    const int asked = generation;
    connect(reply, &QNetworkReply::finished, this, [this, reply, asked] {
        reply->deleteLater();
        if (asked != generation) return;
        asking = false;
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status == 0) {
            // The server is away for a moment: the request waits on it.
            SetState(
                QStringLiteral("Le serveur Signal K %1 ne répond pas ; la demande d’accès reste en attente.")
                    .arg(hostPort));
            return;
        }
        Read(reply->read(MaxReply), status,
             reply->error() == QNetworkReply::NoError ? QString() : reply->errorString());
    });
}

void TSignalKAccess::Read(const QByteArray& body, int status, const QString& error) {
    const signalk::TAccessReply reply =
        signalk::ReadAccessReply(std::string_view(body.constData(), static_cast<size_t>(body.size())));
    switch (reply.state) {
        case signalk::TAccessReply::State::Pending:
            href = QString::fromStdString(reply.href);
            SetState(QCoreApplication::translate(
                         "TSignalKAccess",
                         "Demande d’accès en attente : approuvez « %1 » dans l’administration du "
                         "serveur Signal K %2 (Security › Access Requests).")
                         .arg(QString::fromLatin1(Description), hostPort));
            if (!poll.isActive()) poll.start();
            return;
        case signalk::TAccessReply::State::Approved:
            poll.stop();
            SetState(
                QCoreApplication::translate("TSignalKAccess", "Accès accordé par le serveur Signal K %1.")
                    .arg(hostPort));
            emit Approved(clientId, QString::fromStdString(reply.token));
            return;
        case signalk::TAccessReply::State::Denied:
            poll.stop();
            SetState(QCoreApplication::translate("TSignalKAccess", "Le serveur Signal K %1 a refusé l’accès.")
                         .arg(hostPort));
            return;
        case signalk::TAccessReply::State::Failed:
            break;
    }
    poll.stop();
    const QString why = !reply.message.empty() ? QString::fromStdString(reply.message)
                        : !error.isEmpty()
                            ? error
                            : QCoreApplication::translate("TSignalKAccess", "réponse %1").arg(status);
    SetState(status == 404 ? QCoreApplication::translate(
                                 "TSignalKAccess",
                                 "Le serveur Signal K %1 n’a pas de sécurité à franchir : aucun accès n’est "
                                 "à demander.")
                                 .arg(hostPort)
                           : QCoreApplication::translate(
                                 "TSignalKAccess", "La demande d’accès au serveur Signal K %1 a échoué (%2).")
                                 .arg(hostPort, why));
}

void TSignalKAccess::SetState(const QString& text) {
    if (text == state) return;
    state = text;
    emit StateChanged();
}
