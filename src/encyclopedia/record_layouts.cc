#include "encyclopedia/record_layouts.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "util/text_decoding.h"

namespace statcrane {
namespace {

void CheckSize(RecordBytes bytes, size_t size, const char* record) {
  if (bytes.size() != size) {
    throw std::invalid_argument(std::string(record) + " needs " + std::to_string(size) +
                                " bytes, got " + std::to_string(bytes.size()));
  }
}

void CheckSize(MutableRecordBytes bytes, size_t size, const char* record) {
  CheckSize(RecordBytes(bytes.data(), bytes.size()), size, record);
}

int16_t I16(RecordBytes b, size_t offset) {
  return static_cast<int16_t>(static_cast<uint16_t>(b[offset] | (b[offset + 1] << 8)));
}

uint8_t U8(RecordBytes b, size_t offset) { return b[offset]; }

std::string Text(RecordBytes b, size_t offset, size_t width) {
  return DecodeFixedText(b.data() + offset, width);
}

// A text field counts as present when its first byte is a blank or above.
bool Present(RecordBytes b, size_t offset) { return b[offset] >= 32; }

void PutI16(MutableRecordBytes b, size_t offset, int16_t value) {
  const auto v = static_cast<uint16_t>(value);
  b[offset] = static_cast<uint8_t>(v & 0xFF);
  b[offset + 1] = static_cast<uint8_t>(v >> 8);
}

void PutU8(MutableRecordBytes b, size_t offset, uint8_t value) { b[offset] = value; }

void PutText(MutableRecordBytes b, size_t offset, size_t width, const std::string& text) {
  EncodeFixedText(text, b.data() + offset, width);
}

void Clear(MutableRecordBytes b) { std::fill(b.begin(), b.end(), uint8_t{0}); }

}  // namespace

TeamRecord TeamRecord::Decode(RecordBytes b) {
  CheckSize(b, kSize, "TeamRecord");
  TeamRecord r;
  r.RecordStatus = I16(b, 0);
  r.TeamId = I16(b, 2);
  r.Abbrev = Text(b, 4, 3);
  r.ShortName = Text(b, 7, 3);
  r.City = Text(b, 10, 20);
  r.Nickname = Text(b, 30, 20);
  r.GateA = I16(b, 50);
  r.GateB = I16(b, 52);
  r.Spare = I16(b, 54);
  return r;
}

void TeamRecord::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "TeamRecord");
  Clear(b);
  PutI16(b, 0, RecordStatus);
  PutI16(b, 2, TeamId);
  PutText(b, 4, 3, Abbrev);
  PutText(b, 7, 3, ShortName);
  PutText(b, 10, 20, City);
  PutText(b, 30, 20, Nickname);
  PutI16(b, 50, GateA);
  PutI16(b, 52, GateB);
  PutI16(b, 54, Spare);
}

PlayerRecord PlayerRecord::Decode(RecordBytes b) {
  CheckSize(b, kSize, "PlayerRecord");
  PlayerRecord r;
  r.RecordStatus = I16(b, 0);
  r.PlayerId = I16(b, 2);
  r.FirstName = Text(b, 4, 16);
  r.LastName = Text(b, 20, 16);
  r.BirthYear = I16(b, 36);
  r.BirthMonth = U8(b, 38);
  r.BirthDay = U8(b, 39);
  return r;
}

void PlayerRecord::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "PlayerRecord");
  Clear(b);
  PutI16(b, 0, RecordStatus);
  PutI16(b, 2, PlayerId);
  PutText(b, 4, 16, FirstName);
  PutText(b, 20, 16, LastName);
  PutI16(b, 36, BirthYear);
  PutU8(b, 38, BirthMonth);
  PutU8(b, 39, BirthDay);
}

