#pragma once
// The document class one level above the model: the insertion cursor and
// the selection, loading and saving with format detection, whole-document
// copies and the "Data" binary property in which a label's text is stored.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "richtext/RtfText.h"
#include "richtext/Stream.h"

class TWPTextReader;
class TWPTextWriter;

enum TWPLoadFormat : std::uint8_t { AutomaticFormat, LastFormat, FormatRTF, FormatANSI, FormatHTML };

class TWPRTFTextIo : public TWPRTFText {
 public:
  // Streams at most this large are copied into memory before reading.
  static constexpr std::int64_t kMaxCopiedStream = 600000;
  // ANSI text above this size is loaded in plain mode.
  static constexpr std::int64_t kPlainModeAbove = 500000;
  // How far format detection looks for HTML tags.
  static constexpr int kHtmlSniffBytes = 2000;

  TWPRTFTextIo();
  ~TWPRTFTextIo() override;

  // --- whole document ------------------------------------------------------------
  // Deep copy: header, paragraphs with their lines and records, footnotes and
  // objects (with the characters' tags renumbered). Errors propagate.
  void Assign(const TWPRTFTextIo& source);
  // Empties the document; the cursor goes to the start, CurrentAttr to zero.
  void Clear() override;

  // --- loading and saving -------------------------------------------------------
  // Loads with the load format (detected when automatic). Into an empty
  // document the text replaces it; into a non-empty one it is inserted at the
  // cursor. Reader errors are caught: ResultCode 7, LastError tells why.
  TWPLoadFormat LoadFromStream(TStream& stream);
  // Opening errors propagate; the format used becomes the last load format.
  TWPLoadFormat LoadFromFile(const std::string& fileName);
  // Reads as LoadFromStream does, but each paragraph goes to sink as soon
  // as reading is done with it, and none is kept: the document's text stays
  // as it was (its header takes the fonts and colours read). For converters
  // of inputs larger than a document should hold.
  TWPLoadFormat ReadParagraphByParagraph(TStream& stream, const std::function<void(TParagraph&)>& sink);
  // Saves the whole document in the save format (see SaveFormatFor).
  void SaveToStream(TStream& stream);
  // ".RTF" in the name forces RTF, ".HTM" HTML. Creation errors propagate.
  void SaveToFile(const std::string& fileName);
  // Writes the selection, start before end; nothing without a selection.
  void SaveSelectionToStream(TStream& stream, TWPTextWriter& writer);
  // The common workers. LoadWithReader passes errors on (after clearing a
  // document that was empty before, or freeing the chain read).
  void LoadWithReader(TStream& stream, TWPTextReader& reader);
  void SaveWithWriter(TStream& stream, TWPTextWriter& writer);
  // The format a load of stream would use; the stream position is kept.
  static TWPLoadFormat DetectFormat(TStream& stream);
  // The format SaveToStream uses for the document as it stands.
  TWPLoadFormat SaveFormatFor() const;

  // --- the "Data" binary property -------------------------------------------------
  // Whether the property is written at all: only for a non-empty document.
  bool HasData() const { return !IsEmpty(); }
  // RTF of the whole document followed by four zero bytes; nothing for an
  // empty document. Raises "Stream write error" when the stream fails.
  void WriteData(TStream& stream) const;
  // Clears, then reads RTF (up to its closing brace or a 0 byte). On an
  // error the document is cleared and the error passed on.
  void ReadData(TStream& stream);

  // --- positions -------------------------------------------------------------------
  // Absolute character position; each paragraph break counts one character.
  int PositionOf(const TParagraph* par, const TLine* line, int index) const;
  // The (paragraph, line, index) of an absolute position, clamped to the text.
  void PositionToCursor(int position, TParagraph*& par, TLine*& line, int& index) const;
  void SetCursorToStart();
  // Whether (paragraph, line, index) is a position of this document.
  bool IsValidPosition(const TParagraph* par, const TLine* line, int index) const;

  bool HasSelection() const;
  void ClearSelection();

  // --- fields ------------------------------------------------------------------------
  TParagraph* CursorParagraph = nullptr;
  TLine* CursorLine = nullptr;
  int CursorIndex = 0;

  TParagraph* SelStartParagraph = nullptr;
  TLine* SelStartLine = nullptr;
  int SelStartIndex = 0;
  TParagraph* SelEndParagraph = nullptr;
  TLine* SelEndLine = nullptr;
  int SelEndIndex = 0;
  bool SelectionBackwards = false;

  TWPLoadFormat LoadFormat = AutomaticFormat;
  TWPLoadFormat SaveFormat = AutomaticFormat;
  // Replace the built-in reader and writer unless ignored.
  std::function<std::unique_ptr<TWPTextReader>()> UserReader;
  std::function<std::unique_ptr<TWPTextWriter>()> UserWriter;
  bool IgnoreUserReaderWriter = false;

  // Of the last load or save: 0 success, 7 failure, 8 load not performed.
  std::uint8_t ResultCode = 0;
  // Message of the error behind the last failed load.
  std::string LastError;
  bool SavingToNamedFile = false;

  // Writer options.
  bool WritePicturesAsBracketReferences = false;
  bool OmitProtectedMark = false;
  bool WriteBitmapAsDib = false;
  bool OmitInsertPoints = false;
  bool OmitAutomaticText = false;

  // After a load into an empty document; may ask for it to be cleared again.
  std::function<void(TWPRTFTextIo& sender, bool& clearAgain)> OnLoadedIntoEmpty;
  // Before a loaded chain is inserted into a non-empty document; may veto.
  std::function<void(TWPRTFTextIo& sender, bool& allow)> OnBeforeInsert;

 protected:
  // Text width in pixels the document sets for itself (0: none, the header's
  // text area width applies); the layout class overrides it.
  virtual int OwnTextWidthPixels() const { return 0; }

 private:
  std::unique_ptr<TWPTextReader> CreateReader(TWPLoadFormat format) const;
  // The forced or detected format, past white space in front of RTF.
  TWPLoadFormat FormatToLoad(TStream& stream) const;
  std::unique_ptr<TWPTextWriter> CreateWriter(TWPLoadFormat format);
  // The writer options above, for any writer.
  void ApplyWriterOptions(TWPTextWriter& writer) const;
  void CopyParagraphs(const TWPRTFTextIo& source);
};

// Presents a document as a list of strings, one per paragraph.
class TWPRtfStrings {
 public:
  explicit TWPRtfStrings(TWPRTFTextIo& document) : FDocument(document) {}

  int Count() const { return FDocument.ParagraphCount(); }
  std::string Get(int index) const { return FDocument.ParagraphText(index); }
  void Put(int index, const std::string& text);
  void Insert(int index, const std::string& text);
  void Add(const std::string& text) { Insert(Count(), text); }
  void Delete(int index) { FDocument.DeleteParagraph(index); }
  void Clear() { FDocument.Clear(); }
  void EndUpdate() { FDocument.Changed(); }
  // Clears, then loads with format detection whatever the load format.
  void LoadFromStream(TStream& stream);
  // The whole document as plain text.
  void SaveToStream(TStream& stream);

  TWPRTFTextIo& Document() { return FDocument; }

 private:
  TWPRTFTextIo& FDocument;
};
