#include "DoneRecorder.h"
#include "TestPictures.h"

#include "base/AppState.h"
#include "base/Resource.h"
#include "script/ScriptLauncher.h"
#include "script/ScriptRunner.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestPictures;

namespace {

const char* const WRITE_ARGUMENTS = "N 37/33/43.7724 E 126/58/24.0600 50";

QByteArray Resource(int scriptId) {
    QFile file(QString(":/TEXT/%1").arg(scriptId));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

long long SteadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

class ScriptLauncherTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tempFileIsTheScript_data();
    void tempFileIsTheScript();
    void namesAreNeverReused();
    void pictureStaysOneArgument_data();
    void pictureStaysOneArgument();
    void withoutPerl();
    void tempFolderMissing_data();
    void tempFolderMissing();
    void withoutRunner();
    void staleFoldersAreRemoved();

private:
    bool WaitIdle() {
        return QTest::qWaitFor([] { return !g_app.pRunner->IsBusy(); }, 30000);
    }
    // Every file in the temporary folder and below it.
    QStringList TempFiles() const {
        QStringList files;
        QDirIterator it(m_temp->path(), QDir::Files | QDir::System | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(m_temp->path()).relativeFilePath(it.next());
        return files;
    }

    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<QTemporaryDir> m_pictures;
    QByteArray m_savedTmpDir;
    QByteArray m_savedPath;
    DoneRecorder m_recorder;
};

void ScriptLauncherTest::init() {
    m_temp = std::make_unique<QTemporaryDir>();
    m_pictures = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid() && m_pictures->isValid());
    m_savedTmpDir = qgetenv("TMPDIR");
    m_savedPath = qgetenv("PATH");
    qputenv("TMPDIR", QFile::encodeName(m_temp->path()));
    m_recorder.reports.clear();
    m_recorder.onReport = nullptr;
    g_app.pRunner = std::make_unique<ScriptRunner>();
    g_app.pRunner->SetNotifyWindow(&m_recorder);
}

void ScriptLauncherTest::cleanup() {
    if (g_app.pRunner)
        WaitIdle();
    g_app.pRunner.reset();
    qputenv("TMPDIR", m_savedTmpDir);
    qputenv("PATH", m_savedPath);
    m_temp.reset();
    m_pictures.reset();
}

void ScriptLauncherTest::tempFileIsTheScript_data() {
    QTest::addColumn<int>("scriptId");
    QTest::addColumn<QByteArray>("arguments");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("read") << IDR_READ_GPS << QByteArray() << "2010:01:01 00:00:00";
    QTest::newRow("write") << IDR_WRITE_GPS << QByteArray(WRITE_ARGUMENTS) << "picture";
}

void ScriptLauncherTest::tempFileIsTheScript() {
    QFETCH(int, scriptId);
    QFETCH(QByteArray, arguments);
    QFETCH(QString, firstLine);

    const QString picture = m_pictures->filePath("a.jpg");
    QVERIFY(MakeJpeg(picture));
    mode_t mode = 0;
    m_recorder.onReport = [&](const DoneRecorder::Report& report) {
        struct stat info {};
        if (stat(report.tempFile.constData(), &info) == 0)
            mode = info.st_mode & 07777;
    };

    QCOMPARE(RunScript(scriptId, QFile::encodeName(picture).constData(),
                       arguments.isNull() ? nullptr : arguments.constData()),
             1);
    QVERIFY(WaitIdle());

    QCOMPARE(int(m_recorder.reports.size()), 1);
    const DoneRecorder::Report& report = m_recorder.reports.front();
    QCOMPARE(report.scriptId, scriptId);
    QCOMPARE(report.exitStatus, 0);
    QCOMPARE(report.lines.value(0), firstLine == "picture" ? picture : firstLine);
    // In a folder of our own inside the temporary folder, which nobody else may enter.
    const QFileInfo file(QString::fromLocal8Bit(report.tempFile));
    QVERIFY(QRegularExpression("^K\\d+\\.tmp$").match(file.fileName()).hasMatch());
    const QString folder = file.path();
    QCOMPARE(QFile::encodeName(folder).toStdString(), ScriptFolder());
    QCOMPARE(QFileInfo(folder).path(), m_temp->path());
    QVERIFY(QRegularExpression(QString("^kartavo-%1-\\w{6}$").arg(getpid()))
                .match(QFileInfo(folder).fileName())
                .hasMatch());
    struct stat info {};
    QCOMPARE(lstat(QFile::encodeName(folder).constData(), &info), 0);
    QVERIFY(S_ISDIR(info.st_mode));
    QCOMPARE(info.st_mode & 07777, mode_t(0700));
    QCOMPARE(info.st_uid, geteuid());
    QCOMPARE(report.tempFileContent, Resource(scriptId));
    QCOMPARE(mode, mode_t(0600));
    // Gone once its run has been reported, and the folder at the end.
    QCOMPARE(TempFiles(), QStringList());
    RemoveScriptFolders();
    QVERIFY(!QFileInfo::exists(folder));
}

void ScriptLauncherTest::namesAreNeverReused() {
    // Another user took the names of the next moments in the shared folder, some by links.
    const QString victim = m_pictures->filePath("victim");
    QFile(victim).open(QIODevice::WriteOnly);
    const long long now = SteadyMilliseconds();
    QStringList taken;
    for (long long n = now; n < now + 3000; ++n) {
        const QString path = m_temp->filePath(QString("K%1.tmp").arg(n));
        if (n % 10 == 0) {
            QVERIFY(QFile::link(victim, path));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("keep");
        }
        taken << QFileInfo(path).fileName();
    }

    const QString picture = m_pictures->filePath("a.jpg");
    QVERIFY(MakeJpeg(picture));
    const QByteArray path = QFile::encodeName(picture);
    // Two launches in the same moment; the second waits for the first.
    QCOMPARE(RunScript(IDR_READ_GPS, path.constData(), nullptr), 1);
    QCOMPARE(RunScript(IDR_READ_GPS, path.constData(), nullptr), 1);
    QVERIFY(WaitIdle());

    QCOMPARE(int(m_recorder.reports.size()), 2);
    const QByteArray first = m_recorder.reports[0].tempFile;
    const QByteArray second = m_recorder.reports[1].tempFile;
    QVERIFY(first != second);
    for (const DoneRecorder::Report& report : m_recorder.reports) {
        QVERIFY(QFileInfo(QString::fromLocal8Bit(report.tempFile)).path() != m_temp->path());
        QCOMPARE(report.tempFileContent, Resource(IDR_READ_GPS));
        QCOMPARE(report.lines.value(0), QString("2010:01:01 00:00:00"));
    }
    QCOMPARE(FileBytes(victim), QByteArray());
    for (const QString& name : taken) {
        const QFileInfo info(m_temp->filePath(name));
        if (!info.isSymLink())
            QCOMPARE(FileBytes(info.filePath()), QByteArray("keep"));
    }
    QCOMPARE(QDir(m_temp->path()).entryList(QDir::Files | QDir::System).size(), taken.size());
}

void ScriptLauncherTest::pictureStaysOneArgument_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("blanks") << "my  holiday picture.jpg";
    QTest::newRow("quotes") << "say \"cheese\" it's.jpg";
    QTest::newRow("command substitution") << "$(touch pwned) `touch pwned`.jpg";
    QTest::newRow("shell characters") << "a;b&c|d>e*?.jpg";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Grüße 日本.jpg");
    QTest::newRow("leading dash") << "-e print.jpg";
}

