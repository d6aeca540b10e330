#include "util/platform_errors.h"

#include <cerrno>
#include <cstring>

namespace statcrane {

std::string FailureReason(int error) {
  switch (error) {
    case ENOSPC:
      return "the disk is full";
#ifdef EDQUOT
    case EDQUOT:
      return "the disk quota is used up";
#endif
    case EFBIG:
      return "the file would be larger than this system allows";
    case EACCES:
    case EPERM:
      return "permission denied";
    case EROFS:
      return "the disk is read-only";
    case ENOENT:
      return "the file or folder does not exist";
    case ENOTDIR:
      return "a part of the path is not a folder";
    case ENAMETOOLONG:
      return "the name is too long";
    case EIO:
      return "the disk reported an input/output error";
    case EISDIR:
      return "it is a folder";
    case ENOMEM:
      return "out of memory";
    case EMFILE:
    case ENFILE:
      return "too many open files";
#ifdef ELOOP
    case ELOOP:
      return "too many levels of symbolic links";
#endif
    case EXDEV:
      return "the temporary file is on another disk";
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
      return "the file is in use";
    case EEXIST:
      return "a file of that name exists already";
    case ENOTEMPTY:
      return "the folder is not empty";
    case EINVAL:
      return "the name or the request is not valid here";
    default: {
      std::string text = std::strerror(error);
      if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
      return text;
    }
  }
}

std::string FailureReason(const std::error_code& error) {
  if (error.category() == std::generic_category()) return FailureReason(error.value());
  if (error.category() == std::system_category()) return SystemCodeReason(error.value());
  return error.message();
}

}  // namespace statcrane
