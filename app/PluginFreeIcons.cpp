#include "app/PluginFreeIcons.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOption>

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

class PluginFreeStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which == SP_ToolBarHorizontalExtensionButton ||
            which == SP_ToolBarVerticalExtensionButton) {
            const bool rightToLeft =
                (option ? option->direction : QGuiApplication::layoutDirection()) ==
                Qt::RightToLeft;
            QIcon icon = ExtensionArrow(which == SP_ToolBarHorizontalExtensionButton, rightToLeft);
            if (!icon.isNull())
                return icon;
        }
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

} // namespace

QPixmap ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

void UsePluginFreeIcons() {
    // Without a base, the proxy takes the style the application would have had.
    QApplication::setStyle(new PluginFreeStyle);
}
