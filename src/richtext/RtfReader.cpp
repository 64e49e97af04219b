#include "richtext/RtfReader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <new>

#include "richtext/MulDiv.h"
#include "richtext/RtfText.h"

namespace {

constexpr int kRtfLineCapacity = 60;
constexpr std::size_t kMaxFontNameCollected = 64;
constexpr std::uintmax_t kMaxPictureFileBytes = 32u << 20;
constexpr int kPlaceableHeaderSize = 22;
constexpr int kBitmapFileHeaderSize = 14;
constexpr char kRawModeEnd[] = "\\wprtf0";
constexpr int kRawModeEndLength = 7;

std::int32_t ClampTwips(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -kMaxTwips, kMaxTwips));
}
// A picture size scaled by a percentage, within the lengths the reader
// accepts, so that it reads back as it is written. A size the scale would
// make vanish keeps its unscaled value: a size of 0 is written as no size.
int ScaledTwips(int twips, int percent) {
  const auto limited = [](std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, 0, kMaxTwips));
  };
  const int scaled = limited((std::int64_t{twips} * percent + 50) / 100);
  return scaled > 0 ? scaled : limited(twips);
}
std::uint8_t ClampByte(std::int64_t v) {
  return static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 255));
}

int HexValue(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsLowerLetter(std::uint8_t c) { return c >= 'a' && c <= 'z'; }
bool IsDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }

// Bytes that end a run of document text.
struct TTextStops {
  bool Stops[256] = {};
  TTextStops() {
    for (unsigned char c : "\x01\x02\x03\t\n\r\\{}") Stops[c] = true;  // with the terminating 0
  }
};
const TTextStops kTextStops;

// Bytes 1 to 3 are text only as the code of an object character; the
// writer never writes them as text either.
bool IsObjectCode(std::uint8_t c) { return c >= 1 && c <= 3; }

std::uint32_t ReadLE(const std::string& data, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i)
    v = (v << 8) | static_cast<std::uint8_t>(data[at + static_cast<std::size_t>(i)]);
  return v;
}

void AppendLE32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A device-independent bitmap (info header, colours, bits) as a bitmap file.
std::string DibToBitmapFile(const std::string& dib) {
  std::uint32_t offset = kBitmapFileHeaderSize;
  if (dib.size() >= 40) {
    const std::uint32_t infoSize = ReadLE(dib, 0, 4);
    const std::uint32_t bits = ReadLE(dib, 14, 2);
    const std::uint32_t compression = ReadLE(dib, 16, 4);
    const std::uint32_t used = ReadLE(dib, 32, 4);
    std::uint64_t colours = used != 0 ? used : (bits <= 8 ? (1u << bits) : 0);
    std::uint64_t start = std::uint64_t{kBitmapFileHeaderSize} + infoSize + colours * 4;
    if (compression == 3 && infoSize == 40) start += 12;  // bit-field masks
    offset = static_cast<std::uint32_t>(std::min<std::uint64_t>(start, kBitmapFileHeaderSize + dib.size()));
  }
  std::string file = "BM";
  AppendLE32(file, static_cast<std::uint32_t>(kBitmapFileHeaderSize + dib.size()));
  AppendLE32(file, 0);
  AppendLE32(file, offset);
  file += dib;
  return file;
}

bool ContainsNoCase(const std::string& text, const char* part) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return lower.find(part) != std::string::npos;
}

// The bytes of an existing regular file of sensible size, or false.
bool LoadFileBytes(const std::string& name, std::string& bytes) {
  std::error_code ec;
  const std::filesystem::path path(name);
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxPictureFileBytes) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  return static_cast<std::uintmax_t>(in.gcount()) == size;
}

}  // namespace

TWPRtfReader::TWPRtfReader() = default;
TWPRtfReader::~TWPRtfReader() = default;

// ---------------------------------------------------------------------------
// Reading

int TWPRtfReader::Read(TStream* stream, TParagraph*& result) {
  RequireTarget("TWPRTFReader");
  FNewLineCapacity = kRtfLineCapacity;
  static_cast<TRtfParseState&>(*this) = TRtfParseState{};

  return ReadFramed(stream, result, kRtfLineCapacity, [this] { ReadLoop(); });
}

void TWPRtfReader::ReadLoop() {
  std::uint8_t c;
  while (NextByte(c)) {
    const bool justOpened = FGroupJustOpened;
    FGroupJustOpened = false;
    if (FDestination == rdPicture) {
      const int digit = HexValue(c);
      if (digit >= 0) {
        if (FPicture.PendingHighDigit < 0) {
          FPicture.PendingHighDigit = digit;
        } else {
          FPicture.Data.push_back(static_cast<char>(FPicture.PendingHighDigit * 16 + digit));
          FPicture.PendingHighDigit = -1;
        }
        continue;
      }
    }
    if (FDestination == rdColorTable && c == ';') {
      FIncomingColors.push_back(FIncomingColor);
      FIncomingColor = 0;
      ++FColorIndex;
      if (FColorIndex <= 14 && !KeepHeader) FHeader->Colors[static_cast<std::size_t>(FColorIndex)] = 0;
      continue;
    }
    if (FHexMode == 1 || FHexMode == 3) {
      ToDestination(c);
      continue;
    }
    if (FRawMode) {
      if (c == 0) return;
      RawByte(c);
      continue;
    }
    switch (c) {
      case 0:
        return;
      case '\t':
        // A tab byte in the text is a tab character, as \tab is.
        if (FDestination == rdText && FHexMode != 2) {
          FlushCodePage();
          EndFallback();
          TextByte(9);
        }
        break;
      case '\n':
      case '\r':
        break;
      case '\\':
        ReadControlWord();
        break;
      case '{':
        OpenGroup();
        break;
      case '}':
        if (!CloseGroup()) return;
        break;
      default:
        if (FHexMode == 2) {
          const int digit = HexValue(c);
          if (digit < 0) break;
          if (FHexHigh < 0) {
            FHexHigh = digit;
          } else {
            const auto byte = static_cast<std::uint8_t>(FHexHigh * 16 + digit);
            FHexHigh = -1;
            FHexMode = 0;
            CodePageText(&byte, 1);
          }
        } else if (c == '*' && justOpened) {
          // "{*\word" as some converters write "{\*\word".
          std::uint8_t next;
          if (NextByte(next)) {
            PushBack();
            if (next == '\\') FStar = true;
          }
          if (!FStar) CodePageText(&c, 1);
        } else if (FDestination == rdText && !IsObjectCode(c)) {
          const std::uint8_t* run;
          const std::size_t n = TakeRun(kTextStops.Stops, run);
          CodePageText(run, n);
        } else {
          CodePageText(&c, 1);
        }
        break;
    }
  }
}

