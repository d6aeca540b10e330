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
  r.record_status = I16(b, 0);
  r.team_id = I16(b, 2);
  r.abbreviation = Text(b, 4, 3);
  r.short_name = Text(b, 7, 3);
  r.city = Text(b, 10, 20);
  r.nickname = Text(b, 30, 20);
  r.gate_a = I16(b, 50);
  r.gate_b = I16(b, 52);
  r.spare = I16(b, 54);
  return r;
}

void TeamRecord::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "TeamRecord");
  Clear(b);
  PutI16(b, 0, record_status);
  PutI16(b, 2, team_id);
  PutText(b, 4, 3, abbreviation);
  PutText(b, 7, 3, short_name);
  PutText(b, 10, 20, city);
  PutText(b, 30, 20, nickname);
  PutI16(b, 50, gate_a);
  PutI16(b, 52, gate_b);
  PutI16(b, 54, spare);
}

PlayerRecord PlayerRecord::Decode(RecordBytes b) {
  CheckSize(b, kSize, "PlayerRecord");
  PlayerRecord r;
  r.record_status = I16(b, 0);
  r.player_id = I16(b, 2);
  r.first_name = Text(b, 4, 16);
  r.last_name = Text(b, 20, 16);
  r.birth_year = I16(b, 36);
  r.birth_month = U8(b, 38);
  r.birth_day = U8(b, 39);
  return r;
}

void PlayerRecord::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "PlayerRecord");
  Clear(b);
  PutI16(b, 0, record_status);
  PutI16(b, 2, player_id);
  PutText(b, 4, 16, first_name);
  PutText(b, 20, 16, last_name);
  PutI16(b, 36, birth_year);
  PutU8(b, 38, birth_month);
  PutU8(b, 39, birth_day);
}

PlayerStatsRecord PlayerStatsRecord::Decode(RecordBytes b) {
  CheckSize(b, kSize, "PlayerStatsRecord");
  PlayerStatsRecord r;
  r.record_status = I16(b, 0);
  r.player_id = I16(b, 4);
  r.season_type = U8(b, 6);
  r.year = I16(b, 8);
  r.team_id = I16(b, 10);
  r.first_name = Text(b, 14, 16);
  r.last_name = Text(b, 30, 16);
  r.line_kind = U8(b, 46);
  r.at_bats = I16(b, 58);
  r.runs = I16(b, 60);
  r.runs_batted_in = I16(b, 62);
  r.hits = I16(b, 64);
  r.doubles = U8(b, 66);
  r.triples = U8(b, 67);
  r.home_runs = U8(b, 68);
  r.hit_by_pitch = U8(b, 69);
  r.strikeouts = I16(b, 70);
  r.walks = I16(b, 72);
  r.stolen_bases = U8(b, 75);
  r.caught_stealing = U8(b, 76);
  r.sacrifice_hits = U8(b, 78);
  r.sacrifice_flies = U8(b, 79);
  r.outs_pitched = I16(b, 120);
  r.opponent_at_bats = I16(b, 122);
  r.hits_allowed = I16(b, 124);
  r.strikeouts_pitched = I16(b, 126);
  r.walks_allowed = I16(b, 128);
  r.runs_allowed = I16(b, 132);
  r.earned_runs = I16(b, 134);
  r.home_runs_allowed = U8(b, 138);
  r.double_plays_induced = U8(b, 144);
  r.wins = U8(b, 145);
  r.losses = U8(b, 146);
  r.saves = U8(b, 147);
  r.shutouts = U8(b, 158);
  r.complete_games = U8(b, 159);
  r.games_pitched = U8(b, 160);
  r.games_started = U8(b, 162);
  return r;
}

void PlayerStatsRecord::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "PlayerStatsRecord");
  Clear(b);
  PutI16(b, 0, record_status);
  PutI16(b, 4, player_id);
  PutU8(b, 6, season_type);
  PutI16(b, 8, year);
  PutI16(b, 10, team_id);
  PutText(b, 14, 16, first_name);
  PutText(b, 30, 16, last_name);
  PutU8(b, 46, line_kind);
  PutI16(b, 58, at_bats);
  PutI16(b, 60, runs);
  PutI16(b, 62, runs_batted_in);
  PutI16(b, 64, hits);
  PutU8(b, 66, doubles);
  PutU8(b, 67, triples);
  PutU8(b, 68, home_runs);
  PutU8(b, 69, hit_by_pitch);
  PutI16(b, 70, strikeouts);
  PutI16(b, 72, walks);
  PutU8(b, 75, stolen_bases);
  PutU8(b, 76, caught_stealing);
  PutU8(b, 78, sacrifice_hits);
  PutU8(b, 79, sacrifice_flies);
  PutI16(b, 120, outs_pitched);
  PutI16(b, 122, opponent_at_bats);
  PutI16(b, 124, hits_allowed);
  PutI16(b, 126, strikeouts_pitched);
  PutI16(b, 128, walks_allowed);
  PutI16(b, 132, runs_allowed);
  PutI16(b, 134, earned_runs);
  PutU8(b, 138, home_runs_allowed);
  PutU8(b, 144, double_plays_induced);
  PutU8(b, 145, wins);
  PutU8(b, 146, losses);
  PutU8(b, 147, saves);
  PutU8(b, 158, shutouts);
  PutU8(b, 159, complete_games);
  PutU8(b, 160, games_pitched);
  PutU8(b, 162, games_started);
}

