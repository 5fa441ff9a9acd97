#include "webview/PhotoPage.h"

#include "base/AppState.h"
#include "base/LocalPath.h"
#include "formats/PhotoPreview.h"
#include "webview/CWebBrowser.h"
#include "webview/JsString.h"

#include <QString>
#include <QUrl>

std::string PhotoScript(const char* path) {
    // An encoded file address: blanks, "#", "%" and other letters keep their meaning.
    // The name's own bytes, which need not be UTF-8.
    const QString address = FileUrl(QByteArray(path ? path : "")).toString(QUrl::FullyEncoded);
    const QString script = QStringLiteral("var photo = document.getElementById('photo'); "
                                          "photo.src = %1; photo.width = 240;")
                               .arg(JsStringLiteral(address));
    return script.toStdString();
}

void ShowPhoto(const char* path) {
    if (g_app.pPhotoView && path != nullptr && path[0] != '\0') {
        // The page cannot show TIFF, RAW or HEIC files itself.
        if (NeedsMadePreview(path))
            ShowMadePreview(path);
        else {
            ForgetMadePreview();
            g_app.pPhotoView->ExecScriptOnLoad(PhotoScript(path).c_str());
        }
    }
}