void TWPRtfReader::CodePageText(const std::uint8_t* bytes, std::size_t n) {
  if (FFallbackSkip > 0) {
    const std::size_t skipped = std::min<std::size_t>(n, static_cast<std::size_t>(FFallbackSkip));
    FFallbackSkip -= static_cast<int>(skipped);
    bytes += skipped;
    n -= skipped;
  }
  if (n == 0) return;
  FFallbackOwed = false;
  // Only text is converted; names of fonts and pictures keep their bytes.
  const bool text = FDestination == rdText || FDestination == rdFootnote || FDestination == rdTitle ||
                    FDestination == rdComment || FDestination == rdSubject;
  if (FConverter != nullptr && text) {
    FConverted.clear();
    FConverter->Convert(bytes, n, FConverted);
    bytes = reinterpret_cast<const std::uint8_t*>(FConverted.data());
    n = FConverted.size();
  }
  if (FDestination == rdText && n > 2) {
    // A run of text holds no bytes that TextByte would treat apart.
    if (FNestedSeparator != 0) TextByte(0);
    if (FParDirty) ParAttrsChanged();
    AppendText(bytes, n);
    return;
  }
  for (std::size_t i = 0; i < n; ++i) ToDestination(bytes[i]);
}

void TWPRtfReader::EndFallback() {
  FFallbackSkip = 0;
  if (!FFallbackOwed) return;
  FFallbackOwed = false;
  ToDestination('?');
}

void TWPRtfReader::FlushCodePage() {
  if (FConverter == nullptr || !FConverter->Waiting()) return;
  FConverted.clear();
  FConverter->Flush(FConverted);
  for (const char ch : FConverted) ToDestination(static_cast<std::uint8_t>(ch));
}

void TWPRtfReader::SetCodePage(int codePage) {
  if (codePage == 0) codePage = FDocCodePage;
  if (codePage == FCodePage) return;
  FlushCodePage();
  FCodePage = codePage;
  FConverter = nullptr;
  if (codePage == kCodePageAnsi || codePage == kCodePageSymbol) return;
  for (const auto& converter : FConverters)
    if (converter->CodePage() == codePage) FConverter = converter.get();
  if (FConverter == nullptr) {
    FConverters.push_back(std::make_unique<TCodePageConverter>(codePage));
    FConverter = FConverters.back().get();
  }
}

void TWPRtfReader::ReadControlWord() {
  std::uint8_t c;
  if (!NextByte(c)) return;
  if (!IsLowerLetter(c)) {
    const char symbol[2] = {static_cast<char>(c), 0};
    if (FDestination == rdSkip && c != '\'') return;
    if (c != '\'') FlushCodePage();
    if (const TRtfControlWord* word = FindRtfControlWord(std::string_view(symbol, 1))) {
      FStar = false;
      // A character of its own counts as one fallback character of a \uN.
      if (word->Kind == TRtfWordKind::Character && FFallbackSkip > 0) {
        --FFallbackSkip;
        return;
      }
      if (c != '\'' && word->Kind != TRtfWordKind::Character) EndFallback();
      if (word->Kind == TRtfWordKind::Character) FFallbackOwed = false;
      HandleWord(*word, false, 0);
    } else if (FStar) {
      FStar = false;
      FDestination = rdSkip;
    }
    return;
  }

  char word[31];
  int length = 0;
  std::uint32_t hash = kRtfWordHashStart;
  bool more = true;
  // Other writers use capitals inside words (\trftsWidth, \clwWidth).
  while (more && (IsLowerLetter(c) || (c >= 'A' && c <= 'Z'))) {
    if (length < 30) {
      word[length++] = static_cast<char>(c);
      hash = RtfWordHashStep(hash, c);
    }
    more = NextByte(c);
  }

  bool hasParameter = false;
  bool negative = false;
  std::int64_t value = 0;
  char digits[22];
  int digitCount = 0;
  if (more && c == '-') {
    negative = true;
    more = NextByte(c);
  }
  while (more && IsDigit(c) && digitCount < 20) {
    digits[digitCount++] = static_cast<char>(c);
    if (value <= std::numeric_limits<std::int64_t>::max() / 100) value = value * 10 + (c - '0');
    more = NextByte(c);
  }
  if (digitCount > 0) {
    hasParameter = true;
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max() || value < std::numeric_limits<std::int32_t>::min())
      throw EReaderError("'" + std::string(negative ? "-" : "") +
                         std::string(digits, static_cast<std::size_t>(digitCount)) +
                         "' is not a valid integer value");
  }
  if (more && c != ' ') PushBack();

  const std::string_view name(word, static_cast<std::size_t>(length));
  if (name == "bin") {
    ReadBinary(hasParameter ? static_cast<std::int32_t>(value) : 0);
    return;
  }
  if (FDestination == rdSkip) {
    // The result of an object or shape is read as if the object were not there.
    if (FObjectDepth >= 0 && FDepth == FObjectDepth + 1 && (name == "result" || name == "shprslt"))
      FDestination = FObjectOuterDestination;
    return;
  }
  FlushCodePage();
  const TRtfControlWord* entry = FindRtfControlWord(name, hash);
  if (entry != nullptr && entry->Kind == TRtfWordKind::Character && FFallbackSkip > 0) {
    --FFallbackSkip;
    FStar = false;
    return;
  }
  if (entry != nullptr && entry->Kind == TRtfWordKind::Character)
    FFallbackOwed = false;
  else
    EndFallback();
  if (entry == nullptr) {
    if (FStar) {
      FStar = false;
      FDestination = rdSkip;
    }
    return;
  }
  FStar = false;
  HandleWord(*entry, hasParameter, static_cast<std::int32_t>(value));
}

// \binN: the N bytes that follow are data of the current destination, not
// RTF: picture bytes in a picture, skipped anywhere else. Input that ends
// before them is damaged, and reading fails rather than keep what it read.
void TWPRtfReader::ReadBinary(std::int32_t count) {
  FlushCodePage();
  EndFallback();
  FStar = false;
  const bool picture = FDestination == rdPicture;
  for (std::int32_t i = 0; i < count; ++i) {
    std::uint8_t c;
    if (!NextByte(c)) throw EReaderError("The RTF text ends inside binary data");
    if (picture) FPicture.Data.push_back(static_cast<char>(c));
  }
}

void TWPRtfReader::HandleWord(const TRtfControlWord& word, bool hasParameter, std::int32_t parameter) {
  switch (word.Kind) {
    case TRtfWordKind::Character:
      if (word.Value == 10) {
        if (!IsLowerLetter(static_cast<std::uint8_t>(word.Word[0]))) {
          // "\" before a raw line end is a paragraph mark, as other writers use it.
          HandleProperty(TRtfProperty::Par, 0);
        } else if (InDocumentText()) {
          if (FParDirty) ParAttrsChanged();
          AppendChar(10);  // \line
        }
      } else {
        ToDestination(word.Value);
      }
      break;
    case TRtfWordKind::Property:
      HandleProperty(word.Property(), word.Parameter(hasParameter, parameter));
      break;
    case TRtfWordKind::Destination:
      HandleDestination(word.Value);
      break;
    case TRtfWordKind::Special:
      switch (word.Special()) {
        case TRtfSpecial::Hex:
          FHexMode = 2;
          FHexHigh = -1;
          break;
        case TRtfSpecial::Star:
          FStar = true;
          break;
        default:
          HandleSpecial(word.Special(), hasParameter, parameter);
          break;
      }
      break;
  }
}

