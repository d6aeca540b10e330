#include <cerrno>

#include "util/platform_errors.h"

namespace statcrane {

std::error_code LastSystemError() { return {errno, std::generic_category()}; }

std::string SystemCodeReason(int code) { return FailureReason(code); }

}  // namespace statcrane
