#include "QtDownloader.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>

namespace kwizmar {

namespace {

constexpr qint64 kMaxBytes = 64 * 1024;

} // namespace

bool TQtDownloader::Download(const std::string& address, const std::string& localFile) {
    const QString local = QString::fromStdString(localFile);
    QFile::remove(local);

    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(QString::fromStdString(address)));
    request.setTransferTimeout(timeoutMs_);
    QNetworkReply* reply = manager.get(request);

    QByteArray body;
    bool tooLarge = false;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        body += reply->readAll();
        if (body.size() > kMaxBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs_);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    body += reply->readAll();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool ok = reply->error() == QNetworkReply::NoError && !tooLarge &&
                    body.size() <= kMaxBytes && (status == 0 || status == 200);
    if (!ok)
        return false;
    QSaveFile file(local);
    return file.open(QIODevice::WriteOnly) && file.write(body) == body.size() && file.commit();
}

} // namespace kwizmar