void TWPRtfReader::HandleSpecial(TRtfSpecial special, bool hasParameter, std::int32_t n) {
  switch (special) {
    case TRtfSpecial::Unicode:
      if (hasParameter) UnicodeCharacter(n);
      break;
    case TRtfSpecial::FallbackCount:
      FFallbackCount = hasParameter ? std::clamp(n, 0, 16) : 1;
      break;
    case TRtfSpecial::DocumentCodePage:
      if (hasParameter && n > 0) {
        FDocCodePage = n;
        SetCodePage(n);
      }
      break;
    case TRtfSpecial::FontCharset:
      if (FDestination == rdFontTable && hasParameter && FFontEntryCodePage == 0)
        FFontEntryCodePage = CodePageOfCharset(n);
      break;
    case TRtfSpecial::FontCodePage:
      if (FDestination == rdFontTable && hasParameter && n > 0 && FFontEntryCodePage != kCodePageSymbol)
        FFontEntryCodePage = n;
      break;
    case TRtfSpecial::NestedCell:
      if (InDocumentText()) FNestedSeparator = 9;
      break;
    case TRtfSpecial::NestedRow:
      if (InDocumentText()) FNestedSeparator = 10;
      break;
    case TRtfSpecial::FootnoteMark:
      // The reference mark of an automatically numbered footnote: its
      // number while one digit does, superscript as other writers show it.
      if (InDocumentText()) {
        const std::size_t number = FDocument->Footnotes().size() + 1;
        TAttr attr = FCharAttr;
        attr.Style |= kStyleSuperscript;
        if (FParDirty) ParAttrsChanged();
        AppendCharWithAttr(number <= 9 ? static_cast<std::uint8_t>('0' + number) : '*', attr);
      }
      break;
    default:  // \result outside a skipped object: its text is read anyway
      break;
  }
}

// A \uN character that Windows-1252 holds (or, in a symbol font, a glyph
// number the font's private range stands for) replaces its fallback;
// any other keeps its fallback, "?" when it has none.
void TWPRtfReader::UnicodeCharacter(std::int32_t n) {
  const std::uint32_t codePoint =
      n < 0 ? static_cast<std::uint32_t>(n + 65536) : static_cast<std::uint32_t>(n);
  int byte = -1;
  if (FCodePage == kCodePageSymbol && codePoint >= 0xF020 && codePoint <= 0xF0FF)
    byte = static_cast<int>(codePoint - 0xF000);
  else if (FCodePage == kCodePageSymbol && codePoint >= 0x20 && codePoint <= 0xFF)
    byte = static_cast<int>(codePoint);
  else
    byte = UnicodeToAnsi(codePoint);
  if (byte < 0) {
    if (FFallbackCount == 0)
      ToDestination('?');
    else
      FFallbackOwed = true;  // "?" unless a fallback follows
    return;
  }
  ToDestination(static_cast<std::uint8_t>(byte));
  FFallbackSkip = FFallbackCount;
}

void TWPRtfReader::HandleDestination(std::uint8_t destination) {
  switch (destination) {
    case rdUnchanged:
      return;
    case rdFontTable:
      FFontName.clear();
      break;
    case rdColorTable:
      FColorIndex = 0;
      break;
    case rdPicture:
    case rdPictureFile:
      FPicture = TPictureState{};
      break;
    case rdObject:
      FObjectDepth = FDepth;
      FObjectOuterDestination = FDestination;
      destination = rdSkip;
      break;
    case rdTitle:
      if (!FHeader->Title.empty()) destination = rdSkip;
      break;
    case rdComment:
      if (!FHeader->Comment.empty()) destination = rdSkip;
      break;
    case rdSubject:
      if (!FHeader->Subject.empty()) destination = rdSkip;
      break;
    case rdFootnote:
      if (FDestination != rdText) {
        destination = rdSkip;
        break;
      }
      StartFootnote();
      FDestination = rdFootnote;
      return;
    default:
      break;
  }
  FDestination = destination;
}

// ---------------------------------------------------------------------------
// Bytes for the current destination

void TWPRtfReader::ToDestination(std::uint8_t c) {
  switch (FDestination) {
    case rdText:
      TextByte(c);
      break;
    case rdFontTable:
      if (c == ';') {
        EndFontEntry();
      } else if (c != 0 && !(c == ' ' && FFontName.empty()) && FFontName.size() < kMaxFontNameCollected) {
        FFontName.push_back(static_cast<char>(c));
      }
      break;
    case rdPictureFile:
      if (c == '"') {
        FPicture.InQuotes = !FPicture.InQuotes;
        FHexMode = FPicture.InQuotes ? 1 : 0;
      } else if (c != 0 && FPicture.FileName.size() < kMaxPictureFileName) {
        FPicture.FileName.push_back(static_cast<char>(c));
      }
      break;
    case rdTitle:
    case rdComment:
    case rdSubject: {
      if (c == 0) break;
      std::string& s = FDestination == rdTitle     ? FHeader->Title
                       : FDestination == rdComment ? FHeader->Comment
                                                   : FHeader->Subject;
      s.push_back(static_cast<char>(c));
      break;
    }
    case rdFootnote:
      if (FFootnote == nullptr || c == 0 || c == '\n' || c == '\r') break;
      if (FFootnote->Text.empty() && (c == ' ' || static_cast<char>(c) == FFootnote->Mark)) break;
      FFootnote->Text.push_back(static_cast<char>(c));
      break;
    default:  // skipped groups, colour table and picture data take no text
      break;
  }
}

void TWPRtfReader::TextByte(std::uint8_t c) {
  if (FNestedSeparator != 0) {
    const std::uint8_t separator = FNestedSeparator;
    FNestedSeparator = 0;
    if (FParDirty) ParAttrsChanged();
    AppendChar(separator);
  }
  if (c == 0 || c == '\n' || c == '\r') return;
  if (c == 1 && FObjectTag != 0) {
    InsertTaggedObjectChar();
    return;
  }
  if (IsObjectCode(c)) return;
  if (FParDirty) ParAttrsChanged();
  AppendChar(c);
}

