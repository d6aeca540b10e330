// Failed calls to the operating system in words. Every message that gives
// the reason of a failed system call takes it from here, so that a full disk
// reads "the disk is full" whichever call found it and on every system.
#pragma once

#include <string>
#include <system_error>

namespace statcrane {

// The reason in words, starting in lower case: "the disk is full",
// "permission denied", ... `error` is an errno value.
std::string FailureReason(int error);

// The same for an error code of either kind: errno values (the generic
// category, and the system category on POSIX systems) and the system's own
// codes (the system category on Windows). Codes of other categories give
// their own message.
std::string FailureReason(const std::error_code& error);

// The error of the last failed system call of this thread: errno on POSIX
// systems, GetLastError() on Windows.
std::error_code LastSystemError();

// The reason of a code of the system category in words (errno on POSIX, the
// system's own error codes on Windows); for FailureReason.
std::string SystemCodeReason(int code);

}  // namespace statcrane
