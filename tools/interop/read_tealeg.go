// Reads a workbook with tealeg/xlsx (Debian golang-github-tealeg-xlsx-dev,
// built in GOPATH mode): values, number formats, merges and frozen rows
// (it reads no filters); prints the reading.
//
//	go run read_tealeg.go FILE
package main

import (
	"bufio"
	"fmt"
	"os"
	"strings"

	"github.com/tealeg/xlsx"
)

var out = bufio.NewWriterSize(os.Stdout, 1<<20)

var escaper = strings.NewReplacer("\\", "\\\\", "\t", "\\t", "\n", "\\n", "\r", "\\r")

func line(fields ...string) {
	for i, field := range fields {
		if i > 0 {
			out.WriteByte('\t')
		}
		out.WriteString(escaper.Replace(field))
	}
	out.WriteByte('\n')
}

// ref gives "A1" for 0-based row and column.
func ref(row, col int) string {
	name := ""
	for n := col + 1; n > 0; n = (n - 1) / 26 {
		name = string(rune('A'+(n-1)%26)) + name
	}
	return fmt.Sprintf("%s%d", name, row+1)
}

func main() {
	file, err := xlsx.OpenFile(os.Args[1])
	if err != nil {
		fmt.Fprintln(os.Stderr, err)
		os.Exit(1)
	}
	line("reader", "tealeg/xlsx", os.Getenv("TEALEG_XLSX_VERSION"))
	line("reads", "values formats merges frozen")
	for _, sheet := range file.Sheets {
		line("sheet", sheet.Name)
		var merges []string
		for r, row := range sheet.Rows {
			if row == nil {
				continue
			}
			for c, cell := range row.Cells {
				if cell == nil {
					continue
				}
				if cell.HMerge > 0 || cell.VMerge > 0 {
					merges = append(merges, ref(r, c)+":"+ref(r+cell.VMerge, c+cell.HMerge))
				}
				if cell.Value == "" {
					continue
				}
				kind := "s"
				switch cell.Type() {
				case xlsx.CellTypeNumeric:
					kind = "n"
				case xlsx.CellTypeString, xlsx.CellTypeStringFormula, xlsx.CellTypeInline:
				default:
					kind = "?"
				}
				line("cell", ref(r, c), kind, cell.Value)
				line("format", ref(r, c), cell.NumFmt)
			}
		}
		for _, merge := range merges {
			line("merge", merge)
		}
		for _, view := range sheet.SheetViews {
			if view.Pane != nil && view.Pane.State == "frozen" {
				line("frozen", view.Pane.TopLeftCell)
			}
		}
	}
	out.Flush()
}
