// SPDX-License-Identifier: MIT
#include "tests/gui/support/loopbackhttpserver.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace {

const QByteArray kPage = "<!DOCTYPE html><html><head><title>Lookup</title></head>"
                         "<body><p>Looked up.</p><input id=field autofocus></body></html>";

} // namespace

LoopbackHttpServer::LoopbackHttpServer(QObject* parent)
    : QObject(parent)
{
    connect(&server_, &QTcpServer::newConnection, this, &LoopbackHttpServer::accept);
    server_.listen(QHostAddress::LocalHost, 0);
}

QString LoopbackHttpServer::hostAndPort() const
{
    return QStringLiteral("127.0.0.1:%1").arg(server_.serverPort());
}

QList<QByteArray> LoopbackHttpServer::targetsStartingWith(const QByteArray& prefix) const
{
    QList<QByteArray> targets;
    for (const QByteArray& line : requestLines_) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 3 && parts[0] == "GET" && parts[1].startsWith(prefix))
            targets << parts[1];
    }
    return targets;
}

void LoopbackHttpServer::accept()
{
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            // One request per connection: read up to the blank line, answer, close.
            QByteArray received = socket->property("received").toByteArray() + socket->readAll();
            socket->setProperty("received", received);
            const qsizetype headerEnd = received.indexOf("\r\n\r\n");
            if (headerEnd < 0 || socket->property("answered").toBool())
                return;
            socket->setProperty("answered", true);
            requestLines_ << received.left(received.indexOf("\r\n"));
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
                + QByteArray::number(kPage.size()) + "\r\nConnection: close\r\n\r\n" + kPage);
            socket->disconnectFromHost();
        });
    }
}
