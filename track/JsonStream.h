#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Reads JSON token by token from a device through a fixed buffer, so that files larger
// than memory can be read. Strings are unescaped to UTF-8 and cut at kMaxString bytes (the
// rest is read and dropped). Bare NaN and Infinity, which some writers emit, are numbers.
class JsonStream {
public:
    enum class Token {
        ObjectBegin,
        ObjectEnd,
        ArrayBegin,
        ArrayEnd,
        Colon,
        Comma,
        String,
        Number,  // Text() holds it as written
        Literal, // true, false, null
        End,
        Error,
    };
    static constexpr int kBufferSize = 1 << 16;
    static constexpr int kMaxString = 4096;

    explicit JsonStream(QIODevice& device);

    Token Next();
    const QByteArray& Text() const { return m_text; }
    // Bytes taken from the device so far.
    qint64 Position() const { return m_offset + m_pos; }
    QString Error() const { return m_error; }

private:
    int Get() {
        if (m_pos == m_end && !Fill())
            return -1;
        return static_cast<unsigned char>(m_buffer[m_pos++]);
    }
    bool Fill();
    Token Fail(const QString& why);
    Token ReadString();
    Token ReadBare(int first);
    void Append(char c) {
        if (m_text.size() < kMaxString)
            m_text.append(c);
    }

    QIODevice& m_device;
    QByteArray m_buffer;
    int m_pos = 0;
    int m_end = 0;
    qint64 m_offset = 0; // device position of m_buffer[0]
    QByteArray m_text;
    QString m_error;
};
