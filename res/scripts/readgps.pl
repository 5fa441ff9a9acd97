#!/usr/bin/perl
# Prints a picture's date and time, GPS position, altitude, pixel size, title and
# description as twelve lines, each ended by CR LF, and one more CR LF:
#
#   0 date and time        4 longitude ref         8 width (Exif)
#   1 latitude ref         5 longitude d; m; s     9 height (Exif)
#   2 latitude d; m; s     6 longitude degrees    10 title
#   3 latitude degrees     7 altitude             11 description
#
#   perl readgps.pl PICTURE [NAME.xmp|NAME.EXT.xmp]
#
# A picture with no position of its own in its Exif or XMP tags takes the position and
# altitude from its XMP sidecar: "NAME.xmp" or "NAME.EXT.xmp" beside it, the one the
# second argument names first (NAME.xmp when none). A sidecar that is missing, is no
# regular file or holds no usable position is passed over without a word.
# Everything is printed in one write at the very end. A missing date reads
# "2010:01:01 00:00:00"; other missing values are empty lines. Coordinates are
# unsigned sizes (the references give the side); the altitude is negative below sea
# level. No value carries a control character, so none can break a line. On any
# failure it prints one line on standard error, nothing on standard output, and
# exits non-zero.
use strict;
use warnings;
use Encode ();
use Fcntl qw(O_RDONLY O_NONBLOCK);

BEGIN {
    unless (eval { require Image::ExifTool; 1 }) {
        print STDERR "Image::ExifTool is not installed (Debian package libimage-exiftool-perl)\n";
        exit 3;
    }
}

sub Fail {
    my ($message) = @_;
    $message =~ s/\s+\z//;
    $message =~ s/\s*[\r\n]+\s*/; /g;
    print STDERR "$message\n";
    exit 1;
}

# Why a path that exists is no picture file; empty for a regular file. Uses the
# last stat, so a named pipe or device is never opened (opening a pipe would block).
sub NotAFile {
    return '' if -f _;
    return 'Is a directory' if -d _;
    return 'it is a named pipe, not a picture file' if -p _;
    return 'it is a device, not a picture file' if -c _ or -b _;
    return 'it is a socket, not a picture file' if -S _;
    return 'it is not a regular file';
}

# Plain decimal, at most 15 significant digits, no trailing zeros; empty for
# infinities and NaN, which no tag can mean.
sub Number {
    my ($value) = @_;
    my $text = sprintf('%.15g', $value);
    return '' unless $text =~ /^-?[0-9.]+(?:e[-+][0-9]+)?\z/;
    $text = '0' if $text eq '-0';
    return $text;
}

# "37/1 33/1 4377240/100000" -> (37, 33, 43.7724) as numbers.
sub RationalValues {
    my ($text) = @_;
    my @values;
    for my $fraction (split ' ', $text) {
        my ($n, $d) = split m{/}, $fraction;
        return () unless defined $d and $d != 0;
        push @values, $n / $d;
    }
    return @values;
}

# Windows' title and comment tags: UTF-16LE bytes, decoded whole; only the
# terminating zero units go. Line ends inside would break the line protocol.
sub Utf16Text {
    my ($bytes) = @_;
    return '' unless defined $bytes;
    my $units = substr($bytes, 0, length($bytes) & ~1);
    my $text = Encode::decode('UTF-16LE', $units);
    $text =~ s/\x{0}+\z//;
    return Encode::encode('UTF-8', $text);
}

# One printed line: control characters (and the Unicode line and paragraph
# separators) become blanks, so a crafted tag cannot push the later lines down.
sub Line {
    my ($text) = @_;
    $text = '' unless defined $text;
    $text =~ tr/\x00-\x1f\x7f/ /;
    $text =~ s/\xc2\x85|\xe2\x80[\xa8\xa9]/ /g;
    return $text;
}