LeagueRecord LeagueRecord::Decode(RecordBytes b) {
  CheckSize(b, kSize, "LeagueRecord");
  LeagueRecord r;
  r.record_status = I16(b, 0);
  r.league_id = I16(b, 2);
  r.league_name = Text(b, 4, 40);
  r.league_name_present = Present(b, 4);
  r.use_mark = I16(b, 44);
  return r;
}

void LeagueRecord::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "LeagueRecord");
  Clear(b);
  PutI16(b, 0, record_status);
  PutI16(b, 2, league_id);
  PutText(b, 4, 40, league_name);
  PutI16(b, 44, use_mark);
}

LeagueYearRecord LeagueYearRecord::Decode(RecordBytes b) {
  CheckSize(b, kSize, "LeagueYearRecord");
  LeagueYearRecord r;
  r.record_status = I16(b, 0);
  r.league_id = I16(b, 4);
  r.year = I16(b, 6);
  r.league_name = Text(b, 12, 40);
  for (int d = 0; d < kDivisions; ++d) {
    r.division_names[d] = Text(b, 52 + 20 * d, 20);
    r.division_name_present[d] = Present(b, 52 + 20 * d);
    for (int k = 0; k < kSlots; ++k) r.division_teams[d][k] = I16(b, 132 + 32 * d + 2 * k);
  }
  return r;
}

void LeagueYearRecord::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "LeagueYearRecord");
  Clear(b);
  PutI16(b, 0, record_status);
  PutI16(b, 4, league_id);
  PutI16(b, 6, year);
  PutText(b, 12, 40, league_name);
  for (int d = 0; d < kDivisions; ++d) {
    PutText(b, 52 + 20 * d, 20, division_names[d]);
    for (int k = 0; k < kSlots; ++k) PutI16(b, 132 + 32 * d + 2 * k, division_teams[d][k]);
  }
}

TeamStatBlock TeamStatBlock::Decode(RecordBytes b) {
  CheckSize(b, kSize, "TeamStatBlock");
  TeamStatBlock r;
  r.left_on_base = I16(b, 0);
  r.grounded_into_double_plays = I16(b, 2);
  r.runs_scored = I16(b, 6);
  r.runs_allowed = I16(b, 8);
  r.won = U8(b, 10);
  r.lost = U8(b, 11);
  r.shutouts = U8(b, 14);
  return r;
}

void TeamStatBlock::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "TeamStatBlock");
  Clear(b);
  PutI16(b, 0, left_on_base);
  PutI16(b, 2, grounded_into_double_plays);
  PutI16(b, 6, runs_scored);
  PutI16(b, 8, runs_allowed);
  PutU8(b, 10, won);
  PutU8(b, 11, lost);
  PutU8(b, 14, shutouts);
}

TeamYearRecord TeamYearRecord::Decode(RecordBytes b) {
  CheckSize(b, kSize, "TeamYearRecord");
  TeamYearRecord r;
  r.record_status = I16(b, 0);
  r.team_id = I16(b, 2);
  r.year = I16(b, 4);
  r.name_part_1 = Text(b, 6, 20);
  r.name_part_2 = Text(b, 26, 20);
  r.season_abbreviation = Text(b, 116, 3);
  r.league_id = I16(b, 120);
  r.regular_season = TeamStatBlock::Decode(b.subspan(304, TeamStatBlock::kSize));
  r.division_series = TeamStatBlock::Decode(b.subspan(320, TeamStatBlock::kSize));
  r.league_championship_series = TeamStatBlock::Decode(b.subspan(336, TeamStatBlock::kSize));
  r.world_series = TeamStatBlock::Decode(b.subspan(352, TeamStatBlock::kSize));
  return r;
}

void TeamYearRecord::Encode(MutableRecordBytes b) const {
  CheckSize(b, kSize, "TeamYearRecord");
  Clear(b);
  PutI16(b, 0, record_status);
  PutI16(b, 2, team_id);
  PutI16(b, 4, year);
  PutText(b, 6, 20, name_part_1);
  PutText(b, 26, 20, name_part_2);
  PutText(b, 116, 3, season_abbreviation);
  PutI16(b, 120, league_id);
  regular_season.Encode(b.subspan(304, TeamStatBlock::kSize));
  division_series.Encode(b.subspan(320, TeamStatBlock::kSize));
  league_championship_series.Encode(b.subspan(336, TeamStatBlock::kSize));
  world_series.Encode(b.subspan(352, TeamStatBlock::kSize));
}

}  // namespace statcrane
