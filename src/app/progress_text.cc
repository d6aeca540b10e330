#include "app/progress_text.h"

#include <algorithm>

namespace statcrane {
namespace {

constexpr std::string_view kPlayersPhase = "players";

// The phases of a run in words; nullptr for a phase this program does not know.
const char* PhaseLabel(std::string_view phase) {
  if (phase == "reading") return "Reading";
  if (phase == kPlayersPhase) return "Players";
  if (phase == "teams") return "Teams";
  if (phase == "writing") return "Writing workbook";
  return nullptr;
}

std::string Percent(int percent) { return std::to_string(percent) + " %"; }

}  // namespace

void ProgressShown::Text(std::string_view text) {
  if (phase_ == kPlayersPhase) {
    detail_ = text;
    return;
  }
  phase_.clear();
  label_ = text;
  detail_.clear();
  percent_ = -1;
}

void ProgressShown::Phase(std::string_view phase, int64_t done, int64_t total) {
  const char* label = PhaseLabel(phase);
  if (label == nullptr) return;
  if (phase != phase_) {
    phase_ = phase;
    label_ = label;
    detail_.clear();
  }
  percent_ = total > 0 ? static_cast<int>(std::clamp<int64_t>(done, 0, total) * 100 / total) : -1;
}

std::string ProgressShown::WindowLine() const {
  if (phase_ == kPlayersPhase) return detail_.empty() ? label_ : label_ + ": " + detail_;
  return percent_ < 0 ? label_ : label_ + " " + Percent(percent_);
}

std::string ProgressShown::TerminalLine() const {
  std::string line = label_;
  if (percent_ >= 0) line += " " + Percent(percent_);
  if (!detail_.empty()) line += ": " + detail_;
  return line;
}

}  // namespace statcrane
