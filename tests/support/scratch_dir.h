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
    // Windows removes no read-only file. Links are left alone: they may point out.
    for (auto i = std::filesystem::recursive_directory_iterator(m_path, ignored);
         i != std::filesystem::recursive_directory_iterator(); i.increment(ignored)) {
      if (i->symlink_status(ignored).type() != std::filesystem::file_type::regular) continue;
      std::filesystem::permissions(i->path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add,
                                   ignored);
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
  namespace fs = std::filesystem;
  fs::permissions(fs::u8path(path), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace vrellix::testing
