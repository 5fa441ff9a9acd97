#include "app/where/LocationHistoryDialog.h"

#include "app/LastFolder.h"
#include "app/trip/PicturesWindow.h"
#include "app/trip/TracksWindow.h"
#include "pictures/PictureList.h"
#include "track/LocationHistory.h"
#include "track/PictureTime.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QSettings>
#include <QSpinBox>
#include <QThreadPool>

#include <atomic>
#include <memory>

namespace {

const QString kAccuracyKey = QStringLiteral("Where/maxAccuracyMetres");

QSettings OpenSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kartavo"),
                     QStringLiteral("Kartavo"));
}

// The days the listed pictures were taken, by their own clocks; nothing when none says.
std::optional<std::pair<QDate, QDate>> PictureDays() {
    PicturesWindow* window = PicturesWindowInstance();
    if (window == nullptr)
        return std::nullopt;
    std::optional<std::pair<QDate, QDate>> days;
    const PictureList& list = *window->Model();
    for (int row = 0; row < list.Count(); ++row) {
        const auto ms = WallClockMs(list.Info(row).dateTime);
        if (!ms)
            continue;
        const QDate day = QDateTime::fromMSecsSinceEpoch(*ms, Qt::UTC).date();
        if (!days)
            days.emplace(day, day);
        days->first = std::min(days->first, day);
        days->second = std::max(days->second, day);
    }
    return days;
}

} // namespace

LocationHistoryDialog::LocationHistoryDialog(QWidget* parent, const QString& fileName, QDate from,
                                             QDate to, int maxAccuracyMetres)
    : QDialog(parent) {
    setWindowTitle(tr("Open Location History"));
    setObjectName(QStringLiteral("locationHistoryDialog"));
    auto* form = new QFormLayout(this);
    auto* intro = new QLabel(
        tr("Kartavo keeps the points of %1 on these days (UTC) and turns them into a track.")
            .arg(fileName),
        this);
    intro->setWordWrap(true);
    form->addRow(intro);
    auto date = [this](QDate value, const char* name) {
        auto* edit = new QDateEdit(value, this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        return edit;
    };
    m_from = date(from, "historyFrom");
    m_to = date(to, "historyTo");
    form->addRow(tr("&From:"), m_from);
    form->addRow(tr("&To:"), m_to);
    m_accuracy = new QSpinBox(this);
    m_accuracy->setObjectName(QStringLiteral("historyAccuracy"));
    m_accuracy->setRange(1, 100000);
    m_accuracy->setSuffix(tr(" m"));
    m_accuracy->setValue(maxAccuracyMetres);
    m_accuracy->setToolTip(tr("Points whose accuracy is said to be worse than this are left out"));
    form->addRow(tr("&Accurate to:"), m_accuracy);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (m_to->date() < m_from->date()) {
            QMessageBox::warning(this, windowTitle(), tr("The last day is before the first."));
            return;
        }
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

QDate LocationHistoryDialog::From() const {
    return m_from->date();
}
QDate LocationHistoryDialog::To() const {
    return m_to->date();
}
int LocationHistoryDialog::MaxAccuracyMetres() const {
    return m_accuracy->value();
}

void OpenLocationHistory(QWidget* parent) {
    const QString path = QFileDialog::getOpenFileName(
        parent, QObject::tr("Open Location History"), LastFolder(QStringLiteral("Tracks")),
        QObject::tr("Location history (*.json *.JSON);;All files (*)"));
    if (path.isEmpty())
        return;
    RememberFolder(QStringLiteral("Tracks"), path);
    const QDate today = QDate::currentDate();
    const auto days = PictureDays();
    QSettings settings = OpenSettings();
    LocationHistoryDialog dialog(
        parent, QFileInfo(path).fileName(), days ? days->first.addDays(-1) : today.addDays(-7),
        days ? days->second.addDays(1) : today, settings.value(kAccuracyKey, 200).toInt());
    if (dialog.exec() != QDialog::Accepted)
        return;
    settings.setValue(kAccuracyKey, dialog.MaxAccuracyMetres());

    auto cancel = std::make_shared<std::atomic<bool>>(false);
    LocationHistoryOptions options;
    options.fromMs = QDateTime(dialog.From(), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    options.toMs = QDateTime(dialog.To().addDays(1), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch() - 1;
    options.maxAccuracyMetres = dialog.MaxAccuracyMetres();
    options.cancel = cancel.get();

    QPointer<QProgressDialog> progress =
        new QProgressDialog(QObject::tr("Reading %1...").arg(QFileInfo(path).fileName()),
                            QObject::tr("Cancel"), 0, 1000, parent);
    progress->setObjectName(QStringLiteral("historyProgress"));
    progress->setWindowTitle(QObject::tr("Open Location History"));
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->setMinimumDuration(300);
    QObject::connect(progress, &QProgressDialog::canceled, progress, [cancel] { *cancel = true; });
    options.progress = [progress](qint64 done, qint64 total) {
        const int value = total > 0 ? static_cast<int>(done * 1000 / total) : 0;
        QMetaObject::invokeMethod(progress, [progress, value] {
            if (progress)
                progress->setValue(std::min(value, 999));
        });
    };
    QThreadPool::globalInstance()->start([path, options, cancel, progress] {
        auto result = std::make_shared<LocationHistoryResult>(ReadLocationHistory(path, options));
        QMetaObject::invokeMethod(QCoreApplication::instance(), [result, progress, cancel] {
            if (progress)
                progress->close();
            TracksWindow* tracks = ShowTracksWindow();
            if (tracks == nullptr)
                return;
            if (!result->ok) {
                tracks->SetStatus(result->error, !cancel->load());
                return;
            }
            if (result->kept == 0) {
                tracks->SetStatus(QObject::tr("No points of %1 were kept: %2")
                                      .arg(result->track.name, DescribeLocationHistory(*result)),
                                  true);
                return;
            }
            const QString text = QObject::tr("Opened %1: %2")
                                     .arg(result->track.name, DescribeLocationHistory(*result));
            tracks->AddTrack(std::move(result->track));
            tracks->SetStatus(text);
        });
    });
}
