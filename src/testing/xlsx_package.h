// Reading an .xlsx package in tests, without the program's code: the zip
// entries (inflated with zlib, CRC checked) and a small XML tree parsed with
// expat (Debian libexpat1-dev).
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace statcrane::testing {

// The entries of a zip file by name, in the order of its central directory
// in `order`. Throws std::runtime_error for a damaged file.
struct ZipEntries {
  std::map<std::string, std::string> parts;
  std::vector<std::string> order;
  bool any_zip64 = false;  // some entry or the directory used the ZIP64 extensions
};
ZipEntries ReadZip(const std::filesystem::path& file);

struct XmlElement {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::string text;  // character data directly inside, concatenated
  std::vector<std::unique_ptr<XmlElement>> children;

  // The first child named `name`, or null.
  const XmlElement* Child(std::string_view name) const;
  std::vector<const XmlElement*> Children(std::string_view name) const;
  std::string Attribute(std::string_view name) const;  // "" when absent
};
// Throws std::runtime_error with expat's message for XML that is not
// well-formed.
std::unique_ptr<XmlElement> ParseXml(std::string_view xml);

// The <c> elements of a worksheet part with their references ("B7"): a cell
// without one is in the column after the cell before it.
std::vector<std::pair<std::string, const XmlElement*>> SheetCells(const XmlElement& worksheet);

// Cell text as the _xHHHH_ convention means it: each _xHHHH_ stands for the
// character U+HHHH.
std::string DecodeEscapes(std::string_view text);

}  // namespace statcrane::testing
