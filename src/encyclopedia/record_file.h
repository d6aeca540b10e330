// A data file of fixed-length records, read once, whole, without
// zero-filling memory first (util/platform.h: mapped where the system
// allows it, read into a buffer otherwise).
//
// How large a file may be. Records are numbered from 1 with 32-bit signed
// record numbers, so no file holds more than kMaxRecords (2,147,483,647)
// whole records; a longer file is refused, naming the file and the limit,
// before any of it is read. No tighter bound follows from the formats: a
// file may repeat an id (the later record wins) and hold deleted records, so
// its length is not bounded by its ids. Per file that is:
//   ENCTEAM.DAT     56-byte records    120,259,084,232 bytes
//   ENCPLYR.DAT     48-byte records    103,079,215,056 bytes
//   ENCPLSTATS.DAT  336-byte records   721,554,505,392 bytes
//   encleag.dat     50-byte records    107,374,182,350 bytes
//   enclgyr.dat     1000-byte slots  2,147,483,647,000 bytes
//   enctmyr.dat     368-byte records   790,273,982,096 bytes
// What stays in memory besides the mapped file is bounded by the ids for the
// team, player and league tables (10,000 teams and leagues, 36,501 players);
// the statistics file keeps 8 bytes per record it indexes and a name per
// player id (at most 32,767), the league-year file 8 bytes per used record
// while it is loaded, the team-year file one team season per used record.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "encyclopedia/encyclopedia_folder.h"
#include "encyclopedia/record_layouts.h"
#include "util/platform_read.h"
#include "util/skip_report.h"

namespace statcrane {

// The ids the tables hold.
inline constexpr int kMaxTeamId = 9999;
inline constexpr int kMaxLeagueId = 9999;
inline constexpr int kMaxPlayerId = 36500;

// Why records are skipped, as the run report tells it; the same words for
// the same reason in every file.
inline constexpr SkipReason kDeletedRecords{"deleted record", "deleted records"};
inline constexpr SkipReason kYearsBefore1{"record with a year before 1",
                                          "records with a year before 1"};
inline constexpr SkipReason kTeamIdsOutOfRange{"record with a team id outside 0 to 9999",
                                               "records with a team id outside 0 to 9999"};
inline constexpr SkipReason kLeagueIdsOutOfRange{"record with a league id outside 0 to 9999",
                                                 "records with a league id outside 0 to 9999"};
inline constexpr SkipReason kPlayerIdsOutOfRange{"record with a player id outside 1 to 36500",
                                                 "records with a player id outside 1 to 36500"};

class RecordFile {
 public:
  static constexpr int64_t kMaxRecords = 2147483647;

  // Reads the file `name` of the folder with records of `record_length`
  // bytes. A missing file reads as no records. A trailing fragment shorter
  // than one record is ignored and reported. Throws StatCraneError when the
  // file exists but cannot be read (or is not a regular file), and when it
  // holds more than kMaxRecords records.
  static RecordFile Read(const EncyclopediaFolder& folder, std::string_view name,
                         size_t record_length, SkipReporter& reporter,
                         ReadMethod method = ReadMethod::kMapOrRead);
  // Records from bytes already in memory (tests, fuzzing).
  static RecordFile FromBytes(std::span<const uint8_t> bytes, size_t record_length);

  bool exists() const { return exists_; }
  bool mapped() const { return bytes_.mapped(); }
  size_t record_count() const { return count_; }
  // Record n, counted from 1.
  RecordBytes Record(size_t number) const {
    return RecordBytes(bytes_.bytes().data() + (number - 1) * record_length_, record_length_);
  }
  // Record n decoded, after checking that the file was not cut short while
  // it was read.
  template <typename Layout>
  Layout Decode(size_t number) const {
    Layout record = Layout::Decode(Record(number));
    CheckWhole(number);
    return record;
  }

  // Calls f(n) for every record number in order, letting the system take
  // back the memory of the records already passed (they are read again when
  // used later), so that a pass over a large file holds little of it. Then
  // checks that the file was not cut short meanwhile.
  template <typename F>
  void ForEachRecord(F f) const {
    constexpr size_t kChunk = size_t{16} << 20;
    const size_t per_chunk = record_length_ ? std::max<size_t>(1, kChunk / record_length_) : 1;
    for (size_t n = 1; n <= count_; ++n) {
      f(n);
      if (n % per_chunk == 0) {
        bytes_.Forget((n - per_chunk) * record_length_, per_chunk * record_length_);
      }
    }
    CheckWhole();
  }

  // Throws StatCraneError naming the file (and the record, when a number is
  // given) when another program cut the file short while it was read; the
  // bytes read since then are zeros, not the file's.
  void CheckWhole(size_t record_number = 0) const {
    if (bytes_.cut_short()) FailCutShort(record_number);
  }

 private:
  [[noreturn]] void FailCutShort(size_t record_number) const;

  FileBytes bytes_;
  size_t record_length_ = 0;
  size_t count_ = 0;
  bool exists_ = false;
  std::string name_;
  std::string path_;
};

}  // namespace statcrane
