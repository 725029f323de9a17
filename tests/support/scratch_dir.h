// A fresh directory per test (or per fuzz run), removed with everything in it
// afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace vrellix::testing {

class ScratchDir {
 public:
  explicit ScratchDir(const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
    std::random_device entropy;
    do {
      m_path = base / ("vrellix-test-" + std::to_string(entropy()));
    } while (!std::filesystem::create_directory(m_path));
  }
  ~ScratchDir() {
    std::error_code ignored;
    // Windows removes no read-only file; links may point out of the directory.
    for (std::filesystem::recursive_directory_iterator i(m_path, ignored), end; i != end; i.increment(ignored)) {
      if (i->is_regular_file(ignored) && !i->is_symlink(ignored)) {
        std::filesystem::permissions(i->path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add, ignored);
      }
    }
    std::filesystem::remove_all(m_path, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // Names and paths are UTF-8, as the program takes them.
  std::string File(const std::string& name) const { return (m_path / std::filesystem::u8path(name)).u8string(); }
  const std::filesystem::path& Path() const { return m_path; }

  // How many entries the directory holds (to spot left-over temporary files).
  std::size_t EntryCount() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(m_path), {}));
  }

 private:
  std::filesystem::path m_path;
};

// False when the file could not be written whole.
inline bool WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

// Takes every write permission away (on Windows: sets the read-only attribute).
inline void MakeReadOnly(const std::string& path) {
  using std::filesystem::perms;
  std::filesystem::permissions(std::filesystem::u8path(path), perms::owner_write | perms::group_write | perms::others_write,
                               std::filesystem::perm_options::remove);
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace vrellix::testing
