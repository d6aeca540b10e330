# The reading form (statcrane-model describes it) for the Perl readers.
package Reading;
use strict;
use warnings;

binmode STDOUT, ':encoding(UTF-8)';

sub escape {
    my ($text) = @_;
    $text = '' unless defined $text;
    $text =~ s/\\/\\\\/g;
    $text =~ s/\t/\\t/g;
    $text =~ s/\n/\\n/g;
    $text =~ s/\r/\\r/g;
    return $text;
}

sub line { print join("\t", map { escape($_) } @_), "\n"; }

# 0-based row and column to "A1".
sub ref {
    my ($row, $col) = @_;
    my $name = '';
    for (my $n = $col + 1; $n > 0; $n = int(($n - 1) / 26)) {
        $name = chr(65 + ($n - 1) % 26) . $name;
    }
    return $name . ($row + 1);
}

1;
