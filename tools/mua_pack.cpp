// mua_pack: packs a folder into an MUA archive that the library reads.
//
//   mua_pack [--version N] [--compress] [--key TEXT | --no-key | --fallback-key] FOLDER [ARCHIVE]
//
// ARCHIVE defaults to FOLDER with the extension ".pop" beside it, which is where the
// library looks for it. The key defaults to the game's key string.
#include <cstdio>
#include <string>

#include "mua_writer.h"

namespace {

constexpr const char* kGameKeyString = "Tovl8";

int Usage() {
  std::fprintf(stderr,
               "usage: mua_pack [--version 0-3] [--compress] [--key TEXT | --no-key | --fallback-key] "
               "FOLDER [ARCHIVE]\n"
               "  --version N     archive version (default 3); 2 and 3 can compress\n"
               "  --compress      store members compressed when that makes them smaller\n"
               "  --key TEXT      scramble with the key built from TEXT (default \"%s\")\n"
               "  --no-key        scramble with the key built without a key text\n"
               "  --fallback-key  scramble with the fall-back key\n",
               kGameKeyString);
  return 2;
}

bool IsNamedDataPop(const std::filesystem::path& archive) {
  std::string name = archive.filename().string();
  for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return name == "data.pop";
}

}  // namespace

int main(int argc, char** argv) {
  MuaPackOptions options;
  options.keyString = kGameKeyString;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--version" && i + 1 < argc) {
      const std::string value = argv[++i];
      if (value.size() != 1 || value[0] < '0' || value[0] > '3') return Usage();
      options.version = value[0] - '0';
    } else if (arg == "--compress") {
      options.compress = true;
    } else if (arg == "--key" && i + 1 < argc) {
      options.keyMode = MuaKeyMode::kKeyString;
      options.keyString = argv[++i];
    } else if (arg == "--no-key") {
      options.keyMode = MuaKeyMode::kNoKeyString;
    } else if (arg == "--fallback-key") {
      options.keyMode = MuaKeyMode::kFallbackKey;
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage();
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.empty() || paths.size() > 2) return Usage();
  const std::filesystem::path folder = std::filesystem::path(paths[0]).lexically_normal();
  std::filesystem::path archive = paths.size() == 2 ? std::filesystem::path(paths[1]) : folder;
  if (paths.size() == 1) {
    archive = folder.has_filename() ? folder : folder.parent_path();
    archive += ".pop";
  }
  if (IsNamedDataPop(archive)) {
    std::fprintf(stderr,
                 "mua_pack: warning: an archive data.pop hides every loose file under data, including the "
                 "ones the game writes there; pack its sub-folders instead\n");
  }
  std::string error;
  if (!PackFolderToMuaArchive(folder, archive, options, &error)) {
    std::fprintf(stderr, "mua_pack: %s\n", error.c_str());
    return 1;
  }
  std::printf("mua_pack: wrote %s\n", archive.string().c_str());
  return 0;
}