PlayerStatsRecord PlayerStatsRecord::Decode(RecordBytes b) {
  CheckSize(b, kSize, "PlayerStatsRecord");
  PlayerStatsRecord r;
  r.RecordStatus = I16(b, 0);
  r.PlayerId = I16(b, 4);
  r.SeasonType = U8(b, 6);
  r.Year = I16(b, 8);
  r.TeamId = I16(b, 10);
  r.FirstName = Text(b, 14, 16);
  r.LastName = Text(b, 30, 16);
  r.LineKind = U8(b, 46);
  r.AtBats = I16(b, 58);
  r.Runs = I16(b, 60);
  r.RBI = I16(b, 62);
  r.Hits = I16(b, 64);
  r.Doubles = U8(b, 66);
  r.Triples = U8(b, 67);
  r.HomeRuns = U8(b, 68);
  r.HitByPitch = U8(b, 69);
  r.Strikeouts = I16(b, 70);
  r.Walks = I16(b, 72);
  r.StolenBases = U8(b, 75);
  r.CaughtStealing = U8(b, 76);
  r.SacHits = U8(b, 78);
  r.SacFlies = U8(b, 79);
  r.OutsPitched = I16(b, 120);
  r.OppAtBats = I16(b, 122);
  r.HitsAllowed = I16(b, 124);
  r.StrikeoutsPitched = I16(b, 126);
  r.WalksAllowed = I16(b, 128);
  r.RunsAllowed = I16(b, 132);
  r.EarnedRuns = I16(b, 134);
  r.HRAllowed = U8(b, 138);
  r.GDPInduced = U8(b, 144);
  r.Wins = U8(b, 145);
  r.Losses = U8(b, 146);
  r.Saves = U8(b, 147);
  r.Shutouts = U8(b, 158);
  r.CompleteGames = U8(b, 159);
  r.GamesPitched = U8(b, 160);
  r.GamesStarted = U8(b, 162);
  return r;
}

void PlayerStatsRecord::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "PlayerStatsRecord");
  Clear(b);
  PutI16(b, 0, RecordStatus);
  PutI16(b, 4, PlayerId);
  PutU8(b, 6, SeasonType);
  PutI16(b, 8, Year);
  PutI16(b, 10, TeamId);
  PutText(b, 14, 16, FirstName);
  PutText(b, 30, 16, LastName);
  PutU8(b, 46, LineKind);
  PutI16(b, 58, AtBats);
  PutI16(b, 60, Runs);
  PutI16(b, 62, RBI);
  PutI16(b, 64, Hits);
  PutU8(b, 66, Doubles);
  PutU8(b, 67, Triples);
  PutU8(b, 68, HomeRuns);
  PutU8(b, 69, HitByPitch);
  PutI16(b, 70, Strikeouts);
  PutI16(b, 72, Walks);
  PutU8(b, 75, StolenBases);
  PutU8(b, 76, CaughtStealing);
  PutU8(b, 78, SacHits);
  PutU8(b, 79, SacFlies);
  PutI16(b, 120, OutsPitched);
  PutI16(b, 122, OppAtBats);
  PutI16(b, 124, HitsAllowed);
  PutI16(b, 126, StrikeoutsPitched);
  PutI16(b, 128, WalksAllowed);
  PutI16(b, 132, RunsAllowed);
  PutI16(b, 134, EarnedRuns);
  PutU8(b, 138, HRAllowed);
  PutU8(b, 144, GDPInduced);
  PutU8(b, 145, Wins);
  PutU8(b, 146, Losses);
  PutU8(b, 147, Saves);
  PutU8(b, 158, Shutouts);
  PutU8(b, 159, CompleteGames);
  PutU8(b, 160, GamesPitched);
  PutU8(b, 162, GamesStarted);
}

LeagueRecord LeagueRecord::Decode(RecordBytes b) {
  CheckSize(b, kSize, "LeagueRecord");
  LeagueRecord r;
  r.RecordStatus = I16(b, 0);
  r.LeagueId = I16(b, 2);
  r.LeagueName = Text(b, 4, 40);
  r.LeagueNamePresent = Present(b, 4);
  r.UseMark = I16(b, 44);
  return r;
}

