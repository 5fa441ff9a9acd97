#include "app/FeatureMenus.h"
#include "app/help/AboutDialog.h"
#include "app/help/ShortcutsWindow.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

// The Help menu on a window with the main window's menu bar and every area's menus.
class TestHelp : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> m_main;
    std::unique_ptr<QWidget> m_other;

    QStringList MenuNames() const {
        QStringList names;
        for (const QAction* action : m_main->findChild<QMenuBar*>("menuBar")->actions())
            names << (action->objectName().isEmpty() ? action->text() : action->objectName());
        return names;
    }

private slots:
    void initTestCase() {
        m_main = std::make_unique<QWidget>();
        auto* menuBar = new QMenuBar(m_main.get());
        menuBar->setObjectName("menuBar");
        menuBar->addMenu("&File")->addAction("&Exit");
        menuBar->addMenu("&Picture");
        AddFeatureMenus(m_main.get());
        // Another window, made before the list is read.
        m_other = std::make_unique<QWidget>();
        m_other->setWindowTitle("Kartavo - Other");
        auto* zoom = new QAction("Zoom &In...", m_other.get());
        zoom->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::Key_F8)});
        m_other->addAction(zoom);
        new QPushButton("&Go", m_other.get());
    }

    void helpStaysLast() {
        QCOMPARE(MenuNames().last(), QStringLiteral("helpMenu"));
        QVERIFY(MainMenu(m_main.get(), "&Later") != nullptr);
        const QStringList names = MenuNames();
        QCOMPARE(names.mid(names.size() - 2), QStringList({"&Later", "helpMenu"}));
    }

    void everyShortcutListed_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("keys");
        QTest::newRow("menu entry") << "Menus"
                                    << "Map > Find Place"
                                    << "Ctrl+F";
        QTest::newRow("menu of the bar") << "Menus"
                                         << "File menu"
                                         << "Alt+F";
        QTest::newRow("window's action") << "Kartavo - Other"
                                         << "Zoom In"
                                         << "Ctrl++, F8";
        QTest::newRow("button") << "Kartavo - Other"
                                << "Go"
                                << "Alt+G";
    }

    void everyShortcutListed() {
        QFETCH(QString, where);
        QFETCH(QString, command);
        QFETCH(QString, keys);
        QStringList found;
        for (const ShortcutEntry& entry : CollectShortcuts(m_main.get())) {
            if (entry.where == where && entry.command == command && entry.keys == keys)
                return;
            found << entry.where + ": " + entry.command + " = " + entry.keys;
        }
        QFAIL(qPrintable("not listed; found:\n" + found.join('\n')));
    }

    // The window lists each shortcut once, also when opened a second time.
    void windowShowsTheList() {
        const int count = int(CollectShortcuts(m_main.get()).size());
        for (int time = 0; time < 2; ++time) {
            ShowShortcutsWindow(m_main.get());
            auto* tree = m_main->findChild<QTreeWidget*>("shortcutsList");
            QVERIFY(tree && tree->window()->isVisible());
            int rows = 0;
            for (int group = 0; group < tree->topLevelItemCount(); ++group)
                rows += tree->topLevelItem(group)->childCount();
            QCOMPARE(rows, count);
        }
    }

    // What the program owes the data and libraries it uses.
    void aboutNamesVersionAndCredits() {
        const QString text = AboutText();
        for (const char* credit :
             {KARTAVO_VERSION, "OpenStreetMap contributors", "Open Database License", "Leaflet",
              "ExifTool", "GeoNames", "Nominatim", "General Public License"})
            QVERIFY2(text.contains(QLatin1String(credit)), credit);
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
