#pragma once

#include <QByteArray>

#include <optional>

// "Record to picture" for a picture whose position goes into an XMP sidecar under the
// "Write positions into" setting (a RAW file by default): written by the batch engine,
// so that the picture is never opened for writing and the write can be undone. The
// information box says how it went.
bool RecordsIntoSidecar(const QByteArray& picture);
void RecordIntoSidecar(const QByteArray& picture, double latitude, double longitude,
                       std::optional<double> altitude);
