#pragma once
// Text of other code pages turned into the engine's Windows-1252 bytes. The
// conversions come from the C library's iconv; the engine keeps no tables of
// its own. A character Windows-1252 does not hold becomes one "?".
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Windows code page numbers the readers meet.
constexpr int kCodePageAnsi = 1252;
// Symbol fonts: bytes are glyph numbers of the font and stay as they are.
constexpr int kCodePageSymbol = 42;

// The Windows-1252 byte of a Unicode character, or -1 when the code page
// has none. Control characters below 32 map to themselves.
int UnicodeToAnsi(std::uint32_t codePoint);

// The code page of a Windows character set number (as fonts state it), or
// 0 when the character set names none (the document's code page applies).
int CodePageOfCharset(int charset);

// Converts the bytes of one code page, which may use two bytes for a
// character, into Windows-1252 bytes.
class TCodePageConverter {
 public:
  explicit TCodePageConverter(int codePage);
  ~TCodePageConverter();
  TCodePageConverter(const TCodePageConverter&) = delete;
  TCodePageConverter& operator=(const TCodePageConverter&) = delete;

  int CodePage() const { return FCodePage; }
  // Appends the converted bytes to out. The first byte of a two-byte
  // character at the end of the input waits for the next call.
  void Convert(const std::uint8_t* bytes, std::size_t count, std::string& out);
  // A waiting first byte that no second byte completed becomes "?".
  void Flush(std::string& out);
  bool Waiting() const { return FPendingCount > 0; }

 private:
  // Per byte: the Windows-1252 byte it stands for, or one of these.
  static constexpr std::int16_t kLeadByte = -1;  // starts a character of several bytes
  static constexpr std::int16_t kUnmapped = -2;  // a character Windows-1252 lacks, or none
  void ConvertSequence(std::string& out);

  int FCodePage;
  void* FIconv = nullptr;  // iconv_t to UTF-32LE, for sequences of several bytes
  std::array<std::int16_t, 256> FSingle{};
  std::uint8_t FPending[4] = {};
  int FPendingCount = 0;
};
