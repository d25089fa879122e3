// Zero-terminated string work. The walkers that look at characters skip the second
// byte of a Shift-JIS character, and stop at the terminator even right after a lead
// byte. Copy and append are unbounded: the caller sizes the destination.
#pragma once

void CopyString(char* destination, const char* source);
void AppendString(char* destination, const char* source);
// The first single-byte c (never the second byte of a two-byte character), or null.
char* FindCharSjis(const char* text, char c);
// 0 equal, 1 different (no ordering).
int CompareStrings(const char* a, const char* b);
// The first n bytes at most (less when both end earlier): 0 equal, 1 different.
// n = 0 counts as equal, n below 0 as different.
int CompareStringsN(const char* a, const char* b, int n);
// a-z to A-Z in place; two-byte characters are left alone.
void UpperCaseSjis(char* text);