void ScriptLauncherTest::pictureStaysOneArgument() {
    QFETCH(QString, name);
    QDir::setCurrent(m_pictures->path());
    QVERIFY(QDir(m_pictures->path()).mkdir("sub"));
    const QString picture = m_pictures->filePath("sub/" + name);
    QVERIFY(MakeJpeg(picture));

    QCOMPARE(RunScript(IDR_WRITE_GPS, QFile::encodeName(picture).constData(), WRITE_ARGUMENTS), 1);
    QVERIFY(WaitIdle());

    QCOMPARE(int(m_recorder.reports.size()), 1);
    const DoneRecorder::Report& report = m_recorder.reports.front();
    QCOMPARE(report.exitStatus, 0);
    // The write script prints the path it was given.
    const QByteArray line = QFile::encodeName(picture).left(79);
    QCOMPARE(report.lines.value(0).toUtf8(), line);
    QCOMPARE(ReadTags(picture, {"GPS:GPSLatitude"}).value("GPS:GPSLatitude"),
             QString("37/1 33/1 4377240/100000"));
    QCOMPARE(QDir(m_pictures->path() + "/sub").entryList(QDir::Files), QStringList{name});
    QVERIFY(!QFile::exists(m_pictures->filePath("pwned")));
}

void ScriptLauncherTest::withoutPerl() {
    QTemporaryDir emptyBin;
    qputenv("PATH", QFile::encodeName(emptyBin.path()));
    const QString picture = m_pictures->filePath("a.jpg");
    QVERIFY(MakeJpeg(picture));

    QCOMPARE(RunScript(IDR_READ_GPS, QFile::encodeName(picture).constData(), nullptr), 1);

    // Reported before RunScript returned.
    QCOMPARE(int(m_recorder.reports.size()), 1);
    const DoneRecorder::Report& report = m_recorder.reports.front();
    const QString commandLine =
        QString("perl \"%1\" \"%2\" ").arg(QString::fromLocal8Bit(report.tempFile), picture);
    QCOMPARE(report.lines,
             QStringList{QString("# Unable to start !!(%1)").arg(commandLine).left(79)});
    QCOMPARE(report.exitStatus, int(ScriptRunner::EXIT_UNKNOWN));
    QCOMPARE(report.errorLine, QByteArray("perl: No such file or directory"));
    QVERIFY(report.tempFileExists);
    QCOMPARE(TempFiles(), QStringList());
}

