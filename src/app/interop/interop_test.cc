// Interoperability: the bundled sample's workbook for every sheet choice
// read back with the independent reader (openpyxl, testing/xlsx_reader.h),
// and opened in LibreOffice (headless, Debian libreoffice-calc-nogui) with
// every sheet converted to CSV; each value compared with the workbook model
// the run built.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/processing_run.h"
#include "app/sheet_layout.h"
#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/team_abbreviations.h"
#include "players/player_phase.h"
#include "teams/team_phase.h"
#include "testing/temp_dir.h"
#include "testing/xlsx_reader.h"
#include "tools/encyclopedia_generator.h"
#include "workbook/page_breaks.h"
#include "workbook/workbook.h"
#include "workbook/xlsx_writer.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;

// The model of a run, built as the run builds it.
void BuildSampleWorkbook(Workbook& workbook, SheetChoice choice = SheetChoice::kPlayersAndTeams) {
  RunReport report;
  ProgressObserver quiet;
  const EncyclopediaFolder folder(fs::path(STATCRANE_SOURCE_DIR) / "samples" /
                                  "sample-encyclopedia");
  SheetLayout layout(workbook, choice);
  const TeamAbbreviations teams = LoadTeamAbbreviations(folder, report);
  PlayerPhaseResult players;
  if (PlayersWanted(choice)) {
    players = RunPlayerPhase(folder, teams, layout.player_sheets(), quiet, report);
  }
  if (TeamsWanted(choice)) RunTeamPhase(folder, teams, layout.team_sheets(), quiet, report);
  layout.Finish(report, players.last_letter_sheet);
}

// A fill colour as the reader gives it.
std::string FillText(std::optional<Rgb> fill) {
  if (!fill) return "";
  char text[8];
  std::snprintf(text, sizeof text, "%06X", *fill);
  return text;
}

TEST(IndependentReader, EverySheetChoiceReadsBackAsTheModel) {
  const SheetChoice choices[] = {SheetChoice::kPlayersAndTeams, SheetChoice::kTeamsOnly,
                                 SheetChoice::kPlayersOnly};
  std::vector<Workbook> workbooks(std::size(choices));
  testing::TempDir dir;
  std::vector<fs::path> files;
  for (size_t i = 0; i < std::size(choices); ++i) {
    BuildSampleWorkbook(workbooks[i], choices[i]);
    files.push_back(dir / ("choice" + std::to_string(i) + ".xlsx"));
    WriteXlsx(workbooks[i], files.back(), false);
  }
  const std::vector<testing::XlsxBook> books = testing::ReadXlsxFiles(files);
  for (size_t i = 0; i < std::size(choices); ++i) {
    const Workbook& model = workbooks[i];
    const testing::XlsxBook& book = books[i];
    SCOPED_TRACE(files[i].filename().string());
    ASSERT_EQ(book.sheets.size(), model.SheetCount());
    EXPECT_EQ(book.active, model.SheetAt(model.OpeningSheetIndex()).name());
    for (size_t s = 0; s < model.SheetCount(); ++s) {
      const Worksheet& sheet = model.SheetAt(s);
      const testing::XlsxSheet& read = book.sheets[s];
      EXPECT_EQ(read.name, sheet.name());
      int64_t cells = 0;
      for (int32_t row = 1; row <= sheet.LastRow().number(); ++row) {
        sheet.ForEachCellInRow(Row(row), [&](Column column, const CellView& cell) {
          const int32_t col = column.number();
          const testing::XlsxCell& got = read.Cell(row, col);
          const std::string where = sheet.name() + "!" + ColumnName(col) + std::to_string(row);
          ASSERT_TRUE(got.present) << where;
          switch (cell.kind) {
            case CellKind::kNumber:
              EXPECT_EQ(got.number, cell.number) << where;
              break;
            case CellKind::kText:
              EXPECT_EQ(got.text, cell.text) << where;
              break;
            case CellKind::kEmpty:
              EXPECT_TRUE(got.IsEmpty()) << where;
              break;
          }
          const CellStyle& style = *cell.style;
          EXPECT_EQ(got.number_format,
                    style.number_format.empty() ? "General" : style.number_format)
              << where;
          EXPECT_EQ(got.bold, style.bold) << where;
          EXPECT_EQ(got.font_size, style.font_size) << where;
          EXPECT_EQ(got.fill, FillText(style.fill)) << where;
          EXPECT_EQ(got.font_color, FillText(style.font_color)) << where;
          EXPECT_EQ(got.underline, style.underline) << where;
          ++cells;
        });
      }
      EXPECT_EQ(static_cast<int64_t>(read.cells.size()), cells) << sheet.name();
    }
  }
}

