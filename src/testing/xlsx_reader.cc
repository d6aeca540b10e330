#include "testing/xlsx_reader.h"

#include <stdio.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "workbook/cell_range.h"

namespace statcrane::testing {
namespace {

#ifndef _WIN32
std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}
#endif

std::string Unescape(std::string_view field) {
  std::string text;
  text.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      text += field[i];
      continue;
    }
    char next = field[++i];
    text += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return text;
}

std::vector<std::string> Fields(std::string_view line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    size_t tab = line.find('\t', start);
    fields.push_back(Unescape(line.substr(start, tab - start)));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return fields;
}

[[noreturn]] void BadLine(const std::string& line) {
  throw std::runtime_error("xlsx_dump.py printed a line the reader does not understand: " + line);
}

XlsxBook Parse(const std::string& output) {
  XlsxBook book;
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(start, end - start);
    start = end + 1;
    if (line.empty()) continue;
    std::vector<std::string> f = Fields(line);
    const std::string& tag = f[0];
    if (tag == "book" && f.size() == 2) {
      book.active = f[1];
    } else if (tag == "property" && f.size() == 3) {
      book.properties[f[1]] = f[2];
    } else if (tag == "name" && f.size() == 5) {
      book.defined_names.push_back({f[1], f[2], f[3], f[4] == "1"});
    } else if (tag == "sheet" && f.size() == 4) {
      XlsxSheet& sheet = book.sheets.emplace_back();
      sheet.name = f[1];
      sheet.tab_selected = f[2] == "1";
      sheet.active_cell = f[3].empty() ? "A1" : f[3];
    } else if (book.sheets.empty()) {
      BadLine(line);
    } else if (tag == "pane" && f.size() == 2) {
      book.sheets.back().frozen_at = f[1];
    } else if (tag == "filter" && f.size() == 2) {
      book.sheets.back().filter = f[1];
    } else if (tag == "page" && f.size() == 5) {
      XlsxPage& page = book.sheets.back().page;
      page.present = true;
      page.orientation = f[1];
      page.fit_to_page = f[2] == "1";
      page.fit_width = std::stoi(f[3]);
      page.fit_height = std::stoi(f[4]);
    } else if (tag == "footer" && f.size() == 4) {
      book.sheets.back().footer = {f[1], f[2], f[3]};
    } else if (tag == "titles" && f.size() == 2) {
      book.sheets.back().title_rows = f[1];
    } else if (tag == "break" && f.size() == 2) {
      book.sheets.back().breaks.push_back(std::stoi(f[1]));
    } else if (tag == "link" && f.size() == 4) {
      book.sheets.back().links[f[1]] = f[2].empty() ? f[3] : f[2];
    } else if (tag == "font" && f.size() == 5) {
      auto found = book.sheets.back().cells.find({std::stoi(f[1]), std::stoi(f[2])});
      if (found == book.sheets.back().cells.end()) BadLine(line);
      found->second.font_color = f[3];
      found->second.underline = f[4] == "1";
    } else if (tag == "width" && f.size() == 3) {
      book.sheets.back().widths[std::stoi(f[1])] = std::strtod(f[2].c_str(), nullptr);
    } else if (tag == "merge" && f.size() == 2) {
      book.sheets.back().merges.push_back(f[1]);
    } else if (tag == "cell" && f.size() == 18) {
      XlsxCell cell;
      cell.present = true;
      if (f[3] == "n" || f[3] == "b") {
        cell.kind = f[3] == "n" ? XlsxCell::Kind::kNumber : XlsxCell::Kind::kBool;
        cell.number = std::strtod(f[4].c_str(), nullptr);
      } else if (f[3] == "s") {
        cell.kind = XlsxCell::Kind::kText;
        cell.text = f[4];
      }
      cell.number_format = f[5];
      cell.horizontal = f[6];
      cell.fill = f[7];
      cell.bold = f[8] == "1";
      cell.font_size = std::strtod(f[9].c_str(), nullptr);
      XlsxBorderSide* sides[4] = {&cell.top, &cell.left, &cell.right, &cell.bottom};
      for (int k = 0; k < 4; ++k) {
        sides[k]->style = f[10 + 2 * k];
        sides[k]->color = f[11 + 2 * k];
      }
      book.sheets.back().cells[{std::stoi(f[1]), std::stoi(f[2])}] = std::move(cell);
    } else {
      BadLine(line);
    }
  }
  return book;
}

}  // namespace

