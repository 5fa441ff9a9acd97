#include "app/ControlPanel.h"

#include "app/CoordinateFields.h"
#include "app/KartavoWindow.h"
#include "app/MainWindow.h"
#include "app/MainWndProc.h"
#include "base/AppState.h"
#include "base/BoundedText.h"
#include "base/LocalPath.h"
#include "base/Resource.h"
#include "gps/CoordinateCheck.h"
#include "webview/CWebBrowser.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {

template <typename Control>
Control* Place(Control* control, const char* name, int x, int y, int width, int height) {
    control->setObjectName(QString::fromLatin1(name));
    control->setAccessibleName(QString::fromLatin1(name));
    control->setGeometry(x, y, width, height);
    return control;
}

// The labels are indented by the leading blanks of their texts.
void AddLabel(QWidget* client, const char* text, const char* name, int x, int y) {
    auto* label = new QLabel(QCoreApplication::translate("QObject", text), client);
    label->setTextFormat(Qt::PlainText);
    Place(label, name, x, y, 80, 20);
}

QLineEdit* AddField(QWidget* client, const char* text, const char* name, int x, int y) {
    auto* field = new QLineEdit(QString::fromLatin1(text), client);
    field->setAcceptDrops(false); // dropped files belong to the image window
    return Place(field, name, x, y, 160, 20);
}

void AddButton(QWidget* client, const char* text, const char* name, int id, int x, int y) {
    auto* button = new QPushButton(QCoreApplication::translate("QObject", text), client);
    Place(button, name, x, y, 120, 20);
    QObject::connect(button, &QPushButton::clicked, button,
                     [button, id] { SendCommand(id, BN_CLICKED, button); });
}

QComboBox* AddZoomList(QWidget* client) {
    auto* zoom = Place(new QComboBox(client), "zoom", 560, 410, 44, 20);
    for (int i = 0; i < 18; ++i)
        zoom->addItem(QString::number(i + 1), i + 1);
    zoom->setCurrentIndex(DEFAULT_ZOOM - 1);
    zoom->setMaxVisibleItems(18);
    // Every choice the user makes counts, also choosing the item already shown.
    QObject::connect(zoom, &QComboBox::activated, zoom,
                     [zoom] { SendCommand(IDC_ZOOM, CBN_SELCHANGE, zoom); });
    return zoom;
}

} // namespace

int CreateControlPanel(QWidget* mainWindow) {
    QWidget* client = ClientArea(mainWindow);

    AddLabel(client, QT_TRANSLATE_NOOP("QObject", "  Latitude"), "latitudeLabel", 0, 410);
    AddLabel(client, QT_TRANSLATE_NOOP("QObject", "  Longitude"), "longitudeLabel", 240, 410);
    g_app.wndLatitude = AddField(client, DEFAULT_LATITUDE, "latitude", 80, 410);
    g_app.wndLongitude = AddField(client, DEFAULT_LONGITUDE, "longitude", 320, 410);
    TeachCoordinateFields(g_app.wndLatitude, g_app.wndLongitude);
    AddLabel(client, QT_TRANSLATE_NOOP("QObject", "     Zoom"), "zoomLabel", 480, 410);
    AddZoomList(client);
    AddButton(client, QT_TRANSLATE_NOOP("QObject", "Move to point"), "moveToPoint",
              IDC_MOVE_TO_POINT, 614, 410);
    AddButton(client, QT_TRANSLATE_NOOP("QObject", "Record to picture"), "record", IDC_RECORD, 750,
              410);
    AddLabel(client, QT_TRANSLATE_NOOP("QObject", "  Date,Time"), "dateTimeLabel", 0, 440);

    const QDateTime now = QDateTime::currentDateTime();
    auto* date = Place(new QDateEdit(now.date(), client), "date", 80, 440, 100, 20);
    date->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    date->setCalendarPopup(true);
    auto* time = Place(new QTimeEdit(now.time(), client), "time", 188, 440, 100, 20);
    time->setDisplayFormat(QLocale().timeFormat(QLocale::LongFormat).remove(QStringLiteral(" t")));

    auto* info = Place(new QPlainTextEdit(client), "info", 610, 0, 260, 40);
    info->setReadOnly(true);
    info->setAcceptDrops(false);
    info->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    info->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    info->document()->setDocumentMargin(1);
    g_app.wndInfo = info;
    SetInfoText("\r\n Drag-drop a picture bellow window");

    // The image window alone takes dropped files.
    auto* image = Place(new KartavoWindow(client), "image", 610, 50, 260, 200);
    image->setFrameShape(QFrame::Box);
    image->setAcceptDrops(true);
    g_app.wndImage = image;

    // The map is what the user waits for: this view is made after the map page has
    // loaded, or with the first picture.
    PaintAsEmptyView(image);
    g_app.pPhotoView = MakeBrowser();
    g_app.pPhotoView->CreateLater(image, "photo.htm");
    return 0;
}

void SetInfoText(const char* text) {
    if (g_app.wndInfo == nullptr)
        return;
    // File names in the text may hold bytes that are not UTF-8; they show as "\\xHH".
    QString plain = ReadablePath(QByteArray(text));
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    g_app.wndInfo->setPlainText(plain);
}

void ReadField(const QLineEdit* field, char (&text)[kFieldTextSize]) {
    const QByteArray utf8 = field ? field->text().toUtf8() : QByteArray();
    CopyBounded(text, sizeof text, utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

bool ReadPositionFields(char (&latitude)[kFieldTextSize], char (&longitude)[kFieldTextSize],
                        char* problem, std::size_t size) {
    ReadField(g_app.wndLatitude, latitude);
    ReadField(g_app.wndLongitude, longitude);
    return CheckCoordinateFields(latitude, longitude, problem, size);
}
