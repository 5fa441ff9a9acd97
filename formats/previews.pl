# Prints the embedded JPEG pictures of many files, one ExifTool for all of them.
# Reads file names from standard input, each ended by a NUL byte; the one argument is
# "largest" (the biggest preview) or "smallest" (a thumbnail is enough). For each file
# it prints "<index> <length> <orientation>\n" and then that many bytes of JPEG; a
# length of 0 means the file holds no JPEG picture.
use strict;
use warnings;
use Image::ExifTool;

binmode STDIN;
binmode STDOUT;
$| = 1;

my $mode = (shift @ARGV) // 'largest';
my @tags = qw(PreviewImage JpgFromRaw OtherImage ThumbnailImage);

my $index = 0;
local $/ = "\0";
while (my $path = <STDIN>) {
    chomp $path;
    my ($best, $orientation) = ('', 1);
    my $et = Image::ExifTool->new;
    $et->Options(Binary => 1, Duplicates => 1);
    my $info = eval { $et->ImageInfo($path, @tags, 'Orientation#') } || {};
    for my $key (keys %$info) {
        my $value = $$info{$key};
        if ($key =~ /^Orientation/) {
            $orientation = $value if !ref $value && $value =~ /^[1-8]$/;
            next;
        }
        next unless ref $value eq 'SCALAR';
        my $data = $$value;
        # Some cameras keep a TIFF or a bare bitmap here; only whole JPEGs are shown.
        next unless length($data) > 4 && substr($data, 0, 2) eq "\xff\xd8";
        my $better = $mode eq 'smallest' ? length($data) < length($best)
                                         : length($data) > length($best);
        $best = $data if $best eq '' or $better;
    }
    print $index++, ' ', length($best), ' ', $orientation, "\n", $best;
}
