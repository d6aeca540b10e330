// Interoperability: the bundled sample's workbook for every sheet choice
// read back with the independent reader (openpyxl, testing/xlsx_reader.h),
// and opened in LibreOffice (headless, Debian libreoffice-calc-nogui) with
// every sheet converted to CSV; each value compared with the workbook model
// the run built.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/sheet_layout.h"
#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/team_abbreviations.h"
#include "players/player_phase.h"
#include "teams/team_phase.h"
#include "testing/temp_dir.h"
#include "testing/xlsx_reader.h"
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
      for (int32_t row = 1; row <= sheet.LastRow(); ++row) {
        sheet.ForEachCellInRow(row, [&](int32_t col, const CellView& cell) {
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
    for (int32_t row = 1; row <= sheet.LastRow(); ++row) {
      sheet.ForEachCellInRow(row, [&](int32_t col, const CellView& cell) {
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

}  // namespace
}  // namespace statcrane