// The fields of CSV text: rows of fields, quotes undone.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1);
  std::string field;
  bool quoted = false, in_quotes = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (in_quotes) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        in_quotes = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      in_quotes = quoted = true;
    } else if (c == ',' || c == '\n') {
      rows.back().push_back(field);
      field.clear();
      quoted = false;
      if (c == '\n') rows.emplace_back();
    } else if (c != '\r') {
      field += c;
    }
  }
  if (!field.empty() || quoted) rows.back().push_back(field);
  if (rows.back().empty()) rows.pop_back();
  return rows;
}

const fs::path kSample = fs::path(STATCRANE_SOURCE_DIR) / "samples" / "sample-encyclopedia";

// The sample's workbook written by a run, with or without the index.
RunResult RunOnSample(const fs::path& output, IndexChoice index) {
  RunOptions options;
  options.encyclopedia_folder = kSample;
  options.output = output;
  options.index = index;
  RunObserver quiet;
  RunResult result = RunProcessing(options, quiet, nullptr);
  EXPECT_EQ(result.outcome, RunOutcome::kCompleted) << result.error;
  return result;
}

bool IsLetterSheet(const std::string& name) {
  return name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || name[0] == '#');
}

bool IsTableSheet(const std::string& name) {
  return name == "Index" || name.find("Totals") != std::string::npos;
}

// "'M'!A17" as sheet "M", row 17, column 1.
struct Place {
  std::string sheet;
  int32_t row = 0;
  int32_t col = 0;
};
Place ParseLocation(const std::string& location) {
  const size_t bang = location.rfind('!');
  std::string sheet = location.substr(0, bang);
  if (sheet.size() >= 2 && sheet.front() == '\'') sheet = sheet.substr(1, sheet.size() - 2);
  size_t quote;
  while ((quote = sheet.find("''")) != std::string::npos) sheet.erase(quote, 1);
  const CellRange cell = CellRange::Parse(location.substr(bang + 1));
  return {sheet, cell.first_row, cell.first_col};
}

