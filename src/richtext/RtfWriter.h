#pragma once
// Writes a document, or a range of it, as RTF. Each run restates all of its
// character attributes after \plain; paragraph properties are written only
// where they differ from what the enclosing group last stated, so the writer
// keeps a stack of the groups it opened (document, tab, table row, border).
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "richtext/TextWriter.h"

// Implemented by embedded objects whose picture bytes the writer can embed.
// The painting layer's bitmaps and metafiles provide it; objects without it
// are written as tagged object characters.
class TWPPictureSource {
 public:
  // Png, Jpeg and Emf: the picture file's bytes, as other programs embed them.
  enum class TFormat { Metafile, Bitmap, Dib, Png, Jpeg, Emf };
  virtual ~TWPPictureSource() = default;
  virtual TFormat PictureFormat() const = 0;
  // Bitmap format words.
  virtual int BitsPerPixel() const { return 1; }
  virtual int Planes() const { return 1; }
  virtual int WidthBytes() const { return 0; }
  // The \picw and \pich values; negative: the object's pixel size.
  virtual int PicWidth() const { return -1; }
  virtual int PicHeight() const { return -1; }
  // The bytes to embed in the format asked for: a metafile without its
  // 22-byte placeable header, the
  // bits of a device-dependent bitmap, or a device-independent bitmap
  // without its 14-byte file header.
  virtual std::string PictureBytes(TFormat format) const = 0;
};

class TWPRTFWriter : public TWPTextWriter {
 public:
  explicit TWPRTFWriter(TWPRTFText& document);

  // Pictures with a file name as "\{bmc name\}" instead of a picfile group.
  bool WritePicturesAsBracketReferences = false;
  // Protected text without its \shad mark.
  bool OmitProtectedMark = false;

 protected:
  void DoHeader() override;
  void ParagraphStart(TParagraph& par) override;
  void ParagraphEnd(TParagraph& par) override;
  void RunAttributes(const TAttr& attr) override;
  bool SameRun(const TAttr& a, const TAttr& b) const override;
  void RunText(const char* chars, int count) override;
  void WriteObject(const TAttr& attr, unsigned char code) override;
  void WriteFootnote(int id) override;
  void DoClose() override;

 protected:
  // The brace of one paragraph (for its shading and its keep flags, which
  // other readers would otherwise pass on to the paragraphs after it) is
  // kept on the stack as well: what is written inside it ends with it, for
  // the reader and for the writer alike.
  enum TGroupKind { gkDocument = 0, gkTab = 1, gkTableRow = 2, gkBorder = 3, gkParagraph = 4 };
  // What defines a table row's layout for one cell.
  struct TCellLayout {
    std::uint8_t BorderFlags = 0, BorderStyle = 0, BorderWidth = 0, BorderSpaceColor = 0;
    std::uint8_t ShadingColors = 0, Shading = 0, CellStart = 0, CellWidth = 0;
    bool operator==(const TCellLayout&) const = default;
  };
  // Paragraph properties last written inside an open group.
  struct TGroup {
    TGroupKind Kind = gkDocument;
    std::uint8_t Alignment = 0;
    std::int32_t FirstIndent = 0, LeftIndent = 0, RightIndent = 0;
    std::int32_t SpaceBefore = 0, SpaceAfter = 0, LineSpacing = 0;
    std::uint8_t BorderFlags = 0, BorderStyle = 0, BorderWidth = 0, BorderSpaceColor = 0;
    TTabSet TabSet = 0;
    std::vector<TCellLayout> Row;
    bool HasBorder() const { return (BorderFlags & kBorderOn) != 0; }
  };
  // A zeroed group record; raises std::bad_alloc when memory is short, which
  // ends the phase with result 2.
  virtual std::unique_ptr<TGroup> NewGroupRecord() { return std::make_unique<TGroup>(); }

 private:
  static constexpr int kMaxCells = 50;
  static constexpr std::size_t kRunFlushAbove = 90;
  static constexpr std::size_t kRowFlushAt = 513;

  // The new innermost group (a copy of the one below); nullptr and result 2
  // when no record could be allocated.
  TGroup* PushGroup(TGroupKind kind);
  void CloseGroupsThrough(TGroupKind kind);
  bool HasGroup(TGroupKind kind) const;
  TGroup& Innermost() { return *FGroups.back(); }

  static std::vector<TParagraph*> RowStartingAt(TParagraph& par);
  static bool IsLastCellOfRow(const TParagraph& par);
  static TCellLayout CellLayoutOf(const TParagraph& cell);
  bool RowMatchesGroup(TParagraph& par);
  bool WriteTableRowStart(TParagraph& par);
  bool WriteBorderGroup(TParagraph& par);
  bool WriteParagraphGroup(TParagraph& par);
  int WrittenFont(int slot) const;
  // Attributes a reader has outside every group the writer opens.
  static bool HasDefaultAttributes(const TParagraph& par);
  void WriteTabStops(TTabSet tabs);
  void WriteBorderKind(const TParagraph& par);
  void WriteBorderStyleWords(std::uint8_t style);
  void EndRtfCode();
  // A control word with its parameter, kept within what a reader accepts.
  void WriteControl(const char* word, std::int64_t value) {
    constexpr std::int64_t kLimit = 2147483647;
    Out(word);
    OutInt(std::clamp(value, -kLimit, kLimit));
  }
  // Text inside a destination group (title, footnote): bytes that would end
  // the group or reading are written as \'xx so they reach the destination.
  void WriteDestinationText(const std::string& text);
  void WriteHex(const std::string& bytes);
  void WriteTaggedObject(const TTextObject& object, int id);

  std::vector<std::unique_ptr<TGroup>> FGroups;
  bool FPreviousRunRtfCode = false;
  bool FPreviousRunHidden = false;
  bool FPlainOutput = false;
  int FTextWidth = 0;
  int FFontsWritten = 0;  // font table entries 0..FFontsWritten - 1
};
