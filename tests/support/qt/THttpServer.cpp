#include "THttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <stdexcept>

namespace norvale::test {

namespace {
QByteArray Reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}
}  // namespace

THttpServer::THttpServer() {
    if (!server_.listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("cannot listen on 127.0.0.1");
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QObject::destroyed, this, [this, socket] { pending_.remove(socket); });
        }
    });
}

THttpServer::~THttpServer() = default;

QString THttpServer::Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(Port()).arg(path);
}

void THttpServer::Close() {
    server_.close();
}

void THttpServer::Serve(QTcpSocket* socket) {
    QByteArray& head = pending_[socket];
    head += socket->readAll();
    const qsizetype end = head.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QByteArray request = head.left(end);
    head.clear();
    requestHeads << request;
    const QList<QByteArray> parts = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = parts.size() >= 2 ? QString::fromLatin1(parts[1]) : QString();
    requests << path;

    const auto found = routes_.constFind(path);
    const TRoute route =
        found != routes_.constEnd() ? *found : TRoute{404, "not here", {}, -1, true};
    QByteArray response =
        "HTTP/1.1 " + QByteArray::number(route.status) + " " + Reason(route.status) + "\r\n";
    response += "Connection: close\r\nContent-Type: application/octet-stream\r\n";
    if (!route.location.isEmpty())
        response += "Location: " + route.location + "\r\n";
    if (route.announceLength)
        response += "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n";
    response += "\r\n";
    if (route.stallAfter >= 0) {
        socket->write(response + route.body.left(route.stallAfter));
        socket->flush();
        emit Stalled(path);
        return;
    }
    socket->write(response + route.body);
    socket->disconnectFromHost();
}

}  // namespace norvale::test