void TWPRtfReader::RawByte(std::uint8_t c) {
  if (static_cast<char>(c) == kRawModeEnd[FRawMatched]) {
    if (++FRawMatched == kRawModeEndLength) {
      FRawMode = false;
      FRawMatched = 0;
      FCharAttr.Special &= static_cast<std::uint8_t>(~kSpecialRtfCode);
      // Like any control word, the end word takes one space as its delimiter.
      std::uint8_t next;
      if (NextByte(next) && next != ' ') PushBack();
    }
    return;
  }
  if (FParDirty) ParAttrsChanged();
  if (FRawMatched > 0) {
    // The held bytes were text after all; the current byte may start the end word.
    AppendText(reinterpret_cast<const std::uint8_t*>(kRawModeEnd), static_cast<std::size_t>(FRawMatched));
    FRawMatched = 0;
    if (c == '\\') {
      FRawMatched = 1;
      return;
    }
  }
  if (c != '\n' && c != '\r' && !IsObjectCode(c)) AppendChar(c);
}

// ---------------------------------------------------------------------------
// Groups

void TWPRtfReader::OpenGroup() {
  FlushCodePage();
  EndFallback();
  FGroupOpened = true;
  FGroupJustOpened = true;
  if (FDepth < kMaxSavedGroups)
    FGroups.push_back(TGroupState{FCharAttr, FPar, FDestination, FHexMode, FTabListStarted, FTableMode,
                                  FCodePage, FFallbackCount});
  ++FDepth;
}

bool TWPRtfReader::CloseGroup() {
  if (FDepth == 0) return false;
  FlushCodePage();
  EndFallback();
  if (FObjectDepth >= FDepth) FObjectDepth = -1;
  if (FDepth <= static_cast<int>(FGroups.size())) {
    const TGroupState saved = FGroups.back();
    if (FDestination == rdPicture && saved.Destination != rdPicture) {
      FDestination = saved.Destination;
      FinishPicture();
    } else if (FDestination == rdPictureFile && saved.Destination != rdPictureFile) {
      FDestination = saved.Destination;
      FinishPictureFile();
    }
    const bool statedInside = FParStatedDepth >= FDepth;
    if (statedInside) FParStatedDepth = FDepth - 1;
    const bool empty = FParagraph->FirstLine->Length == 0 && FParagraph->FirstLine->Next == nullptr;
    if (saved.Destination == rdText && FPar.BorderWord.On() && !saved.Par.BorderWord.On()) {
      // The bordered paragraph the group ends: the current one, or the one
      // before when a paragraph mark inside the group began the current one
      // and nothing was stated for it yet.
      TParagraph* ended = FParagraph;
      if (empty && !statedInside && ended->Prev != nullptr && (ended->Prev->BorderFlags & kBorderOn))
        ended = ended->Prev;
      ended->BorderFlags |= kBorderNotInherited;
    }
    const bool parChanged = !(saved.Par == FPar);
    FCharAttr = saved.CharAttr;
    FPar = saved.Par;
    if (FDestination == rdFootnote && saved.Destination != rdFootnote) FFootnote = nullptr;
    FDestination = saved.Destination;
    FHexMode = saved.HexMode;
    FHexHigh = -1;
    FTabListStarted = saved.TabListStarted;
    FTableMode = saved.TableMode;
    SetCodePage(saved.CodePage);
    FFallbackCount = saved.FallbackCount;
    FGroups.pop_back();
    if (parChanged) {
      // An empty paragraph takes the restored attributes at once (it may be
      // the last one), unless words inside the group were stated for it, as
      // the writer states them for a last paragraph before closing its
      // groups. One with text keeps its own until more text follows.
      FParDirty = true;
      if (empty && !statedInside && InDocumentText()) {
        ApplyParAttrs(FParagraph, false);
        FParDirty = false;
      }
    }
  }
  --FDepth;
  return FDepth > 0;
}

// ---------------------------------------------------------------------------
// Properties

void TWPRtfReader::HandleProperty(TRtfProperty property, std::int32_t n) {
  if (property <= TRtfProperty::BackColor)
    HandleCharacterProperty(property, n);
  else if (property <= TRtfProperty::PatternBackColor)
    HandleParagraphProperty(property, n);
  else if (property <= TRtfProperty::Row)
    HandleTableProperty(property, n);
  else
    HandleDocumentProperty(property, n);
}

void TWPRtfReader::HandleCharacterProperty(TRtfProperty property, std::int32_t n) {
  TAttr& a = FCharAttr;
  auto setStyle = [&](std::uint8_t bit, bool on) {
    a.Style = static_cast<std::uint8_t>(on ? a.Style | bit : a.Style & ~bit);
  };
  auto setSpecial = [&](std::uint8_t bit, bool on) {
    a.Special = static_cast<std::uint8_t>(on ? a.Special | bit : a.Special & ~bit);
  };
  switch (property) {
    case TRtfProperty::Plain:
      a = TAttr{};
      SetCodePage(0);
      break;
    case TRtfProperty::Font:
      if (FDestination == rdFontTable) {
        FFontNumber = n;
        FFontEntryCodePage = 0;
      } else if (n >= 0 && n < 99) {
        a.FontIndex = FFontMap[static_cast<std::size_t>(n)];
        SetCodePage(FFontCodePages[static_cast<std::size_t>(n)]);
      }
      break;
    case TRtfProperty::FontSize: {
      const std::int32_t points = n / 2;
      a.Size = points <= 0 ? 10 : ClampByte(points);
      break;
    }
    case TRtfProperty::Bold:
      setStyle(kStyleBold, n != 0);
      break;
    case TRtfProperty::Italic:
      setStyle(kStyleItalic, n != 0);
      break;
    case TRtfProperty::Underline:
      setStyle(kStyleUnderline, n != 0);
      break;
    case TRtfProperty::StrikeOut:
      setStyle(kStyleStrikeOut, n != 0);
      break;
    case TRtfProperty::Hyperlink:
      setStyle(kStyleHyperlink, n != 0);
      break;
    case TRtfProperty::Superscript:
      if (InDocumentText()) setStyle(kStyleSuperscript, n != 0);
      break;
    case TRtfProperty::Subscript:
      setStyle(kStyleSubscript, n != 0);
      break;
    case TRtfProperty::NoSuperSub:
      setStyle(kStyleSuperscript | kStyleSubscript, false);
      break;
    case TRtfProperty::Hidden:
      setSpecial(kSpecialHidden, n != 0);
      break;
    case TRtfProperty::Protected:
      setSpecial(kSpecialProtected, n != 0);
      break;
    case TRtfProperty::InsertPoint:
      if (n != 0) {
        setSpecial(kSpecialInsertPoint, true);
        setSpecial(kSpecialAutomatic, false);
        a.Tag = static_cast<std::uint16_t>(n);
      } else {
        setSpecial(kSpecialInsertPoint, false);
        a.Tag = 0;
      }
      break;
    case TRtfProperty::Automatic:
      setSpecial(kSpecialAutomatic, n != 0);
      if (n != 0) setSpecial(kSpecialInsertPoint, false);
      break;
    case TRtfProperty::RtfCode:
      setSpecial(kSpecialRtfCode, n != 0);
      if (n != 0 && InDocumentText()) {
        FRawMode = true;
        FRawMatched = 0;
      }
      break;
    case TRtfProperty::TextColor:
      if (const int color = MapColor(n); color >= 0)
        a.Colors = static_cast<std::uint8_t>((a.Colors & 0xF0) | color);
      break;
    case TRtfProperty::BackColor:
      if (const int color = MapColor(n); color >= 0)
        a.Colors = static_cast<std::uint8_t>((a.Colors & 0x0F) | (color << 4));
      break;
    default:
      break;
  }
}

