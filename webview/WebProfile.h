#pragma once

class QString;

// Readies the web engine's default profile, which both views share: the res scheme
// handler, and a user agent that names Kartavo, as the tile server's usage policy asks.
// Needs the QApplication; later calls do nothing.
void PrepareWebProfile();

// The user agent the views send.
QString KartavoUserAgent();
