// Carries a run's progress from the worker thread to the window.
//
// The run calls the RunObserver methods on its own thread. Time stamps and
// the viewing event go to the window as queued signals. The progress text
// and position change once per player, faster than the window can paint:
// the bridge keeps only the latest of each and has at most one delivery
// waiting in the window's event queue, so a long run never floods the queue
// and the window keeps answering its buttons. StopRequested is the one call
// the other way round.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <mutex>
#include <optional>

#include "app/processing_run.h"

namespace statcrane {

class RunBridge : public QObject, public RunObserver {
  Q_OBJECT

 public:
  using QObject::QObject;

  void ProgressText(std::string_view text) override;
  void PhaseProgress(std::string_view phase, int64_t done, int64_t total) override;
  bool StopRequested() const override { return stop_.load(std::memory_order_relaxed); }
  void StartTime(std::string_view stamp) override;
  void EndTime(std::string_view stamp) override;
  void ViewingTookEffect() override;

  // Asks the run to stop at its next check. Any thread.
  void RequestStop() { stop_.store(true, std::memory_order_relaxed); }
  // Before a new run.
  void Reset() { stop_.store(false, std::memory_order_relaxed); }
  // Emits the progress not yet delivered. On the window's thread.
  void Deliver();

 signals:
  // Emitted on the window's thread.
  void progressText(const QString& text);
  void phaseProgress(const QString& phase, qint64 done, qint64 total);
  // Emitted on the run's thread; connect them queued.
  void startTime(const QString& stamp);
  void endTime(const QString& stamp);
  void viewingTookEffect();

 private:
  // Makes sure a delivery is waiting; called with mutex_ held.
  void ScheduleDelivery();

  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  bool delivery_waiting_ = false;
  bool text_changed_ = false;
  QString text_;
  bool position_changed_ = false;
  QString phase_;
  qint64 done_ = 0;
  qint64 total_ = 0;
};

}  // namespace statcrane