void ScriptLauncherTest::tempFolderMissing_data() {
    QTest::addColumn<bool>("isFile");
    QTest::newRow("a file") << true;
    // Qt then answers an empty temporary path: nothing may land in "/".
    QTest::newRow("no such folder") << false;
}

void ScriptLauncherTest::tempFolderMissing() {
    QFETCH(bool, isFile);
    const QString notAFolder = m_temp->filePath(isFile ? "file" : "missing");
    if (isFile)
        QFile(notAFolder).open(QIODevice::WriteOnly);
    qputenv("TMPDIR", QFile::encodeName(notAFolder));
    QCOMPARE(RunScript(IDR_READ_GPS, "/nowhere/a.jpg", nullptr), 0);
    QVERIFY(!g_app.pRunner->IsBusy());
    QTest::qWait(50);
    QVERIFY(m_recorder.reports.empty());
}

void ScriptLauncherTest::withoutRunner() {
    g_app.pRunner.reset();
    QCOMPARE(RunScript(IDR_READ_GPS, "/nowhere/a.jpg", nullptr), 1);
    // Nothing will run it, so nothing is left behind.
    QCOMPARE(TempFiles(), QStringList());
}

void ScriptLauncherTest::staleFoldersAreRemoved() {
    // The folders of a killed Kartavo, of a live one, and names that only look alike.
    QProcess ended;
    ended.start("true", QStringList());
    QVERIFY(ended.waitForStarted());
    const qint64 deadPid = ended.processId();
    QVERIFY(ended.waitForFinished());
    const QDir temp(m_temp->path());
    const QString dead = QString("kartavo-%1-aB3dE9").arg(deadPid);
    const QString alive = QString("kartavo-%1-aB3dE9").arg(getppid());
    const QString linked = QString("kartavo-%1-zZ9yY8").arg(deadPid);
    for (const QString& name : {dead, alive, QString("kartavo-notes")}) {
        QVERIFY(temp.mkdir(name));
        QVERIFY(QFile::setPermissions(temp.filePath(name),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QFile script(temp.filePath(name + "/K12.tmp"));
        QVERIFY(script.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(m_pictures->path()).mkdir("kept"));
    QFile(m_pictures->filePath("kept/K1.tmp")).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(m_pictures->filePath("kept"), temp.filePath(linked)));

    const QString picture = m_pictures->filePath("a.jpg");
    QVERIFY(MakeJpeg(picture));
    QCOMPARE(RunScript(IDR_READ_GPS, QFile::encodeName(picture).constData(), nullptr), 1);
    QVERIFY(WaitIdle());
    QCOMPARE(int(m_recorder.reports.size()), 1);

    QVERIFY(!temp.exists(dead));
    QVERIFY(temp.exists(alive + "/K12.tmp"));
    QVERIFY(temp.exists("kartavo-notes/K12.tmp"));
    QVERIFY(QFileInfo(temp.filePath(linked)).isSymLink());
    QVERIFY(QFile::exists(m_pictures->filePath("kept/K1.tmp")));
}

QTEST_GUILESS_MAIN(ScriptLauncherTest)
#include "ScriptLauncherTest.moc"
