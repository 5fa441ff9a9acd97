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

// Sets tags to raw values (given as hex bytes), exactly as stored in the file.
inline bool SetRawTags(const QString& path, const QMap<QString, QByteArray>& tags) {
    static const char* script = R"(
use Image::ExifTool;
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
    QStringList args{"-e", script, path};
    for (auto it = tags.begin(); it != tags.end(); ++it)
        args << it.key() << QString::fromLatin1(it.value().toHex());
    return RunPerl(args).exitCode == 0;
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

} // namespace TestPictures
