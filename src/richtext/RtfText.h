#pragma once
// The rich text document: a chain of paragraphs, each a chain of display
// lines, each line a byte buffer with a parallel array of 16-byte character
// attributes. It owns its header, its four display attribute sets, its
// embedded objects, footnotes and numbering styles, and offers the primitive
// edits every higher layer (reader, writer, layout, editing) builds on.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "richtext/CharacterAttr.h"
#include "richtext/EmbeddedObject.h"
#include "richtext/EngineContext.h"
#include "richtext/ModelError.h"
#include "richtext/Numbering.h"
#include "richtext/Paragraph.h"
#include "richtext/TextHeader.h"

enum TProtectProp : std::uint8_t {
  ppProtected,
  ppHidden,
  ppIsInsertpoint,
  ppAutomatic,
  ppIsInvisible,
  ppParProtected,
  ppProtectSelectedTextToo,
  ppDontCopyProtectedAttribute,
  ppDontUseAttrOfProtected
};

// A set of TProtectProp values.
class TProtectProps {
 public:
  TProtectProps() = default;
  TProtectProps(std::initializer_list<TProtectProp> props) {
    for (TProtectProp p : props) Include(p);
  }
  bool Has(TProtectProp p) const { return (FBits >> p) & 1u; }
  void Include(TProtectProp p) { FBits |= 1u << p; }
  void Exclude(TProtectProp p) { FBits &= ~(1u << p); }
  bool Empty() const { return FBits == 0; }
  bool operator==(const TProtectProps&) const = default;

 private:
  std::uint16_t FBits = 0;
};

class TWPRTFText {
 public:
  static constexpr int kFirstLineCapacity = 40;
  static constexpr int kClearedLineCapacity = 100;
  static constexpr int kFirstAutomaticObjectId = 2000;

  TWPRTFText();
  virtual ~TWPRTFText();
  TWPRTFText(const TWPRTFText&) = delete;
  TWPRTFText& operator=(const TWPRTFText&) = delete;

  // --- whole document -----------------------------------------------------
  // Frees everything and leaves one paragraph with one empty line; the
  // current font becomes font slot 0.
  virtual void Clear();
  // 0 = RTF mode (attribute arrays), 1 = plain mode.
  void SwitchMode(int mode);
  void SetRtfMode() { SwitchMode(0); }
  void SetPlainMode() { SwitchMode(1); }
  bool IsPlainMode() const { return PlainMode; }
  // Called after whole-document and whole-paragraph changes; the painting
  // class re-wraps and repaints here.
  virtual void Changed() {}
  // Stores attr into the line's record at index and measures the character;
  // the base class uses the plain width table, 16 high, ascent 14.
  virtual void MeasureChar(TLine* line, int index, const TAttr& attr);

  // --- records --------------------------------------------------------------
  // A new paragraph after `after` (attributes copied from it) or a standalone
  // one; it gets a first line of the given capacity. The caller owns a
  // standalone paragraph until it is linked into a document.
  TParagraph* NewParagraph(TParagraph* after, int lineCapacity);
  // A new line after `after`, or standalone (the caller links it in).
  TLine* NewLine(TLine* after, int capacity);
  // Appends a new line to the paragraph's chain (or makes it the first).
  TLine* AppendLine(TParagraph* par, int capacity);
  // Raises "Line longer then\t10000 character!" above the limit.
  void GrowLine(TLine* line, int capacity);
  // Unlinks and frees par; par becomes the following paragraph (or nullptr).
  void FreeParagraph(TParagraph*& par);
  // Unlinks and frees line; a paragraph's only line is emptied instead.
  void RemoveLine(TParagraph* par, TLine* line);
  // Record of the character at index; raises "Error AttribPtr()" when the
  // line has no attribute array.
  TAttr* AttribPtr(TLine* line, int index) const;
  // Raises "l=nil in Get_LastLine" for a paragraph without lines.
  TLine* LastLine(TParagraph* par) const;

  // --- edits ------------------------------------------------------------------
  // Replaces r characters at index with n new ones (records = attr, or the
  // record that stood at index). Returns the change of the line's length.
  int ReplaceChars(TParagraph* par, TLine* line, const TAttr* attr, int n, const char* chars, int r,
                   int index);
  // Types one character (insert or overwrite by Inserting).
  bool InsertChar(TParagraph* par, TLine* line, char c, int index);
  // Inserts zero-terminated text at a character offset, as a line of its own.
  void InsertText(TParagraph* par, int offset, const TAttr* attr, const char* text);
  void DeleteChars(TParagraph* par, int offset, int count);
  // The Delete key: removes a character or joins with the next line or
  // paragraph. Always true; refused deletions change nothing.
  bool DeleteCharAt(TParagraph* par, TLine* line, int index);
  // The Enter key: the new paragraph follows par. False when protected.
  bool SplitParagraph(TParagraph* par, TLine* line, int index);
  // Inserts the chain starting at chain at the position; the position moves
  // behind the inserted text. The document takes ownership of the chain in
  // every case (a refused chain is freed). 1 when inserted, 0 when refused.
  int InsertChain(TParagraph*& par, TLine*& line, int& index, TParagraph* chain);
  // True when the position must not be changed; tells OnProtectedChange.
  bool IsProtected(TParagraph* par, TLine* line, int index);

