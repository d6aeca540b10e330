#include "app/window/run_bridge.h"

#include <QMetaObject>

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

void RunBridge::ProgressText(std::string_view text) {
  QString value = FromUtf8(text);
  std::lock_guard lock(mutex_);
  text_ = std::move(value);
  text_changed_ = true;
  ScheduleDelivery();
}

void RunBridge::PhaseProgress(std::string_view phase, int64_t done, int64_t total) {
  QString name = FromUtf8(phase);
  std::lock_guard lock(mutex_);
  phase_ = std::move(name);
  done_ = done;
  total_ = total;
  position_changed_ = true;
  ScheduleDelivery();
}

void RunBridge::ScheduleDelivery() {
  if (delivery_waiting_) return;
  delivery_waiting_ = true;
  QMetaObject::invokeMethod(this, &RunBridge::Deliver, Qt::QueuedConnection);
}

void RunBridge::Deliver() {
  std::optional<QString> text;
  std::optional<QString> phase;
  qint64 done = 0;
  qint64 total = 0;
  {
    std::lock_guard lock(mutex_);
    delivery_waiting_ = false;
    if (text_changed_) text = text_;
    if (position_changed_) phase = phase_;
    done = done_;
    total = total_;
    text_changed_ = position_changed_ = false;
  }
  if (phase) emit phaseProgress(*phase, done, total);
  if (text) emit progressText(*text);
}

void RunBridge::StartTime(std::string_view stamp) { emit startTime(FromLocal(stamp)); }

void RunBridge::EndTime(std::string_view stamp) { emit endTime(FromLocal(stamp)); }

void RunBridge::ViewingTookEffect() { emit viewingTookEffect(); }

}  // namespace statcrane
