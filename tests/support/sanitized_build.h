// VRELLIX_SANITIZED is defined in a build with AddressSanitizer or
// ThreadSanitizer (GCC or clang), which runs many times slower: long property
// runs get shorter there, and bounds on CPU time are widened or not checked.
#pragma once

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VRELLIX_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VRELLIX_SANITIZED 1
#endif
#endif

namespace vrellix::testing {

#if defined(VRELLIX_SANITIZED)
constexpr int kCpuSlowdown = 10;
#else
constexpr int kCpuSlowdown = 1;
#endif

}  // namespace vrellix::testing
