// vrellix-cli normalize IN [-o OUT]: loads an album file and saves it again in
// the program's own form (code page 932, CR LF, "none" for empty fields).
#include <cstdio>
#include <string>
#include <vector>

#include "album/album_csv.h"
#include "cli/commands.h"
#include "validate/input_checks.h"

namespace vrellix::cli {

namespace {

int Usage() {
  std::fprintf(stderr, "usage: vrellix-cli normalize IN [-o OUT]\n");
  return 2;
}

}  // namespace

int RunNormalize(const std::vector<std::string>& args) {
  std::string in;
  std::string out;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 >= args.size() || !out.empty() || args[i + 1].empty()) return Usage();
      out = args[++i];
    } else if (!args[i].empty() && args[i][0] != '-' && in.empty()) {
      in = args[i];
    } else {
      return Usage();
    }
  }
  if (in.empty()) return Usage();
  if (out.empty()) out = in;

  EditedAlbum edited;
  const CsvResult loaded = LoadAlbumCsv(in, edited, CountUnenterable);
  if (!loaded.ok) {
    std::fprintf(stderr, "%s\n", loaded.message.c_str());
    return 1;
  }
  const CsvResult saved = SaveAlbumCsv(out, edited);
  std::fprintf(saved.ok ? stdout : stderr, "%s\n", saved.message.c_str());
  return saved.ok ? 0 : 1;
}

}  // namespace vrellix::cli
