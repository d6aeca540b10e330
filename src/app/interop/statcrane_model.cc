// statcrane-model: runs the program on an encyclopedia as the command line
// does and prints what the workbook model of the run holds, the workbook it
// wrote beside it, for the interoperability stage (scripts/interop) to
// compare each reader's reading of the file with.
//
//   statcrane-model FOLDER OUT.xlsx [--sheets CHOICE] [--index] > MODEL.tsv
//
// The reading is text, one fact a line, fields separated by tabs (backslash,
// tab, newline and carriage return in a field written as \\, \t, \n, \r):
//   reader  model  VERSION
//   reads   values formats merges frozen filter links
//   sheet   NAME                   (in tab order; the lines below are its)
//   cell    A1  n|s  VALUE         (a cell with a number or a text; numbers as
//                                   the shortest text that reads back exactly)
//   format  A1  NUMBER_FORMAT      (after its cell: the format's code, General
//                                   for none)
//   merge   A1:B2
//   frozen  A2                     (the first cell that scrolls)
//   filter  A1:K30                 (the filter's table)
//   link    A1  SHEET!A5           (a link to a cell of the workbook)
// tools/interop/compare_readings.py reads it; the readers in tools/interop
// print the same form.
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "app/processing_run.h"
#include "util/error.h"
#include "workbook/workbook.h"

namespace statcrane {
namespace {

constexpr const char* kUsage =
    "usage: statcrane-model FOLDER OUT.xlsx [--sheets players-and-teams|teams-only|players-only] "
    "[--index]\n";

std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Ref(int32_t row, int32_t col) { return ColumnName(col) + std::to_string(row); }

void Line(std::FILE* out, std::initializer_list<std::string_view> fields) {
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) std::fputc('\t', out);
    first = false;
    const std::string text = Escaped(field);
    std::fwrite(text.data(), 1, text.size(), out);
  }
  std::fputc('\n', out);
}

void PrintSheet(const Worksheet& sheet, std::FILE* out) {
  Line(out, {"sheet", sheet.name()});
  for (Row row(1); row <= sheet.LastRow(); ++row) {
    sheet.ForEachCellInRow(row, [&](Column col, const CellView& cell) {
      if (cell.kind == CellKind::kEmpty) return;
      const std::string ref = Ref(row.number(), col.number());
      if (cell.kind == CellKind::kNumber) {
        char number[32];
        const auto end = std::to_chars(number, number + sizeof number, cell.number).ptr;
        Line(out, {"cell", ref, "n", std::string_view(number, static_cast<size_t>(end - number))});
      } else {
        Line(out, {"cell", ref, "s", cell.text});
      }
      const std::string& format = cell.style->number_format;
      Line(out, {"format", ref, format.empty() ? "General" : format});
    });
  }
  for (const CellRange& merge : sheet.merges()) Line(out, {"merge", merge.ToA1()});
  if (sheet.frozen_rows() > 0) Line(out, {"frozen", Ref(sheet.frozen_rows() + 1, 1)});
  if (const auto& table = sheet.auto_filter()) Line(out, {"filter", table->ToA1()});
  for (const CellLink& link : sheet.links()) {
    Line(out, {"link", Ref(link.row, link.col),
               link.sheet + "!" + Ref(link.target_row, link.target_col)});
  }
}

// Prints the model when the run has built it.
class ModelPrinter : public RunObserver {
 public:
  void WorkbookComplete(const Workbook& workbook) override {
    Line(stdout, {"reader", "model", STATCRANE_VERSION});
    Line(stdout, {"reads", "values formats merges frozen filter links"});
    for (size_t i = 0; i < workbook.SheetCount(); ++i) PrintSheet(workbook.SheetAt(i), stdout);
  }
};

int Main(int argc, char** argv) {
  RunOptions options;
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--index") {
      options.index = IndexChoice::kIndex;
    } else if (arg == "--sheets" && i + 1 < argc) {
      const std::string_view choice = argv[++i];
      if (choice == "players-and-teams") {
        options.sheets = SheetChoice::kPlayersAndTeams;
      } else if (choice == "teams-only") {
        options.sheets = SheetChoice::kTeamsOnly;
      } else if (choice == "players-only") {
        options.sheets = SheetChoice::kPlayersOnly;
      } else {
        std::fputs(kUsage, stderr);
        return 2;
      }
    } else if (!arg.empty() && arg[0] != '-' && positional < 2) {
      (positional++ == 0 ? options.encyclopedia_folder : options.output) = arg;
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  if (positional != 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  options.overwrite = true;
  ModelPrinter printer;
  const RunResult result = RunProcessing(options, printer, nullptr);
  if (result.outcome != RunOutcome::kCompleted) {
    std::fprintf(stderr, "statcrane-model: %s\n",
                 result.error.empty() ? "the run did not complete" : result.error.c_str());
    return 1;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace
}  // namespace statcrane

int main(int argc, char** argv) { return statcrane::Main(argc, argv); }
