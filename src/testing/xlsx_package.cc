#include "testing/xlsx_package.h"

#include <expat.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace statcrane::testing {
namespace {

uint64_t Le(const std::string& data, size_t at, int bytes) {
  if (at + static_cast<size_t>(bytes) > data.size()) throw std::runtime_error("zip: cut short");
  uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<uint8_t>(data[at + static_cast<size_t>(i)]);
  }
  return value;
}

std::string Inflate(std::string_view deflated, uint64_t size) {
  std::string out(size, '\0');
  z_stream stream{};
  if (inflateInit2(&stream, -15) != Z_OK) throw std::runtime_error("zip: inflateInit2");
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(deflated.data()));
  stream.avail_in = static_cast<uInt>(deflated.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&stream, Z_FINISH);
  const bool whole = result == Z_STREAM_END && stream.avail_out == 0 && stream.avail_in == 0;
  inflateEnd(&stream);
  if (!whole) throw std::runtime_error("zip: an entry does not inflate to its size");
  return out;
}

}  // namespace

ZipEntries ReadZip(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + file.string());
  const std::string data{std::istreambuf_iterator<char>(in), {}};
  // The end of central directory record, then the ZIP64 one if it points to it.
  if (data.size() < 22) throw std::runtime_error("zip: too short");
  const size_t end = data.size() - 22;  // no comment
  if (Le(data, end, 4) != 0x06054b50) throw std::runtime_error("zip: no end record");
  ZipEntries entries;
  uint64_t count = Le(data, end + 10, 2);
  uint64_t directory = Le(data, end + 16, 4);
  if (count == 0xFFFF || directory == 0xFFFFFFFF) {
    if (end < 20 || Le(data, end - 20, 4) != 0x07064b50) throw std::runtime_error("zip: locator");
    const size_t record = Le(data, end - 20 + 8, 8);
    if (Le(data, record, 4) != 0x06064b50) throw std::runtime_error("zip: zip64 end record");
    count = Le(data, record + 32, 8);
    directory = Le(data, record + 48, 8);
    entries.any_zip64 = true;
  }
  size_t at = directory;
  for (uint64_t i = 0; i < count; ++i) {
    if (Le(data, at, 4) != 0x02014b50) throw std::runtime_error("zip: central header");
    const uint32_t crc = static_cast<uint32_t>(Le(data, at + 16, 4));
    uint64_t compressed = Le(data, at + 20, 4);
    uint64_t size = Le(data, at + 24, 4);
    const size_t name_length = Le(data, at + 28, 2);
    const size_t extra_length = Le(data, at + 30, 2);
    const size_t comment_length = Le(data, at + 32, 2);
    uint64_t offset = Le(data, at + 42, 4);
    const std::string name = data.substr(at + 46, name_length);
    size_t extra = at + 46 + name_length;
    const size_t extra_end = extra + extra_length;
    while (extra + 4 <= extra_end) {
      const uint64_t id = Le(data, extra, 2), length = Le(data, extra + 2, 2);
      size_t field = extra + 4;
      if (id == 1) {
        entries.any_zip64 = true;
        if (size == 0xFFFFFFFF) size = Le(data, field, 8), field += 8;
        if (compressed == 0xFFFFFFFF) compressed = Le(data, field, 8), field += 8;
        if (offset == 0xFFFFFFFF) offset = Le(data, field, 8), field += 8;
      }
      extra += 4 + length;
    }
    if (Le(data, offset, 4) != 0x04034b50) throw std::runtime_error("zip: local header");
    if (Le(data, offset + 8, 2) != 8) throw std::runtime_error("zip: not deflated: " + name);
    const size_t data_start = offset + 30 + Le(data, offset + 26, 2) + Le(data, offset + 28, 2);
    if (data_start + compressed > data.size()) throw std::runtime_error("zip: entry cut short");
    std::string part = Inflate(std::string_view(data).substr(data_start, compressed), size);
    if (crc32(0, reinterpret_cast<const Bytef*>(part.data()), static_cast<uInt>(part.size())) !=
        crc) {
      throw std::runtime_error("zip: CRC of " + name);
    }
    entries.order.push_back(name);
    entries.parts[name] = std::move(part);
    at += 46 + name_length + extra_length + comment_length;
  }
  return entries;
}

