// What the platform calls its serial ports, and what it allows, for tests
// whose expectations differ. One definition per platform.
#pragma once

namespace vrellix::testing {

struct PortNames {
  const char* third;          // the device of port number 3
  const char* outOfRange;     // the device of port number 300, which names no port
  const char* twelfth;        // the device of port number 12
  const char* namedDevice;    // a device named in the settings file
};

extern const PortNames kPortNames;

// Why a program cannot work in a current directory longer than 260
// characters; empty where it can.
extern const char* const kNoLongCurrentDirectory;

extern const int kNameTooLongError;  // the system's error for a name longer than it takes

}  // namespace vrellix::testing