void LeagueRecord::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "LeagueRecord");
  Clear(b);
  PutI16(b, 0, RecordStatus);
  PutI16(b, 2, LeagueId);
  PutText(b, 4, 40, LeagueName);
  PutI16(b, 44, UseMark);
}

LeagueYearRecord LeagueYearRecord::Decode(RecordBytes b) {
  CheckSize(b, kSize, "LeagueYearRecord");
  LeagueYearRecord r;
  r.RecordStatus = I16(b, 0);
  r.LeagueId = I16(b, 4);
  r.Year = I16(b, 6);
  r.LeagueName = Text(b, 12, 40);
  for (int d = 0; d < kDivisions; ++d) {
    r.DivisionName[d] = Text(b, 52 + 20 * d, 20);
    r.DivisionNamePresent[d] = Present(b, 52 + 20 * d);
    for (int k = 0; k < kSlots; ++k) r.DivisionTeams[d][k] = I16(b, 132 + 32 * d + 2 * k);
  }
  return r;
}

void LeagueYearRecord::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "LeagueYearRecord");
  Clear(b);
  PutI16(b, 0, RecordStatus);
  PutI16(b, 4, LeagueId);
  PutI16(b, 6, Year);
  PutText(b, 12, 40, LeagueName);
  for (int d = 0; d < kDivisions; ++d) {
    PutText(b, 52 + 20 * d, 20, DivisionName[d]);
    for (int k = 0; k < kSlots; ++k) PutI16(b, 132 + 32 * d + 2 * k, DivisionTeams[d][k]);
  }
}

TeamStatBlock TeamStatBlock::Decode(RecordBytes b) {
  CheckSize(b, kSize, "TeamStatBlock");
  TeamStatBlock r;
  r.LOB = I16(b, 0);
  r.GDP = I16(b, 2);
  r.Scored = I16(b, 6);
  r.Allowed = I16(b, 8);
  r.Won = U8(b, 10);
  r.Lost = U8(b, 11);
  r.SHO = U8(b, 14);
  return r;
}

void TeamStatBlock::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "TeamStatBlock");
  Clear(b);
  PutI16(b, 0, LOB);
  PutI16(b, 2, GDP);
  PutI16(b, 6, Scored);
  PutI16(b, 8, Allowed);
  PutU8(b, 10, Won);
  PutU8(b, 11, Lost);
  PutU8(b, 14, SHO);
}

TeamYearRecord TeamYearRecord::Decode(RecordBytes b) {
  CheckSize(b, kSize, "TeamYearRecord");
  TeamYearRecord r;
  r.RecordStatus = I16(b, 0);
  r.TeamId = I16(b, 2);
  r.Year = I16(b, 4);
  r.TeamName1 = Text(b, 6, 20);
  r.TeamName2 = Text(b, 26, 20);
  r.SeasonAbbrev = Text(b, 116, 3);
  r.LeagueId = I16(b, 120);
  r.Reg = TeamStatBlock::Decode(b.subspan(304, TeamStatBlock::kSize));
  r.DCS = TeamStatBlock::Decode(b.subspan(320, TeamStatBlock::kSize));
  r.LCS = TeamStatBlock::Decode(b.subspan(336, TeamStatBlock::kSize));
  r.WS = TeamStatBlock::Decode(b.subspan(352, TeamStatBlock::kSize));
  return r;
}

void TeamYearRecord::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "TeamYearRecord");
  Clear(b);
  PutI16(b, 0, RecordStatus);
  PutI16(b, 2, TeamId);
  PutI16(b, 4, Year);
  PutText(b, 6, 20, TeamName1);
  PutText(b, 26, 20, TeamName2);
  PutText(b, 116, 3, SeasonAbbrev);
  PutI16(b, 120, LeagueId);
  Reg.Encode(b.subspan(304, TeamStatBlock::kSize));
  DCS.Encode(b.subspan(320, TeamStatBlock::kSize));
  LCS.Encode(b.subspan(336, TeamStatBlock::kSize));
  WS.Encode(b.subspan(352, TeamStatBlock::kSize));
}

}  // namespace statcrane
