// How a phase of a run tells the front-end what it is doing.
#pragma once

#include <cstdint>
#include <string_view>

namespace statcrane {

class ProgressObserver {
 public:
  virtual ~ProgressObserver() = default;
  // The progress text under "Player being Processed".
  virtual void ProgressText(std::string_view /*text*/) {}
  // Position within the current phase ("players", "teams"), for a progress bar.
  virtual void PhaseProgress(std::string_view /*phase*/, int64_t /*done*/, int64_t /*total*/) {}
  // True once the user asked to stop; long loops check it and throw RunStopped.
  virtual bool StopRequested() const { return false; }
};

// Throws RunStopped when the observer asks to stop.
void CheckStop(const ProgressObserver& observer);

}  // namespace statcrane
