#include "app/window/run_bridge.h"

namespace statcrane {
namespace {

// The run's texts are UTF-8; its time stamps follow the locale's encoding.
QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString FromLocal(std::string_view text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void RunBridge::ProgressText(std::string_view text) { emit progressText(FromUtf8(text)); }

void RunBridge::PhaseProgress(std::string_view phase, int64_t done, int64_t total) {
  emit phaseProgress(FromUtf8(phase), done, total);
}

void RunBridge::StartTime(std::string_view stamp) { emit startTime(FromLocal(stamp)); }

void RunBridge::EndTime(std::string_view stamp) { emit endTime(FromLocal(stamp)); }

void RunBridge::ViewingTookEffect() { emit viewingTookEffect(); }

}  // namespace statcrane
