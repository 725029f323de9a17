#include "window/field_marks.h"

#include "messages/messages.h"
#include "validate/input_checks.h"

namespace vrellix {

FieldMarks MarkField(const std::string& utf8, CheckMode mode) {
  const FieldCheck check = CheckFieldText(utf8, mode);
  FieldMarks marks;
  marks.count = messages::FieldCount(check.count, check.limit);
  marks.tooLong = check.count > check.limit;
  for (const CharFault& fault : check.faults) {
    marks.faults.push_back({fault.start, fault.length});
    if (!marks.tip.empty()) marks.tip += "\n";
    marks.tip += messages::CharFaultLine(fault.index + 1, fault.character, CharFaultText(fault.reason));
  }
  return marks;
}

}  // namespace vrellix
