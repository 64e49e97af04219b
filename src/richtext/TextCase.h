#pragma once
// Case rules for names in the engine (font names, file names, style names):
// ASCII letters only, as the engine's bytes are not Unicode.
#include <algorithm>
#include <string>

// The C library's case functions follow the process locale, which the
// toolkit sets from the user's environment; these stay ASCII-only.
inline char UpperCaseAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperCaseAscii(x) == UpperCaseAscii(y);
         });
}

inline std::string UpperCase(std::string s) {
  for (char& c : s) c = UpperCaseAscii(c);
  return s;
}