void TWPRtfReader::HandleParagraphProperty(TRtfProperty property, std::int32_t n) {
  switch (property) {
    case TRtfProperty::Par:
      if (!InDocumentText()) break;
      if (FTableMode) {
        // A nested table's cell or row before it needs no separator of its own.
        FNestedSeparator = 0;
        if (FParDirty) ParAttrsChanged();
        AppendChar(10);
      } else {
        EndParagraph(false);
      }
      break;
    case TRtfProperty::LeftIndent:
      if (FTableMode) break;
      FPar.LeftIndent = ClampTwips(std::max(n, 0));
      FPar.FirstIndent = FPar.PendingFirstIndent;
      FPar.PendingFirstIndent = 0;
      ParAttrsChanged();
      break;
    case TRtfProperty::RightIndent:
      if (FTableMode) break;
      FPar.RightIndent = ClampTwips(n);
      ParAttrsChanged();
      break;
    case TRtfProperty::FirstIndent:
      if (FTableMode) break;
      FPar.FirstIndent = FPar.PendingFirstIndent = ClampTwips(n);
      ParAttrsChanged();
      break;
    case TRtfProperty::SpaceBefore:
      FPar.SpaceBefore = ClampTwips(n);
      ParAttrsChanged();
      break;
    case TRtfProperty::SpaceAfter:
      FPar.SpaceAfter = ClampTwips(n);
      ParAttrsChanged();
      break;
    case TRtfProperty::LineSpacing:
      FPar.LineSpacing = ClampTwips(n);
      ParAttrsChanged();
      break;
    case TRtfProperty::Alignment:
      FPar.Alignment = static_cast<std::uint8_t>(n);
      ParAttrsChanged();
      break;
    case TRtfProperty::ParagraphDefaults:
      ResetParagraph();
      break;
    case TRtfProperty::PageBreak:
      if (InDocumentText()) FParagraph->ParFlags |= kParPageBreakBefore;
      break;
    case TRtfProperty::Keep:
      if (InDocumentText() && !FTableMode) FParagraph->ParFlags |= kParKeepTogether;
      break;
    case TRtfProperty::KeepWithNext:
      if (InDocumentText() && !FTableMode) FParagraph->ParFlags |= kParKeepWithNext;
      break;
    case TRtfProperty::TabStop:
      AddTabStop(n);
      break;
    case TRtfProperty::TabKind:
      // A parameter names the kind itself; one that names no kind is ignored.
      if (n >= tkLeft && n <= tkDecimal) FPendingTabKind = static_cast<TTabKind>(n);
      break;

    case TRtfProperty::Border:
      ApplyBorder(n);
      break;
    case TRtfProperty::BorderWidth:
      BorderTarget().Width = ClampByte(n / 20);
      ParAttrsChanged();
      break;
    case TRtfProperty::BorderSpacing:
      BorderTarget().SetSpacing(std::min<std::uint8_t>(ClampByte(n / 56), 15));
      ParAttrsChanged();
      break;
    case TRtfProperty::BorderColor:
      BorderTarget().SetColorIndex(n > 15 && MapColor(n) >= 0 ? MapColor(n) : n & 15);
      ParAttrsChanged();
      break;
    case TRtfProperty::Shading:
      FPar.Shading = static_cast<std::uint8_t>(std::clamp(n / 100, 0, int{kShadingFull}));
      FPar.ShadingColors = 0;
      ParAttrsChanged();
      break;
    case TRtfProperty::PatternColor:
    case TRtfProperty::PatternBackColor: {
      const bool low = property == TRtfProperty::PatternColor;
      std::uint8_t* colors = &FPar.ShadingColors;
      if (FTableMode)
        colors =
            FCellCount < kMaxCells ? &FCells[static_cast<std::size_t>(FCellCount)].ShadingColors : nullptr;
      if (colors == nullptr) break;
      const int nibble = n > 15 && MapColor(n) >= 0 ? MapColor(n) : n & 15;
      *colors = static_cast<std::uint8_t>(low ? (*colors & 0xF0) | nibble : (*colors & 0x0F) | (nibble << 4));
      if (!FTableMode) ParAttrsChanged();
      break;
    }
    default:
      break;
  }
}

void TWPRtfReader::HandleTableProperty(TRtfProperty property, std::int32_t n) {
  switch (property) {
    case TRtfProperty::RowDefaults:
      FCells.fill(TCell{});
      FCellCount = FCellMax = FCellIndex = FCellWidthTotal = 0;
      FTableMode = true;
      break;
    case TRtfProperty::CellRight:
      if (FCellCount < kMaxCells) {
        const std::int32_t right = ClampTwips(std::int64_t{n} - FPar.LeftIndent);
        FCells[static_cast<std::size_t>(FCellCount++)].Right = right;
        FCellMax = std::max(FCellMax, right);
      }
      break;
    case TRtfProperty::CellMerge:
      if (FCellCount >= 2) {
        TCell& into = FCells[static_cast<std::size_t>(FCellCount - 2)];
        into.Right = FCells[static_cast<std::size_t>(FCellCount - 1)].Right;
        ++into.MergeCount;
        FCells[static_cast<std::size_t>(--FCellCount)] = TCell{};
      }
      break;
    case TRtfProperty::CellGap: {
      const std::uint8_t gap = n < 1 ? 0 : static_cast<std::uint8_t>(std::min(std::max(n, 56) / 56, 15));
      for (TCell& cell : FCells) cell.Gap = gap;
      break;
    }
    case TRtfProperty::RowLeft:
      if (FTableMode) FPar.LeftIndent = ClampTwips(std::max(n, 0));
      break;
    case TRtfProperty::InTable:
      FTableMode = true;
      break;
    case TRtfProperty::Cell:
      if (InDocumentText()) EndCell();
      break;
    case TRtfProperty::Row:
      if (InDocumentText()) EndRow();
      break;
    default:
      break;
  }
}

