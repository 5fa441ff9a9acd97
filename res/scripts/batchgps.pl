#!/usr/bin/perl
# Reads, writes or restores the GPS tags of many pictures in one run, so that
# Image::ExifTool is loaded once for all of them.
#
#   perl batchgps.pl read  THUMBNAILS|- FIRST -- (PICTURE SIDECAR SIDECAR)...
#   perl batchgps.pl write JOURNAL FIRST -- (PICTURE LATITUDE LONGITUDE ALTITUDE UTCTIME SIDECAR)...
#   perl batchgps.pl undo  JOURNAL FIRST -- (TARGET BEFORE STATE)...
#   perl batchgps.pl names JOURNAL FIRST -- (PICTURE CITY STATE COUNTRY CODE OVERWRITE SIDECAR)...
#   perl batchgps.pl wait read|write    (then one of the above on standard input)
#
# Arguments are taken as bytes, as given. An empty ALTITUDE keeps the picture's own
# altitude tags; an empty UTCTIME ("YYYY:MM:DD HH:MM:SS[.fff]") writes no GPS time.
# A read with a THUMBNAILS file appends each picture's thumbnail to it and prints THUMB
# as @OFFSET,LENGTH; without one, THUMB is the thumbnail in base64. A JPEG's Exif
# thumbnail is told as #OFFSET,LENGTH in the picture itself.
# A read takes the position from the first of the two SIDECARs (XMP files; either may
# be empty) that has one when the picture has none of its own. A write with a SIDECAR
# puts the position into that XMP file (made when missing) and never opens the picture
# for writing.
# BEFORE is a picture's B journal line; STATE what the picture looked like after the
# write (its A record's, carried through later undone writes), or empty when unknown.
#
# One line is printed per picture as soon as it is done, fields separated by tabs,
# with backslash, tab, CR and LF in a field written as \\ \t \r \n:
#   R INDEX OK DATETIME OFFSET LATITUDE LONGITUDE ALTITUDE MIME WRITABLE WHYNOT SOURCE THUMB GPSTIME
#     CITY STATE COUNTRY CODE
#   R INDEX FAIL REASON
#   W INDEX OK | W INDEX FAIL REASON
#   U INDEX OK | U INDEX SAME | U INDEX SKIP REASON | U INDEX FAIL REASON
#     (SAME: already as before the write, which never took place, so nothing was put back)
# INDEX counts from 0 within this run. A picture that fails is left as it was.
#
# Journal lines (same escaping), each appended in one piece; a picture's B line is
# flushed to disk before the picture is touched. ID is FIRST + INDEX:
#   B ID PICTURE TARGET STATE gps|nogps TAG=VALUE|TAG! ... -> TAG=VALUE ...
#       before the picture is touched: the file's state, its previous value of each
#       tag the write changes (TAG! where it had none), then the values written
#   B ID PICTURE SIDECAR STATE sidecar|sidecar-new CONTENT=BASE64
#       before a sidecar is touched: its whole previous content, or that it is made new
#   A ID STATE    after the new picture has taken the picture's name
#   U ID STATE    after an undo has put the previous tags back
#   B ID PICTURE TARGET STATE names OLD=BASE64 -> NEW=BASE64
#       before a picture's place names are written: JSON maps of the tags the write
#       changes, to their previous values (null where it had none) and the new ones
# STATE is DEV:INODE:SIZE:MTIME of the file; a later change to the picture changes it.
# A names write reports W lines as a write does; an empty name, or one the picture
# already holds while OVERWRITE is not 1, is left as it is.
#
# SIGTERM stops the run after the pictures in hand (a write takes a few at a time).
use strict;
use warnings;
use Config ();
use Cwd ();
use Fcntl qw(O_WRONLY O_APPEND O_CREAT O_EXCL O_NOFOLLOW O_RDONLY O_DIRECTORY);
use File::Basename qw(dirname);
use IO::Handle ();
use MIME::Base64 ();
use Time::HiRes ();

BEGIN {
    unless (eval { require Image::ExifTool; 1 }) {
        print STDERR "Image::ExifTool is not installed (Debian package libimage-exiftool-perl)\n";
        exit 3;
    }
}

my $stop = 0;
# A read's thumbnail file (its JOURNAL argument), and its length so far.
my ($thumbnails, $thumbnailsEnd);
$SIG{TERM} = sub { $stop = 1; };

# Pictures written together: one flush of the journal and of their folder for all.
my $GROUP = 4;
# Largest embedded picture passed on as a thumbnail. A RAW file's preview may be a
# megabyte; passed through the window's thread it would hold the window up, so a larger
# one is left to the thumbnail maker, which reads the file itself.
my $MAX_THUMBNAIL = 256 * 1024;
# Formats ExifTool writes but which hold no Exif GPS block.
my %NO_EXIF = map { $_ => 1 } qw(GIF PPM EPS PS PDF AI AIT ICC VRD DR4 IND FLIF XMP CRW X3F);

sub Escape {
    my ($text) = @_;
    $text = '' unless defined $text;
    $text =~ s/\\/\\\\/g;
    $text =~ s/\t/\\t/g;
    $text =~ s/\r/\\r/g;
    $text =~ s/\n/\\n/g;
    return $text;
}

sub Unescape {
    my ($text) = @_;
    my %map = (t => "\t", r => "\r", n => "\n", '\\' => '\\');
    $text =~ s/\\(.)/exists $map{$1} ? $map{$1} : $1/ges;
    return $text;
}

sub Fields { return map { Unescape($_) } split /\t/, $_[0], -1; }

sub WriteAll {
    my ($fh, $text) = @_;
    my $done = 0;
    while ($done < length $text) {
        my $n = syswrite($fh, $text, length($text) - $done, $done);
        unless (defined $n) {
            next if $!{EINTR};
            return 0;
        }
        $done += $n;
    }
    return 1;
}

sub Say {
    binmode STDOUT;
    WriteAll(\*STDOUT, join("\t", map { Escape($_) } @_) . "\n") or exit 1;
}

sub Number {
    my ($value) = @_;
    my $text = sprintf('%.15g', $value);
    return $text eq '-0' ? '0' : $text;
}

