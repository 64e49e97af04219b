#include "richtext/Fingerprint.h"

#include <cstring>
#include <string>
#include <type_traits>

#include "richtext/RtfText.h"

namespace {

// A multiply-and-shift hash over the bytes given, eight at a time: the
// panel fingerprints every label at every repaint.
class THash {
 public:
  void Bytes(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (; size >= 8; bytes += 8, size -= 8) {
      std::uint64_t word;
      std::memcpy(&word, bytes, 8);
      Mix(word);
    }
    std::uint64_t tail = 0;
    if (size > 0) std::memcpy(&tail, bytes, size);
    Mix(tail ^ (std::uint64_t{size} << 56));
  }
  template <typename T>
  void Value(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    Bytes(&value, sizeof value);
  }
  void Text(const std::string& text) {
    Value(text.size());
    Bytes(text.data(), text.size());
  }
  std::uint64_t Result() const { return FValue; }

 private:
  void Mix(std::uint64_t word) {
    FValue = (FValue ^ word) * 0x9E3779B97F4A7C15ull;
    FValue ^= FValue >> 29;
  }
  std::uint64_t FValue = 0xCBF29CE484222325ull;
};

// A character's record without what layout and painting write into it.
TAttr Formatting(TAttr attr) {
  attr.Width = attr.Height = attr.Ascent = 0;
  attr.Style &= static_cast<std::uint8_t>(~kStyleSelected);
  return attr;
}

void AddHeader(THash& hash, const TTextHeader& h) {
  for (const std::string& name : h.FontNames) hash.Text(name);
  hash.Value(h.FontCharset);
  hash.Value(h.Colors);
  hash.Value(h.TabPositions);
  hash.Value(h.TabKinds);
  hash.Value(h.DecimalTabChar);
  for (int v : {h.PageWidth, h.PageHeight, h.LeftMargin, h.RightMargin, h.TopMargin, h.BottomMargin})
    hash.Value(v);
}

void AddParagraph(THash& hash, const TParagraph& p) {
  for (std::int32_t v :
       {p.FirstIndent, p.LeftIndent, p.RightIndent, p.SpaceBefore, p.SpaceAfter, p.LineSpacing})
    hash.Value(v);
  for (std::uint8_t v : {p.Alignment, p.ParFlags, p.BorderFlags, p.BorderStyle, p.BorderWidth,
                         p.BorderSpaceColor, p.Numbering, p.NumberingReserved, p.ShadingColors, p.Shading,
                         p.Reserved1, p.CellStart, p.CellWidth, p.CellFill, p.Reserved2})
    hash.Value(v);
  hash.Value(p.TabSet);
  // Lines are taken as they stand (a different break costs at most one
  // layout too many), with the record after each line's last character: an
  // empty line takes its font from it.
  for (const TLine* line = p.FirstLine; line; line = line->Next) {
    hash.Value(line->Length);
    hash.Bytes(line->Text.get(), line->Length);
    if (line->Attrs)
      for (int i = 0; i <= line->Length; ++i) hash.Value(Formatting(line->Attrs[i]));
  }
  hash.Value(std::uint8_t{0xFF});  // the paragraph's end
}

}  // namespace

std::uint64_t ContentFingerprint(const TWPRTFText& document) {
  THash hash;
  hash.Value(document.PlainMode);
  AddHeader(hash, document.Header);
  for (const TParagraph* p = document.FirstParagraph; p; p = p->Next) AddParagraph(hash, *p);
  for (const auto& object : document.Objects()) {
    hash.Value(object->Object);
    for (int v :
         {int{object->Id}, int{object->SecondaryId}, object->Width, object->Height, int{object->KindFlag}})
      hash.Value(v);
  }
  return hash.Result();
}
