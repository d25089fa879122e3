#include "gdi/font_lookup.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <memory>
#include <mutex>

#include "gdi/gdi_font.h"
#include "kernel/code_page.h"

namespace {

// The Japanese font the project installs: the default face of this system.
constexpr const char* kDefaultFamily = "IPAGothic";

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

struct LangSetDeleter {
  void operator()(FcLangSet* set) const { FcLangSetDestroy(set); }
};

std::mutex g_fontconfigLock;

const char* LanguageOf(DWORD charSet) { return charSet == HANGEUL_CHARSET ? "ko" : "ja"; }

bool CoversLanguage(FcPattern* font, const char* language) {
  FcLangSet* languages = nullptr;
  if (FcPatternGetLangSet(font, FC_LANG, 0, &languages) != FcResultMatch) return false;
  return FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>(language)) == FcLangEqual;
}

bool HasFamily(FcPattern* font, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) return true;
  }
  return false;
}

Pattern MatchFont(const std::string& family, const char* fallbackFamily, const char* language) {
  Pattern request(FcPatternCreate());
  std::unique_ptr<FcLangSet, LangSetDeleter> languages(FcLangSetCreate());
  if (!request || !languages) return nullptr;
  FcPatternAddString(request.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (fallbackFamily != nullptr) {
    FcPatternAddString(request.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(fallbackFamily));
  }
  FcLangSetAdd(languages.get(), reinterpret_cast<const FcChar8*>(language));
  FcPatternAddLangSet(request.get(), FC_LANG, languages.get());
  // Outlines only: the bitmaps come from FreeType at any size.
  FcPatternAddBool(request.get(), FC_SCALABLE, FcTrue);
  if (!FcConfigSubstitute(nullptr, request.get(), FcMatchPattern)) return nullptr;
  FcDefaultSubstitute(request.get());
  FcResult result = FcResultNoMatch;
  return Pattern(FcFontMatch(nullptr, request.get(), &result));
}

}  // namespace

bool FindFontFile(const char* face, DWORD charSet, bool fixedPitch, FontFileChoice* choice) {
  std::lock_guard<std::mutex> lock(g_fontconfigLock);
  if (!FcInit()) return false;
  const bool defaultFace = face == nullptr || face[0] == '\0';
  const std::string family = defaultFace ? kDefaultFamily : Cp932ToUtf8(face);
  const char* language = LanguageOf(charSet);
  Pattern font = MatchFont(family, defaultFace ? (fixedPitch ? "monospace" : "sans-serif") : nullptr, language);
  if (!font || !CoversLanguage(font.get(), language)) return false;
  if (!defaultFace && !HasFamily(font.get(), family)) return false;
  FcChar8* path = nullptr;
  if (FcPatternGetString(font.get(), FC_FILE, 0, &path) != FcResultMatch) return false;
  int index = 0;
  FcPatternGetInteger(font.get(), FC_INDEX, 0, &index);
  choice->path = reinterpret_cast<const char*>(path);
  choice->index = index;
  return true;
}

// System libraries lose a few blocks once per process: fontconfig while it parses its
// configuration, D-Bus once SDL's video has started it under X11. The leak checker of
// sanitizer builds is told that they are not ours.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\nleak:libdbus-1.so\n"; }
#endif