sub IsFiniteNumber {
    my ($value) = @_;
    return defined $value && !ref $value
        && $value =~ /^\s*[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?\s*\z/
        && abs($value) < 1e300;
}

# "Permission denied" rather than "Permission denied at line ..." or an empty text.
sub Why { my $why = "$_[0]"; $why =~ s/\s+\z//; return length $why ? $why : 'unknown error'; }

sub ExifError {
    my ($et) = @_;
    return $et->GetValue('Error');
}

# ExifTool writes past a small fault it found ("[minor] ... (fix or ignore?)") only when
# told to ignore it, which could lose what it cannot read: the picture is left alone,
# and the user is told so plainly.
sub MinorFault {
    my ($why) = @_;
    $why =~ s/^\[minor\]\s*//;
    $why =~ s/\s*\((?:fix or ignore\?|ignored)\)\s*\z//;
    my $what = $why =~ /maker ?notes/i ? 'its maker notes look damaged'
                                       : "its metadata has a small fault ($why)";
    return "$what, so it was left unchanged; a sidecar can hold its position"
         . ' (Picture > Write Positions Into)';
}

# The file a write replaces, named from the root so that an undo finds it from any
# folder: the target of a link, which itself stays a link.
sub Target {
    my ($path) = @_;
    unless (-l $path) {
        return ($path) if $path =~ m{^/};
        my $folder = Cwd::getcwd();
        return (undef, "the current folder cannot be named: $!") unless defined $folder;
        return ("$folder/$path");
    }
    my $target = Cwd::abs_path($path);
    return (undef, "the link leads nowhere: $!") unless defined $target;
    return ($target);
}

# Checks that a picture is a file that can be opened, with the system's reason if not.
sub CheckOpen {
    my ($path) = @_;
    my @stat = stat $path or return "cannot open it: $!";
    return 'it is a folder, not a picture' if -d _;
    return 'it is not a regular file' unless -f _;
    open(my $probe, '<', $path) or return "cannot open it: $!";
    close $probe;
    return undef;
}

sub Writability {
    my ($et) = @_;
    my $type = $et->GetValue('FileType') // '';
    return (0, 'ExifTool does not know this file type') unless length $type;
    # "Extended WEBP" and the like name a kind of file, not a type: ask by its extension too.
    my $extension = $et->GetValue('FileTypeExtension', 'ValueConv') // '';
    return (0, "ExifTool cannot write $type files")
        unless Image::ExifTool::CanWrite($type) or Image::ExifTool::CanWrite($extension);
    return (0, "$type files cannot hold Exif GPS tags") if $NO_EXIF{$type};
    return (1, '');
}

# "YYYY:MM:DD HH:MM:SS" with SubSecTimeOriginal as ".fff" where present.
sub DateTaken {
    my ($et) = @_;
    my $date = $et->GetValue('ExifIFD:DateTimeOriginal', 'Raw')
        // $et->GetValue('DateTimeOriginal', 'Raw');
    return ('', '') unless defined $date and !ref $date;
    my $offset = $et->GetValue('OffsetTimeOriginal', 'Raw') // '';
    return ('', '') unless $date =~ /^(\d{4})[:-](\d\d)[:-](\d\d)[ T](\d\d):(\d\d)(?::(\d\d))?(\.\d+)?\s*(Z|[-+]\d\d:?\d\d)?/;
    my $text = "$1:$2:$3 $4:$5:" . ($6 // '00');
    my ($fraction, $zone) = ($7, $8);
    my $subSec = $et->GetValue('ExifIFD:SubSecTimeOriginal', 'Raw');
    $fraction = ".$1" if !defined $fraction and defined $subSec and $subSec =~ /^\s*(\d+)/;
    $text .= $fraction if defined $fraction;
    if (!length $offset and defined $zone) {
        $offset = $zone eq 'Z' ? '+00:00' : $zone;
        $offset =~ s/^([-+]\d\d)(\d\d)\z/$1:$2/;
    }
    $offset = '' unless $offset =~ /^[-+]\d\d:\d\d\z/;
    return ($text, $offset);
}

# The signed value of a GPS coordinate, as ExifTool's composite tag makes it: a JPEG is
# read without composite tags (see ReadPicture).
sub SignedCoordinate {
    my ($et, $tag, $negative) = @_;
    my $value = $et->GetValue("Composite:$tag", 'ValueConv');
    return $value if defined $value;
    $value = $et->GetValue("GPS:$tag", 'ValueConv');
    my $ref = $et->GetValue("GPS:${tag}Ref", 'ValueConv');
    return undef unless defined $value and defined $ref and !ref $ref;
    return $ref =~ $negative ? -$value : $value;
}

# The same for the altitude: its reference from the Exif GPS block, else from XMP.
sub SignedAltitude {
    my ($et) = @_;
    my $alt = $et->GetValue('Composite:GPSAltitude', 'ValueConv');
    return $alt if defined $alt;
    for my $group (qw(GPS XMP)) {
        my $value = $et->GetValue("$group:GPSAltitude", 'ValueConv');
        my $ref = $et->GetValue("$group:GPSAltitudeRef", 'ValueConv');
        next unless defined $value and Image::ExifTool::IsFloat($value) and defined $ref;
        return $ref ? -abs($value) : $value;
    }
    return undef;
}

# Signed degrees or metres, or '' when the picture has none that makes sense.
sub Position {
    my ($et) = @_;
    my $lat = SignedCoordinate($et, 'GPSLatitude', qr/^S/i);
    my $lon = SignedCoordinate($et, 'GPSLongitude', qr/^W/i);
    unless (defined $lat and defined $lon) {
        # XMP holds signed degrees, with no reference tags.
        $lat = $et->GetValue('XMP:GPSLatitude', 'ValueConv');
        $lon = $et->GetValue('XMP:GPSLongitude', 'ValueConv');
    }
    my @position = ('', '', '');
    if (IsFiniteNumber($lat) and IsFiniteNumber($lon) and abs($lat) <= 90 and abs($lon) <= 180) {
        @position[0, 1] = (Number($lat), Number($lon));
    }
    my $alt = SignedAltitude($et);
    unless (defined $alt) {
        # No reference: the size as stored, above sea level.
        $alt = $et->GetValue('GPS:GPSAltitude', 'ValueConv') // $et->GetValue('XMP:GPSAltitude', 'ValueConv');
    }
    $position[2] = Number($alt) if IsFiniteNumber($alt) and abs($alt) < 1e7;
    return @position;
}

# Where a JPEG read without composite tags holds its Exif thumbnail, as "#OFFSET,LENGTH"
# in the file (ExifTool gives offsets from the file's start), or undef. Only one that
# ends within the file's first 64 kB: one beyond may cross into a second Exif segment,
# which ExifTool joins.
sub ThumbnailInPicture {
    my ($et, $path) = @_;
    my $offset = $et->GetValue('ThumbnailOffset', 'ValueConv');
    my $length = $et->GetValue('ThumbnailLength', 'ValueConv');
    return undef unless defined $offset and defined $length and !ref $offset and !ref $length
        and $offset =~ /^\d+\z/ and $length =~ /^[1-9]\d*\z/ and $offset + $length <= 65536;
    # As ExifTool takes an embedded picture: a JPEG, or one with its first byte lost.
    my $start = '';
    if (sysopen(my $fh, $path, O_RDONLY)) {
        sysseek($fh, $offset, 0) and sysread($fh, $start, 4);
        close $fh;
    }
    return undef unless $start =~ /^(\xff\xd8\xff|.\xd8\xff\xdb)/s;
    return "#$offset,$length";
}

# What a JPEG read without composite tags lacks: a thumbnail or preview only they
# extract, or the date they make from IPTC's.
sub NeedsComposite {
    my ($et, $thumbnail) = @_;
    return 1 if !defined $thumbnail and grep { defined $et->GetValue($_) }
        qw(ThumbnailOffset PreviewImageStart JpgFromRawStart OtherImageStart);
    return 1 if !defined $et->GetValue('DateTimeOriginal', 'Raw')
        and grep { defined $et->GetValue($_) } qw(DateTimeCreated DateCreated TimeCreated);
    return 0;
}

sub Thumbnail {
    my ($et) = @_;
    my $data = $et->GetValue('ThumbnailImage');
    unless (ref $data eq 'SCALAR' and length $$data) {
        undef $data;
        for my $tag (qw(PreviewImage JpgFromRaw OtherImage)) {
            my $candidate = $et->GetValue($tag);
            next unless ref $candidate eq 'SCALAR' and length $$candidate;
            next unless $$candidate =~ /^\xff\xd8/;
            $data = $candidate if !defined $data or length $$candidate < length $$data;
        }
    }
    return '' unless defined $data and length $$data <= $MAX_THUMBNAIL;
    return MIME::Base64::encode_base64($$data, '') unless $thumbnails;
    # Into the thumbnail file, and where it is told instead.
    WriteAll($thumbnails, $$data) or Fatal("cannot write the thumbnails: $!");
    my $at = $thumbnailsEnd;
    $thumbnailsEnd += length $$data;
    return '@' . $at . ',' . length $$data;
}

# The position of an XMP sidecar, with its file name, or nothing.
sub SidecarPosition {
    my ($sidecar) = @_;
    return () unless length $sidecar and -f $sidecar;
    my $et = Image::ExifTool->new;
    $et->ExtractInfo($sidecar) or return ();
    my $lat = $et->GetValue('XMP:GPSLatitude', 'ValueConv');
    my $lon = $et->GetValue('XMP:GPSLongitude', 'ValueConv');
    return () unless IsFiniteNumber($lat) and IsFiniteNumber($lon)
        and abs($lat) <= 90 and abs($lon) <= 180;
    my $alt = $et->GetValue('Composite:GPSAltitude', 'ValueConv')
        // $et->GetValue('XMP:GPSAltitude', 'ValueConv');
    $alt = IsFiniteNumber($alt) && abs($alt) < 1e7 ? Number($alt) : '';
    return (Number($lat), Number($lon), $alt, (split m{/}, $sidecar)[-1]);
}

# The GPS clock's UTC time of the position, "YYYY:MM:DD HH:MM:SS[.fff]", or ''.
sub GpsTime {
    my ($et) = @_;
    my $date = $et->GetValue('GPS:GPSDateStamp', 'ValueConv');
    my $time = $et->GetValue('GPS:GPSTimeStamp', 'ValueConv');
    return '' unless defined $date and defined $time and !ref $date and !ref $time;
    return '' unless $date =~ /^(\d{4}):(\d\d):(\d\d)/;
    my $day = "$1:$2:$3";
    return '' unless $time =~ /^(\d\d?):(\d\d?):(\d\d?)(\.\d+)?/ and $1 < 24 and $2 < 60 and $3 < 61;
    return sprintf('%s %02d:%02d:%02d%s', $day, $1, $2, $3, $4 // '');
}

sub ReadPicture {
    my ($index, $path, @sidecars) = @_;
    if (defined(my $why = CheckOpen($path))) {
        return Say('R', $index, 'FAIL', $why);
    }
    # ExifTool making all its composite tags is a third of a JPEG's read: the few needed
    # are made here, unless the picture holds what only they would give.
    my $jpeg = $path =~ /\.jpe?g\z/i;
    my ($et, $read, $inPicture);
    for my $composite ($jpeg ? (0, 1) : (1)) {
        $et = Image::ExifTool->new;
        $et->Options(FastScan => 1, Composite => $composite,
                     RequestTags => [qw(ThumbnailImage PreviewImage JpgFromRaw OtherImage)]);
        $read = $et->ExtractInfo($path);
        last if $composite;
        $inPicture = ThumbnailInPicture($et, $path);
        last unless NeedsComposite($et, $inPicture);
        undef $inPicture;
    }
    my $error = ExifError($et);
    return Say('R', $index, 'FAIL', 'ExifTool cannot read it: ' . ($error // 'unknown error'))
        if !$read or defined $error;
    my $mime = $et->GetValue('MIMEType') // '';
    return Say('R', $index, 'FAIL', 'it is not a picture' . (length $mime ? " ($mime)" : ''))
        unless $mime =~ m{^image/};
    my ($writable, $whyNot) = Writability($et);
    my @position = (Position($et), '');
    unless (length $position[0]) {
        for my $sidecar (@sidecars) {
            my @found = SidecarPosition($sidecar);
            if (@found) { @position = @found; last; }
        }
    }
    Say('R', $index, 'OK', DateTaken($et), @position[0 .. 2], $mime, $writable, $whyNot,
        $position[3], $inPicture // Thumbnail($et), GpsTime($et), NamesHeld($et));
}

# ---- Writing ----------------------------------------------------------------

my $journal;

# The journal is made by the program; it and its name in the folder reach the disk
# here, before any record is relied on.
sub OpenJournal {
    my ($path) = @_;
    sysopen($journal, $path, O_WRONLY | O_APPEND)
        or Fatal("Cannot open the undo journal $path: $!");
    binmode $journal;
    Flush($journal) and SyncFolder(dirname($path))
        or Fatal("Cannot flush the undo journal $path to disk: $!");
}

# Appends records, one write(2) call each so that two runs appending to one journal
# never mix them, and flushes the journal to disk.
sub Journal {
    for my $record (@_) {
        my $line = join("\t", map { Escape($_) } @$record) . "\n";
        return "cannot write the undo journal: $!" unless WriteAll($journal, $line);
    }
    return "cannot flush the undo journal to disk: $!" unless Flush($journal);
    return undef;
}

sub Fatal {
    my ($message) = @_;
    print STDERR "$message\n";
    exit 1;
}

# fsync(2), again when a signal (Cancel) cut it short.
sub Flush {
    my ($fh) = @_;
    for (;;) {
        return 1 if $fh->sync;
        return 0 unless $!{EINTR};
    }
}

sub SyncFolder {
    my ($folder) = @_;
    sysopen(my $dh, $folder, O_RDONLY | O_DIRECTORY) or return 0;
    my $ok = Flush($dh);
    close $dh;
    return $ok;
}

# New files are ".kartavo-PID-XXXXXX.tmp"; one left by a run that no longer lives
# (killed mid-write) is removed by the next run that writes in its folder.
my %cleaned;

sub CleanFolder {
    my ($folder) = @_;
    return if $cleaned{$folder}++;
    opendir(my $dh, $folder) or return;
    while (defined(my $name = readdir $dh)) {
        next unless $name =~ /^\.kartavo-(\d+)-[A-Za-z0-9]{6}\.tmp\z/;
        my $pid = $1;
        next if $pid == $$ or kill(0, $pid) or $!{EPERM};
        my $file = "$folder/$name";
        unlink $file if -f $file and !-l $file;
    }
    closedir $dh;
}

sub CreateTemp {
    my ($folder) = @_;
    my @chars = ('A' .. 'Z', 'a' .. 'z', '0' .. '9');
    for (1 .. 100) {
        my $name = "$folder/.kartavo-$$-" . join('', map { $chars[rand @chars] } 1 .. 6) . '.tmp';
        if (sysopen(my $fh, $name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600)) {
            binmode $fh;
            return ($fh, $name);
        }
        return (undef, $!) unless $!{EEXIST};
    }
    return (undef, 'no free name');
}

# sync_file_range(2), to start writing a new file to disk while the next picture is
# prepared; where this is not known, the flush before the rename does it all.
my $SYNC_FILE_RANGE = $Config::Config{ptrsize} == 8
    ? ($Config::Config{archname} =~ /^x86_64/ ? 277 : $Config::Config{archname} =~ /^aarch64/ ? 84 : undef)
    : undef;
my $SYNC_FILE_RANGE_WRITE = 2;

# Writes the picture with $et's new values into a new file beside it and starts
# writing that to disk. Returns the new file, {same => 1} when the picture already
# holds exactly these values, or (undef, reason) with nothing left behind.
sub WriteNew {
    my ($et, $target) = @_;
    my @stat = stat $target or return (undef, "cannot open it: $!");
    my $folder = dirname($target);
    CleanFolder($folder);
    my ($fh, $temp) = CreateTemp($folder);
    return (undef, "cannot make a new file in its folder: $temp") unless $fh;
    my $new = {fh => $fh, temp => $temp, target => $target, folder => $folder, stat => \@stat};
    local $! = 0;
    # Unbuffered: ExifTool copies the image data in 64 kB pieces, which then go to the
    # system whole rather than in 8 kB ones. A JPEG is read the same way; other formats
    # by name, which tells ExifTool their exact kind.
    binmode($fh, ':pop');
    my $source = $target;
    if (($et->GetValue('FileType') // '') eq 'JPEG') {
        open(my $in, '<:unix', $target) or return (undef, Discard($new, "cannot open it: $!"));
        $source = $in;
    }
    my $result = $et->WriteInfo($source, $fh);
    close $source if ref $source;
    my $system = "$!";
    unless ($result) {
        my $why = ExifError($et) // 'unknown error';
        return (undef, Discard($new, MinorFault($why))) if $why =~ /^\[minor\]/;
        $why .= " ($system)" if length $system and $why !~ /\Q$system\E/ and $why =~ /writ|open|read/i;
        return (undef, Discard($new, "ExifTool cannot write it: $why"));
    }
    if ($result == 2) {
        Discard($new);
        return ({same => 1});
    }
    $fh->flush or return (undef, Discard($new, "cannot write the new file: $!"));
    syscall($SYNC_FILE_RANGE, fileno($fh), 0, 0, $SYNC_FILE_RANGE_WRITE) if $SYNC_FILE_RANGE;
    return ($new);
}

# Removes a new file that will not be used; returns the reason given.
sub Discard {
    my ($new, $why) = @_;
    close $new->{fh} if $new->{fh};
    unlink $new->{temp} if $new->{temp};
    return $why;
}

# Flushes the new file, renames it over the picture and flushes the folder. Returns
# undef on success, or the reason, with the picture as it was.
sub PutInPlace {
    my ($new, $laterFolderFlush) = @_;
    return undef if $new->{same};
    my ($fh, $temp, $stat) = @$new{qw(fh temp stat)};
    # Owner and permissions first, so that the flush takes them to disk with the file.
    chmod($stat->[2] & 07777, $temp)
        or return Discard($new, "cannot give the new file the picture's permissions: $!");
    chown($stat->[4], $stat->[5], $temp);
    Flush($fh) or return Discard($new, "cannot flush the new file to disk: $!");
    delete $new->{fh};
    close $fh or return Discard($new, "cannot write the new file: $!");
    rename($temp, $new->{target})
        or return Discard($new, "cannot put the new file in the picture's place: $!");
    FlushFolders($new->{folder}) unless $laterFolderFlush;
    return undef;
}

sub FlushFolders {
    my %seen;
    for my $folder (grep { !$seen{$_}++ } @_) {
        SyncFolder($folder) or print STDERR "Cannot flush the folder $folder: $!\n";
    }
}

sub WriteAtomically {
    my ($et, $target) = @_;
    my ($new, $why) = WriteNew($et, $target);
    return $new ? PutInPlace($new) : $why;
}

sub FileState {
    my ($path) = @_;
    my @stat = Time::HiRes::stat($path) or return '';
    return join(':', $stat[0], $stat[1], $stat[7], sprintf('%.6f', $stat[9]));
}

my @POSITION_TAGS = qw(GPSVersionID GPSLatitudeRef GPSLatitude GPSLongitudeRef GPSLongitude);
my @ALTITUDE_TAGS = qw(GPSAltitudeRef GPSAltitude);
my @TIME_TAGS     = qw(GPSDateStamp GPSTimeStamp);

sub TagValue {
    my ($et, $tag) = @_;
    my $value = $et->GetValue("GPS:$tag", 'Rational');
    $value = $et->GetValue("GPS:$tag", 'Raw') unless defined $value;
    return undef unless defined $value;
    return ref $value eq 'SCALAR' ? $$value : "$value";
}

sub HasGps {
    my ($et) = @_;
    for my $tag ($et->GetFoundTags()) {
        return 1 if $et->GetGroup($tag, 1) eq 'GPS';
    }
    return 0;
}

# "gps" or "nogps", then TAG=VALUE or TAG! for each tag.
sub TagState {
    my ($et, @tags) = @_;
    return (HasGps($et) ? 'gps' : 'nogps',
            map { my $v = TagValue($et, $_); defined $v ? "$_=$v" : "$_!" } @tags);
}

# Degrees to exact degrees, minutes and seconds, to a ten-millionth of a degree.
sub DmsRational {
    my ($degrees) = @_;
    my $units = sprintf('%.0f', abs($degrees) * 1e7);
    my $d = int($units / 10000000);
    my $rest = ($units - $d * 10000000) * 60;
    my $m = int($rest / 10000000);
    my $s = ($rest - $m * 10000000) * 6;
    return "$d/1 $m/1 $s/1000000";
}

sub NewValues {
    my ($latText, $lonText, $altText, $timeText) = @_;
    for ($latText, $lonText) {
        return (undef, "not a number: '$_'") unless IsFiniteNumber($_);
    }
    return (undef, "latitude out of range: $latText") if abs($latText) > 90;
    return (undef, "longitude out of range: $lonText") if abs($lonText) > 180;
    my @values = (
        GPSVersionID    => '2 2 0 0',
        GPSLatitudeRef  => $latText < 0 ? 'S' : 'N',
        GPSLatitude     => DmsRational($latText),
        GPSLongitudeRef => $lonText < 0 ? 'W' : 'E',
        GPSLongitude    => DmsRational($lonText),
    );
    if (length $altText) {
        return (undef, "altitude is not a number: '$altText'") unless IsFiniteNumber($altText);
        my $size = sprintf('%.0f', abs($altText) * 10000);
        return (undef, "altitude out of range: $altText") if $size > 4294967295;
        push @values, GPSAltitudeRef => ($altText < 0 && $size > 0 ? 1 : 0),
                      GPSAltitude    => "$size/10000";
    }
    if (length $timeText) {
        return (undef, "time is not YYYY:MM:DD HH:MM:SS: '$timeText'")
            unless $timeText =~ /^(\d{4}):(\d\d):(\d\d) (\d\d):(\d\d):(\d\d)(?:\.(\d{1,3}))?\z/;
        my $millis = substr(($7 // '') . '000', 0, 3);
        push @values, GPSDateStamp => "$1:$2:$3",
                      GPSTimeStamp => ($4 + 0) . '/1 ' . ($5 + 0) . '/1 ' . ($6 * 1000 + $millis) . '/1000';
    }
    return (\@values);
}

# Everything for one picture's write short of touching the picture: the new file
# beside it and its journal record. Returns that, or the reason it cannot be written.
sub PrepareWrite {
    my ($id, $path, $latText, $lonText, $altText, $timeText) = @_;
    my ($values, $why) = NewValues($latText, $lonText, $altText, $timeText);
    return $why unless $values;
    my ($target, $linkError) = Target($path);
    return $linkError unless defined $target;
    return $why if defined($why = CheckOpen($target));

    my $et = Image::ExifTool->new;
    # The previous tags are all in the Exif block; no need to look past the image, nor
    # for the tags ExifTool computes from others (a third of the time).
    $et->Options(FastScan => 1, Composite => 0);
    $et->ExtractInfo($target);
    $et->Options(FastScan => 0, Composite => 1);
    my $error = ExifError($et);
    return "ExifTool cannot read it: $error" if defined $error;
    my ($writable, $whyNot) = Writability($et);
    return $whyNot unless $writable;

    my %new = @$values;
    my @tags = grep { exists $new{$_} } (@POSITION_TAGS, @ALTITUDE_TAGS, @TIME_TAGS);
    for my $tag (@tags) {
        my ($count, $setError) = $et->SetNewValue("GPS:$tag", $new{$tag}, Type => 'Raw');
        return "cannot set $tag: " . ($setError // 'rejected') unless $count;
    }
    my @record = ('B', $id, $path, $target, FileState($target), TagState($et, @tags), '->',
                  map { "$_=$new{$_}" } @tags);
    my $file;
    ($file, $why) = WriteNew($et, $target);
    return $why unless $file;
    $file->{record} = \@record;
    $file->{id} = $id;
    return $file;
}

# Records the previous tags of a group of pictures in one flush of the journal, then
# puts their new files in place and flushes their folders once. Returns the reason
# for each picture that failed, undef for each that succeeded.
sub CommitGroup {
    my @prepared = @_;
    my @files = grep { ref $_ and !$_->{same} } @prepared;
    my %why;
    if (@files and defined(my $why = Journal(map { $_->{record} } @files))) {
        $why{$_} = Discard($_, $why) for @files;
        @files = ();
    }
    my @placed;
    for my $file (@files) {
        my $why = PutInPlace($file, 1);
        if (defined $why) {
            $why{$file} = $why;
        } else {
            push @placed, $file;
        }
    }
    FlushFolders(map { $_->{folder} } @placed);
    if (@placed and defined(my $why = Journal(map { ['A', $_->{id}, FileState($_->{target})] } @placed))) {
        $why{$_} = "written, but $why" for @placed;
    }
    return map { ref $_ ? $why{$_} : $_ } @prepared;
}

# ---- Sidecars ---------------------------------------------------------------

sub ReadWhole {
    my ($path) = @_;
    open(my $fh, '<', $path) or return (undef, "cannot read it: $!");
    binmode $fh;
    local $/;
    my $content = <$fh>;
    close $fh;
    return ($content // '');
}

# Puts a new file with $et's new values (or with $content) where no file is yet:
# written beside, flushed, then linked into place, so that a sidecar that appeared
# meanwhile is never replaced.
sub CreateAtomically {
    my ($et, $target, $content) = @_;
    my $folder = dirname($target);
    CleanFolder($folder);
    my ($fh, $temp) = CreateTemp($folder);
    return "cannot make a new file in its folder: $temp" unless $fh;
    my $fail = sub { close $fh if defined $fh; unlink $temp; return $_[0]; };
    if (defined $content) {
        WriteAll($fh, $content) or return $fail->("cannot write the new file: $!");
    } elsif (!$et->WriteInfo(undef, $fh, 'XMP')) {
        return $fail->('ExifTool cannot write it: ' . (ExifError($et) // 'unknown error'));
    }
    $fh->flush or return $fail->("cannot write the new file: $!");
    $fh->sync or return $fail->("cannot flush the new file to disk: $!");
    close $fh or do { undef $fh; return $fail->("cannot write the new file: $!") };
    undef $fh;
    my $mask = umask;
    chmod(0666 & ~$mask, $temp);
    link($temp, $target) or return $fail->("cannot put the new file in place: $!");
    unlink $temp;
    SyncFolder($folder) or print STDERR "Cannot flush the folder $folder: $!\n";
    return undef;
}

# Replaces an existing file by $content, atomically.
sub ReplaceAtomically {
    my ($target, $content) = @_;
    my @stat = stat $target or return "cannot open it: $!";
    my $folder = dirname($target);
    my ($fh, $temp) = CreateTemp($folder);
    return "cannot make a new file in its folder: $temp" unless $fh;
    my $ok = WriteAll($fh, $content) && $fh->flush && $fh->sync;
    my $why = "cannot write the new file: $!";
    close $fh or $ok = 0;
    $ok = $ok && chmod($stat[2] & 07777, $temp) && rename($temp, $target);
    unless ($ok) { unlink $temp; return $why; }
    SyncFolder($folder) or print STDERR "Cannot flush the folder $folder: $!\n";
    return undef;
}

sub WriteSidecar {
    my ($id, $path, $sidecar, $latText, $lonText, $altText, $timeText) = @_;
    my ($values, $why) = NewValues($latText, $lonText, $altText, $timeText);
    return $why unless $values;
    # The picture is only looked at: it must be there, and it is never opened for writing.
    return $why if defined($why = CheckOpen($path));
    my ($target, $linkError) = Target($sidecar);
    return "its sidecar: $linkError" unless defined $target;
    my $exists = -e $target || -l $target;

    my $et = Image::ExifTool->new;
    my $old = '';
    if ($exists) {
        return "its sidecar $sidecar: $why" if defined($why = CheckOpen($target));
        $et->ExtractInfo($target);
        my $error = ExifError($et);
        return "its sidecar $sidecar cannot be read: $error" if defined $error;
        my $type = $et->GetValue('FileType') // '';
        return "its sidecar $sidecar is not an XMP file" unless $type eq 'XMP';
        ($old, $why) = ReadWhole($target);
        return "its sidecar $sidecar: $why" unless defined $old;
    }
    my %new = @$values;
    my @xmp = (GPSLatitude => $latText + 0, GPSLongitude => $lonText + 0);
    push @xmp, GPSAltitude => Number(abs $altText), GPSAltitudeRef => $new{GPSAltitudeRef}
        if exists $new{GPSAltitude};
    push @xmp, GPSDateTime => "${timeText}Z" if length $timeText;
    while (my ($tag, $value) = splice(@xmp, 0, 2)) {
        my ($count, $setError) = $et->SetNewValue("XMP-exif:$tag", $value, Type => 'ValueConv');
        return "cannot set $tag: " . ($setError // 'rejected') unless $count;
    }
    $why = Journal(['B', $id, $path, $target, FileState($target),
                    $exists ? 'sidecar' : 'sidecar-new',
                    'CONTENT=' . MIME::Base64::encode_base64($old, '')]);
    return $why if defined $why;
    $why = $exists ? WriteAtomically($et, $target) : CreateAtomically($et, $target);
    return $why if defined $why;
    $why = Journal(['A', $id, FileState($target)]);
    return "written, but $why" if defined $why;
    return undef;
}

sub UndoSidecar {
    my ($target, $state, $contentField, $written) = @_;
    my ($encoded) = ($contentField // '') =~ /^CONTENT=(.*)\z/s
        or return ('FAIL', 'the journal entry is damaged');
    my $old = MIME::Base64::decode_base64($encoded);
    my $new = $state eq 'sidecar-new';
    unless (length $written and $written eq FileState($target)) {
        # Already as before: the write never took place, or an undo was cut short.
        return ('SAME') if $new and !-e $target and !-l $target;
        if (!$new and -f $target) {
            my ($now) = ReadWhole($target);
            return ('SAME') if defined $now and $now eq $old;
        }
        return ('SKIP', 'its sidecar was changed after the write');
    }
    if ($new) {
        unlink $target or return ('FAIL', "cannot remove its sidecar: $!");
        SyncFolder(dirname($target)) or print STDERR "Cannot flush the folder: $!\n";
    } else {
        my $why = ReplaceAtomically($target, $old);
        return ('FAIL', $why) if defined $why;
    }
    return ('OK');
}

# ---- Place names ------------------------------------------------------------

# Each name goes into XMP, and into IPTC where the picture holds IPTC, within IPTC's
# length limit in bytes.
my @NAME_TAGS = (
    ['XMP-photoshop:City',       'IPTC:City',                        32],
    ['XMP-photoshop:State',      'IPTC:Province-State',              32],
    ['XMP-photoshop:Country',    'IPTC:Country-PrimaryLocationName', 64],
    ['XMP-iptcCore:CountryCode', 'IPTC:Country-PrimaryLocationCode',  3],
);
my $IPTC_UTF8 = "\x1b%G";
# Bytes pass through as \u00XX, so names come back exactly as they were. Loaded when
# names are written or undone: a read has no need of it and starts sooner without.
my $JSON;

sub Json {
    unless ($JSON) {
        require JSON::PP;
        $JSON = JSON::PP->new->canonical->ascii;
    }
    return $JSON;
}

sub HasIptc {
    my ($et) = @_;
    for my $tag ($et->GetFoundTags()) {
        return 1 if $et->GetGroup($tag, 0) eq 'IPTC';
    }
    return 0;
}

# A tag's values as bytes (a list for list tags), or undef where it has none.
sub Values {
    my ($et, $tag) = @_;
    my @values = grep { defined } $et->GetValue($tag, 'ValueConv');
    return undef unless @values;
    return [map { ref $_ eq 'SCALAR' ? $$_ : ref $_ eq 'ARRAY' ? @$_ : "$_" } @values];
}

# IPTC pads a fixed-length value (a country code) with blanks.
sub SameValues {
    my ($a, $b) = @_;
    return !defined $a && !defined $b if !defined $a or !defined $b;
    my $text = sub { join("\0", map { my $v = $_; $v =~ s/ +\z//; $v } @{$_[0]}) };
    return $text->($a) eq $text->($b);
}

sub Holds {
    my ($et, @tags) = @_;
    for my $tag (@tags) {
        my $values = Values($et, $tag);
        return 1 if defined $values and length join('', @$values);
    }
    return 0;
}

# UTF-8 cut to a number of bytes on a character's boundary.
sub Shorten {
    my ($text, $bytes) = @_;
    return $text if length $text <= $bytes;
    my $chars = $text;
    utf8::decode($chars);
    for (;;) {
        my $cut = $chars;
        utf8::encode($cut);
        return $cut if length $cut <= $bytes;
        chop $chars;
    }
}

# The tags a names write changes, with their values before and after. A name is left
# alone when it is empty, or when the picture ($et, or the picture beside a sidecar)
# already holds one and $overwrite is not set. IPTC not marked UTF-8 is marked so, and
# its other texts beyond ASCII are written again in UTF-8.
sub NameChanges {
    my ($et, $iptc, $overwrite, $picture, @names) = @_;
    my (%old, %new);
    for my $i (0 .. $#NAME_TAGS) {
        my ($xmp, $iptcTag, $limit) = @{$NAME_TAGS[$i]};
        my $name = $names[$i] // '';
        next unless length $name;
        next if !$overwrite and grep { Holds($_, $xmp, $iptcTag) } grep { defined } ($et, $picture);
        for my $tag ($xmp, $iptc ? $iptcTag : ()) {
            my $value = $tag eq $iptcTag ? Shorten($name, $limit) : $name;
            my $have = Values($et, $tag);
            next if SameValues($have, [$value]);
            ($old{$tag}, $new{$tag}) = ($have, [$value]);
        }
    }
    my $charset = Values($et, 'IPTC:CodedCharacterSet');
    if (grep(/^IPTC:/, keys %new) and !SameValues($charset, [$IPTC_UTF8])) {
        ($old{'IPTC:CodedCharacterSet'}, $new{'IPTC:CodedCharacterSet'}) = ($charset, [$IPTC_UTF8]);
        # The envelope record that holds the mark is made for it, and goes with it on undo.
        my $envelope = Values($et, 'IPTC:EnvelopeRecordVersion');
        ($old{'IPTC:EnvelopeRecordVersion'}, $new{'IPTC:EnvelopeRecordVersion'}) = ($envelope, $envelope // [4]);
        for my $key ($et->GetFoundTags()) {
            next unless $et->GetGroup($key, 0) eq 'IPTC';
            my $tag = 'IPTC:' . Image::ExifTool::GetTagName($key);
            next if exists $new{$tag};
            my $values = Values($et, $tag);
            next unless defined $values and join('', @$values) =~ /[\x80-\xff]/;
            ($old{$tag}, $new{$tag}) = ($values, $values);
        }
    }
    return (\%old, \%new);
}

# Sets each tag of $values (a JSON map) on $et; the reason when one is refused.
sub SetValues {
    my ($et, $values) = @_;
    for my $tag (sort keys %$values) {
        my $value = $values->{$tag};
        # A value replaces the old one; a tag with none (null) is deleted.
        my ($count, $why) = defined $value
            ? $et->SetNewValue($tag, @$value == 1 ? $value->[0] : $value,
                               Type => 'ValueConv', Protected => 1)
            : $et->SetNewValue($tag, undef, Protected => 1);
        return "cannot set $tag: " . ($why // 'rejected') unless $count;
    }
    return undef;
}

sub NamesRecord {
    my ($id, $path, $target, $old, $new) = @_;
    return ['B', $id, $path, $target, FileState($target), 'names',
            'OLD=' . MIME::Base64::encode_base64(Json()->encode($old), ''), '->',
            'NEW=' . MIME::Base64::encode_base64(Json()->encode($new), '')];
}

# As PrepareWrite, for place names.
sub PrepareNames {
    my ($id, $path, $overwrite, @names) = @_;
    my ($target, $why) = Target($path);
    return $why unless defined $target;
    return $why if defined($why = CheckOpen($target));
    my $et = Image::ExifTool->new;
    $et->ExtractInfo($target);
    my $error = ExifError($et);
    return "ExifTool cannot read it: $error" if defined $error;
    my $type = $et->GetValue('FileType') // '';
    return "ExifTool cannot write $type files" unless Image::ExifTool::CanWrite($type);
    my ($old, $new) = NameChanges($et, HasIptc($et), $overwrite, undef, @names);
    return {same => 1} unless %$new;
    return $why if defined($why = SetValues($et, $new));
    my $file;
    ($file, $why) = WriteNew($et, $target);
    return $why unless $file;
    $file->{record} = NamesRecord($id, $path, $target, $old, $new);
    $file->{id} = $id;
    return $file;
}

# The XMP names into the picture's sidecar, journaled as a position's sidecar is.
sub WriteNamesSidecar {
    my ($id, $path, $sidecar, $overwrite, @names) = @_;
    my $why = CheckOpen($path);
    return $why if defined $why;
    my ($target, $linkError) = Target($sidecar);
    return "its sidecar: $linkError" unless defined $target;
    my $exists = -e $target || -l $target;
    my $picture = Image::ExifTool->new;
    $picture->ExtractInfo($path);
    my $et = Image::ExifTool->new;
    my $old = '';
    if ($exists) {
        return "its sidecar $sidecar: $why" if defined($why = CheckOpen($target));
        $et->ExtractInfo($target);
        my $error = ExifError($et);
        return "its sidecar $sidecar cannot be read: $error" if defined $error;
        return "its sidecar $sidecar is not an XMP file" unless ($et->GetValue('FileType') // '') eq 'XMP';
        ($old, $why) = ReadWhole($target);
        return "its sidecar $sidecar: $why" unless defined $old;
    }
    my (undef, $new) = NameChanges($et, 0, $overwrite, $picture, @names);
    return undef unless %$new;
    return $why if defined($why = SetValues($et, $new));
    $why = Journal(['B', $id, $path, $target, FileState($target),
                    $exists ? 'sidecar' : 'sidecar-new',
                    'CONTENT=' . MIME::Base64::encode_base64($old, '')]);
    return $why if defined $why;
    $why = $exists ? WriteAtomically($et, $target) : CreateAtomically($et, $target);
    return $why if defined $why;
    $why = Journal(['A', $id, FileState($target)]);
    return defined $why ? "written, but $why" : undef;
}

# The names a picture holds, XMP's before IPTC's: city, state, country, code.
sub NamesHeld {
    my ($et) = @_;
    return map {
        my ($name) = grep { length } map { @{Values($et, $_) // []} } @{$_}[0, 1];
        $name // '';
    } @NAME_TAGS;
}

sub WriteAllNames {
    my ($journalFile, $first, @items) = @_;
    Fatal('names needs seven arguments per picture') if @items % 7;
    OpenJournal($journalFile);
    my $count = @items / 7;
    my $index = 0;
    while ($index < $count and !$stop) {
        my @group;
        while (@group < $GROUP and $index + @group < $count and !$stop) {
            my $n = $index + @group;
            my ($path, $city, $state, $country, $code, $overwrite, $sidecar) = @items[$n * 7 .. $n * 7 + 6];
            my @names = ($city, $state, $country, $code);
            push @group, length $sidecar
                ? WriteNamesSidecar($first + $n, $path, $sidecar, $overwrite eq '1', @names)
                : PrepareNames($first + $n, $path, $overwrite eq '1', @names);
        }
        if ($stop) {
            # Pictures not touched yet stay as they are, unreported; a sidecar was
            # written at once, so it is reported, or it could not be undone.
            for my $k (0 .. $#group) {
                if (ref $group[$k]) {
                    Discard($group[$k]);
                } else {
                    Say('W', $index + $k, defined $group[$k] ? ('FAIL', $group[$k]) : 'OK');
                }
            }
            last;
        }
        Say('W', $index++, defined $_ ? ('FAIL', $_) : 'OK') for CommitGroup(@group);
    }
}

sub UndoNames {
    my ($id, $target, $before, $written) = @_;
    my ($old, $new) = map {
        my ($encoded) = ($_ // '') =~ /^(?:OLD|NEW)=(.*)\z/s;
        defined $encoded ? eval { Json()->decode(MIME::Base64::decode_base64($encoded)) } : undef
    } @$before[6, 8];
    return ('FAIL', 'the journal entry is damaged') unless ref $old eq 'HASH' and ref $new eq 'HASH';
    # JSON gives characters; ExifTool is given the bytes they stand for.
    for my $values (grep { defined } values %$old, values %$new) {
        utf8::downgrade($_) for @$values;
    }
    return ('SKIP', "it is gone: $!") unless -e $target;
    my $why = CheckOpen($target);
    return ('SKIP', $why) if defined $why;
    my $et = Image::ExifTool->new;
    $et->ExtractInfo($target);
    my $error = ExifError($et);
    return ('SKIP', "ExifTool cannot read it: $error") if defined $error;
    my $holds = sub {
        my ($values) = @_;
        for my $tag (keys %$values) {
            return 0 unless SameValues(Values($et, $tag), $values->{$tag});
        }
        return 1;
    };
    unless (length $written and $written eq FileState($target) and $holds->($new)) {
        # Already as before: the write never took place, or an undo was cut short.
        return ('SAME') if $holds->($old);
        return ('SKIP', 'it was changed after the write')
            unless !length $written && $holds->($new);
    }
    return ('FAIL', $why) if defined($why = SetValues($et, $old));
    $why = WriteAtomically($et, $target);
    return ('FAIL', $why) if defined $why;
    Journal(['U', $id, FileState($target)]);
    return ('OK');
}

# ---- Undo -------------------------------------------------------------------

sub ParseBefore {
    my ($line) = @_;
    my @fields = Fields($line);
    return () unless @fields >= 7 and $fields[0] eq 'B';
    my (undef, undef, undef, undef, undef, $state, @rest) = @fields;
    my (@old, @new, $after);
    for my $field (@rest) {
        if ($field eq '->') { $after = 1; next; }
        push @{$after ? \@new : \@old}, $field;
    }
    return ($state, \@old, \@new);
}

sub Matches {
    my ($et, $state, $fields) = @_;
    my @tags = map { /^(\w+)/ ? $1 : () } @$fields;
    my @now = TagState($et, @tags);
    return 0 if defined $state and $now[0] ne $state;
    shift @now;
    return join("\t", @now) eq join("\t", @$fields);
}

sub UndoPicture {
    my ($index, $id, $target, $beforeLine, $written) = @_;
    my @before = Fields($beforeLine);
    if (@before >= 7 and $before[5] =~ /^sidecar(?:-new)?\z/) {
        my @result = UndoSidecar($target, $before[5], $before[6], $written);
        Journal(['U', $id, FileState($target)]) if $result[0] =~ /^(?:OK|SAME)\z/;
        return @result;
    }
    return UndoNames($id, $target, \@before, $written) if @before >= 9 and $before[5] eq 'names';
    my ($state, $old, $new) = ParseBefore($beforeLine);
    return ('FAIL', 'the journal entry is damaged') unless defined $state;
    return ('SKIP', "it is gone: $!") unless -e $target;
    my $why = CheckOpen($target);
    return ('SKIP', $why) if defined $why;

    my $et = Image::ExifTool->new;
    $et->ExtractInfo($target);
    my $error = ExifError($et);
    return ('SKIP', "ExifTool cannot read it: $error") if defined $error;

    my $unchanged = length $written && $written eq FileState($target) && Matches($et, undef, $new);
    unless ($unchanged) {
        # Already as before: the write never took place, or an undo was cut short.
        return ('SAME') if Matches($et, $state, $old);
        # No record after the write: the run ended between the rename and the record.
        return ('SKIP', 'it was changed after the write')
            unless !length $written && Matches($et, undef, $new);
    }

    if ($state eq 'nogps') {
        $et->SetNewValue('GPS:*');
    } else {
        for my $field (@$old) {
            my ($tag, $value) = $field =~ /^(\w+)(?:=(.*)|!)\z/s or return ('FAIL', 'the journal entry is damaged');
            my ($count, $setError) = defined $value
                ? $et->SetNewValue("GPS:$tag", $value, Type => 'Raw')
                : $et->SetNewValue("GPS:$tag");
            return ('FAIL', "cannot set $tag: " . ($setError // 'rejected')) unless $count;
        }
    }
    $why = WriteAtomically($et, $target);
    return ('FAIL', $why) if defined $why;
    Journal(['U', $id, FileState($target)]);
    return ('OK');
}

# ---- Main -------------------------------------------------------------------

# "wait HINT": started ahead of its work, with what that work needs loaded, the script
# takes its arguments from its input, zero bytes apart, and says "TAKEN" once it has them.
# No input: it was not needed.
if (@ARGV and $ARGV[0] eq 'wait') {
    require Image::ExifTool::Exif;
    require Image::ExifTool::GPS;
    # A write's first new value loads ExifTool's writer and its tables.
    Image::ExifTool->new->SetNewValue('GPS:GPSLatitudeRef', 'N', Type => 'Raw')
        if ($ARGV[1] // '') eq 'write';
    binmode STDIN;
    my $input = do { local $/; <STDIN> };
    exit 0 unless defined $input and length $input;
    # Said before anything is begun: ended without it, the run can be started again.
    Say('TAKEN');
    @ARGV = split /\0/, $input, -1;
}

my ($mode, $journalPath, $first, $dashes, @items) = @ARGV;
Fatal('usage: batchgps.pl read|write|undo JOURNAL FIRST -- ...')
    unless defined $dashes and $dashes eq '--' and $first =~ /^\d+\z/;

if ($mode eq 'read') {
    Fatal('read needs three arguments per picture') if @items % 3;
    if ($journalPath ne '-') {
        sysopen($thumbnails, $journalPath, O_WRONLY | O_APPEND | O_NOFOLLOW)
            or Fatal("cannot open $journalPath: $!");
        $thumbnailsEnd = (-s $thumbnails) || 0;
    }
    for my $index (0 .. @items / 3 - 1) {
        last if $stop;
        # Past the first rows a list shows, reading is work in the background: the window
        # that shows it comes first for the cores.
        setpriority(0, 0, getpriority(0, 0) + 10) if $index == 16;
        ReadPicture($index, @items[$index * 3 .. $index * 3 + 2]);
    }
} elsif ($mode eq 'write') {
    Fatal('write needs six arguments per picture') if @items % 6;
    OpenJournal($journalPath);
    # A few pictures at a time: their new files go to disk while the next ones are
    # made, and each flush of the journal or a folder serves them all.
    my $count = @items / 6;
    my $index = 0;
    while ($index < $count and !$stop) {
        my @group;
        while (@group < $GROUP and $index + @group < $count and !$stop) {
            my $n = $index + @group;
            my ($path, @position) = @items[$n * 6 .. $n * 6 + 5];
            my $sidecar = pop @position;
            # A sidecar is written at once (undef when done); the picture is left alone.
            push @group, length $sidecar
                ? WriteSidecar($first + $n, $path, $sidecar, @position)
                : PrepareWrite($first + $n, $path, @position);
        }
        if ($stop) {
            # Pictures not touched yet are left as they are and not reported; a sidecar
            # is written at once, and so reported, or its write could not be undone.
            for my $k (0 .. $#group) {
                if (ref $group[$k]) {
                    Discard($group[$k]);
                } else {
                    Say('W', $index + $k, defined $group[$k] ? ('FAIL', $group[$k]) : 'OK');
                }
            }
            last;
        }
        my @why = CommitGroup(@group);
        Say('W', $index++, defined $_ ? ('FAIL', $_) : 'OK') for @why;
    }
} elsif ($mode eq 'names') {
    WriteAllNames($journalPath, $first, @items);
} elsif ($mode eq 'undo') {
    Fatal('undo needs three arguments per picture') if @items % 3;
    OpenJournal($journalPath);
    for my $index (0 .. @items / 3 - 1) {
        last if $stop;
        my $before = $items[$index * 3 + 1];
        my ($id) = $before =~ /^B\t(\d+)\t/;
        Say('U', $index, UndoPicture($index, $id // -1, @items[$index * 3 .. $index * 3 + 2]));
    }
} else {
    Fatal("unknown mode: $mode");
}
exit 0;
