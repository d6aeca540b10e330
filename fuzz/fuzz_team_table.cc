// ENCTEAM.DAT: the input is the whole file.
#include <cstddef>
#include <cstdint>

#include "encyclopedia/record_layouts.h"
#include "encyclopedia/team_abbreviations.h"
#include "fuzz/fuzz_support.h"

using namespace statcrane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const fuzz::NamedBytes files[] = {{kTeamFile, bytes}};
  const EncyclopediaFolder folder(fuzz::WriteFolder("team", files));
  SkipReport report;
  const TeamAbbreviations team_abbreviations = LoadTeamAbbreviations(folder, report);
  fuzz::CheckFileReport(report, kTeamFile, size, TeamRecord::kSize);
  // Every abbreviation comes from a record of the file: three characters at most.
  for (size_t offset = 0; offset + TeamRecord::kSize <= size; offset += TeamRecord::kSize) {
    const int id = static_cast<int16_t>(data[offset + 2] | (data[offset + 3] << 8));
    const std::string& abbrev = team_abbreviations[id];
    if (!fuzz::IsUtf8(abbrev)) fuzz::Finding("an abbreviation is not UTF-8");
    size_t characters = 0;
    for (char c : abbrev) characters += (static_cast<uint8_t>(c) & 0xC0) != 0x80;
    if (characters > 3) fuzz::Finding("an abbreviation longer than three characters");
  }
  return 0;
}
