// What both systems' output files share.
#include "util/platform_files.h"

#include <random>

#include "util/error.h"
#include "util/platform_files_shared.h"

namespace statcrane {
namespace {

constexpr std::string_view kPrivatePrefix = ".statcrane-";
constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t kSuffixLength = 8;

}  // namespace

std::string NewPrivateFolderName() {
  thread_local std::mt19937 random{std::random_device{}()};
  std::string name(kPrivatePrefix);
  for (size_t i = 0; i < kSuffixLength; ++i) name += kLetters[random() % kLetters.size()];
  return name;
}

bool IsPrivateFolderName(std::string_view name) {
  if (name.size() != kPrivatePrefix.size() + kSuffixLength || !name.starts_with(kPrivatePrefix)) {
    return false;
  }
  name.remove_prefix(kPrivatePrefix.size());
  return name.find_first_not_of(kLetters) == std::string_view::npos;
}

std::string QuotedPath(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

void FailToSave(std::string_view what, const std::filesystem::path& target,
                const std::string& reason) {
  throw StatCraneError("cannot save " + std::string(what) + " as " + QuotedPath(target) + ": " +
                       reason);
}

void FailExists(const std::filesystem::path& target) {
  throw StatCraneError("the file " + QuotedPath(target) + " already exists; it was left as it was");
}

void WriteWholeFile(const std::filesystem::path& target, std::string_view content, bool overwrite,
                    std::string_view what) {
  OutputFile file(target, overwrite, what);
  file.Write({reinterpret_cast<const uint8_t*>(content.data()), content.size()});
  file.Publish();
}

}  // namespace statcrane
