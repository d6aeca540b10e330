#include "util/progress.h"

#include "util/error.h"

namespace statcrane {

void CheckStop(const ProgressObserver& observer) {
  if (observer.StopRequested()) throw RunStopped();
}

}  // namespace statcrane
