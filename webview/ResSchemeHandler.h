#pragma once

#include <QWebEngineUrlSchemeHandler>

class QWebEngineProfile;

// Serves the program's own pages and images under res://<program file name>/...
class ResSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT

public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    // Makes "res" known to the web engine; must run before the QApplication exists.
    // Calling it again does nothing.
    static void RegisterScheme();

    // Puts a handler on the profile unless it has one already.
    static void InstallOn(QWebEngineProfile* profile);

    void requestStarted(QWebEngineUrlRequestJob* job) override;
};