// Colour table, page block, pictures, objects and footnotes.
void TWPRtfReader::HandleDocumentProperty(TRtfProperty property, std::int32_t n) {
  switch (property) {
    case TRtfProperty::Red:
      SetColorComponent(0, n);
      break;
    case TRtfProperty::Green:
      SetColorComponent(8, n);
      break;
    case TRtfProperty::Blue:
      SetColorComponent(16, n);
      break;

    case TRtfProperty::PaperWidth:
    case TRtfProperty::PaperHeight:
    case TRtfProperty::MarginLeft:
    case TRtfProperty::MarginRight:
    case TRtfProperty::MarginTop:
    case TRtfProperty::MarginBottom: {
      if (KeepHeader) break;
      const int value = std::clamp(n, 0, 0xFFFFFF);
      TTextHeader& h = *FHeader;
      int* field = property == TRtfProperty::PaperWidth    ? &h.PageWidth
                   : property == TRtfProperty::PaperHeight ? &h.PageHeight
                   : property == TRtfProperty::MarginLeft  ? &h.LeftMargin
                   : property == TRtfProperty::MarginRight ? &h.RightMargin
                   : property == TRtfProperty::MarginTop   ? &h.TopMargin
                                                           : &h.BottomMargin;
      *field = value;
      break;
    }
    case TRtfProperty::FacingPages:
      if (!KeepHeader) FHeader->FacingPages = true;
      break;
    case TRtfProperty::Landscape:
      if (!KeepHeader) FHeader->Landscape = true;
      break;
    case TRtfProperty::Ignored:
      break;

    case TRtfProperty::PictureKindDdb:
      FPicture.Format = TWPRtfPicture::pfDdb;
      break;
    case TRtfProperty::PictureKindDib:
      FPicture.Format = TWPRtfPicture::pfDib;
      break;
    case TRtfProperty::PictureKindMetafile:
      FPicture.Format = TWPRtfPicture::pfMetafile;
      if (FPicture.Data.empty()) FPicture.Data.assign(kPlaceableHeaderSize, '\0');
      break;
    case TRtfProperty::PictureKindPng:
      FPicture.Format = TWPRtfPicture::pfPng;
      break;
    case TRtfProperty::PictureKindJpeg:
      FPicture.Format = TWPRtfPicture::pfJpeg;
      break;
    case TRtfProperty::PictureKindEmf:
      FPicture.Format = TWPRtfPicture::pfEmf;
      break;
    case TRtfProperty::PictureWidth:
      FPicture.Width = std::clamp(n, 0, kMaxTwips);
      break;
    case TRtfProperty::PictureHeight:
      FPicture.Height = std::clamp(n, 0, kMaxTwips);
      break;
    case TRtfProperty::PictureGoalWidth:
      FPicture.GoalWidth = std::clamp(n, 0, kMaxTwips);
      break;
    case TRtfProperty::PictureGoalHeight:
      FPicture.GoalHeight = std::clamp(n, 0, kMaxTwips);
      break;
    case TRtfProperty::PictureScaleX:
      FPicture.ScaleX = std::clamp(n, 0, 10000);
      break;
    case TRtfProperty::PictureScaleY:
      FPicture.ScaleY = std::clamp(n, 0, 10000);
      break;
    case TRtfProperty::BitsPerPixel:
      FPicture.BitsPerPixel = std::clamp(n, 0, 64);
      break;
    case TRtfProperty::Planes:
      FPicture.Planes = n;
      break;
    case TRtfProperty::WidthBytes:
      FPicture.WidthBytes = std::clamp(n, 0, kMaxTwips);
      break;
    case TRtfProperty::ObjectTag:
      FObjectTag = std::clamp(n, 0, 0xFFFF);
      break;
    case TRtfProperty::ObjectWidth:
      FObjectWidth = std::clamp(n, 0, kMaxTwips);
      break;
    case TRtfProperty::ObjectHeight:
      FObjectHeight = std::clamp(n, 0, kMaxTwips);
      break;
    case TRtfProperty::FootnoteNumber:
      if (FFootnote != nullptr) FFootnote->Number = n;
      break;
    default:
      break;
  }
}

void TWPRtfReader::SetColorComponent(int shift, std::int32_t value) {
  if (FDestination != rdColorTable) return;
  FIncomingColor = (FIncomingColor & ~(TColor{0xFF} << shift)) | (TColor{ClampByte(value)} << shift);
  if (FColorIndex > 14 || KeepHeader) return;
  TColor& colour = FHeader->Colors[static_cast<std::size_t>(FColorIndex)];
  colour = (colour & ~(TColor{0xFF} << shift)) | (TColor{ClampByte(value)} << shift);
}

