// A web server of the test's own on 127.0.0.1: it takes one request and
// answers with the pieces it was given, one piece every delayMs, then closes
// (or, when silent, accepts and never answers).
#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

class LoopbackServer : public QObject
{
public:
    QList<QByteArray> pieces;
    int delayMs = 0;
    bool silent = false;
    QByteArray request;
    int connections = 0;

    LoopbackServer()
    {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = server.nextPendingConnection()) {
                ++connections;
                s->setParent(this);
                connect(s, &QTcpSocket::readyRead, this, [this, s] {
                    request += s->readAll();
                    if (!silent && request.contains("\r\n\r\n") && !answering) {
                        answering = true;
                        sendNext(s, 0);
                    }
                });
            }
        });
    }
    quint16 port() const { return server.serverPort(); }

    // The body as the version file: three lines, a plain response around it.
    static QByteArray plain(const QByteArray &body)
    {
        return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size())
               + "\r\nConnection: close\r\n\r\n" + body;
    }

private:
    void sendNext(QTcpSocket *s, int i)
    {
        if (i >= pieces.size()) {
            s->disconnectFromHost();
            return;
        }
        s->write(pieces.at(i));
        s->flush();
        QTimer::singleShot(delayMs, s, [this, s, i] { sendNext(s, i + 1); });
    }

    QTcpServer server;
    bool answering = false;
};
