#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// Finds out why a map tile did not load (no route to the server, a refusal, a server
// error) by asking for it once more, and says so in a line for the map; a tile that loads
// again clears the line.
class TileProblem : public QObject {
    Q_OBJECT
public:
    explicit TileProblem(QObject* parent);

    void Check(const QUrl& tile);
    void Clear();

signals:
    // The line to show over the map; empty when there is nothing to say.
    void found(const QString& text);

private:
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    bool m_shown = false;
};
