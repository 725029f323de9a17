// Small helpers shared by the fuzz targets.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace vrellix::fuzz {

// Stops the run with a message; libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "\nproperty violated: %s\n", what.c_str());
  std::abort();
}

inline void Require(bool holds, const std::string& what) {
  if (!holds) Fail(what);
}

// A directory of this process's own for the files a target writes, removed at exit.
class ScratchFiles {
 public:
  ScratchFiles() {
    // Memory-backed where there is such a place: a disk makes the file targets
    // many times slower.
    const char* base = std::getenv("TMPDIR");
    if (access("/dev/shm", W_OK) == 0) base = "/dev/shm";
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vrellix-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) Fail("cannot create a scratch directory");
    m_dir = pattern;
  }
  ~ScratchFiles() {
    for (const std::string& name : m_names) unlink(File(name).c_str());
    rmdir(m_dir.c_str());
  }
  std::string File(const std::string& name) {
    if (std::find(m_names.begin(), m_names.end(), name) == m_names.end()) m_names.push_back(name);
    return m_dir + "/" + name;
  }

 private:
  std::string m_dir;
  std::vector<std::string> m_names;
};

inline void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) Fail("cannot write " + path);
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The input cut at every '\n' (the pieces keep no line ends).
inline std::vector<std::string> SplitAtNewlines(std::string_view bytes) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = bytes.find('\n', start);
    pieces.emplace_back(bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return pieces;
    start = end + 1;
  }
}

// Readable bytes for a message: printable ASCII as it is, the rest as \xNN.
inline std::string Escaped(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

}  // namespace vrellix::fuzz
