#include "base/Messages.h"
#include "webview/CWebBrowser.h"
#include "webview/WebProfile.h"

#include "tests/webview/WebTestSupport.h"

#include <QSignalSpy>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QtTest>

namespace {

// A host window that counts the title messages it receives.
class CountingHost : public QWidget {
public:
    int titleMessages = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() == WUM_WEBTITLE_CHANGE)
            ++titleMessages;
        return QWidget::event(event);
    }
};

} // namespace

// The wrapper on its own, in a host window of the test's making.
class TestWebBrowser : public QObject {
    Q_OBJECT

    std::unique_ptr<CountingHost> m_host;
    std::unique_ptr<CWebBrowser> m_browser;

    QWebEnginePage* Page() { return m_browser->View()->page(); }

    bool Load(const char* page) {
        QSignalSpy finished(Page(), &QWebEnginePage::loadFinished);
        m_browser->NavigateResource(page);
        return finished.wait(5000) && finished.first().first().toBool();
    }

private slots:
    void init() {
        m_host = std::make_unique<CountingHost>();
        m_host->resize(400, 300);
        m_host->show();
        m_browser = std::make_unique<CWebBrowser>();
        m_browser->Create(m_host.get(), QRect(), nullptr, WS_CHILD | WS_VISIBLE, HOST_ATTACH);
        QVERIFY(m_browser->View());
    }

    void cleanup() {
        m_browser.reset();
        m_host.reset();
    }

    void attachedViewFillsItsHost() {
        QCOMPARE(m_browser->GetHostWindow(), m_host.get());
        QCOMPARE(m_browser->View()->parentWidget(), m_host.get());
        QTRY_COMPARE(m_browser->View()->geometry(), m_host->contentsRect());
        QCOMPARE(m_browser->View()->contextMenuPolicy(), Qt::NoContextMenu);
        QVERIFY(!m_browser->View()->acceptDrops());
        // Destroying an attached wrapper leaves its host alone.
        QPointer<QWebEngineView> view = m_browser->View();
        m_browser.reset();
        QVERIFY(view.isNull());
        QVERIFY(m_host->isVisible());
    }

    void createdHostIsOwnedByTheWrapper() {
        auto own = std::make_unique<CWebBrowser>();
        own->Create(m_host.get(), QRect(10, 20, 200, 100), "ownHost", WS_CHILD | WS_VISIBLE,
                    HOST_CREATE);
        QPointer<QWidget> host = own->GetHostWindow();
        QVERIFY(host && host != m_host.get());
        QCOMPARE(host->parentWidget(), m_host.get());
        QCOMPARE(host->objectName(), QStringLiteral("ownHost"));
        QCOMPARE(host->geometry(), QRect(10, 20, 200, 100));
        QVERIFY(host->isVisible());
        own.reset();
        QVERIFY(host.isNull());
    }

    void userAgentNamesKartavo() {
        const QString agent = KartavoWebProfile()->httpUserAgent();
        QVERIFY2(agent.startsWith(QStringLiteral("Kartavo/" KARTAVO_VERSION " (")),
                 qPrintable(agent));
        QCOMPARE(agent, KartavoUserAgent());
        QVERIFY(Load("photo.htm"));
        QCOMPARE(EvalJs(Page(), QStringLiteral("navigator.userAgent")).toString(), agent);
    }

    void scriptBeforeTheFirstPageIsDropped() {
        QSignalSpy titles(Page(), &QWebEnginePage::titleChanged);
        QCOMPARE(m_browser->ExecScript("document.title = 'early'"), 0);
        m_browser->NavigateResource("photo.htm");
        QCOMPARE(m_browser->ExecScript("document.title = 'early'"), 0);
        QVERIFY(WaitUntil([&] { return !m_browser->GetDocument().isNull(); }));
        Settle(100);
        for (const QList<QVariant>& title : titles)
            QVERIFY(title.first().toString() != QStringLiteral("early"));
        QVERIFY(m_browser->m_strTitle.has_value());
        QVERIFY(*m_browser->m_strTitle != QStringLiteral("early"));

        // Once the page is there, scripts run in it, in the order given.
        m_browser->ExecScript("document.title = 'one'");
        m_browser->ExecScript("document.title += ' two'");
        QVERIFY(WaitUntil([&] {
            return m_browser->m_strTitle.value_or(QString()) == QStringLiteral("one two");
        }));
    }