const XmlElement* XmlElement::Child(std::string_view child) const {
  for (const auto& c : children) {
    if (c->name == child) return c.get();
  }
  return nullptr;
}

std::vector<const XmlElement*> XmlElement::Children(std::string_view child) const {
  std::vector<const XmlElement*> found;
  for (const auto& c : children) {
    if (c->name == child) found.push_back(c.get());
  }
  return found;
}

std::string XmlElement::Attribute(std::string_view attribute) const {
  const auto found = attributes.find(std::string(attribute));
  return found == attributes.end() ? "" : found->second;
}

namespace {

struct ParseState {
  std::unique_ptr<XmlElement> root;
  std::vector<XmlElement*> open;
};

void XMLCALL Start(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto& state = *static_cast<ParseState*>(data);
  auto element = std::make_unique<XmlElement>();
  element->name = name;
  for (int i = 0; attributes[i] != nullptr; i += 2)
    element->attributes[attributes[i]] = attributes[i + 1];
  XmlElement* raw = element.get();
  if (state.open.empty()) {
    state.root = std::move(element);
  } else {
    state.open.back()->children.push_back(std::move(element));
  }
  state.open.push_back(raw);
}

void XMLCALL End(void* data, const XML_Char*) { static_cast<ParseState*>(data)->open.pop_back(); }

void XMLCALL Characters(void* data, const XML_Char* text, int length) {
  auto& state = *static_cast<ParseState*>(data);
  if (!state.open.empty()) state.open.back()->text.append(text, static_cast<size_t>(length));
}

}  // namespace

std::unique_ptr<XmlElement> ParseXml(std::string_view xml) {
  ParseState state;
  XML_Parser parser = XML_ParserCreate("UTF-8");
  XML_SetUserData(parser, &state);
  XML_SetElementHandler(parser, Start, End);
  XML_SetCharacterDataHandler(parser, Characters);
  const bool ok =
      XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1) != XML_STATUS_ERROR;
  const std::string message = ok ? "" : XML_ErrorString(XML_GetErrorCode(parser));
  const auto line = XML_GetCurrentLineNumber(parser);
  XML_ParserFree(parser);
  if (!ok) throw std::runtime_error("XML: " + message + " at line " + std::to_string(line));
  return std::move(state.root);
}

std::vector<std::pair<std::string, const XmlElement*>> SheetCells(const XmlElement& worksheet) {
  std::vector<std::pair<std::string, const XmlElement*>> cells;
  const XmlElement* data = worksheet.Child("sheetData");
  if (data == nullptr) return cells;
  for (const XmlElement* row : data->Children("row")) {
    int col = 0;
    for (const XmlElement* c : row->Children("c")) {
      const std::string ref = c->Attribute("r");
      if (ref.empty()) {
        ++col;
      } else {
        col = 0;
        for (char letter : ref) {
          if (letter < 'A' || letter > 'Z') break;
          col = col * 26 + (letter - 'A' + 1);
        }
      }
      std::string letters;
      for (int n = col; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
      cells.emplace_back(letters + row->Attribute("r"), c);
    }
  }
  return cells;
}

std::string DecodeEscapes(std::string_view text) {
  auto hex = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
  };
  std::string out;
  for (size_t i = 0; i < text.size();) {
    if (i + 7 <= text.size() && text[i] == '_' && text[i + 1] == 'x' && hex(text[i + 2]) &&
        hex(text[i + 3]) && hex(text[i + 4]) && hex(text[i + 5]) && text[i + 6] == '_') {
      const unsigned code =
          static_cast<unsigned>(std::stoul(std::string(text.substr(i + 2, 4)), nullptr, 16));
      if (code < 0x80) {
        out += static_cast<char>(code);
      } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
      } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
      }
      i += 7;
    } else {
      out += text[i++];
    }
  }
  return out;
}

}  // namespace statcrane::testing
