#include "app/Settings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

class TestSettings : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;

    QSettings Raw() {
        return QSettings(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
    }

private slots:
    void initTestCase() {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    }

    void fileLivesInTheUserConfigurationFolder() {
        QCOMPARE(QString::fromStdString(SettingsFilePath()),
                 m_config.filePath(QStringLiteral("Kartavo/Kartavo.ini")));
    }

    void missingSettingsGiveDefaults() {
        const StoredSettings stored = ReadSettings();
        QCOMPARE(stored.xPos, 0);
        QCOMPARE(stored.yPos, 0);
        QCOMPARE(stored.szPosition[0], '\0');
    }

    void roundTrip() {
        SaveSettings(-12, 345, std::string("(37.5, 127)"));
        QSettings raw = Raw();
        QCOMPARE(raw.value("Kartavo/xPos").toString(), QStringLiteral("-12"));
        QCOMPARE(raw.value("Kartavo/yPos").toString(), QStringLiteral("345"));
        QCOMPARE(raw.value("Kartavo/Position").toString(), QStringLiteral("(37.5, 127)"));

        const StoredSettings stored = ReadSettings();
        QCOMPARE(stored.xPos, -12);
        QCOMPARE(stored.yPos, 345);
        QCOMPARE(QString::fromUtf8(stored.szPosition), QStringLiteral("(37.5, 127)"));
    }

    void missingTitleRemovesPosition() {
        SaveSettings(1, 2, std::string("Kartavo"));
        QVERIFY(Raw().contains("Kartavo/Position"));
        SaveSettings(3, 4, std::nullopt);
        QSettings raw = Raw();
        QVERIFY(!raw.contains("Kartavo/Position"));
        QCOMPARE(raw.value("Kartavo/xPos").toInt(), 3);
    }

    void longPositionIsCutToItsBuffer() {
        SaveSettings(0, 0, std::string(200, 'x'));
        const StoredSettings stored = ReadSettings();
        QCOMPARE(std::strlen(stored.szPosition), sizeof stored.szPosition - 1);
    }

    void garbageReadsAsDefault() {
        {
            QSettings raw = Raw();
            raw.setValue("Kartavo/xPos", "left");
            raw.setValue("Kartavo/yPos", "77");
        }
        const StoredSettings stored = ReadSettings();
        QCOMPARE(stored.xPos, 0);
        QCOMPARE(stored.yPos, 77);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
