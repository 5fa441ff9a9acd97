#pragma once

#include <QByteArray>
#include <QList>

// The batch script's lines and journal records: fields separated by tabs, with
// backslash, tab, CR and LF inside a field written as \\ \t \r \n, so that no value
// can shift a field or end a line.
namespace BatchFields {

QByteArray Unescape(const QByteArray& field);
// Splits one line (without its line end) into its unescaped fields.
QList<QByteArray> Split(const QByteArray& line);

} // namespace BatchFields
