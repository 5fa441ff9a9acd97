#include "app/StartIcons.h"

#include <QApplication>
#include <QIcon>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

#include <functional>
#include <optional>

namespace {

// The sizes Qt's common style gives these arrows.
QIcon ExtensionArrow(bool horizontal, bool rightToLeft) {
    const QString folder = QStringLiteral(":/qt-project.org/styles/commonstyle/images/");
    QIcon icon;
    const QString stem = horizontal ? (rightToLeft ? QStringLiteral("toolbar-ext-h-rtl-")
                                                   : QStringLiteral("toolbar-ext-h-"))
                                    : QStringLiteral("toolbar-ext-v-");
    static const int kHorizontal[] = {8, 16, 32};
    static const int kVertical[] = {5, 10, 20};
    for (int size : horizontal ? kHorizontal : kVertical) {
        const QPixmap pixmap = ReadPng(folder + stem + QString::number(size) + ".png");
        if (!pixmap.isNull())
            icon.addPixmap(pixmap);
    }
    return icon;
}

// An icon made when it is first asked about.
class LaterIcon : public QIconEngine {
public:
    explicit LaterIcon(std::function<QIcon()> make) : m_make(std::move(make)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("KartavoLaterIcon"); }
    QIconEngine* clone() const override { return new LaterIcon(m_make); }

private:
    const QIcon& Icon() {
        if (!m_icon)
            m_icon = m_make();
        return *m_icon;
    }

    std::function<QIcon()> m_make;
    std::optional<QIcon> m_icon;
};

class StartIconsStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which != SP_ToolBarHorizontalExtensionButton &&
            which != SP_ToolBarVerticalExtensionButton)
            return QProxyStyle::standardIcon(which, option, widget);
        const bool horizontal = which == SP_ToolBarHorizontalExtensionButton;
        const bool rightToLeft =
            (option ? option->direction : QGuiApplication::layoutDirection()) == Qt::RightToLeft;
        return QIcon(new LaterIcon(
            [horizontal, rightToLeft] { return ExtensionArrow(horizontal, rightToLeft); }));
    }
};

} // namespace

QPixmap ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

void UseStartIcons() {
    // Without a base, the proxy takes the style the application would have had.
    QApplication::setStyle(new StartIconsStyle);
}
