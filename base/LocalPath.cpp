#include "base/LocalPath.h"

#include <QUrl>

QByteArray LocalPathBytes(const QUrl& url) {
    if (!url.isLocalFile())
        return QByteArray();
    // Drops from other machines' shares name a host: those are not local paths.
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
        return QByteArray();
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

QUrl FileUrl(const QByteArray& path) {
    // The same form QUrl::fromLocalFile gives for UTF-8 names; other bytes encoded too.
    return QUrl::fromEncoded("file://" + path.toPercentEncoding("/!$&'()*+,;=:@~"),
                             QUrl::StrictMode);
}

namespace {

// Length of the valid UTF-8 sequence at text[i], or 0 when none starts there.
qsizetype Utf8SequenceLength(const QByteArray& text, qsizetype i) {
    const auto byte = [&text](qsizetype at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    qsizetype length = lead < 0x80                    ? 1
                       : lead >= 0xC2 && lead <= 0xDF ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (qsizetype k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8 either.
    const unsigned char second = length > 1 ? byte(i + 1) : 0;
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

} // namespace

QString ReadablePath(const QByteArray& path) {
    QString text;
    for (qsizetype i = 0; i < path.size();) {
        const qsizetype length = Utf8SequenceLength(path, i);
        if (length > 0) {
            text += QString::fromUtf8(path.constData() + i, length);
            i += length;
        } else {
            text += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(path[i]), 2, 16,
                                                QLatin1Char('0'));
            ++i;
        }
    }
    return text;
}
