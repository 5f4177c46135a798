#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

namespace norvale::test {

// A small HTTP/1.1 server on 127.0.0.1 for download tests: each path answers with a
// configured status, body and headers, a redirect, or a body that stalls after its
// first bytes. Every response closes its connection. Runs in the test's event loop.
class THttpServer : public QObject {
    Q_OBJECT

public:
    struct TRoute {
        int status = 200;
        QByteArray body;
        QByteArray location;  // sent as Location (for a redirect status)
        int stallAfter = -1;  // send this many body bytes, then nothing more
        bool announceLength = true;
    };

    THttpServer();
    ~THttpServer() override;

    quint16 Port() const { return server_.serverPort(); }
    // "http://127.0.0.1:PORT" followed by path.
    QString Url(const QString& path = QString()) const;
    void Route(const QString& path, TRoute route) { routes_.insert(path, std::move(route)); }
    void Route(const QString& path, const QByteArray& body) {
        routes_.insert(path, TRoute{200, body, {}, -1, true});
    }
    // Stops listening: the port then refuses connections.
    void Close();

    QStringList requests;            // paths, in order
    QList<QByteArray> requestHeads;  // the request lines and headers, in order

signals:
    // A stalled route has sent its first bytes and waits.
    void Stalled(const QString& path);

private:
    void Serve(QTcpSocket* socket);

    QHash<QString, TRoute> routes_;
    QHash<QTcpSocket*, QByteArray> pending_;
    // Last, so that it goes first: its sockets still find pending_ when they go.
    QTcpServer server_;
};

}  // namespace norvale::test