// The sample's workbook with the index, read back by the independent reader:
// the properties, every sheet at A1 and set up to print, the tables frozen
// and filtered, row breaks only before blocks, and every index line a link
// to its player's name row or its team's title row.
TEST(IndependentReader, TheIndexAndTheViewAndPrintSettingsOfTheSample) {
  testing::TempDir dir;
  const RunResult with = RunOnSample(dir / "index.xlsx", IndexChoice::kIndex);
  const RunResult without = RunOnSample(dir / "plain.xlsx", IndexChoice::kNone);
  const std::vector<testing::XlsxBook> books =
      testing::ReadXlsxFiles({dir / "index.xlsx", dir / "plain.xlsx"});
  const testing::XlsxBook& book = books[0];
  const testing::XlsxBook& plain = books[1];

  EXPECT_EQ(book.properties.at("title"), "Statistics of sample-encyclopedia");
  EXPECT_EQ(book.properties.at("application"), "StatCrane");
  EXPECT_EQ(book.properties.at("created").size(), 20u);  // 2024-05-01T12:00:00Z
  EXPECT_EQ(book.active, "Index");

  // Without the index the same sheets, each cell as with it.
  std::vector<std::string> names = book.SheetNames();
  ASSERT_EQ(names.front(), "Index");
  names.erase(names.begin());
  EXPECT_EQ(plain.SheetNames(), names);
  for (const testing::XlsxSheet& sheet : plain.sheets) {
    const testing::XlsxSheet& indexed = book.Sheet(sheet.name);
    EXPECT_EQ(sheet.cells.size(), indexed.cells.size()) << sheet.name;
    for (const auto& [at, cell] : sheet.cells) {
      const testing::XlsxCell& other = indexed.Cell(at.first, at.second);
      EXPECT_TRUE(other.present && other.text == cell.text && other.number == cell.number &&
                  other.fill == cell.fill && other.bold == cell.bold)
          << sheet.name << " " << at.first << "," << at.second;
    }
    EXPECT_EQ(sheet.breaks, indexed.breaks) << sheet.name;
  }

  std::map<std::string, std::set<int32_t>> block_starts;  // sheet -> first rows of blocks
  for (const testing::XlsxSheet& sheet : book.sheets) {
    SCOPED_TRACE(sheet.name);
    EXPECT_EQ(sheet.active_cell, "A1");
    // "Index" upright: the default, as the file names no orientation.
    EXPECT_EQ(sheet.page.orientation, sheet.name == "Index" ? "default" : "landscape");
    EXPECT_TRUE(sheet.page.fit_to_page);
    EXPECT_EQ(sheet.page.fit_width, 1);
    EXPECT_EQ(sheet.page.fit_height, 0);
    EXPECT_EQ(sheet.footer, (testing::XlsxFooter{"&A", "", "Page &P of &N"}));
    if (IsTableSheet(sheet.name)) {
      EXPECT_EQ(sheet.frozen_at, "A2");
      EXPECT_EQ(sheet.title_rows, "$1:$1");
      // From the first heading to the last, down to the last row.
      int32_t first = 0, last = 0;
      for (const auto& [at, cell] : sheet.cells) {
        if (at.first != 1 || !cell.IsText()) continue;
        if (first == 0) first = at.second;
        last = at.second;
      }
      EXPECT_EQ(sheet.filter,
                ColumnName(first) + "1:" + ColumnName(last) + std::to_string(sheet.LastRow()));
      EXPECT_TRUE(sheet.breaks.empty());
      continue;
    }
    EXPECT_EQ(sheet.frozen_at, "");
    EXPECT_EQ(sheet.filter, "");
    // A block starts at a name row (A:E merged) or a team's title row (A:C
    // merged, the headings below).
    std::set<int32_t>& starts = block_starts[sheet.name];
    for (const std::string& merge : sheet.merges) {
      const CellRange range = CellRange::Parse(merge);
      if (range.first_col != 1) continue;
      if (IsLetterSheet(sheet.name)
              ? range.last_col == 5
              : range.last_col == 3 && sheet.Cell(range.first_row + 1, 1).text == "League") {
        starts.insert(range.first_row);
      }
    }
    for (const int32_t above : sheet.breaks) {
      EXPECT_TRUE(starts.count(above + 1)) << "a page break before row " << above + 1;
    }
  }
  EXPECT_GE(book.Sheet("Team Records").breaks.size(), 5u);
  EXPECT_GE(book.Sheet("R").breaks.size(), 5u);

  // The index: a line per player and team written, each a link to the first
  // row of its block, where its name (and a player's id) is.
  const testing::XlsxSheet& index = book.Sheet("Index");
  EXPECT_EQ(index.LastRow(), 1 + with.report.players_written + with.report.teams_written);
  EXPECT_EQ(static_cast<int64_t>(index.links.size()), index.LastRow() - 1);
  int64_t players = 0;
  for (int32_t row = 2; row <= index.LastRow(); ++row) {
    const std::string name = index.Cell(row, 1).text;
    SCOPED_TRACE(name);
    ASSERT_TRUE(index.links.count("A" + std::to_string(row)));
    const Place place = ParseLocation(index.links.at("A" + std::to_string(row)));
    EXPECT_EQ(place.sheet, index.Cell(row, 5).text);
    EXPECT_EQ(place.col, 1);
    EXPECT_TRUE(block_starts[place.sheet].count(place.row)) << place.row;
    const testing::XlsxSheet& target = book.Sheet(place.sheet);
    EXPECT_EQ(target.Cell(place.row, 1).text, name);
    if (IsLetterSheet(place.sheet)) {
      ++players;
      EXPECT_EQ(target.Cell(place.row, 18).number, index.Cell(row, 2).number);
    }
    EXPECT_LE(index.Cell(row, 3).number, index.Cell(row, 4).number);
  }
  EXPECT_EQ(players, with.report.players_written);
  EXPECT_EQ(without.report.players_written, with.report.players_written);
}