  // --- string-list view ---------------------------------------------------------
  // Paragraphs by 0-based index; a document that is one empty paragraph counts 0.
  int ParagraphCount() const;
  TParagraph* ParagraphAt(int index) const;
  // Copies at most bufferSize - 1 characters and a 0; returns the count copied.
  int ParagraphText(int index, char* buffer, int bufferSize) const;
  std::string ParagraphText(int index) const;
  int ParagraphLength(int index) const;
  void SetParagraphText(int index, const char* text, const TAttr* attr, int length);
  void InsertParagraphText(int index, const char* text, const TAttr* attr, int length);
  void DeleteParagraph(int index);
  // 1-based ordinal of par (0 when not in the document).
  int CountParagraphsUpTo(const TParagraph* par) const;
  bool IsEmpty() const;

  // --- layout support -------------------------------------------------------------
  // Marks paragraphs that contain characters of the kinds (TMarkedTextKind
  // masks) as needing measuring and wrapping. True when any was marked.
  bool RefreshMarkedText(int kindMask);
  // Frees every tab slot that no paragraph uses; installed in the header.
  void TabCleanup();
  // Gives every line its Top and page-break mark; returns the document
  // height in pixels of the vertical resolution.
  int ComputeVerticalPositions();
  // Line-height rule for the last line of a table cell; the layout class
  // overrides it. Returns whether the height changed.
  virtual bool RecomputeLineHeight(TParagraph* par, TLine* line);

  // --- embedded objects ------------------------------------------------------
  // id -1: next id from 2000 up; id 0: a secondary id from 1 up.
  TTextObject* AddObject(std::unique_ptr<TEmbeddedObject> object, int id);
  TTextObject* AddObjectReference(TEmbeddedObject* object, int id);
  TTextObject* FindObject(int id) const;
  TTextObject* FindObjectBySecondaryId(int secondaryId) const;
  TTextObject* FindObjectByFileName(const std::string& fileName) const;
  void ClearObjectsInUse();
  void SweepObjects();
  void MeasureObject(TTextObject* record) const;
  const std::vector<std::unique_ptr<TTextObject>>& Objects() const { return FObjects; }

  // --- footnotes --------------------------------------------------------------
  TFootnote* AddFootnote(char mark, int number, const std::string& text);
  TFootnote* FindFootnote(int id) const;
  void ClearFootnotes();
  const std::vector<std::unique_ptr<TFootnote>>& Footnotes() const { return FFootnotes; }

  // --- numbering ----------------------------------------------------------------
  TNumberingStyle* AddNumberingStyle(const std::uint8_t* settings, const std::string& name);
  TNumberingStyle* FindNumberingStyle(int number) const;
  TNumberingStyle* FindNumberingStyle(const std::string& name) const;
  void ClearNumberingStyles();
  const std::vector<std::unique_ptr<TNumberingStyle>>& NumberingStyles() const { return FStyles; }
  // Regenerates the numbering text of every numbered paragraph.
  void RefreshNumbering();

  // --- fields -----------------------------------------------------------------
  bool PlainMode = false;
  bool Busy = false;
  TParagraph* FirstParagraph = nullptr;
  TTextHeader Header;
  TCharacterAttr InsertPointAttr;
  TCharacterAttr AutomaticTextAttr;
  TCharacterAttr HyperlinkTextAttr;
  TCharacterAttr ProtectedTextAttr;
  // Set only while another document is copied in.
  const TWPRTFText* SourceDocument = nullptr;
  TAttr CurrentAttr{};
  // Record of the first character after the last deleted range.
  TAttr CarryAttr{};
  int NewLineHeight = 16;
  int PlainWidths[257];
  int DefaultLineHeight = 16;
  int DefaultAscent = 14;
  bool Inserting = true;
  bool HideInsertPoints = false;
  bool HideAutomaticText = false;
  // Asked for the object of a record added without one.
  std::function<void(TWPRTFText& sender, TTextObject& record)> OnRequestObject;
  std::function<void(TWPRTFText& sender, const std::string& text, int tag)> OnProtectedChange;
  // Told after the tab cleanup ran.
  std::function<void(TWPRTFText& sender)> OnTabsCleaned;
  // The default beep of a full table cell; falls back to the engine's.
  std::function<void()> OnBeep;
  TProtectProps ProtectedProp;
  bool ProtectionOff = false;
  bool ParProtectionSuspended = false;
  bool SilentProtection = false;
  // Print zoom applied to the page height of the position chain; 0 = none.
  double PrintZoomFactor = 0;

 protected:
  // Called when one of the four attribute sets changed.
  virtual void AttrSetChanged(std::int32_t tag, int relayout);
  // The allocation of a paragraph record; a test may make it fail.
  virtual TParagraph* AllocateParagraph();

 private:
  TTextObject* AddObjectRecord(TEmbeddedObject* object, bool owned, int id);
  void Beep();
  // Header, objects and footnotes back to their defaults and one fresh paragraph.
  void ResetAfterClear();
  // Whether the character at index is protected under ProtectedProp (no report).
  bool CharIsProtected(const TLine* line, int index) const;
  void ReportProtectedRun(TLine* line, int index);
  // Replaces all lines of par with the text (CurrentAttr when attr is absent).
  void FillParagraph(TParagraph* par, const char* text, const TAttr* attr, int length);
  // Splits line at index; the tail (possibly empty) becomes a new line after it.
  TLine* SplitLine(TLine* line, int index);
  // Moves the characters from index on, with their records and the record
  // after them, into an empty line with room for them; line ends at index.
  void MoveTail(TLine* line, int index, TLine* into);
  void FillRecords(TLine* line, int from, int count, const TAttr& attr);
  bool FRefreshing = false;

  std::vector<std::unique_ptr<TTextObject>> FObjects;
  std::vector<std::unique_ptr<TFootnote>> FFootnotes;
  std::vector<std::unique_ptr<TNumberingStyle>> FStyles;
};
