#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>

// A plain HTTP server on 127.0.0.1 standing where the network would be: it answers each
// GET with what the test's handler gives for the path, and records the requests.
class LocalHttpServer : public QObject {
public:
    struct Reply {
        int status = 200;
        QByteArray type = "application/octet-stream";
        QByteArray body;
        QByteArray extraHeaders; // each line ending in "\r\n"
        // An answer without end: the body is sent again and again, as fast as it is taken
        // (gapMs 0) or once every gapMs, with no length said.
        bool endless = false;
        int gapMs = 0;
    };
    struct Request {
        QByteArray target; // path and query
        QByteArray headers;
        qint64 atMs = 0; // since the server was made
    };

    explicit LocalHttpServer(std::function<Reply(const QByteArray& target)> handler)
        : m_handler(std::move(handler)) {
        m_clock.start();
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                Serve(socket);
        });
    }

    bool Listen(quint16 port = 0) { return m_server.listen(QHostAddress::LocalHost, port); }
    // Stops listening and drops the connections kept open.
    void Close() {
        m_server.close();
        for (QTcpSocket* socket : findChildren<QTcpSocket*>())
            socket->abort();
    }
    quint16 Port() const { return m_server.serverPort(); }
    QByteArray Base() const { return "http://127.0.0.1:" + QByteArray::number(Port()) + "/"; }

    QList<Request> requests;

private:
    void Serve(QTcpSocket* socket) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
            for (int end = buffer.indexOf("\r\n\r\n"); end >= 0; end = buffer.indexOf("\r\n\r\n")) {
                const QByteArray head = buffer.left(end);
                buffer.remove(0, end + 4);
                const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
                const QByteArray target = words.size() > 1 ? words[1] : QByteArray();
                requests << Request{target, head, m_clock.elapsed()};
                const Reply reply = m_handler(target);
                if (reply.endless) {
                    Stream(socket, reply);
                    break;
                }
                socket->write("HTTP/1.1 " + QByteArray::number(reply.status) + " X\r\n" +
                              "Content-Type: " + reply.type + "\r\n" +
                              "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n" +
                              reply.extraHeaders + "\r\n" + reply.body);
            }
            socket->setProperty("buffer", buffer);
        });
    }

    void Stream(QTcpSocket* socket, const Reply& reply) {
        socket->write("HTTP/1.1 " + QByteArray::number(reply.status) + " X\r\nContent-Type: " +
                      reply.type + "\r\nConnection: close\r\n" + reply.extraHeaders + "\r\n");
        const QByteArray body = reply.body;
        if (reply.gapMs > 0) {
            auto* timer = new QTimer(socket);
            connect(timer, &QTimer::timeout, socket, [socket, body] { socket->write(body); });
            timer->start(reply.gapMs);
            return;
        }
        const auto more = [socket, body] {
            if (socket->bytesToWrite() < 4 * body.size())
                socket->write(body);
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
        more();
    }

    QTcpServer m_server;
    QElapsedTimer m_clock;
    std::function<Reply(const QByteArray&)> m_handler;
};
