// Finding the font file behind a face name and character set through fontconfig.
#pragma once

#include <string>

#include "kernel/win_types.h"

struct FontFileChoice {
  std::string path;
  int index = 0;  // face index inside the file
};

// The default face (empty name) is IPA Gothic, or failing that the fixed-pitch (or
// proportional) generic family, in both cases with the language coverage of the
// character set; a named face (CP932) must be a family name of the font found. False
// when nothing installed qualifies.
bool FindFontFile(const char* face, DWORD charSet, bool fixedPitch, FontFileChoice* choice);
