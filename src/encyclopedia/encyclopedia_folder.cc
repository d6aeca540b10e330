#include "encyclopedia/encyclopedia_folder.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

namespace statcrane {
namespace {

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

}  // namespace

bool IsDataFileName(std::string_view name) {
  for (const std::string_view data_file :
       {kTeamFile, kPlayerFile, kPlayerStatsFile, kLeagueFile, kLeagueYearFile, kTeamYearFile}) {
    if (SameIgnoringCase(name, data_file)) return true;
  }
  return false;
}

std::optional<std::filesystem::path> EncyclopediaFolder::Find(std::string_view name,
                                                              SkipReporter* reporter) const {
  try {
    std::vector<std::string> matches;
    std::error_code error;
    std::filesystem::directory_iterator it(folder_, error);
    if (error) return std::nullopt;
    for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
      if (error) return std::nullopt;
      std::string entry = it->path().filename().string();
      if (SameIgnoringCase(entry, name)) matches.push_back(std::move(entry));
    }
    if (error || matches.empty()) return std::nullopt;
    if (matches.size() == 1) return folder_ / matches.front();

    std::sort(matches.begin(), matches.end());
    const auto exact = std::find(matches.begin(), matches.end(), name);
    const std::string& chosen = exact != matches.end() ? *exact : matches.front();
    if (reporter != nullptr) {
      std::string note = "several files match this name (";
      for (size_t i = 0; i < matches.size(); ++i) {
        if (i > 0) note += ", ";
        note += matches[i];
      }
      note += "); read " + chosen;
      reporter->FileNote(name, note);
    }
    return folder_ / chosen;
  } catch (...) {
    // Listing failed in a way the error codes did not catch (out of memory,
    // a name the platform cannot convert): treat the file as not found.
    return std::nullopt;
  }
}

}  // namespace statcrane
