#include "fileio/file_result.h"

#include "fileio/system_error.h"
#include "messages/messages.h"

namespace vrellix {

std::string FileFailureReason(const FileResult& result) {
  switch (result.cause) {
    case FileCause::kNone: return std::string();
    case FileCause::kNoName: return messages::kNoFileName;
    case FileCause::kReadOnly: return messages::kReadOnlyFile;
    case FileCause::kTooLarge: return messages::LargerThan(result.limit);
    case FileCause::kNotText: return messages::kNotUtf16Text;
    case FileCause::kInUse: return messages::kFileInUse;
    default: break;
  }
  // A directory has the system's words ("Is a directory"); a FIFO or a device has none.
  if (result.osError != 0) return SystemErrorText(result.osError);
  return result.cause == FileCause::kNotRegularFile ? messages::kNotRegularFile : std::string();
}

}  // namespace vrellix
