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

// The lower-case letter of a Windows-1252 byte, as the system converts text
// typed by the user: A-Z, the accented capitals 192..222 (not 215, the
// multiplication sign) and the capitals 138, 140, 142 and 159.
inline unsigned char LowerCaseAnsi(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 192 && c <= 222 && c != 215)) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 138:
    case 140:
    case 142:
      return static_cast<unsigned char>(c + 16);
    case 159:
      return 255;
    default:
      return c;
  }
}
