#pragma once

#include <QLoggingCategory>

// Diagnostic texts go to the logging category "kartavo.trace", which is off unless the
// user turns it on, e.g. QT_LOGGING_RULES="kartavo.trace.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcTrace)

void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
