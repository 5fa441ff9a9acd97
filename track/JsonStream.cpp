#include "track/JsonStream.h"

#include <QCoreApplication>
#include <QIODevice>

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("JsonStream", text);
}

bool IsBare(int c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' ||
           c == '+' || c == '.';
}

int HexValue(int c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

JsonStream::JsonStream(QIODevice& device) : m_device(device), m_buffer(kBufferSize, '\0') {}

bool JsonStream::Fill() {
    m_offset += m_end;
    m_pos = m_end = 0;
    const qint64 n = m_device.read(m_buffer.data(), m_buffer.size());
    if (n <= 0)
        return false;
    m_end = static_cast<int>(n);
    return true;
}

JsonStream::Token JsonStream::Fail(const QString& why) {
    m_error = Tr("%1 at byte %2").arg(why).arg(Position());
    return Token::Error;
}

JsonStream::Token JsonStream::Next() {
    m_text.clear();
    int c;
    do {
        c = Get();
    } while (c == ' ' || c == '\n' || c == '\r' || c == '\t');
    switch (c) {
    case -1:
        return Token::End;
    case '{':
        return Token::ObjectBegin;
    case '}':
        return Token::ObjectEnd;
    case '[':
        return Token::ArrayBegin;
    case ']':
        return Token::ArrayEnd;
    case ':':
        return Token::Colon;
    case ',':
        return Token::Comma;
    case '"':
        return ReadString();
    default:
        return ReadBare(c);
    }
}

JsonStream::Token JsonStream::ReadString() {
    for (;;) {
        int c = Get();
        if (c == -1)
            return Fail(Tr("a text that does not end"));
        if (c == '"')
            return Token::String;
        if (c < 0x20)
            return Fail(Tr("a control character in a text"));
        if (c != '\\') {
            Append(static_cast<char>(c));
            continue;
        }
        c = Get();
        switch (c) {
        case '"':
        case '\\':
        case '/':
            Append(static_cast<char>(c));
            break;
        case 'b':
            Append('\b');
            break;
        case 'f':
            Append('\f');
            break;
        case 'n':
            Append('\n');
            break;
        case 'r':
            Append('\r');
            break;
        case 't':
            Append('\t');
            break;
        case 'u': {
            char32_t code = 0;
            for (int i = 0; i < 4; ++i) {
                const int digit = HexValue(Get());
                if (digit < 0)
                    return Fail(Tr("a broken \\u escape"));
                code = code * 16 + static_cast<char32_t>(digit);
            }
            // Halves of a pair are kept as they come; fromUtf8 later replaces what is unpaired.
            const QByteArray utf8 = QString(QChar(static_cast<char16_t>(code))).toUtf8();
            for (char b : utf8)
                Append(b);
            break;
        }
        default:
            return Fail(Tr("a broken escape in a text"));
        }
    }
}

JsonStream::Token JsonStream::ReadBare(int first) {
    if (!IsBare(first))
        return Fail(Tr("an unexpected character"));
    Append(static_cast<char>(first));
    // Peek without taking: the character after a bare word belongs to the next token.
    for (;;) {
        if (m_pos == m_end && !Fill())
            break;
        const int c = static_cast<unsigned char>(m_buffer[m_pos]);
        if (!IsBare(c))
            break;
        ++m_pos;
        Append(static_cast<char>(c));
        if (m_text.size() >= 64)
            return Fail(Tr("a value that is too long"));
    }
    if (m_text == "true" || m_text == "false" || m_text == "null")
        return Token::Literal;
    if (m_text == "NaN" || m_text == "Infinity" || m_text == "-Infinity")
        return Token::Number;
    bool ok = false;
    m_text.toDouble(&ok);
    const char c0 = m_text[0];
    if (!ok || !((c0 >= '0' && c0 <= '9') || c0 == '-'))
        return Fail(Tr("a value that is not JSON (%1)").arg(QString::fromLatin1(m_text)));
    return Token::Number;
}
