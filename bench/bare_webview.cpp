// The floor for the program's start: a Qt program that shows one web view, in a window of
// the main window's size, and loads the map page from disk. Nothing else.
// Prints "shown" when the window is first on screen and "loaded" when the page has loaded.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {

class FirstExpose : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            std::fprintf(stderr, "shown\n");
            watched->removeEventFilter(this);
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    std::fprintf(stderr, "main\n");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bare_webview PAGE\n");
        return 2;
    }
    std::fprintf(stderr, "application\n");
    QWidget window;
    window.resize(900, 550);
    QWebEngineView view(&window);
    view.setGeometry(0, 0, 600, 400);
    QObject::connect(&view, &QWebEngineView::loadFinished,
                     [](bool ok) { std::fprintf(stderr, ok ? "loaded\n" : "load failed\n"); });
    view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    std::fprintf(stderr, "load started\n");
    window.show();
    FirstExpose firstExpose;
    window.windowHandle()->installEventFilter(&firstExpose);
    return QApplication::exec();
}
