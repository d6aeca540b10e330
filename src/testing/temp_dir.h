// A folder under the system's temporary folder, removed with its contents
// when the object goes away.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace statcrane::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
  // Writes a file of the given bytes into the folder.
  void WriteFile(std::string_view name, const std::vector<uint8_t>& bytes) const;

 private:
  std::filesystem::path path_;
};

}  // namespace statcrane::testing
