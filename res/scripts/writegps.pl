#!/usr/bin/perl
# Writes a GPS position and an altitude into a picture's Exif data.
#
#   perl writegps.pl PICTURE LATREF D/M/S LONREF D/M/S ALTITUDE
#   e.g. perl writegps.pl a.jpg N 37/33/43.7724 E 126/58/24.0600 50
#
# The new picture is written to a fresh file beside it and renamed over it, so the
# picture is never missing. On success it prints the picture path and three
# "empty" lines; on any failure it prints a message on standard error, nothing on
# standard output, and exits non-zero with the picture unchanged.
use strict;
use warnings;
use File::Basename qw(dirname basename);
use File::Temp ();
use Cwd ();

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

# Rounds to the nearest integer, halves to the even one (as the C library prints).
sub RoundEven {
    my ($value) = @_;
    my $text = sprintf('%.0f', $value);
    $text = '0' if $text eq '-0';
    return $text;
}

sub ToNumber {
    my ($text, $what) = @_;
    Fail("$what is not a number: '$text'")
        unless $text =~ /^\s*\+?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?\s*\z/;
    return $text + 0;
}

# Numerators are stored as 32-bit signed integers.
sub Numerator {
    my ($value, $scale, $what) = @_;
    my $n = RoundEven($value * $scale);
    Fail("$what is out of range: $value") if $n > 2147483647;
    return $n;
}

# "37/33/43.7724" -> "37/1 33/1 4377240/100000"
sub DmsRationals {
    my ($text, $what) = @_;
    my @pieces = split m{/}, $text, -1;
    Fail("$what needs degrees/minutes/seconds: '$text'") unless @pieces == 3;
    my $d = Numerator(ToNumber($pieces[0], "$what degrees"), 1, "$what degrees");
    my $m = Numerator(ToNumber($pieces[1], "$what minutes"), 1, "$what minutes");
    my $s = Numerator(ToNumber($pieces[2], "$what seconds"), 100000, "$what seconds");
    return "$d/1 $m/1 $s/100000";
}

if (@ARGV == 0) {
    print "\$ It needs file path\r\n";
    exit 2;
}
Fail('It needs six arguments: PICTURE LATREF D/M/S LONREF D/M/S ALTITUDE') if @ARGV < 6;
my ($picture, $latRef, $latText, $lonRef, $lonText, $altText) = @ARGV;

my $latitude = DmsRationals($latText, 'Latitude');
my $longitude = DmsRationals($lonText, 'Longitude');
my $altitude = Numerator(ToNumber($altText, 'Altitude'), 10000, 'Altitude') . '/10000';

# A link stays a link: its target is the file replaced.
my $target = -l $picture ? Cwd::abs_path($picture) : $picture;
Fail("Cannot resolve $picture") unless defined $target;
my @stat = stat $target or Fail("Cannot open $picture: $!");
Fail("$picture is not a file") unless -f _;

my $et = Image::ExifTool->new;
my @values = (
    ['GPS:GPSVersionID',    '2 2 0 0'],
    ['GPS:GPSLatitude',     $latitude],
    ['GPS:GPSLongitude',    $longitude],
    ['GPS:GPSAltitude',     $altitude],
    ['GPS:GPSLatitudeRef',  $latRef],
    ['GPS:GPSLongitudeRef', $lonRef],
);
for my $value (@values) {
    my ($tag, $raw) = @$value;
    my ($count, $error) = $et->SetNewValue($tag, $raw, Type => 'Raw');
    Fail("Cannot set $tag to '$raw': " . ($error // 'rejected')) unless $count;
}

my $temp = eval {
    File::Temp->new(
        TEMPLATE => '.' . basename($target) . '.XXXXXX',
        DIR      => dirname($target),
        SUFFIX   => '.tmp',
        UNLINK   => 1,
    );
} or Fail('Cannot create a new file beside ' . $picture . ': ' . ($@ =~ s/ at .* line \d+.*//sr));
my $result = $et->WriteInfo($target, $temp);
Fail("Cannot write $picture: " . ($et->GetValue('Error') // 'unknown error')) unless $result;
close $temp or Fail("Cannot write $picture: $!");

# The new file keeps the picture's permissions (and its owner, where allowed).
chmod $stat[2] & 07777, $temp->filename or Fail("Cannot set permissions on $temp: $!");
chown $stat[4], $stat[5], $temp->filename;
rename $temp->filename, $target or Fail("Cannot replace $picture: $!");
$temp->unlink_on_destroy(0);

$| = 0;
print "$picture\r\nempty\r\nempty\r\nempty\r\n";
exit 0;
