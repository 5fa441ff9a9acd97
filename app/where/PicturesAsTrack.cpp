#include "app/where/PicturesAsTrack.h"

#include "app/trip/PicturesWindow.h"
#include "app/trip/TracksWindow.h"
#include "pictures/PictureList.h"
#include "track/PicturesTrack.h"

#include <QObject>
#include <QTimeZone>

void UsePicturesAsTrack() {
    TracksWindow* tracks = ShowTracksWindow();
    PicturesWindow* window = PicturesWindowInstance();
    if (tracks == nullptr)
        return;
    std::vector<PictureFix> fixes;
    const PictureList* list = window != nullptr ? window->Model() : nullptr;
    for (int row = 0; list != nullptr && row < list->Count(); ++row) {
        const PictureRead& info = list->Info(row);
        fixes.push_back({PictureList::ReadableName(list->Path(row)).section(QLatin1Char('/'), -1),
                         info.latitude, info.longitude, info.altitude, info.gpsTime, info.dateTime,
                         info.offset});
    }
    // Pictures without a zone of their own are read in the zone last chosen for matching.
    const QByteArray zoneId = tracks->Settings().zoneId;
    const QTimeZone zone = !zoneId.isEmpty() && QTimeZone(zoneId).isValid()
                               ? QTimeZone(zoneId)
                               : QTimeZone::systemTimeZone();
    PicturesTrack built = BuildPicturesTrack(fixes, zone);
    const int points =
        built.track.segments.empty() ? 0 : static_cast<int>(built.track.segments.front().size());
    if (points < 2) {
        tracks->SetStatus(QObject::tr("Fewer than two listed pictures have a position and a "
                                      "time: open the phone's pictures with the others first."),
                          true);
        return;
    }
    QString text = QObject::tr("%n picture(s) with positions make a track.", nullptr, points);
    if (!built.byOwnClock.isEmpty())
        text += QLatin1Char(' ') +
                QObject::tr("These have no GPS time, so their own clock (in its zone, else %1) "
                            "was used: %2.")
                    .arg(QString::fromUtf8(zone.id()), built.byOwnClock.join(QStringLiteral(", ")));
    tracks->AddTrack(std::move(built.track));
    tracks->SetStatus(text);
    if (window != nullptr)
        window->SetStatus(text);
}
