#include "webview/JsString.h"

QString JsStringLiteral(const QString& text) {
    QString literal;
    literal.reserve(text.size() + 2);
    literal += QLatin1Char('\'');
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\'' || u == u'\\') {
            literal += QLatin1Char('\\');
            literal += c;
        } else if (u >= 0x20 && u < 0x7f) {
            literal += c;
        } else {
            // Control characters, line separators and everything beyond ASCII.
            literal +=
                QStringLiteral("\\u%1").arg(static_cast<unsigned>(u), 4, 16, QLatin1Char('0'));
        }
    }
    literal += QLatin1Char('\'');
    return literal;
}