TEST(LibreOffice, OpensTheSampleWorkbookWithEveryValue) {
  Workbook workbook;
  BuildSampleWorkbook(workbook);
  testing::TempDir dir;
  WriteXlsx(workbook, dir / "sample.xlsx", false);

  // A profile of its own in the temporary folder, so that it runs as root
  // and beside any other LibreOffice; every sheet to its own CSV file
  // (sheet -1), values as stored rather than as shown, UTF-8.
  const std::string command =
      "cd '" + dir.path().string() + "' && soffice -env:UserInstallation=file://" +
      (dir / "profile").string() +
      " --headless --norestore --convert-to "
      "'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1' "
      "--outdir '" +
      (dir / "csv").string() + "' sample.xlsx > soffice.log 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << "soffice failed; see " << dir / "soffice.log";

  for (size_t s = 0; s < workbook.SheetCount(); ++s) {
    const Worksheet& sheet = workbook.SheetAt(s);
    SCOPED_TRACE(sheet.name());
    std::ifstream in(dir / "csv" / ("sample-" + sheet.name() + ".csv"), std::ios::binary);
    ASSERT_TRUE(in) << "no CSV file for the sheet";
    const auto rows = ParseCsv({std::istreambuf_iterator<char>(in), {}});
    int64_t compared = 0;
    for (int32_t row = 1; row <= sheet.LastRow().number(); ++row) {
      sheet.ForEachCellInRow(Row(row), [&](Column column, const CellView& cell) {
        const int32_t col = column.number();
        const size_t r = static_cast<size_t>(row - 1), c = static_cast<size_t>(col - 1);
        const std::string field = r < rows.size() && c < rows[r].size() ? rows[r][c] : "";
        const std::string where = ColumnName(col) + std::to_string(row);
        switch (cell.kind) {
          case CellKind::kText:
            EXPECT_EQ(field, cell.text) << where;
            break;
          case CellKind::kNumber: {
            char* end = nullptr;
            const double read = std::strtod(field.c_str(), &end);
            EXPECT_TRUE(!field.empty() && *end == '\0') << where << ": " << field;
            // LibreOffice writes 15 significant digits.
            EXPECT_NEAR(read, cell.number, std::fabs(cell.number) * 1e-14) << where;
            break;
          }
          case CellKind::kEmpty:
            EXPECT_EQ(field, "") << where;
            break;
        }
        ++compared;
      });
    }
    // Nothing beyond the model's cells either.
    size_t fields = 0;
    for (const auto& fields_of_row : rows) {
      for (const std::string& field : fields_of_row) fields += field.empty() ? 0 : 1;
    }
    EXPECT_LE(static_cast<int64_t>(fields), compared);
  }
}

// What the printed pages are checked against: each sheet's model as the
// run finished it.
struct PrintedSheetModel {
  std::string name;
  bool table = false;
  int32_t last_row = 0;
  std::vector<int32_t> breaks;
  std::vector<RowSpan> blocks;
  std::vector<double> row_heights;        // by row, [0] unused
  std::vector<std::string> first_column;  // the text or number in A, by row
  double page_estimate = 0;               // points of the sheet's rows a page holds
};

