#!/usr/bin/perl
# Reads a workbook with Spreadsheet::ParseXLSX (Debian
# libspreadsheet-parsexlsx-perl): values as stored, number formats, merges;
# prints the reading.
#   perl read_parsexlsx.pl FILE
use strict;
use warnings;
use FindBin;
use lib $FindBin::Bin;
use Reading;
use Spreadsheet::ParseXLSX;

my $book = Spreadsheet::ParseXLSX->new->parse($ARGV[0]) or die "cannot read $ARGV[0]\n";
Reading::line('reader', 'Spreadsheet::ParseXLSX', $Spreadsheet::ParseXLSX::VERSION);
Reading::line('reads', 'values formats merges');
for my $sheet ($book->worksheets) {
    Reading::line('sheet', $sheet->get_name);
    my ($first_row, $last_row) = $sheet->row_range;
    my ($first_col, $last_col) = $sheet->col_range;
    for my $row ($first_row .. $last_row) {
        for my $col ($first_col .. $last_col) {
            my $cell = $sheet->get_cell($row, $col) or next;
            my $value = $cell->unformatted;
            next if !defined $value || $value eq '';
            my $ref = Reading::ref($row, $col);
            Reading::line('cell', $ref, $cell->type eq 'Numeric' ? 'n' : 's', $value);
            my $format = $cell->get_format;
            my $code = $format ? $book->{FormatStr}{$format->{FmtIdx}} : undef;
            Reading::line('format', $ref, $code // 'General');
        }
    }
    for my $merge (@{ $sheet->get_merged_areas || [] }) {
        my ($r1, $c1, $r2, $c2) = @$merge;
        Reading::line('merge', Reading::ref($r1, $c1) . ':' . Reading::ref($r2, $c2));
    }
}