const XlsxCell& XlsxSheet::Cell(int32_t row, int32_t column) const {
  static const XlsxCell kAbsent;
  auto found = cells.find({row, column});
  return found == cells.end() ? kAbsent : found->second;
}

const XlsxCell& XlsxSheet::Cell(std::string_view a1) const {
  CellRange range = CellRange::Parse(a1);
  return Cell(range.first_row, range.first_col);
}

bool XlsxSheet::IsMerged(std::string_view a1_range) const {
  for (const std::string& merge : merges) {
    if (merge == a1_range) return true;
  }
  return false;
}

double XlsxSheet::Width(std::string_view column) const {
  auto found = widths.find(ColumnNumber(column));
  return found == widths.end() ? 0 : found->second;
}

int XlsxSheet::WidthPixels(std::string_view column) const {
  return static_cast<int>(std::lround(Width(column) * 7));
}

int32_t XlsxSheet::LastRow() const { return cells.empty() ? 0 : cells.rbegin()->first.first; }

std::vector<std::string> XlsxBook::SheetNames() const {
  std::vector<std::string> names;
  for (const XlsxSheet& sheet : sheets) names.push_back(sheet.name);
  return names;
}

const XlsxSheet& XlsxBook::Sheet(std::string_view name) const {
  for (const XlsxSheet& sheet : sheets) {
    if (sheet.name == name) return sheet;
  }
  throw std::out_of_range("the workbook has no sheet named \"" + std::string(name) + "\"");
}

namespace {

// What xlsx_dump.py prints for the files.
std::string Dump(const std::vector<std::filesystem::path>& files) {
#ifdef _WIN32
  // Tests that read workbooks are skipped on Windows (SkipOnWindows).
  (void)files;
  throw std::runtime_error("the independent reader (Python, openpyxl) runs on Linux only");
#else
  std::string command =
      "/usr/bin/python3 " + ShellQuoted(std::string(STATCRANE_SOURCE_DIR) + "/tools/xlsx_dump.py");
  std::string names;
  for (const auto& file : files) {
    command += " " + ShellQuoted(file.string());
    names += (names.empty() ? "" : ", ") + file.string();
  }
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run " + command);
  std::string output;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  int status = ::pclose(pipe);
  if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("reading " + names +
                             " with xlsx_dump.py failed (see its message above)");
  }
  return output;
#endif
}

XlsxBook ParseBook(const std::string& output) {
  XlsxBook book = Parse(output);
  book.sheet_names = book.SheetNames();
  book.active_sheet = book.active;
  return book;
}

}  // namespace

XlsxBook ReadXlsx(const std::filesystem::path& file) { return ParseBook(Dump({file})); }

std::vector<XlsxBook> ReadXlsxFiles(const std::vector<std::filesystem::path>& files) {
  if (files.empty()) return {};
  const std::string output = Dump(files);
  // Each book begins with its "book" line.
  std::vector<XlsxBook> books;
  size_t start = 0;
  while (start < output.size()) {
    size_t next = output.find("\nbook\t", start);
    next = next == std::string::npos ? output.size() : next + 1;
    books.push_back(ParseBook(output.substr(start, next - start)));
    start = next;
  }
  if (books.size() != files.size()) {
    throw std::runtime_error("xlsx_dump.py printed " + std::to_string(books.size()) +
                             " books for " + std::to_string(files.size()) + " files");
  }
  return books;
}

int ColumnPixels(double width) {
  if (width <= 0) return 64;  // the default width, 8.43 characters
  if (width < 1) return static_cast<int>(width * 12 + 0.5);
  return static_cast<int>(width * 7 + 0.5) + 5;
}

}  // namespace statcrane::testing
