#!/usr/bin/perl
# Writes a GPS position and an altitude into a picture's Exif data.
#
#   perl writegps.pl PICTURE LATREF D/M/S LONREF D/M/S ALTITUDE
#   e.g. perl writegps.pl a.jpg N 37/33/43.7724 E 126/58/24.0600 -12.5
#
# ALTITUDE is in metres, negative below sea level; its size is stored with
# GPSAltitudeRef 0 (at or above sea level) or 1 (below). The new picture is written
# to a fresh file beside it, flushed to disk and renamed over it, and the folder is
# flushed, so the picture is never missing or short. The fresh file is named
# ".kartavo-HOST-PID-XXXXXX.tmp": it is removed on any failure and on SIGTERM, SIGINT
# and SIGHUP, and a later write into the same folder removes those left by processes
# that died (SIGKILL, power cut). On success it prints the picture path and three
# "empty" lines; on any failure it prints one line on standard error, nothing on
# standard output, and exits non-zero with the picture unchanged.
use strict;
use warnings;
use File::Basename qw(dirname);
use Cwd ();
use Digest::MD5 ();
use Errno qw(EEXIST EPERM EINVAL ENOTSUP EOPNOTSUPP);
use Fcntl qw(O_WRONLY O_CREAT O_EXCL O_RDONLY);
use IO::Handle ();
use Sys::Hostname ();

BEGIN {
    unless (eval { require Image::ExifTool; 1 }) {
        print STDERR "Image::ExifTool is not installed (Debian package libimage-exiftool-perl)\n";
        exit 3;
    }
}

my $temp;        # the new file's path while it is not yet the picture
my $renamed = 0; # the new file has become the picture

sub RemoveTemp {
    unlink $temp if defined $temp;
    undef $temp;
}

END { RemoveTemp(); }

sub Fail {
    my ($message) = @_;
    RemoveTemp();
    $message =~ s/\s+\z//;
    $message =~ s/\s*[\r\n]+\s*/; /g;
    print STDERR "$message\n";
    exit 1;
}

for my $signal (qw(TERM INT HUP)) {
    $SIG{$signal} = sub {
        Fail("Stopped by SIG$signal" . ($renamed ? '' : '; the picture is unchanged'));
    };
}

# Rounds to the nearest integer, halves to the even one (as the C library prints).
sub RoundEven {
    my ($value) = @_;
    my $text = sprintf('%.0f', $value);
    $text = '0' if $text eq '-0';
    return $text;
}