# Both sidecar names of picture, the one naming says first.
sub SidecarNames {
    my ($picture, $naming) = @_;
    my ($folder, $name) = $picture =~ m{\A(.*/)?([^/]*)\z}s;
    $folder //= '';
    my $dot = rindex($name, '.');
    # A dot that starts the name is no extension's.
    my $base = $folder . ($dot > 0 ? substr($name, 0, $dot) : $name) . '.xmp';
    my $full = "$picture.xmp";
    my @names = ($naming // '') eq 'NAME.EXT.xmp' ? ($full, $base) : ($base, $full);
    return $names[0] eq $names[1] ? ($names[0]) : @names;
}

# An ExifTool that has read the XMP file sidecar, or nothing. It is opened without
# waiting and checked on the open handle, so a pipe put in its place blocks nothing.
sub SidecarReader {
    my ($sidecar) = @_;
    sysopen(my $handle, $sidecar, O_RDONLY | O_NONBLOCK) or return ();
    return () unless -f $handle;
    my $reader = Image::ExifTool->new;
    $reader->ExtractInfo($handle) or return ();
    return () if defined $reader->GetValue('Error');
    return () unless ($reader->GetValue('FileType') // '') eq 'XMP';
    return $reader;
}

# Seconds are rounded to eight places before the split, so 43.7724 does not print
# as 43.7723999999.
sub Dms {
    my ($degrees) = @_;
    my $seconds = sprintf('%.8f', abs($degrees) * 3600);
    my $d = int($seconds / 3600);
    my $m = int(($seconds - $d * 3600) / 60);
    my $s = sprintf('%.8f', $seconds - $d * 3600 - $m * 60);
    return join('; ', map { Number($_) } $d, $m, $s);
}

sub IsDecimal {
    my ($value) = @_;
    return defined $value && $value =~ /\A\s*-?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?\s*\z/;
}

# Lines 1 to 7 from XMP's signed degrees and its altitude with reference, or nothing
# when there is no usable position.
sub XmpPosition {
    my ($reader) = @_;
    my $lat = $reader->GetValue('XMP:GPSLatitude', 'ValueConv');
    my $lon = $reader->GetValue('XMP:GPSLongitude', 'ValueConv');
    return () unless IsDecimal($lat) and IsDecimal($lon);
    return () if abs($lat) > 90 or abs($lon) > 180;
    my @lines = ($lat < 0 ? 'S' : 'N', Dms($lat), Number(abs $lat),
                 $lon < 0 ? 'W' : 'E', Dms($lon), Number(abs $lon), '');
    my $altitude = $reader->GetValue('XMP:GPSAltitude', 'ValueConv');
    if (IsDecimal($altitude)) {
        my $below = ($reader->GetValue('XMP:GPSAltitudeRef', 'Raw') // '') =~ /\A\s*1\s*\z/;
        $lines[6] = Number($below ? -abs($altitude) : abs($altitude));
    }
    return @lines;
}

if (@ARGV == 0) {
    print "\$ERR: It needs file path\r\n";
    exit 2;
}
my $picture = $ARGV[0];
Fail("Cannot open $picture: $!") unless stat $picture;
my $notAFile = NotAFile();
Fail("Cannot open $picture: $notAFile") if $notAFile;
open(my $probe, '<', $picture) or Fail("Cannot open $picture: $!");
close $probe;

my $et = Image::ExifTool->new;
$et->Options(Duplicates => 1);
$et->ExtractInfo($picture) or Fail("Cannot read $picture: " . ($et->GetValue('Error') // 'unknown error'));
my $error = $et->GetValue('Error');
Fail("Cannot read $picture: $error") if defined $error;
my $type = $et->GetValue('MIMEType') // '';
Fail("$picture is not a picture ($type)") unless $type =~ m{^image/};

sub Raw { my ($tag) = @_; return $et->GetValue($tag, 'Raw'); }

my $date = Raw('ExifIFD:DateTimeOriginal');
$date = '2010:01:01 00:00:00' unless defined $date and length $date;
my @lines = ($date, ('') x 11);

for my $side ([1, 'Latitude'], [4, 'Longitude']) {
    my ($line, $name) = @$side;
    my $ref = Raw("GPS:GPS${name}Ref");
    $lines[$line] = $ref if defined $ref;
    my $rational = $et->GetValue("GPS:GPS$name", 'Rational');
    my @dms = defined $rational ? RationalValues($rational) : ();
    # A signed rational's sign is no side: the reference is.
    @dms = map { abs } @dms;
    if (@dms == 3) {
        $lines[$line + 1] = join('; ', map { Number($_) } @dms);
        $lines[$line + 2] = Number($dms[0] + $dms[1] / 60 + $dms[2] / 3600);
    }
}
my $altitude = $et->GetValue('GPS:GPSAltitude', 'Rational');
my @altitude = defined $altitude ? RationalValues($altitude) : ();
if (@altitude == 1) {
    my $below = (Raw('GPS:GPSAltitudeRef') // '') =~ /^\s*1\s*\z/;
    $lines[7] = Number($below ? -abs($altitude[0]) : abs($altitude[0]));
}

# No Exif position: the picture's own XMP, else its sidecar's.
unless (length $lines[3] and length $lines[6]) {
    my @found = XmpPosition($et);
    for my $sidecar (SidecarNames($picture, $ARGV[1])) {
        last if @found;
        my $reader = SidecarReader($sidecar) or next;
        @found = XmpPosition($reader);
    }
    @lines[1 .. 7] = @found if @found;
}

my $width = Raw('ExifIFD:ExifImageWidth');
my $height = Raw('ExifIFD:ExifImageHeight');
$lines[8] = Number($width) if defined $width and $width =~ /^\d+\z/;
$lines[9] = Number($height) if defined $height and $height =~ /^\d+\z/;
$lines[10] = Utf16Text(Raw('IFD0:XPTitle'));
$lines[11] = Utf16Text(Raw('IFD0:XPComment'));

my $text = join('', map { Line($_) . "\r\n" } @lines) . "\r\n";
binmode STDOUT;
my $done = 0;
while ($done < length $text) {
    my $n = syswrite(STDOUT, $text, length($text) - $done, $done);
    exit 1 unless defined $n;
    $done += $n;
}
exit 0;
