# Prints the embedded JPEG pictures of many files, one ExifTool for all of them.
# Reads file names from standard input, each ended by a NUL byte; the one argument is
# "largest" (the biggest preview) or "smallest" (a thumbnail is enough). For each file
# it prints records "<index> <length> <orientation>\n" and then that many bytes of JPEG,
# best first: the one to show, then the ones to show instead should it be a blank
# placeholder (all of them for "largest", one more of at most 256 KiB for "smallest").
# A single record of length 0 means the file holds no JPEG picture.
use strict;
use warnings;
use Image::ExifTool;

binmode STDIN;
binmode STDOUT;
$| = 1;

my $mode = (shift @ARGV) // 'largest';
my @tags = qw(PreviewImage JpgFromRaw OtherImage ThumbnailImage);
my $MAX_STANDBY = 256 * 1024;

# Width times height from the JPEG's frame header, or 0 when it has none.
sub Pixels {
    my ($data) = @_;
    my $at = 2;
    while ($at + 4 <= length $data) {
        my ($mark, $type, $size) = unpack('CCn', substr($data, $at, 4));
        return 0 unless $mark == 0xff;
        if ($type == 0xff) { ++$at; next; }
        # SOF0 to SOF15, less DHT (C4), JPG (C8) and DAC (CC).
        if ($type >= 0xc0 && $type <= 0xcf && $type != 0xc4 && $type != 0xc8 && $type != 0xcc) {
            return 0 if $at + 9 > length $data;
            my ($height, $width) = unpack('nn', substr($data, $at + 5, 4));
            return $width * $height;
        }
        return 0 if $type == 0xd9 || $type == 0xda;
        $at += 2 + $size;
    }
    return 0;
}

my $index = 0;
local $/ = "\0";
while (my $path = <STDIN>) {
    chomp $path;
    my $orientation = 1;
    my @found;
    my $et = Image::ExifTool->new;
    $et->Options(Binary => 1, Duplicates => 1);
    my $info = eval { $et->ImageInfo($path, @tags, 'Orientation#') } || {};
    for my $key (sort keys %$info) {
        my $value = $$info{$key};
        if ($key =~ /^Orientation/) {
            $orientation = $value if !ref $value && $value =~ /^[1-8]$/;
            next;
        }
        next unless ref $value eq 'SCALAR';
        my $data = $$value;
        # Some cameras keep a TIFF or a bare bitmap here; only whole JPEGs are shown.
        next unless length($data) > 4 && substr($data, 0, 2) eq "\xff\xd8";
        next if grep { length($$_[1]) == length($data) && $$_[1] eq $data } @found;
        push @found, [Pixels($data), $data];
    }
    # By size in pixels: a camera may keep a tiny placeholder that is larger in bytes.
    my $sign = $mode eq 'smallest' ? 1 : -1;
    @found = sort { $sign * ($$a[0] <=> $$b[0]) || $sign * (length($$a[1]) <=> length($$b[1])) }
             @found;
    if ($mode eq 'smallest' && @found > 1) {
        # For thumbnails of many files, one small stand-in at most: a large preview would
        # cost its bytes for every file.
        my ($standby) = grep { length($$_[1]) <= $MAX_STANDBY } @found[1 .. $#found];
        @found = ($found[0], $standby ? $standby : ());
    }
    @found = ([0, '']) unless @found;
    print $index, ' ', length($$_[1]), ' ', $orientation, "\n", $$_[1] for @found;
    ++$index;
}
