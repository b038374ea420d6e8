#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace velquor::testing {

// A tiny HTTP server on 127.0.0.1 that answers every request with one prepared response, or
// never answers when the response is empty. It counts the requests it has read completely.
class LoopbackHttpServer : public QObject {
public:
    explicit LoopbackHttpServer(QByteArray response = {}) : response_(std::move(response)) {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) serve(socket);
        });
    }

    QUrl address(const QString& path = QStringLiteral("/releases/latest.json")) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
    }
    int requests() const { return requests_; }
    const QByteArray& lastRequest() const { return lastRequest_; }

    static QByteArray response(int status, const QByteArray& reason, const QByteArray& body) {
        return "HTTP/1.1 " + QByteArray::number(status) + " " + reason +
               "\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: " +
               QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }

private:
    void serve(QTcpSocket* socket) {
        socket->setParent(this);
        auto* request = new QByteArray;
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
            request->append(socket->readAll());
            if (!request->contains("\r\n\r\n")) return;
            ++requests_;
            lastRequest_ = *request;
            if (response_.isEmpty()) return;
            socket->write(response_);
            socket->disconnectFromHost();
        });
        connect(socket, &QObject::destroyed, [request] { delete request; });
    }

    QTcpServer server_;
    QByteArray response_;
    QByteArray lastRequest_;
    int requests_ = 0;
};

}  // namespace velquor::testing
