#pragma once

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <sys/stat.h>

// Real JPEG files for the script tests, and ExifTool to put tags in and read them back.
namespace TestPictures {

struct PerlResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline PerlResult
RunPerl(const QStringList& args,
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess perl;
    perl.setProcessEnvironment(env);
    perl.start("perl", args);
    PerlResult result;
    if (!perl.waitForFinished(60000))
        return result;
    result.exitCode = perl.exitStatus() == QProcess::NormalExit ? perl.exitCode() : -1;
    result.out = perl.readAllStandardOutput();
    result.err = perl.readAllStandardError();
    return result;
}

// A small picture with some detail, so that its image data is not trivial.
inline bool MakeJpeg(const QString& path) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QPainter painter(&image);
    painter.fillRect(8, 8, 30, 20, Qt::yellow);
    painter.drawLine(0, 47, 63, 0);
    painter.end();
    return image.save(path, "JPG", 90);
}

// Sets tags to raw values (given as hex bytes), exactly as stored in the file. A prelude
// may change ExifTool's tag tables first.
inline bool SetRawTagsAfter(const char* prelude, const QString& path,
                            const QMap<QString, QByteArray>& tags) {
    static const char* script = R"(
require Image::ExifTool;
my $file = shift;
my $et = Image::ExifTool->new;
while (@ARGV) {
    my ($tag, $hex) = splice(@ARGV, 0, 2);
    my ($n, $e) = $et->SetNewValue($tag, pack('H*', $hex), Type => 'Raw');
    die "$tag: $e\n" unless $n;
}
unlink "$file.new";
$et->WriteInfo($file, "$file.new") or die $et->GetValue('Error'), "\n";
rename "$file.new", $file or die "$!\n";
)";
    QStringList args{"-e", QString::fromUtf8(prelude) + script, path};
    for (auto it = tags.begin(); it != tags.end(); ++it)
        args << it.key() << QString::fromLatin1(it.value().toHex());
    return RunPerl(args).exitCode == 0;
}

inline bool SetRawTags(const QString& path, const QMap<QString, QByteArray>& tags) {
    return SetRawTagsAfter("", path, tags);
}

// Same, but the GPS latitude, longitude and altitude are stored as signed rationals, as some
// writers do although the tags are unsigned.
inline bool SetSignedGpsTags(const QString& path, const QMap<QString, QByteArray>& tags) {
    return SetRawTagsAfter(R"(
%Image::ExifTool::UserDefined = ('Image::ExifTool::GPS::Main' => {
    2 => { Name => 'GPSLatitude',  Writable => 'rational64s', Count => 3 },
    4 => { Name => 'GPSLongitude', Writable => 'rational64s', Count => 3 },
    6 => { Name => 'GPSAltitude',  Writable => 'rational64s' },
});
)",
                           path, tags);
}

// An environment whose perl loads a module around the built-in rename, to see the write
// script at the moment its new file takes the picture's name. mode: "exit" ends the process
// right after a successful rename without flushing anything; "TERM" or "KILL" sends that
// signal to itself just before renaming; anything else only logs. The log (when given) gets
// one line per flush ("sync DEV:INO") and rename ("rename DEV:INO" of the renamed file).
// "DEV:INO" as the rename hook logs it.
inline QString FileId(const QString& path) {
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return "?";
    return QString("%1:%2").arg(info.st_dev).arg(info.st_ino);
}

inline QProcessEnvironment RenameHookEnvironment(const QString& dir, const QString& mode,
                                                 const QString& log = {}) {
    QFile module(dir + "/KartavoRenameHook.pm");
    if (module.open(QIODevice::WriteOnly))
        module.write(R"(package KartavoRenameHook;
use strict;
use warnings;
use POSIX ();
use IO::Handle ();
my $mode = $ENV{KARTAVO_RENAME_HOOK} // '';
sub Note {
    my $log = $ENV{KARTAVO_RENAME_LOG} or return;
    open(my $file, '>>', $log) or return;
    print $file "@_
";
    close $file;
}
sub Id { my @s = stat($_[0]); return @s ? "$s[0]:$s[1]" : '?'; }
my $sync = \&IO::Handle::sync;
{
    no warnings 'redefine';
    *IO::Handle::sync = sub { Note('sync', Id($_[0])); return $sync->(@_); };
}
*CORE::GLOBAL::rename = sub {
    my ($from, $to) = @_;
    Note('rename', Id($from));
    if ($mode eq 'TERM' or $mode eq 'KILL') {
        kill $mode, $$;
        sleep 5;
    }
    my $done = CORE::rename($from, $to);
    POSIX::_exit(0) if $done and $mode eq 'exit';
    return $done;
};
1;
)");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PERL5LIB", dir);
    env.insert("PERL5OPT", "-MKartavoRenameHook");
    env.insert("KARTAVO_RENAME_HOOK", mode);
    if (!log.isEmpty())
        env.insert("KARTAVO_RENAME_LOG", log);
    return env;
}

