#pragma once

class QString;
class QWebEngineProfile;

// Readies the web profile both views share: the res scheme handler, a user agent that
// names Kartavo, as the tile server's usage policy asks, and a disk cache under the
// user's cache folder, so that map tiles seen before show again without a network. The
// map tiles' address is taken from the settings on every call. Needs the QApplication.
void PrepareWebProfile();

// The shared profile; made on first use, it lives as long as the application.
QWebEngineProfile* KartavoWebProfile();

// The user agent the views send.
QString KartavoUserAgent();
