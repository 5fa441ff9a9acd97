#include "app/SidecarRecord.h"

#include "app/ControlPanel.h"
#include "base/AppState.h"
#include "base/Trace.h"
#include "formats/PictureFormats.h"
#include "pictures/BatchRunner.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace {

BatchRunner* Runner() {
    static QPointer<BatchRunner> runner;
    if (!runner && g_app.wndMain != nullptr) {
        runner = new BatchRunner(g_app.wndMain);
        QObject::connect(
            runner, &BatchRunner::pictureWritten, runner, [](int, bool ok, const QString& reason) {
                const QByteArray text = ok ? QByteArray("GPS information recorded")
                                           : "GPS information not recorded\r\n" + reason.toUtf8();
                SetInfoText(text.constData());
            });
    }
    return runner;
}

} // namespace

bool RecordsIntoSidecar(const QByteArray& picture) {
    return PictureFormats::WritesSidecar(picture, PictureFormats::ReadWriteSetting());
}

void RecordIntoSidecar(const QByteArray& picture, double latitude, double longitude,
                       std::optional<double> altitude) {
    BatchRunner* runner = Runner();
    PictureWrite write;
    write.path = picture;
    write.latitude = latitude;
    write.longitude = longitude;
    write.altitude = altitude;
    write.sidecar = PictureFormats::SidecarPath(picture, PictureFormats::ReadWriteSetting().name);
    if (runner == nullptr || !runner->Write({write})) {
        SetInfoText("GPS information not recorded\r\nThe last write is not done yet");
        return;
    }
    Trace("# WriteGPS: %s into %s\n", picture.constData(), write.sidecar.constData());
}
