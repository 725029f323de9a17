// How the entry job tells its front end what it is doing. The worker thread
// calls these; an implementation hands them to its own thread as it needs.
#pragma once

#include <string>

namespace vrellix {

class JobReporter {
 public:
  virtual ~JobReporter() = default;
  // The progress bar runs from 0 to max.
  virtual void SetRange(int max) = 0;
  virtual void SetPosition(int position) = 0;
  // UTF-8 status line ("タイトル名入力中", ...).
  virtual void SetStatus(const std::string& text) = 0;
  // The job's outcome, posted once by a worker that was not stopped. Returns
  // false when it could not be delivered.
  virtual bool PostResult(bool success) = 0;
  // A message the job itself must show (a failed post, a forced stop).
  virtual void ShowWarning(const std::string& text) = 0;
};

}  // namespace vrellix
