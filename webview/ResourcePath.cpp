#include "webview/ResourcePath.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QUrl>

namespace {

const QString kRoot = QStringLiteral(":/web");

} // namespace

QString ProgramFileName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QString ProgramHostFor(const QString& fileName) {
    QString host;
    host.reserve(fileName.size());
    for (const QChar c : fileName) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                           c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char('.');
        host += plain ? c : QLatin1Char('-');
    }
    // Labels between dots, none empty, none starting or ending with "-".
    QStringList labels;
    for (const QString& label : host.split(QLatin1Char('.'), Qt::SkipEmptyParts)) {
        qsizetype first = 0, last = label.size();
        while (first < last && label[first] == QLatin1Char('-'))
            ++first;
        while (last > first && label[last - 1] == QLatin1Char('-'))
            --last;
        if (last > first)
            labels << label.mid(first, last - first);
    }
    return labels.isEmpty() ? QStringLiteral("kartavo") : labels.join(QLatin1Char('.'));
}

QString ResourceAddress(const QString& page) {
    const QString host = ProgramHostFor(ProgramFileName());
    if (host.isEmpty())
        return QString();
    return QStringLiteral("res://%1/%2").arg(host, page);
}

bool IsProgramHost(const QString& host) {
    // Compare with the host the parser makes of our own name (lower case, IDNA).
    const QString own = QUrl(ResourceAddress(QString())).host();
    return !own.isEmpty() && own.compare(host, Qt::CaseInsensitive) == 0;
}

QString FindWebResource(const QString& urlPath) {
    // The resources never change: their names are listed once, by the lower-case path
    // an address may give them in any case.
    static const QHash<QString, QString> files = [] {
        QHash<QString, QString> byLowerPath;
        QDirIterator it(kRoot, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            byLowerPath.insert(path.mid(kRoot.size()).toLower(), path);
        }
        return byLowerPath;
    }();
    const QStringList parts = urlPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return QString();
    QString key;
    for (const QString& part : parts) {
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            return QString();
        key += QLatin1Char('/') + part.toLower();
    }
    return files.value(key);
}

QByteArray WebResourceMimeType(const QString& fileName) {
    static const struct {
        const char* suffix;
        const char* type;
    } kTypes[] = {
        {"htm", "text/html"},
        {"html", "text/html"},
        {"jpg", "image/jpeg"},
        {"jpeg", "image/jpeg"},
        {"gif", "image/gif"},
        {"png", "image/png"},
        {"js", "application/javascript"},
        {"css", "text/css"},
    };
    const QString suffix = QFileInfo(fileName).suffix();
    for (const auto& known : kTypes) {
        if (suffix.compare(QLatin1String(known.suffix), Qt::CaseInsensitive) == 0)
            return QByteArray(known.type);
    }
    return QByteArray();
}
