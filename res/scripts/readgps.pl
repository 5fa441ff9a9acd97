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
# "2010:01:01 00:00:00"; other missing values are empty lines. On any failure it
# prints a message on standard error, nothing on standard output, and exits non-zero.
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
    print STDERR "$message\n";
    exit 1;
}

# Plain decimal, at most 15 significant digits, no trailing zeros.
sub Number {
    my ($value) = @_;
    my $text = sprintf('%.15g', $value);
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
    $text =~ tr/\r\n\x{0}/   /;
    return Encode::encode('UTF-8', $text);
}

if (@ARGV == 0) {
    print "\$ERR: It needs file path\r\n";
    exit 2;
}
my $picture = $ARGV[0];
Fail("Cannot open $picture: $!") unless -f $picture and open(my $probe, '<', $picture);
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
    if (@dms == 3) {
        $lines[$line + 1] = join('; ', map { Number($_) } @dms);
        $lines[$line + 2] = Number($dms[0] + $dms[1] / 60 + $dms[2] / 3600);
    }
}
my $altitude = $et->GetValue('GPS:GPSAltitude', 'Rational');
my @altitude = defined $altitude ? RationalValues($altitude) : ();
$lines[7] = Number($altitude[0]) if @altitude == 1;

my $width = Raw('ExifIFD:ExifImageWidth');
my $height = Raw('ExifIFD:ExifImageHeight');
$lines[8] = Number($width) if defined $width and $width =~ /^\d+\z/;
$lines[9] = Number($height) if defined $height and $height =~ /^\d+\z/;
$lines[10] = Utf16Text(Raw('IFD0:XPTitle'));
$lines[11] = Utf16Text(Raw('IFD0:XPComment'));

my $text = join('', map { "$_\r\n" } @lines) . "\r\n";
binmode STDOUT;
my $done = 0;
while ($done < length $text) {
    my $n = syswrite(STDOUT, $text, length($text) - $done, $done);
    exit 1 unless defined $n;
    $done += $n;
}
exit 0;