std::vector<PrintedSheetModel> PrintedSheetModels(const Workbook& workbook) {
  std::vector<PrintedSheetModel> sheets;
  {
    for (size_t i = 0; i < workbook.SheetCount(); ++i) {
      const Worksheet& sheet = workbook.SheetAt(i);
      PrintedSheetModel model;
      model.name = sheet.name();
      model.table = sheet.page_setup().title_rows > 0;
      model.last_row = sheet.LastRow().number();
      for (Row row : sheet.row_breaks()) model.breaks.push_back(row.number());
      model.blocks = sheet.kept_together();
      model.page_estimate = PageHeightInRowPoints(sheet) * kPageSafety;
      model.row_heights.push_back(0);
      model.first_column.emplace_back();
      for (int32_t row = 1; row <= sheet.LastRow().number(); ++row) {
        model.row_heights.push_back(EstimatedRowHeight(sheet, Row(row)));
        const CellView cell = sheet.Cell(Row(row), Column(1));
        model.first_column.push_back(cell.kind == CellKind::kNumber ? "#" : std::string(cell.text));
      }
      sheets.push_back(std::move(model));
    }
  }
  return sheets;
}

class ModelKeeper : public RunObserver {
 public:
  void WorkbookComplete(const Workbook& workbook) override {
    sheets = PrintedSheetModels(workbook);
  }
  std::vector<PrintedSheetModel> sheets;
};

// A printed page as pdftotext reads it: its size and its lines of words
// (the words' top in points from the page's top, and their texts).
struct PrintedPage {
  double width = 0, height = 0;
  std::map<double, std::vector<std::string>> lines;  // by top, rounded to 0.1
  std::string sheet;                                 // from the footer
};

std::string Attribute(const std::string& tag, const std::string& name) {
  const size_t at = tag.find(" " + name + "=\"");
  if (at == std::string::npos) return "";
  const size_t from = at + name.size() + 3;
  return tag.substr(from, tag.find('"', from) - from);
}

