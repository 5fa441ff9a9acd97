#include "pictures/BatchFields.h"

namespace BatchFields {

QByteArray Unescape(const QByteArray& field) {
    // Most fields hold nothing escaped; a RAW file's preview is a megabyte of them.
    if (!field.contains('\\'))
        return field;
    QByteArray text;
    text.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            text += field[i];
            continue;
        }
        const char c = field[++i];
        text += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
    return text;
}

QList<QByteArray> Split(const QByteArray& line) {
    QList<QByteArray> fields = line.split('\t');
    for (QByteArray& field : fields)
        field = Unescape(field);
    return fields;
}

} // namespace BatchFields
