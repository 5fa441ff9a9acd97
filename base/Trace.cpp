#include "base/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

Q_LOGGING_CATEGORY(lcTrace, "kartavo.trace", QtInfoMsg)

void Trace(const char* format, ...) {
    if (!lcTrace().isDebugEnabled())
        return;
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    // The logger ends each message itself.
    size_t n = strlen(text);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r'))
        text[--n] = '\0';
    qCDebug(lcTrace, "%s", text);
}
