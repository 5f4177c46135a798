#include "update/qt/TDownloader.h"

#include <QEventLoop>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace norvale {

namespace {
std::string SizeText(qint64 bytes) {
    if (bytes % (qint64(1) << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    if (bytes % 1024 == 0)
        return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}
}  // namespace

TDownloader::TDownloader(QObject* parent) : QObject(parent) {
    manager_.setProxy(QNetworkProxy::NoProxy);
    manager_.setCookieJar(new QNetworkCookieJar(&manager_));
    manager_.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

void TDownloader::Abort() {
    aborted_ = true;
    if (reply_)
        reply_->abort();
}

TDownloader::TResult TDownloader::Get(const std::string& url, qint64 maxBytes,
                                      const std::string& what) {
    // Tolerant parsing percent-encodes what an address may not hold as it stands.
    const QUrl address(QString::fromLatin1(url.data(), static_cast<qsizetype>(url.size())),
                       QUrl::TolerantMode);
    QNetworkRequest request(address);
    request.setRawHeader("Accept", kDownloadAccept);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray(kDownloadUserAgent));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray(kDownloadContentType));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(0);  // a slow list is still a list; Cancel ends a stalled one

    aborted_ = false;
    TResult result;
    std::string tooLarge;
    bool begun = false;
    QNetworkReply* reply = manager_.get(request);
    reply_ = reply;
    const auto refuse = [&] {
        tooLarge = "The " + what + " at \"" + url + "\" is larger than " + SizeText(maxBytes) + ".";
        reply->abort();
    };
    const auto begin = [&] {
        if (begun)
            return;
        begun = true;
        const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        emit WorkBegin(announced > 0 ? announced : 0);
    };
    connect(reply, &QNetworkReply::readyRead, this, [&] {
        if (!tooLarge.empty())
            return;
        begin();
        result.body += reply->readAll();
        if (result.body.size() > maxBytes)
            refuse();
    });
    connect(reply, &QNetworkReply::downloadProgress, this, [&](qint64 received, qint64 total) {
        if (!tooLarge.empty() || !begun)
            return;
        if (total > maxBytes) {
            refuse();
            return;
        }
        emit Work(received);
    });
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::AllEvents);
    // The handlers above hold this call's locals; nothing may reach them after it.
    disconnect(reply, nullptr, this, nullptr);
    reply_.clear();
    reply->deleteLater();

    if (aborted_) {
        result.cancelled = true;
        return result;
    }
    if (!tooLarge.empty())
        throw EDownloadError(tooLarge);
    if (reply->error() != QNetworkReply::NoError) {
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        std::string reason;
        if (status.isValid()) {
            reason = std::to_string(status.toInt()) + " " +
                     reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute)
                         .toString()
                         .toStdString();
        } else {
            reason = reply->errorString().toStdString();
        }
        throw EDownloadError("Cannot download \"" + url + "\": " + reason + ".");
    }
    begin();
    result.body += reply->readAll();
    if (result.body.size() > maxBytes) {
        tooLarge = "The " + what + " at \"" + url + "\" is larger than " + SizeText(maxBytes) + ".";
        throw EDownloadError(tooLarge);
    }
    emit WorkEnd();
    return result;
}

}  // namespace norvale
