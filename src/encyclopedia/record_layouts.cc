#include "encyclopedia/record_layouts.h"

#include <stdexcept>
#include <string>

namespace statcrane {

void CheckRecordSize(size_t got, size_t size, std::string_view record) {
  if (got != size) {
    throw std::invalid_argument(std::string(record) + " needs " + std::to_string(size) +
                                " bytes, got " + std::to_string(got));
  }
}

TeamRecord TeamRecord::Decode(RecordBytes bytes) {
  return DecodeRecord<TeamRecord>(bytes, "TeamRecord");
}
void TeamRecord::Encode(MutableRecordBytes bytes) const {
  EncodeRecord(*this, bytes, "TeamRecord");
}

PlayerRecord PlayerRecord::Decode(RecordBytes bytes) {
  return DecodeRecord<PlayerRecord>(bytes, "PlayerRecord");
}
void PlayerRecord::Encode(MutableRecordBytes bytes) const {
  EncodeRecord(*this, bytes, "PlayerRecord");
}

PlayerStatsRecord PlayerStatsRecord::Decode(RecordBytes bytes) {
  return DecodeRecord<PlayerStatsRecord>(bytes, "PlayerStatsRecord");
}
void PlayerStatsRecord::Encode(MutableRecordBytes bytes) const {
  EncodeRecord(*this, bytes, "PlayerStatsRecord");
}

LeagueRecord LeagueRecord::Decode(RecordBytes bytes) {
  return DecodeRecord<LeagueRecord>(bytes, "LeagueRecord");
}
void LeagueRecord::Encode(MutableRecordBytes bytes) const {
  EncodeRecord(*this, bytes, "LeagueRecord");
}

LeagueYearRecord LeagueYearRecord::Decode(RecordBytes bytes) {
  return DecodeRecord<LeagueYearRecord>(bytes, "LeagueYearRecord");
}
void LeagueYearRecord::Encode(MutableRecordBytes bytes) const {
  EncodeRecord(*this, bytes, "LeagueYearRecord");
}

TeamStatBlock TeamStatBlock::Decode(RecordBytes bytes) {
  return DecodeRecord<TeamStatBlock>(bytes, "TeamStatBlock");
}
void TeamStatBlock::Encode(MutableRecordBytes bytes) const {
  EncodeRecord(*this, bytes, "TeamStatBlock");
}

TeamYearRecord TeamYearRecord::Decode(RecordBytes bytes) {
  return DecodeRecord<TeamYearRecord>(bytes, "TeamYearRecord");
}
void TeamYearRecord::Encode(MutableRecordBytes bytes) const {
  EncodeRecord(*this, bytes, "TeamYearRecord");
}

}  // namespace statcrane
