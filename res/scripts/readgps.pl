#!/usr/bin/perl
# Prints a picture's date and time, GPS position, altitude, pixel size, title and
# description as twelve lines, each ended by CR LF, and one more CR LF:
#
#   0 date and time        4 longitude ref         8 width (Exif)
#   1 latitude ref         5 longitude d; m; s     9 height (Exif)
#   2 latitude d; m; s     6 longitude degrees    10 title
#   3 latitude degrees     7 altitude             11 description
#
#   perl readgps.pl PICTURE
#
# Everything is printed in one write at the very end. A missing date reads
# "2010:01:01 00:00:00"; other missing values are empty lines. Coordinates are
# unsigned sizes (the references give the side); the altitude is negative below sea
# level. No value carries a control character, so none can break a line. On any
# failure it prints one line on standard error, nothing on standard output, and
# exits non-zero.
use strict;
use warnings;
use Encode ();

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
