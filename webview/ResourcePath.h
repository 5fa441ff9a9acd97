#pragma once

#include <QByteArray>
#include <QString>

// Where the web views find the program's own pages and images. They live in the Qt
// resources under ":/web" and are addressed as res://<program file name>/<path>.

// The program file's name without its folder, as the address names it.
QString ProgramFileName();

// The host name that stands for a program file of that name: the name itself where it is a
// valid host, otherwise the name with every letter a host cannot hold turned into "-"
// ("kar tavo" gives "kar-tavo"), so the pages load whatever the program is called.
QString ProgramHostFor(const QString& fileName);

// "res://<program host>/<page>", or an empty text when the name is unknown.
QString ResourceAddress(const QString& page);

// True when host names this program: the address parser keeps hosts in lower case.
bool IsProgramHost(const QString& host);

// The resource file for the path of a res address ("/JPGS/PHOTO.JPG"), every part matched
// without regard to case; empty when there is none. Never leaves ":/web".
QString FindWebResource(const QString& urlPath);

// The MIME type a resource is served with, from its name's extension; empty when unknown.
QByteArray WebResourceMimeType(const QString& fileName);
