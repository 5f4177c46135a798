#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <string>

#include "util/ENorvaleError.h"

class QNetworkReply;

namespace norvale {

// A download failed: no connection, an error status, a refused redirect, too large.
class EDownloadError : public ENorvaleError {
public:
    using ENorvaleError::ENorvaleError;
};

// HTTP GET over Qt Network for the update run. A call waits in a local event loop, so
// windows stay responsive exactly as long as it waits; there are no threads. Usable
// without widgets (norvale-cli).
class TDownloader : public QObject {
    Q_OBJECT

public:
    explicit TDownloader(QObject* parent = nullptr);

    struct TResult {
        QByteArray body;
        bool cancelled = false;  // Abort() ended it; body is then incomplete
    };

    // GETs url (http or https; redirects followed unless they lead from https to http).
    // A body that grows past maxBytes, or announces more, ends the transfer with an
    // error that says so; what names the text for that message ("the list").
    TResult Get(const std::string& url, qint64 maxBytes, const std::string& what);

    // Ends the transfer in flight at once, even while no data arrives.
    void Abort();
    bool Busy() const { return !reply_.isNull(); }

signals:
    // The response body begins, with its announced size (0 when not announced).
    void WorkBegin(qint64 size);
    // Bytes of this body received so far.
    void Work(qint64 count);
    // The body arrived whole.
    void WorkEnd();

private:
    QNetworkAccessManager manager_;
    QPointer<QNetworkReply> reply_;
    bool aborted_ = false;
};

// The request headers every download sends.
constexpr const char* kDownloadAccept = "text/html, */*";
constexpr const char* kDownloadUserAgent = "Mozilla/3.0 (compatible; Indy Library)";
constexpr const char* kDownloadContentType = "text/html";

}  // namespace norvale