// Gives a JPEG what a camera's firmware writes beside the pixels: make, model, date,
// maker notes (a small Canon block) and an embedded JPEG thumbnail; out is new.
inline bool AddCameraTags(const QString& jpeg, const QString& thumbnail, const QString& out) {
    static const char* script = R"(
use Image::ExifTool;
my ($plain, $thumb, $out) = @ARGV;
my $notes = pack('n', 2) . pack('nnNN', 0x000c, 4, 1, 123456789)
          . pack('nnNN', 0x0010, 4, 1, 0x80000213) . pack('N', 0);
open(my $fh, '<', $thumb) or die; binmode $fh; local $/; my $jpeg = <$fh>;
my $et = Image::ExifTool->new;
$et->SetNewValue('Make', 'Canon');
$et->SetNewValue('Model', 'Canon EOS 5D');
$et->SetNewValue('DateTimeOriginal', '2024:05:06 07:08:09');
$et->SetNewValue('MakerNoteCanon', $notes, Protected => 1) or die "maker notes\n";
$et->SetNewValue('ThumbnailImage', $jpeg) or die "thumbnail\n";
unlink $out;
$et->WriteInfo($plain, $out) == 1 or die $et->GetValue('Error'), "\n";
)";
    return RunPerl({"-e", script, jpeg, thumbnail, out}).exitCode == 0;
}

// Tag values as ExifTool reads them from the file: rationals as "n/d n/d ...",
// other values raw, XP* tags as hex bytes; "" when the tag is missing.
inline QMap<QString, QString> ReadTags(const QString& path, const QStringList& tags) {
    static const char* script = R"(
use Image::ExifTool;
my $file = shift;
my $et = Image::ExifTool->new;
$et->ExtractInfo($file) or die "cannot read\n";
for my $tag (@ARGV) {
    my $value = $et->GetValue($tag, 'Rational');
    $value = $et->GetValue($tag, 'Raw') unless defined $value;
    $value = '' unless defined $value;
    $value = unpack('H*', $value) if $tag =~ /XP/;
    print "$tag=$value\n";
}
)";
    QMap<QString, QString> values;
    const PerlResult result = RunPerl(QStringList{"-e", script, path} + tags);
    for (const QByteArray& line : result.out.split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0)
            values.insert(QString::fromUtf8(line.left(equals)),
                          QString::fromUtf8(line.mid(equals + 1)));
    }
    return values;
}

// The JPEG's entropy-coded data, from its first start-of-scan marker on.
inline QByteArray ImageData(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const int sos = bytes.indexOf("\xFF\xDA");
    return sos < 0 ? QByteArray() : bytes.mid(sos);
}

inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A JPEG whose first IFD names itself as the next one: a minor fault that ExifTool reads
// past, and writes past only when told to ignore it.
inline bool MakeSelfLinkedJpeg(const QString& path) {
    if (!MakeJpeg(path) || !SetRawTags(path, {{"IFD0:Artist", "Me"}}))
        return false;
    QByteArray bytes = FileBytes(path);
    const qsizetype tiff = bytes.indexOf(QByteArray("Exif\0\0", 6)) + 6;
    if (tiff <= 6)
        return false;
    const bool little = bytes.mid(tiff, 2) == "II";
    const auto read = [&](qsizetype at, int size) {
        quint32 value = 0;
        for (int i = 0; i < size; ++i)
            value |= quint32(quint8(bytes[at + (little ? i : size - 1 - i)])) << (8 * i);
        return value;
    };
    const quint32 ifd0 = read(tiff + 4, 4);
    const qsizetype next = tiff + ifd0 + 2 + 12 * read(tiff + ifd0, 2);
    for (int i = 0; i < 4; ++i)
        bytes[next + (little ? i : 3 - i)] = char(ifd0 >> (8 * i));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace TestPictures
