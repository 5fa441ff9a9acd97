#pragma once

#include <QString>
#include <QtGlobal>

class QNetworkReply;

// A download kept in memory must end: a server (or anything between) that keeps sending
// would grow the memory without bound, and one that trickles would never time out.
struct DownloadLimits {
    qint64 maxBytes = 4 * 1024 * 1024; // far beyond any real answer
    int maxMs = 15000;                 // the whole transfer, not the gap between bytes
};

// Aborts reply once it has brought more than limits.maxBytes or taken longer than
// limits.maxMs in all. Call it right after the request is sent.
void BoundDownload(QNetworkReply* reply, DownloadLimits limits = {});

// Why BoundDownload ended reply, for the user; empty when it did not.
QString BoundedDownloadFailure(const QNetworkReply* reply);
