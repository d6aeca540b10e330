// What the line writers share with the player walk: the row being written,
// the club and age of the line, the section totals and the last rates
// computed.
#pragma once

#include <cstdint>
#include <string>

namespace statcrane {

// HittingTotals: the counts of the current section of the current player.
struct HittingSums {
  int64_t AtBats = 0;
  int64_t Hits = 0;
  int64_t Doubles = 0;
  int64_t Triples = 0;
  int64_t HomeRuns = 0;
  int64_t Runs = 0;
  int64_t RBI = 0;
  int64_t HitByPitch = 0;
  int64_t Walks = 0;
  int64_t Strikeouts = 0;
  int64_t StolenBases = 0;
  int64_t CaughtStealing = 0;
  int64_t SacHits = 0;
  int64_t SacFlies = 0;
  int64_t OnBaseChances = 0;  // at-bats + walks + hit-by-pitch + sacrifice flies
  int64_t TotalBases = 0;
  int64_t OnBaseTimes = 0;  // hits + walks + hit-by-pitch
};

// PitchingTotals: the counts of the current section of the current player.
struct PitchingSums {
  int64_t Wins = 0;
  int64_t Losses = 0;
  int64_t Saves = 0;
  int64_t Games = 0;
  int64_t GamesStarted = 0;
  int64_t CompleteGames = 0;
  int64_t Shutouts = 0;
  int64_t Outs = 0;
  int64_t HitsAllowed = 0;
  int64_t RunsAllowed = 0;
  int64_t EarnedRuns = 0;
  int64_t WalksAllowed = 0;
  int64_t Strikeouts = 0;
  int64_t HRAllowed = 0;
  int64_t GDPInduced = 0;
  int64_t OppAtBats = 0;
};

// LineAverages: the rates of the last line or totals computed, as the cells
// hold them (three-decimal values already rounded).
struct LineRates {
  double BAVG = 0;
  double OBP = 0;  // single precision, widened
  double SPC = 0;
  double OBA = 0;
  double ERA = 0;
  double PCT = 0;
};

struct LineState {
  int32_t CurrentRow = 1;  // row of the active letter sheet written next
  std::string ClubAbbrev;  // club of the line being written
  int64_t Age = 0;         // age of the line being written
  int32_t LastYear = 0;    // Year of the last entry line written
  std::string CurrentPlayerName;
  HittingSums HittingTotals;
  PitchingSums PitchingTotals;
  LineRates LineAverages;
  int64_t OutsForInnings = 0;
  double InningsPitched = 0;
};

}  // namespace statcrane