// Prints the workbook with LibreOffice (headless, to PDF) and reads the
// pages back with pdftotext's word boxes (Debian poppler-utils).
std::vector<PrintedPage> PrintWithLibreOffice(const fs::path& dir, const std::string& stem) {
  const std::string command =
      "cd '" + dir.string() + "' && soffice -env:UserInstallation=file://" +
      (dir / "profile").string() + " --headless --norestore --convert-to pdf " + stem +
      ".xlsx > soffice.log 2>&1 && pdftotext -bbox " + stem + ".pdf " + stem + ".html";
  EXPECT_EQ(std::system(command.c_str()), 0) << "soffice or pdftotext failed; see " << dir;
  std::ifstream in(dir / (stem + ".html"), std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  std::vector<PrintedPage> pages;
  size_t at = 0;
  while ((at = text.find('<', at)) != std::string::npos) {
    const size_t end = text.find('>', at);
    const std::string tag = text.substr(at, end - at + 1);
    at = end + 1;
    if (tag.starts_with("<page ")) {
      pages.emplace_back();
      pages.back().width = std::stod(Attribute(tag, "width"));
      pages.back().height = std::stod(Attribute(tag, "height"));
    } else if (tag.starts_with("<word ") && !pages.empty()) {
      const double top = std::round(std::stod(Attribute(tag, "yMin")) * 10) / 10;
      pages.back().lines[top].push_back(text.substr(at, text.find('<', at) - at));
    }
  }
  // The footer is the last line: the sheet's name, then "Page N of M".
  for (PrintedPage& page : pages) {
    if (page.lines.empty()) continue;
    const std::vector<std::string>& footer = page.lines.rbegin()->second;
    const auto page_word = std::find(footer.begin(), footer.end(), "Page");
    for (auto word = footer.begin(); word != page_word; ++word) {
      page.sheet += (word == footer.begin() ? "" : " ") + *word;
    }
  }
  return pages;
}

// The distance between the lines of rows of 15 points on the sheet's pages
// (the commonest gap between lines): 15 points at the scale printed.
double PrintedRowPitch(const std::vector<PrintedPage>& pages, const std::string& sheet) {
  std::map<int, int> gaps;  // in tenths of a point
  for (const PrintedPage& page : pages) {
    if (page.sheet != sheet) continue;
    double previous = -1;
    for (const auto& [top, words] : page.lines) {
      if (previous >= 0 && top - previous < 16) ++gaps[static_cast<int>((top - previous) * 10)];
      previous = top;
    }
  }
  int best = 0, count = 0;
  for (const auto& [gap, n] : gaps) {
    if (n > count) best = gap, count = n;
  }
  return best / 10.0;
}

bool IsTitleOrHeading(const PrintedSheetModel& sheet, int32_t row) {
  const std::string& a = sheet.first_column[static_cast<size_t>(row)];
  if (a == "Year" || a == "League" || a.starts_with("- -") || a.ends_with("Championship") ||
      a == "World Series") {
    return true;
  }
  for (const RowSpan& block : sheet.blocks) {
    if (block.first == Row(row)) return true;
  }
  return false;
}

// The checks of the printed pages of a workbook with the index.
void CheckPrintedPages(const fs::path& dir, const std::string& stem,
                       const std::vector<PrintedSheetModel>& sheets) {
  const std::vector<PrintedPage> pages = PrintWithLibreOffice(dir, stem);
  std::map<std::string, int> printed;
  for (const PrintedPage& page : pages) {
    ASSERT_FALSE(page.sheet.empty()) << "a page without the footer";
    ++printed[page.sheet];
  }
  int total = 0;
  for (const PrintedSheetModel& sheet : sheets) {
    SCOPED_TRACE(stem + ", sheet " + sheet.name);
    total += printed[sheet.name];
    if (sheet.last_row == 0) {  // an empty sheet prints no page
      EXPECT_EQ(printed[sheet.name], 0);
      continue;
    }
    if (sheet.table) {
      // The heading on every page.
      for (const PrintedPage& page : pages) {
        if (page.sheet != sheet.name) continue;
        const std::vector<std::string>& first = page.lines.begin()->second;
        EXPECT_TRUE(first[0] == "Name" || first[0] == "Team" || first[0] == "Player") << first[0];
      }
      continue;
    }
    // LibreOffice broke no page of its own: every page begins where the
    // workbook said.
    EXPECT_EQ(printed[sheet.name], static_cast<int>(sheet.breaks.size()) + 1);

    // What a page holds as LibreOffice prints it: the printable height (the
    // page less its margins of 0.75 inch) at the scale the rows show.
    const double pitch = PrintedRowPitch(pages, sheet.name);
    ASSERT_GT(pitch, 0);
    const auto own = std::find_if(pages.begin(), pages.end(), [&](const PrintedPage& page) {
      return page.sheet == sheet.name;
    });
    const double holds = (own->height - 2 * 54) * 15 / pitch;
    // The estimate fills at least 90 % of it and never more.
    EXPECT_LE(sheet.page_estimate, holds);
    EXPECT_GE(sheet.page_estimate, 0.9 * holds) << "holds " << holds;

    auto height = [&](int32_t first, int32_t last) {
      double sum = 0;
      for (int32_t row = first; row <= last; ++row) {
        sum += row <= sheet.last_row ? sheet.row_heights[static_cast<size_t>(row)] : 15;
      }
      return sum;
    };
    // Each break: before a block, or inside a block taller than a page,
    // after a line rather than a title or heading.
    size_t block = 0;
    for (int32_t row : sheet.breaks) {
      while (block < sheet.blocks.size() && sheet.blocks[block].last < Row(row)) ++block;
      if (block == sheet.blocks.size() || sheet.blocks[block].first >= Row(row)) continue;
      const RowSpan& cut = sheet.blocks[block];
      // The workbook names no paper: its page is the smaller of Letter and
      // A4, so a block that fits that page is never cut (one between the
      // two, 33 rows, is cut on Letter).
      EXPECT_GT(height(cut.first.number(), cut.last.number()), sheet.page_estimate)
          << "a block that fits a page cut at row " << row;
      EXPECT_FALSE(IsTitleOrHeading(sheet, row - 1))
          << "row " << row - 1 << " ends a page and leads into row " << row;
    }
  }
  EXPECT_EQ(total, static_cast<int>(pages.size()));
  // "Index" prints upright, its last year and sheet apart.
  for (const PrintedPage& page : pages) {
    if (page.sheet != "Index") continue;
    EXPECT_LT(page.width, page.height);
    for (const auto& [top, words] : page.lines) {
      for (const std::string& word : words) {
        EXPECT_FALSE(word.size() > 4 && std::isdigit(static_cast<unsigned char>(word[0])) &&
                     std::isdigit(static_cast<unsigned char>(word[3])) &&
                     !std::isdigit(static_cast<unsigned char>(word[4])))
            << "run together on \"Index\": " << word;
      }
    }
  }
  std::cout << stem << ": " << pages.size() << " pages printed\n";
}

// The sample's workbook with the index printed by LibreOffice: every page
// has the footer; the tables print their heading on every page; the sheets
// of blocks break only where the workbook says, no block that fits a page
// is cut, no page ends on a title or headings, and the pages are as full as
// the estimate of what a page holds lets them be (at least 90 %).
TEST(LibreOffice, PrintsTheSampleWorkbookPageByPage) {
  testing::TempDir dir;
  RunOptions options;
  options.encyclopedia_folder = kSample;
  options.output = dir / "sample.xlsx";
  options.index = IndexChoice::kIndex;
  ModelKeeper model;
  ASSERT_TRUE(RunProcessing(options, model, nullptr).outcome == RunOutcome::kCompleted);
  CheckPrintedPages(dir.path(), "sample", model.sheets);
}

// The same for a generated encyclopedia of 3,000 players: "Team Records"
// and the letter sheets with blocks taller than a page, and the longest
// (the rest would take LibreOffice long to print and show nothing new).
TEST(LibreOffice, PrintsALargeWorkbookPageByPage) {
  testing::TempDir dir;
  GeneratorOptions generator;
  generator.players = 3000;
  generator.seed = 1;
  GenerateEncyclopedia(generator, dir / "encyclopedia");
  Workbook workbook;
  {
    RunReport report;
    ProgressObserver quiet;
    const EncyclopediaFolder folder(dir / "encyclopedia");
    SheetLayout layout(workbook, SheetChoice::kPlayersAndTeams);
    const TeamAbbreviations teams = LoadTeamAbbreviations(folder, report);
    const PlayerPhaseResult players =
        RunPlayerPhase(folder, teams, layout.player_sheets(), quiet, report);
    RunTeamPhase(folder, teams, layout.team_sheets(), quiet, report);
    layout.Finish(report, players.last_letter_sheet);
  }
  std::set<std::string> kept = {"Team Records"};
  const Worksheet* longest = nullptr;
  for (size_t i = 0; i < workbook.SheetCount(); ++i) {
    const Worksheet& sheet = workbook.SheetAt(i);
    if (!IsLetterSheet(sheet.name())) continue;
    if (longest == nullptr || sheet.LastRow() > longest->LastRow()) longest = &sheet;
    const double page = PageHeightInRowPoints(sheet);
    for (const RowSpan& block : sheet.kept_together()) {
      if (block.count() * 15 > page && kept.size() < 4) kept.insert(sheet.name());
    }
  }
  ASSERT_NE(longest, nullptr);
  kept.insert(longest->name());
  EXPECT_GT(kept.size(), 2u) << "no player's block is taller than a page";
  for (size_t i = workbook.SheetCount(); i-- > 0;) {
    if (!kept.contains(workbook.SheetAt(i).name())) workbook.RemoveSheet(workbook.SheetAt(i));
  }
  WriteXlsx(workbook, dir / "large.xlsx", false);
  CheckPrintedPages(dir.path(), "large", PrintedSheetModels(workbook));
}

}  // namespace
}  // namespace statcrane
