// Carries a run's progress from the worker thread to the window.
//
// The run calls the RunObserver methods on its own thread; each one emits a
// signal that the window receives through a queued connection, on its own
// thread. StopRequested is the one call the other way round.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>

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

 signals:
  void progressText(const QString& text);
  void phaseProgress(const QString& phase, qint64 done, qint64 total);
  void startTime(const QString& stamp);
  void endTime(const QString& stamp);
  void viewingTookEffect();

 private:
  std::atomic<bool> stop_{false};
};

}  // namespace statcrane
