// What an edit field shows about its text while the user types: the count
// against the limit and the characters the device cannot take. The main
// window's fields and the track edit dialog of every front end show the same.
#pragma once

#include <string>
#include <vector>

#include "validate/input_checks.h"

namespace vrellix {

struct FieldMarks {
  std::string count;  // "12/32": bytes, or characters for a reading
  bool tooLong = false;
  struct Span {
    int start;   // in code points, from 0
    int length;  // in code points
  };
  std::vector<Span> faults;  // to mark (red), in order
  std::string tip;           // one line per fault ("3文字目「漢」: why"); empty when none
};

// The marks of text (UTF-8, as typed) in a field of the mode.
FieldMarks MarkField(const std::string& utf8, CheckMode mode);

}  // namespace vrellix
