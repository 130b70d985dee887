// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTcpServer>

// A web server on 127.0.0.1 at a free port that answers every request with a small
// text/html page and records each request line ("GET /path?query HTTP/1.1").
class LoopbackHttpServer final : public QObject {
    Q_OBJECT
public:
    explicit LoopbackHttpServer(QObject* parent = nullptr);

    bool isListening() const { return server_.isListening(); }
    // "127.0.0.1:port", to be used as a host name in page addresses.
    QString hostAndPort() const;
    const QList<QByteArray>& requestLines() const { return requestLines_; }
    // The request targets of the GET requests whose path starts with prefix.
    QList<QByteArray> targetsStartingWith(const QByteArray& prefix) const;

private:
    void accept();

    QTcpServer server_;
    QList<QByteArray> requestLines_;
};
