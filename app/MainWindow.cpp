#include "app/MainWindow.h"

#include "app/KartavoWindow.h"
#include "app/MainWndProc.h"
#include "app/StartIcons.h"
#include "base/Resource.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>

namespace {

void AddCommand(QMenu* menu, const char* text, int id) {
    QAction* action = menu->addAction(QCoreApplication::translate("QObject", text));
    action->setData(id);
    QObject::connect(action, &QAction::triggered, action,
                     [action, id] { SendCommand(id, 0, action); });
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(ReadPng(QStringLiteral(":/icons/kartavo-%1.png").arg(size)));
    return icon;
}

// Keeps the menu bar as wide as the window; nothing else moves when it is resized.
class MenuBarSizer : public QObject {
public:
    MenuBarSizer(QWidget* window, QMenuBar* menuBar) : QObject(window), m_pMenuBar(menuBar) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            m_pMenuBar->resize(static_cast<QWidget*>(watched)->width(),
                               m_pMenuBar->sizeHint().height());
        return false;
    }

private:
    QMenuBar* m_pMenuBar;
};

} // namespace

std::unique_ptr<KartavoWindow> CreateMainWindow(int x, int y, int width, int height) {
    auto window = std::make_unique<KartavoWindow>();
    window->setObjectName(QStringLiteral("mainWindow"));
    window->setWindowTitle(QStringLiteral("Kartavo " KARTAVO_VERSION));

    auto* menuBar = new QMenuBar(window.get());
    menuBar->setObjectName(QStringLiteral("menuBar"));
    QMenu* file = menuBar->addMenu(QObject::tr("&File"));
    AddCommand(file, QT_TRANSLATE_NOOP("QObject", "&Exit"), ID_FILE_EXIT);
    QMenu* picture = menuBar->addMenu(QObject::tr("&Picture"));
    AddCommand(picture, QT_TRANSLATE_NOOP("QObject", "&Open Picture"), ID_PICTURE_OPEN);
    AddCommand(picture, QT_TRANSLATE_NOOP("QObject", "&Record GPS to Picture"), ID_PICTURE_RECORD);
    const int menuHeight = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, width, menuHeight);
    new MenuBarSizer(window.get(), menuBar);

    auto* client = new QWidget(window.get());
    client->setObjectName(QStringLiteral("client"));
    client->setGeometry(0, menuHeight, width, height - menuHeight);

    window->resize(width, height);
    window->move(x, y);
    return window;
}

void SetMainWindowIcon(QWidget* mainWindow) {
    if (mainWindow && !mainWindow->testAttribute(Qt::WA_SetWindowIcon))
        mainWindow->setWindowIcon(AppIcon());
}

QWidget* ClientArea(QWidget* mainWindow) {
    return mainWindow->findChild<QWidget*>(QStringLiteral("client"), Qt::FindDirectChildrenOnly);
}
