#include "places/BoundedDownload.h"

#include <QCoreApplication>
#include <QNetworkReply>
#include <QTimer>

namespace {

constexpr char kFailure[] = "kartavoDownloadFailure";

void End(QNetworkReply* reply, const QString& reason) {
    if (reply->isFinished() || !reply->property(kFailure).toString().isEmpty())
        return;
    reply->setProperty(kFailure, reason); // before abort(), which reports at once
    reply->abort();
}

} // namespace

void BoundDownload(QNetworkReply* reply, DownloadLimits limits) {
    if (!reply)
        return;
    const QString tooLarge =
        QCoreApplication::translate("BoundedDownload", "the answer was larger than %1 MiB")
            .arg(static_cast<double>(limits.maxBytes) / (1024 * 1024), 0, 'g', 3);
    const auto checkSize = [reply, limits, tooLarge] {
        const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
        if (reply->bytesAvailable() > limits.maxBytes ||
            (announced.isValid() && announced.toLongLong() > limits.maxBytes))
            End(reply, tooLarge);
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, checkSize);
    QObject::connect(reply, &QNetworkReply::readyRead, reply, checkSize);

    auto* clock = new QTimer(reply);
    clock->setSingleShot(true);
    const QString tooSlow =
        QCoreApplication::translate("BoundedDownload", "no full answer came within %1 s")
            .arg(static_cast<double>(limits.maxMs) / 1000, 0, 'g', 3);
    QObject::connect(clock, &QTimer::timeout, reply, [reply, tooSlow] { End(reply, tooSlow); });
    clock->start(limits.maxMs);
}

QString BoundedDownloadFailure(const QNetworkReply* reply) {
    return reply ? reply->property(kFailure).toString() : QString();
}
