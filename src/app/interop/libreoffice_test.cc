// Interoperability: the bundled sample's workbook opened in LibreOffice
// (headless, Debian libreoffice-calc-nogui), every sheet converted to CSV,
// and each value compared with the workbook model the run built.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/workbook_layout.h"
#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/team_table.h"
#include "players/player_phase.h"
#include "teams/team_phase.h"
#include "testing/temp_dir.h"
#include "workbook/workbook.h"
#include "workbook/xlsx_writer.h"

namespace statcrane {
namespace {

namespace fs = std::filesystem;

// The model of a "Players and Teams" run, built as the run builds it.
void BuildSampleWorkbook(Workbook& workbook) {
  RunReport report;
  ProgressObserver quiet;
  const EncyclopediaFolder folder(fs::path(STATCRANE_SOURCE_DIR) / "samples" /
                                  "sample-encyclopedia");
  LayOutWorkbook(workbook, SheetChoice::kPlayersAndTeams);
  const TeamAbbrevTable teams = LoadTeamTable(folder, report);
  const PlayerPhaseResult players = RunPlayerPhase(folder, teams, workbook, quiet, report);
  FinishPlayerSheets(workbook, players, report);
  const TeamPhaseResult team_result = Do_Teams(folder, teams, workbook, quiet, report);
  FinishTeamSheets(workbook, team_result, report);
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
