#pragma once

#include <QJsonObject>
#include <QWebEnginePage>

// The trip map's page: the program's profile, and what the page reports through its
// console ("kartavo-trip " and an object) turned into signals, in the order they came.
class TripPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit TripPage(QObject* parent);

signals:
    void reported(const QJsonObject& event);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;
};
