#include "app/help/AboutDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QString Link(const char* address) {
    const QString url = QString::fromLatin1(address);
    return QStringLiteral("<a href=\"%1\">%1</a>").arg(url);
}

QString Paragraph(const QString& text) {
    return QStringLiteral("<p>%1</p>").arg(text);
}

} // namespace

QString AboutText() {
    QString html = QStringLiteral("<h3>Kartavo %1</h3>").arg(QStringLiteral(KARTAVO_VERSION));
    html += Paragraph(QObject::tr("Tags photographs with a geographic position."));
    html += Paragraph(QObject::tr("Licence: GNU General Public License, version 3 or later. "
                                  "Kartavo comes with absolutely no warranty."));
    html += QStringLiteral("<h4>%1</h4>").arg(QObject::tr("Credits"));
    html += Paragraph(QObject::tr("Map data © OpenStreetMap contributors, available under the "
                                  "Open Database License (ODbL): %1")
                          .arg(Link("https://www.openstreetmap.org/copyright")));
    html += Paragraph(QObject::tr("The map is drawn with Leaflet, © Vladimir Agafonkin and "
                                  "CloudMade, under the BSD 2-Clause License: %1")
                          .arg(Link("https://leafletjs.com")));
    html += Paragraph(QObject::tr("Exif data is read and written with ExifTool by Phil Harvey: %1")
                          .arg(Link("https://exiftool.org")));
    html += Paragraph(QObject::tr("The offline city list is GeoNames' (CC BY 4.0), through "
                                  "libgeonames: %1")
                          .arg(Link("https://www.geonames.org")));
    html += Paragraph(QObject::tr("Place search uses Nominatim under the OpenStreetMap "
                                  "Foundation's usage policy: a search only when you press "
                                  "Enter, at most one a second, and its results shown with "
                                  "their attribution: %1")
                          .arg(Link("https://operations.osmfoundation.org/policies/nominatim/")));
    html += Paragraph(QObject::tr("Built with Qt %1.").arg(QString::fromLatin1(qVersion())));
    return html;
}

void ShowAboutDialog(QWidget* parent) {
    static QPointer<QDialog> s_dialog;
    if (s_dialog.isNull()) {
        s_dialog = new QDialog(parent);
        s_dialog->setObjectName(QStringLiteral("aboutDialog"));
        s_dialog->setWindowTitle(QObject::tr("About Kartavo"));
        // Scrolls on a small screen; links open in the desktop's browser.
        auto* text = new QTextBrowser(s_dialog);
        text->setObjectName(QStringLiteral("aboutText"));
        text->setOpenExternalLinks(true);
        text->setHtml(AboutText());
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, s_dialog);
        QObject::connect(buttons, &QDialogButtonBox::rejected, s_dialog, &QDialog::close);
        auto* layout = new QVBoxLayout(s_dialog);
        layout->addWidget(text);
        layout->addWidget(buttons);
        s_dialog->resize(520, 440);
    }
    s_dialog->show();
    s_dialog->raise();
    s_dialog->activateWindow();
}
