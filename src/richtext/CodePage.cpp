#include "richtext/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

namespace {

const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);

// iconv's name of a Windows code page.
std::string IconvName(int codePage) {
  if (codePage == 10000) return "MACINTOSH";
  if (codePage == 65001) return "UTF-8";
  if (codePage >= 28591 && codePage <= 28599) return "ISO-8859-" + std::to_string(codePage - 28590);
  return "CP" + std::to_string(codePage);
}

// One character's bytes to its Unicode code point: the code point, or -1
// when more bytes are needed (EINVAL), or -2 when the bytes are no character.
long DecodeOne(iconv_t cd, const std::uint8_t* bytes, std::size_t count) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
  std::size_t inLeft = count;
  std::uint8_t out[8];
  char* outPtr = reinterpret_cast<char*>(out);
  std::size_t outLeft = sizeof out;
  const std::size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  if (done == static_cast<std::size_t>(-1) && errno == EINVAL) return -1;
  // Exactly one character must come out of all the bytes.
  if (done == static_cast<std::size_t>(-1) || inLeft != 0 || sizeof out - outLeft != 4) return -2;
  return static_cast<long>(out[0] | (out[1] << 8) | (out[2] << 16) |
                           (static_cast<std::uint32_t>(out[3]) << 24));
}

// Windows-1252 as iconv knows it, turned around: Unicode to byte.
struct TAnsiTable {
  std::array<std::int16_t, 256> Low;                         // code points below 256
  std::vector<std::pair<std::uint32_t, std::uint8_t>> High;  // sorted by code point

  TAnsiTable() {
    Low.fill(-1);
    const iconv_t cd = iconv_open("UTF-32LE", "CP1252");
    for (int b = 0; b < 256; ++b) {
      const auto byte = static_cast<std::uint8_t>(b);
      long cp = -2;
      if (cd != kNoIconv)
        cp = DecodeOne(cd, &byte, 1);
      else if (b < 0x80 || b >= 0xA0)
        cp = b;  // without iconv: what Latin-1 shares with Windows-1252
      if (cp < 0) continue;
      if (cp < 256)
        Low[static_cast<std::size_t>(cp)] = static_cast<std::int16_t>(b);
      else
        High.emplace_back(static_cast<std::uint32_t>(cp), byte);
    }
    if (cd != kNoIconv) iconv_close(cd);
    std::sort(High.begin(), High.end());
  }
};

const TAnsiTable& AnsiTable() {
  static const TAnsiTable table;
  return table;
}

}  // namespace

int UnicodeToAnsi(std::uint32_t codePoint) {
  const TAnsiTable& table = AnsiTable();
  if (codePoint < 256) return table.Low[codePoint];
  const auto found =
      std::lower_bound(table.High.begin(), table.High.end(), std::make_pair(codePoint, std::uint8_t{0}));
  return found != table.High.end() && found->first == codePoint ? found->second : -1;
}

int CodePageOfCharset(int charset) {
  switch (charset) {
    case 0:
      return 1252;  // ANSI
    case 2:
      return kCodePageSymbol;
    case 77:
      return 10000;  // Macintosh
    case 128:
      return 932;  // Shift JIS
    case 129:
      return 949;  // Hangul
    case 130:
      return 1361;  // Johab
    case 134:
      return 936;  // GB2312
    case 136:
      return 950;  // Big5
    case 161:
      return 1253;  // Greek
    case 162:
      return 1254;  // Turkish
    case 163:
      return 1258;  // Vietnamese
    case 177:
      return 1255;  // Hebrew
    case 178:
      return 1256;  // Arabic
    case 186:
      return 1257;  // Baltic
    case 204:
      return 1251;  // Cyrillic
    case 222:
      return 874;  // Thai
    case 238:
      return 1250;  // Eastern European
    case 255:
      return 437;  // OEM
    default:
      return 0;  // default character set, or one without a code page of its own
  }
}

TCodePageConverter::TCodePageConverter(int codePage) : FCodePage(codePage) {
  const iconv_t cd = iconv_open("UTF-32LE", IconvName(codePage).c_str());
  if (cd != kNoIconv) FIconv = cd;
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    if (!FIconv) {
      // A code page this system cannot convert: ASCII is ASCII in all of them.
      FSingle[static_cast<std::size_t>(b)] = b < 0x80 ? static_cast<std::int16_t>(b) : kUnmapped;
      continue;
    }
    const long cp = DecodeOne(cd, &byte, 1);
    const int ansi = cp >= 0 ? UnicodeToAnsi(static_cast<std::uint32_t>(cp)) : -1;
    FSingle[static_cast<std::size_t>(b)] = cp == -1    ? kLeadByte
                                           : ansi >= 0 ? static_cast<std::int16_t>(ansi)
                                                       : kUnmapped;
  }
}

TCodePageConverter::~TCodePageConverter() {
  if (FIconv) iconv_close(static_cast<iconv_t>(FIconv));
}

void TCodePageConverter::Convert(const std::uint8_t* bytes, std::size_t count, std::string& out) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t b = bytes[i];
    if (FPendingCount > 0) {
      FPending[FPendingCount++] = b;
      ConvertSequence(out);
      continue;
    }
    const std::int16_t v = FSingle[b];
    if (v >= 0)
      out.push_back(static_cast<char>(v));
    else if (v == kUnmapped)
      out.push_back('?');
    else
      FPending[FPendingCount++] = b;
  }
}

void TCodePageConverter::ConvertSequence(std::string& out) {
  const long cp = DecodeOne(static_cast<iconv_t>(FIconv), FPending, static_cast<std::size_t>(FPendingCount));
  if (cp == -1 && FPendingCount < static_cast<int>(sizeof FPending)) return;  // more bytes to come
  const int ansi = cp >= 0 ? UnicodeToAnsi(static_cast<std::uint32_t>(cp)) : -1;
  const std::uint8_t last = FPending[FPendingCount - 1];
  FPendingCount = 0;
  out.push_back(ansi >= 0 ? static_cast<char>(ansi) : '?');
  // A first byte without a valid second one: an ASCII byte after it is a
  // character of its own.
  if (cp == -2 && last < 0x80) Convert(&last, 1, out);
}

void TCodePageConverter::Flush(std::string& out) {
  if (FPendingCount == 0) return;
  FPendingCount = 0;
  out.push_back('?');
}
