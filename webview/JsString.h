#pragma once

#include <QString>

// text as a JavaScript string literal in single quotes. Quotes, backslashes and every
// character outside printable ASCII are escaped, so the literal can end nowhere but at
// its closing quote, whatever text holds.
QString JsStringLiteral(const QString& text);
