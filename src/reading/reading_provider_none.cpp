#include "messages/messages.h"
#include "reading/reading_provider.h"

namespace vrellix {
namespace {

// Built where MeCab was not found.
class NoReadingProvider final : public ReadingProvider {
 public:
  bool Available() const override { return false; }
  const std::string& UnavailableReason() const override { return m_reason; }
  std::vector<ReadingSegment> Read(std::string_view utf8) override {
    return {ReadingSegment{std::string(utf8), std::string()}};
  }

 private:
  const std::string m_reason = messages::kReadingsBuiltWithoutMecab;
};

}  // namespace

std::unique_ptr<ReadingProvider> MakeSystemReadingProvider() { return std::make_unique<NoReadingProvider>(); }

}  // namespace vrellix