    void innerFrameDoesNotReplaceTheDocument() {
        QVERIFY(Load("frames.htm"));
        const WebDocument document = m_browser->GetDocument();
        QVERIFY(!document.isNull());
        QCOMPARE(document.url.path(), QStringLiteral("/frames.htm"));
        // The top-level page lost its scroll bars, though it is far larger than the view.
        QVERIFY(WaitForJs(Page(), QStringLiteral("getComputedStyle(document.body).overflow"),
                          QStringLiteral("hidden")));
        QVERIFY(WaitForJs(Page(), QStringLiteral("frames[0].document.readyState"),
                          QStringLiteral("complete")));

        // The inner frame loads another page; the recorded document stays the same.
        QSignalSpy finished(Page(), &QWebEnginePage::loadFinished);
        EvalJs(Page(), QStringLiteral("frames[0].location.href = 'default.htm'"));
        QVERIFY(WaitForJs(Page(), QStringLiteral("frames[0].document.title"),
                          QStringLiteral("Kartavo")));
        QVERIFY(WaitForJs(Page(), QStringLiteral("frames[0].document.readyState"),
                          QStringLiteral("complete")));
        Settle(100);
        QCOMPARE(finished.count(), 0);
        QCOMPARE(m_browser->GetDocument().serial, document.serial);
        QCOMPARE(m_browser->GetDocument().url, document.url);

        // A new top-level page is recorded.
        QVERIFY(Load("photo.htm"));
        QVERIFY(m_browser->GetDocument().serial > document.serial);
        QCOMPARE(m_browser->GetDocument().url.path(), QStringLiteral("/photo.htm"));
    }

    void titleIsStoredAndPosted() {
        QVERIFY(Load("default.htm"));
        QVERIFY(WaitUntil([&] {
            return m_browser->m_strTitle.value_or(QString()) == QStringLiteral("Kartavo");
        }));
        QCoreApplication::processEvents();
        const int before = m_host->titleMessages;
        QVERIFY(before > 0);

        // Connected after the sink: the title is stored but the message still queued.
        bool checked = false;
        connect(Page(), &QWebEnginePage::titleChanged, this, [&](const QString& title) {
            QCOMPARE(m_browser->m_strTitle.value_or(QString()), title);
            QCOMPARE(m_host->titleMessages, before);
            checked = true;
        });
        m_browser->ExecScript("document.title = '(1.5, 2.5)'");
        QVERIFY(WaitUntil([&] { return checked; }));
        QTRY_COMPARE(m_host->titleMessages, before + 1);
        QCOMPARE(*m_browser->m_strTitle, QStringLiteral("(1.5, 2.5)"));
    }

    void resSchemeServesOnlyWhatExists_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("found");
        const QString own = QStringLiteral("res://test_web_browser/");
        QTest::newRow("page") << own + "MAP.HTM" << true;
        QTest::newRow("image by its type") << own + "JPGS/Photo.Jpg" << true;
        QTest::newRow("unknown page") << own + "nosuch.htm" << false;
        QTest::newRow("unknown image") << own + "JPGS/nosuch.jpg" << false;
        QTest::newRow("another program's name") << "res://kartavo.exe/photo.htm" << false;
    }

    void resSchemeServesOnlyWhatExists() {
        QFETCH(QString, address);
        QFETCH(bool, found);
        QSignalSpy finished(Page(), &QWebEnginePage::loadFinished);
        m_browser->Navigate(address.toUtf8().constData());
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().first().toBool(), found);
        if (address.endsWith(QStringLiteral(".Jpg"), Qt::CaseInsensitive) && found)
            QCOMPARE(EvalJs(Page(), QStringLiteral("document.images[0].naturalWidth")).toInt(),
                     320);
    }
};

QTEST_MAIN(TestWebBrowser)
#include "test_web_browser.moc"