# A number as the fields write it; a minus only where signed is true.
sub ToNumber {
    my ($text, $what, $signed) = @_;
    my $sign = $signed ? '[-+]?' : '\+?';
    Fail("$what is not a number: '$text'")
        unless $text =~ /^\s*$sign(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?\s*\z/;
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

# Why a path that exists is no picture file; empty for a regular file. Uses the
# last stat, so a named pipe or device is never opened.
sub NotAFile {
    return '' if -f _;
    return 'Is a directory' if -d _;
    return 'it is a named pipe, not a picture file' if -p _;
    return 'it is a device, not a picture file' if -c _ or -b _;
    return 'it is a socket, not a picture file' if -S _;
    return 'it is not a regular file';
}

# New files are named after this host and process, so that a later write can tell
# the leftovers of a dead process from the work of a live one.
my $host = substr(Digest::MD5::md5_hex(eval { Sys::Hostname::hostname() } // ''), 0, 8);
my $tempPattern = qr/^\.kartavo-\Q$host\E-(\d+)-[0-9a-z]{6}\.tmp\z/;

sub RemoveStale {
    my ($dir) = @_;
    opendir(my $entries, $dir) or return;
    for my $name (readdir $entries) {
        next unless $name =~ $tempPattern;
        my $pid = $1;
        next if $pid == $$ or kill(0, $pid) or $! == EPERM;
        unlink "$dir/$name";
    }
    closedir $entries;
}

sub CreateTemp {
    my ($dir, $picture) = @_;
    my @letters = ('0' .. '9', 'a' .. 'z');
    for (1 .. 100) {
        my $random = join('', map { $letters[rand @letters] } 1 .. 6);
        my $path = "$dir/.kartavo-$host-$$-$random.tmp";
        if (sysopen(my $handle, $path, O_WRONLY | O_CREAT | O_EXCL, 0600)) {
            $temp = $path;
            binmode $handle;
            return $handle;
        }
        Fail("Cannot create a new file beside $picture: $!") unless $! == EEXIST;
    }
    Fail("Cannot create a new file beside $picture: $!");
}

if (@ARGV == 0) {
    print "\$ It needs file path\r\n";
    exit 2;
}
Fail('It needs six arguments: PICTURE LATREF D/M/S LONREF D/M/S ALTITUDE') if @ARGV < 6;
my ($picture, $latRef, $latText, $lonRef, $lonText, $altText) = @ARGV;

my $latitude = DmsRationals($latText, 'Latitude');
my $longitude = DmsRationals($lonText, 'Longitude');
my $metres = ToNumber($altText, 'Altitude', 1);
my $altitude = Numerator(abs($metres), 10000, 'Altitude');
my $altitudeRef = $metres < 0 && $altitude != 0 ? 1 : 0;

# A link stays a link: its target is the file replaced.
my $target = -l $picture ? Cwd::abs_path($picture) : $picture;
Fail("Cannot open $picture: " . ($! || 'the link leads nowhere')) unless defined $target;
my @stat = stat $target or Fail("Cannot open $picture: $!");
my $notAFile = NotAFile();
Fail("Cannot open $picture: $notAFile") if $notAFile;

# Say so before anything is written when this kind of picture has no place for GPS tags.
my $info = Image::ExifTool::ImageInfo($target, 'FileType', 'MIMEType', { FastScan => 3 });
my $type = $$info{FileType};
Fail("Cannot record into $picture: it is not a picture ($type)")
    if defined $type and ($$info{MIMEType} // '') !~ m{^image/};
my $kind = defined $type ? "a $type picture" : 'this kind of picture';
Fail("Cannot record into $picture: $kind cannot hold GPS tags")
    if defined $type and not (Image::ExifTool::CanWrite($type) and (Image::ExifTool::CanWrite($target) // 1));

my $et = Image::ExifTool->new;
my @values = (
    ['GPS:GPSVersionID',    '2 2 0 0'],
    ['GPS:GPSLatitude',     $latitude],
    ['GPS:GPSLongitude',    $longitude],
    ['GPS:GPSAltitude',     "$altitude/10000"],
    ['GPS:GPSAltitudeRef',  $altitudeRef],
    ['GPS:GPSLatitudeRef',  $latRef],
    ['GPS:GPSLongitudeRef', $lonRef],
);
for my $value (@values) {
    my ($tag, $raw) = @$value;
    my ($count, $error) = $et->SetNewValue($tag, $raw, Type => 'Raw');
    Fail("Cannot set $tag to '$raw': " . ($error // 'rejected')) unless $count;
}

my $dir = dirname($target);
RemoveStale($dir);
my $handle = CreateTemp($dir, $picture);
my $result = $et->WriteInfo($target, $handle);
unless ($result) {
    my $why = $et->GetValue('Error') // 'unknown error';
    # ExifTool writes past a small fault it found only when told to ignore it, which
    # could lose what it cannot read: the picture is left alone, and the user told so.
    if ($why =~ s/^\[minor\]\s*//) {
        $why =~ s/\s*\((?:fix or ignore\?|ignored)\)\s*\z//;
        $why = ($why =~ /maker ?notes/i ? 'its maker notes look damaged'
                                        : "its metadata has a small fault ($why)")
             . ', so it was left unchanged; a sidecar can hold its position'
             . ' (Picture > Write Positions Into)';
    }
    Fail("Cannot write $picture: $why");
}
# Nothing changed: the format took none of the tags.
Fail("Cannot record into $picture: $kind cannot hold GPS tags") if $result == 2;
$handle->flush or Fail("Cannot write $picture: $!");
$handle->sync or Fail("Cannot flush the new $picture to disk: $!");
close $handle or Fail("Cannot write $picture: $!");

# The new file keeps the picture's permissions (and its owner, where allowed).
chmod $stat[2] & 07777, $temp or Fail("Cannot set permissions on the new $picture: $!");
chown $stat[4], $stat[5], $temp;
rename $temp, $target or Fail("Cannot replace $picture: $!");
$renamed = 1;
undef $temp;

# The rename itself reaches the disk only with the folder. Some file systems cannot
# flush a folder; the picture is complete either way.
if (sysopen(my $folder, $dir, O_RDONLY)) {
    Fail("The picture $picture was replaced, but its folder could not be flushed to disk: $!")
        unless $folder->sync or $! == EINVAL or $! == ENOTSUP or $! == EOPNOTSUPP;
    close $folder;
}

$| = 0;
print "$picture\r\nempty\r\nempty\r\nempty\r\n";
exit 0;
