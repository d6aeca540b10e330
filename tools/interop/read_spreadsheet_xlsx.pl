#!/usr/bin/perl
# Reads a workbook with Spreadsheet::XLSX (Debian libspreadsheet-xlsx-perl),
# an older reader many scripts still use: values as stored; prints them. It
# gives texts as the file's UTF-8 bytes (its synopsis hands it a converter
# for that): they are decoded here.
#   perl read_spreadsheet_xlsx.pl FILE
use strict;
use warnings;
use FindBin;
use lib $FindBin::Bin;
use Reading;
use Spreadsheet::XLSX;

my $book = Spreadsheet::XLSX->new($ARGV[0]);
Reading::line('reader', 'Spreadsheet::XLSX', $Spreadsheet::XLSX::VERSION);
Reading::line('reads', 'values');
for my $sheet (@{ $book->{Worksheet} }) {
    my $name = $sheet->{Name};
    utf8::decode($name);
    Reading::line('sheet', $name);
    next unless defined $sheet->{MaxRow} && defined $sheet->{MaxCol};
    for my $row (($sheet->{MinRow} // 0) .. $sheet->{MaxRow}) {
        for my $col (($sheet->{MinCol} // 0) .. $sheet->{MaxCol}) {
            my $cell = $sheet->{Cells}[$row][$col] or next;
            my $value = $cell->{Val};
            next if !defined $value || $value eq '';
            utf8::decode($value);
            Reading::line('cell', Reading::ref($row, $col), $cell->{Type} eq 'Numeric' ? 'n' : 's', $value);
        }
    }
}