// Colours 0 to 14 of the incoming table are the header's own; any other
// the incoming table defines takes the header colour nearest to it.
int TWPRtfReader::MapColor(std::int32_t n) const {
  if (n >= 0 && n <= 14) return n;
  if (n < 0 || static_cast<std::size_t>(n) >= FIncomingColors.size()) return n == 15 ? 15 : -1;
  const TColor wanted = FIncomingColors[static_cast<std::size_t>(n)];
  auto channel = [](TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i <= 14; ++i) {
    long distance = 0;
    for (int shift : {0, 8, 16}) {
      const long d = channel(wanted, shift) - channel(FHeader->Colors[static_cast<std::size_t>(i)], shift);
      distance += d * d;
    }
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

void TWPRtfReader::EndFontEntry() {
  if (FFontNumber >= 0 && FFontNumber < 99)
    FFontCodePages[static_cast<std::size_t>(FFontNumber)] = FFontEntryCodePage;
  if (FFontNumber >= 0 && FFontNumber < 99 && !FFontName.empty()) {
    const int slot = FHeader->FindOrAddFont(FFontName);
    FFontMap[static_cast<std::size_t>(FFontNumber)] = static_cast<std::uint8_t>(slot);
    if (FFontNumber == 0) FCharAttr.FontIndex = static_cast<std::uint8_t>(slot);
  }
  FFontName.clear();
}

void TWPRtfReader::AddTabStop(std::int32_t position) {
  if (!FTabListStarted) {
    FPar.TabSet = 0;
    FTabListStarted = true;
  }
  FPar.TabSet |= FHeader->InsertTab(ClampTwips(position), FPendingTabKind);
  FPendingTabKind = tkLeft;
  ParAttrsChanged();
}

// ---------------------------------------------------------------------------
// Paragraphs, borders, tables

void TWPRtfReader::ApplyParAttrs(TParagraph* par, bool cell) const {
  par->Alignment = FPar.Alignment;
  par->LeftIndent = FPar.LeftIndent;
  par->FirstIndent = FPar.FirstIndent;
  par->SpaceBefore = FPar.SpaceBefore;
  par->LineSpacing = FPar.LineSpacing;
  par->SpaceAfter = FPar.SpaceAfter;
  par->ShadingColors = FPar.ShadingColors;
  par->Shading = FPar.Shading;
  par->SetBorder(FPar.BorderWord);
  par->TabSet = FPar.TabSet;
  if (!cell) par->RightIndent = FPar.RightIndent;
}

// Paragraph words take effect in the current paragraph at once while in
// document text, so that the last paragraph (which no \par ends) keeps them.
void TWPRtfReader::ParAttrsChanged() {
  if (InDocumentText()) {
    ApplyParAttrs(FParagraph, false);
    FParDirty = false;
    FParStatedDepth = FDepth;
  } else {
    FParDirty = true;
  }
}

void TWPRtfReader::ResetParagraph() {
  if (InDocumentText() && FParagraph->Prev != nullptr && (FParagraph->Prev->BorderFlags & kBorderOn))
    FParagraph->Prev->BorderFlags |= kBorderNotInherited;
  FPar.BorderWord = {};
  FPar.ShadingColors = FPar.Shading = 0;
  FPar.Alignment = 0;
  FPar.TabSet = 0;
  FPar.FirstIndent = FPar.LeftIndent = FPar.RightIndent = FPar.PendingFirstIndent = 0;
  FTableMode = false;
  ParAttrsChanged();
}

TBorderWord& TWPRtfReader::BorderTarget() {
  if (!FTableMode) return FPar.BorderWord;
  if (FCellCount >= kMaxCells) return FDiscardedBorder = {};
  return FCells[static_cast<std::size_t>(FCellCount)].BorderWord;
}

void TWPRtfReader::ApplyBorder(int value) {
  if (!FTableMode && FBorderFromZero) {
    FPar.BorderWord = {};
    FBorderFromZero = false;
  }
  TBorderWord& w = BorderTarget();
  // The box and the left and right sides keep the border 1 mm off the text
  // unless a spacing was given.
  const auto spacingDefault = [&w] {
    if (w.Spacing() == 0) w.SetSpacing(1);
  };
  switch (value) {
    case 0:
      w.Flags |= kBorderBox;
      spacingDefault();
      break;
    case 1:
      w.Flags |= kBorderTop;
      break;
    case 2:
      w.Flags |= kBorderLeft;
      spacingDefault();
      break;
    case 3:
      w.Flags |= kBorderBottom;
      break;
    case 4:
      w.Flags |= kBorderRight;
      spacingDefault();
      break;
    case 5:
      w.Flags |= kBorderDouble;
      break;
    case 6:
      w.Style |= kBorderDotted;
      break;
    case 9:
      w.Style |= kBorderTableLine;
      break;
    default:
      break;
  }
  w.Flags |= kBorderOn;
  if (FTableMode) {
    const std::uint8_t sides = kBorderTop | kBorderBottom | kBorderLeft | kBorderRight;
    if ((w.Flags & sides) == sides) w.Flags |= kBorderBox | kBorderNotInherited;
  } else {
    ParAttrsChanged();
  }
}

void TWPRtfReader::EndParagraph(bool cell) {
  ApplyParAttrs(FParagraph, cell);
  if (cell) {
    const int i = FCellIndex;
    const TCell none{};
    const TCell& c = i < FCellCount ? FCells[static_cast<std::size_t>(i)] : none;
    // Cell edges are kept in 1/255 of the row, rounded up: the writer puts
    // an edge back rounding down, so what it writes reads back to the same
    // edge. Edges never fall back or pass the row's end; a cell without its
    // \cellx takes 10/255 within what is left of the row. A row without
    // width has its cells at its start.
    int edge = std::min(FCellWidthTotal + 10, 255);
    if (i < FCellCount)
      edge = FCellMax <= 0 ? 0
                           : static_cast<int>(std::clamp<std::int64_t>(
                                 (std::int64_t{255} * c.Right + FCellMax - 1) / FCellMax, 0, 255));
    edge = std::max(edge, FCellWidthTotal);
    TParagraph* p = FParagraph;
    TBorderWord word = c.BorderWord;
    word.Flags |= kBorderNotInherited;
    // The row's cell gap is the cell's border spacing, the same for every
    // cell of the row, as the writer states it once per row.
    word.SetSpacing(c.Gap);
    p->SetBorder(word);
    if (c.ShadingColors != 0) p->ShadingColors = c.ShadingColors;
    p->CellStart = static_cast<std::uint8_t>(FCellWidthTotal);
    p->CellWidth = static_cast<std::uint8_t>(edge - FCellWidthTotal);
    const std::int64_t textWidth =
        std::int64_t{FHeader->PageWidth} - FHeader->LeftMargin - FHeader->RightMargin;
    p->RightIndent = ClampTwips(std::max<std::int64_t>(textWidth - FCellMax, 0));
    p->ParFlags |= kParTableCell | kParMoreCells;
    if (i > 0) p->ParFlags |= kParNotFirstCell;
    FCellWidthTotal = edge;
    FLastCell = p;
    ++FCellIndex;
  }
  FNestedSeparator = 0;
  ShrinkLines();
  StartParagraph(kRtfLineCapacity);
  FParagraph->ParFlags = 0;
  // Not a cell (yet): the right indent is the reader's, not the last cell's.
  ApplyParAttrs(FParagraph, false);
  FParDirty = false;
  FParStatedDepth = -1;
  FTabListStarted = false;
  FBorderFromZero = true;
}

void TWPRtfReader::EndCell() {
  if (FCellIndex < kMaxCells && FCells[static_cast<std::size_t>(FCellIndex)].MergeCount > 0) {
    --FCells[static_cast<std::size_t>(FCellIndex)].MergeCount;
    return;
  }
  EndParagraph(true);
}

void TWPRtfReader::EndRow() {
  if (FLastCell != nullptr) FLastCell->ParFlags &= static_cast<std::uint8_t>(~kParMoreCells);
  FLastCell = nullptr;
  FCellIndex = 0;
  FCellWidthTotal = 0;
}

// ---------------------------------------------------------------------------
// Footnotes and objects

// A superscript character right before a note is its reference mark (our
// writer puts it there, other writers the number of \chftn) and gives the
// note its mark. Any other note gets a reference character "*" of its own,
// so that no text before it is taken for a mark. A character that already
// stands for something else (an object, an insert point, another note, RTF
// source) keeps its meaning.
void TWPRtfReader::StartFootnote() {
  constexpr std::uint8_t kTaken = kSpecialObject | kSpecialInsertPoint | kSpecialFootnote | kSpecialRtfCode;
  TAttr* before =
      FLastCharLine != nullptr && FLastCharLine->Attrs ? &FLastCharLine->Attrs[FLastCharIndex] : nullptr;
  const bool isMark = before != nullptr && (before->Style & kStyleSuperscript) && !(before->Special & kTaken);
  const char mark = isMark ? FLastCharLine->Text[FLastCharIndex] : '*';
  FFootnote = FDocument->AddFootnote(mark, 0, std::string());
  auto makeReference = [this](TAttr& attr) {
    attr.Special |= kSpecialFootnote;
    attr.Tag = FFootnote->Id;
    attr.Style &= static_cast<std::uint8_t>(~kStyleSuperscript);
  };
  if (isMark) {
    makeReference(*before);
    return;
  }
  // The note's own reference belongs to the text around the note group.
  TAttr attr = FGroups.empty() ? FCharAttr : FGroups.back().CharAttr;
  attr.Special &= static_cast<std::uint8_t>(~kTaken);
  makeReference(attr);
  if (FParDirty) ParAttrsChanged();
  AppendCharWithAttr(static_cast<std::uint8_t>(mark), attr);
}

void TWPRtfReader::InsertObjectChar(int id) {
  if (FParDirty) ParAttrsChanged();
  TAttr attr = FCharAttr;
  attr.Special |= kSpecialObject;
  attr.Tag = static_cast<std::uint16_t>(id);
  AppendCharWithAttr(1, attr);
}

void TWPRtfReader::InsertTaggedObjectChar() {
  TTextObject* record = FDocument->FindObject(FObjectTag);
  if (record == nullptr) {
    record = FDocument->AddObject(nullptr, FObjectTag);
    record->Width = FObjectWidth;
    record->Height = FObjectHeight;
  }
  InsertObjectChar(record->Id);
  FObjectTag = 0;
}

void TWPRtfReader::FinishPicture() {
  TPictureState picture = std::move(FPicture);
  FPicture = TPictureState{};
  if (FDestination != rdText) return;
  auto object = std::make_unique<TWPRtfPicture>();
  object->Format = picture.Format;
  object->PicWidth = picture.Width;
  object->PicHeight = picture.Height;
  object->BitsPerPixel = picture.BitsPerPixel;
  object->Planes = picture.Planes;
  object->WidthBytes = picture.WidthBytes;
  // \picw and \pich count pixels for the bitmaps of old, hundredths of a
  // millimetre for metafiles and the picture files other writers embed.
  const bool bitmap = picture.Format == TWPRtfPicture::pfDib || picture.Format == TWPRtfPicture::pfDdb;
  switch (picture.Format) {
    case TWPRtfPicture::pfMetafile:
      // \wmetafile put a zero placeable header in front; other pictures
      // (such as compressed images) keep all their bytes.
      if (picture.Data.size() >= static_cast<std::size_t>(kPlaceableHeaderSize) &&
          picture.Data.compare(0, kPlaceableHeaderSize, std::string(kPlaceableHeaderSize, '\0')) == 0)
        object->Data = picture.Data.substr(kPlaceableHeaderSize);
      else
        object->Data = std::move(picture.Data);
      break;
    case TWPRtfPicture::pfDib:
      object->Data = DibToBitmapFile(picture.Data);
      break;
    default:
      object->Data = std::move(picture.Data);
      break;
  }
  if (object->Data.empty()) return;
  // Size in twips: the goal size, else the picture's own (pixels for
  // bitmaps, hundredths of a millimetre for metafiles), scaled.
  auto twips = [bitmap](int goal, int own, int scale) {
    const int base = goal > 0 ? goal
                     : bitmap ? MulDiv(own, 1440, WPEngine().ScreenPixelsPerInch)
                              : MulDiv(own, 1440, 2540);
    return ScaledTwips(base, scale);
  };
  const int width = twips(picture.GoalWidth, picture.Width, picture.ScaleX);
  const int height = twips(picture.GoalHeight, picture.Height, picture.ScaleY);
  object->PixelsWide = bitmap ? picture.Width : MulDiv(width, WPEngine().ScreenPixelsPerInch, 1440);
  object->PixelsHigh = bitmap ? picture.Height : MulDiv(height, WPEngine().ScreenPixelsPerInch, 1440);
  // A PNG states its size in its header.
  if (object->Format == TWPRtfPicture::pfPng && object->Data.size() >= 24 &&
      object->Data.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
    auto be32 = [&](std::size_t at) {
      std::uint32_t v = 0;
      for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<std::uint8_t>(object->Data[at + i]);
      return static_cast<int>(std::min<std::uint32_t>(v, kMaxTwips));
    };
    object->PixelsWide = be32(16);
    object->PixelsHigh = be32(20);
  }
  TTextObject* record = FDocument->AddObject(std::move(object), -1);
  record->Width = width;
  record->Height = height;
  InsertObjectChar(record->Id);
}

void TWPRtfReader::FinishPictureFile() {
  TPictureState picture = std::move(FPicture);
  FPicture = TPictureState{};
  std::string name = picture.FileName;
  const auto first = name.find_first_not_of(' ');
  if (first == std::string::npos || FDestination != rdText) return;
  name = name.substr(first, name.find_last_not_of(' ') - first + 1);
  TTextObject* record = FDocument->FindObjectByFileName(name);
  if (record == nullptr) {
    record = FDocument->AddObject(nullptr, -1);
    record->FileName = name;
    record->Width = ScaledTwips(picture.GoalWidth, picture.ScaleX);
    record->Height = ScaledTwips(picture.GoalHeight, picture.ScaleY);
    if (FDocument->OnRequestObject) {
      FDocument->OnRequestObject(*FDocument, *record);
    } else if (ContainsNoCase(name, ".bmp") || ContainsNoCase(name, ".wmf")) {
      std::string bytes;
      if (LoadFileBytes(name, bytes)) {
        auto object = std::make_unique<TWPRtfPicture>();
        object->Format = ContainsNoCase(name, ".bmp") ? TWPRtfPicture::pfDib : TWPRtfPicture::pfMetafile;
        // A metafile is kept without its placeable header, as pictures read from RTF are.
        if (object->Format == TWPRtfPicture::pfMetafile && bytes.size() >= kPlaceableHeaderSize &&
            bytes.compare(0, 4, "\xD7\xCD\xC6\x9A") == 0)
          bytes.erase(0, kPlaceableHeaderSize);
        object->Data = std::move(bytes);
        object->PicWidth = picture.Width;
        object->PicHeight = picture.Height;
        object->PixelsWide = picture.Width;
        object->PixelsHigh = picture.Height;
        record->SetObject(std::move(object));
      }
    }
  }
  InsertObjectChar(record->Id);
}

// ---------------------------------------------------------------------------
// End of reading

void TWPRtfReader::EndReading() {
  if (FRawMatched > 0 && FRawMode) {
    AppendText(reinterpret_cast<const std::uint8_t*>(kRawModeEnd), static_cast<std::size_t>(FRawMatched));
    FRawMatched = 0;
  }
  FPicture = TPictureState{};
  TWPTextReader::EndReading();
}

// Indents become absolute and snap to the header's grid.
void TWPRtfReader::FinishParagraph(TParagraph& par) {
  const std::int32_t left = ClampTwips(par.LeftIndent);
  par.FirstIndent = FHeader->Snap(ClampTwips(std::int64_t{left} + par.FirstIndent));
  par.LeftIndent = FHeader->Snap(left);
  TWPTextReader::FinishParagraph(par);
}

// The cells of a row being read are still written to at its end.
bool TWPRtfReader::MayHandOutParagraphs() const { return !FTableMode && FLastCell == nullptr; }
