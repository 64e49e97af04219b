#pragma once
// Label layouts: one kind of pre-cut sheet, the table of known layouts and
// the layout file KLXFF.LLO. Every length is in thousandths of an inch.
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "labelpage/OneBasedArray.h"

class TTaggedValueReader;
class TTaggedValueWriter;

// One layout: a name and 22 integers, in the order both files store them.
struct TLabelLayoutRecord {
  std::string LayoutName;  // 8-bit text; looked up case-insensitively
  std::int32_t LabelWidth = 0;
  std::int32_t LabelHeight = 0;
  std::int32_t HorizontalPitch = 0;
  std::int32_t VerticalPitch = 0;
  std::int32_t LeftMargin = 0;
  std::int32_t TopMargin = 0;
  std::int32_t PaperSize = 0;  // 0 Letter, 1 A4, 2 Letter Landscape, 3 A4 Landscape
  std::int32_t PageWidth = 0;
  std::int32_t PageHeight = 0;
  std::int32_t TextTop = 0;  // text area, from the label's top-left corner
  std::int32_t TextLeft = 0;
  std::int32_t TextBottom = 0;
  std::int32_t TextRight = 0;
  std::int32_t NumberAcross = 0;
  std::int32_t NumberDown = 0;
  std::int32_t Reserved1 = 0;
  std::int32_t StripeStyle = 0;  // TStripeStyle
  std::int32_t Reserved2 = 0;
  std::int32_t HorizontalCenterGap = 0;
  std::int32_t VerticalCenterGap = 0;
  std::int32_t Reserved3 = 0;
  std::int32_t Reserved4 = 0;

  bool operator==(const TLabelLayoutRecord&) const = default;
};

// The pre-printed stripes of a file-folder sheet, as the page panel draws them.
enum TStripeStyle : std::int32_t {
  stNone = 0,       // and any value other than the two below
  stSegmented = 1,  // four segments with ticks below the ends
  stFull = 2,       // one stripe across the label
};

// The 22 integer fields in file order, with the names the layout table uses.
struct TLayoutIntegerField {
  const char* Name;
  std::int32_t TLabelLayoutRecord::*Member;
};
extern const std::array<TLayoutIntegerField, 22> LayoutIntegerFields;

// A sheet holds at most this many labels.
constexpr int MaxLabelsPerPage = 200;
constexpr int MaxLayouts = 50;

// NumberAcross x NumberDown without overflow.
std::int64_t LabelCountOf(const TLabelLayoutRecord& layout);
// A layout the panel can show: at least one label across and down, at most 200.
bool IsUsableLayout(const TLabelLayoutRecord& layout);
// Names compare equal after upper-casing the ASCII letters of both.
bool SameLayoutName(const std::string& a, const std::string& b);

// The table of known layouts, 1..50, filled in file order and never shrunk.
class TLabelLayoutArray {
 public:
  int Count() const { return FCount; }
  const TLabelLayoutRecord& operator[](int index) const { return FItems[index]; }

  // Appends a copy; a full table or an unusable layout is ignored (false).
  bool Add(const TLabelLayoutRecord& layout);
  // The first entry whose name matches, or null.
  const TLabelLayoutRecord* FindFirst(const std::string& name) const;
  // The last entry whose name matches, or null.
  const TLabelLayoutRecord* FindLast(const std::string& name) const;

 private:
  TOneBasedArray<TLabelLayoutRecord, MaxLayouts> FItems;
  int FCount = 0;
};

// The string and 22 integers of one layout, without list tags. The record is
// changed only when all 23 values were read.
void ReadLayout(TTaggedValueReader& reader, TLabelLayoutRecord& layout);
void WriteLayout(TTaggedValueWriter& writer, const TLabelLayoutRecord& layout);

// Appends the layouts of the layout file at path to the table. Raises
// "Cannot open file %s", and for a bad header "Invalid property value" or
// "Stream read error"; a malformed entry silently ends the reading.
void LoadLLOFile(const std::string& path, TLabelLayoutArray& layouts);
// Writes a layout file: the header (list, 0, 0, end) and one list per layout.
void SaveLLOFile(const std::string& path, const std::vector<TLabelLayoutRecord>& layouts);

// Thousandths as inches with two decimals and the user's decimal separator.
QString FormatInches(std::int32_t thousandths);
// Replaces lines by the description of the first layout named name; leaves
// them untouched when no layout has that name.
void DescribeLayout(const TLabelLayoutArray& layouts, const std::string& name, QStringList& lines);
