#pragma once
// The plain-text writer and the walk every writer shares: a range of a
// document is visited paragraph by paragraph, line by line and run by run,
// and the steps that produce output are virtual. Output is collected in a
// small fixed buffer and handed to the stream in pieces; no writer builds a
// whole-document string.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "richtext/RtfText.h"
#include "richtext/Stream.h"

// Result codes of readers and writers.
constexpr std::uint8_t kResultOk = 0;
constexpr std::uint8_t kResultOutOfMemory = 2;
constexpr std::uint8_t kResultFailed = 7;
constexpr std::uint8_t kResultNothingDone = 8;

class TWPTextWriter {
 public:
  explicit TWPTextWriter(TWPRTFText& document);
  virtual ~TWPTextWriter();
  TWPTextWriter(const TWPTextWriter&) = delete;
  TWPTextWriter& operator=(const TWPTextWriter&) = delete;

  // Options, copied from the document by the save dispatcher.
  bool OmitInsertPoints = false;
  bool OmitAutomaticText = false;
  bool WriteBitmapAsDib = false;
  bool DocumentEmpty = false;

  // The range to write. An absent end line means the end paragraph's last
  // line; a negative end offset the end line's length; an absent end
  // paragraph the end of the document.
  void SetRange(TParagraph* startPar, TLine* startLine, int startOffset, TParagraph* endPar = nullptr,
                TLine* endLine = nullptr, int endOffset = -1);
  void SetWholeDocument();

  // The three phases; each returns the result code (0 success).
  std::uint8_t WriteHeader(TStream& stream);
  std::uint8_t WriteBody(TStream& stream);
  std::uint8_t WriteClose(TStream& stream);
  // Header, then Body when that succeeded, then Close likewise.
  std::uint8_t WriteAll(TStream& stream);
  // Instead of Body, for paragraphs that come one by one (a reader's sink):
  // one paragraph as Body writes it, its end too when a paragraph follows.
  std::uint8_t WriteParagraph(TStream& stream, TParagraph& par);

  std::uint8_t Result() const { return FResult; }
  std::int64_t CharactersWritten() const { return FCharsWritten; }

 protected:
  // Steps that produce output. The plain writer writes characters unchanged
  // but for line breaks, CR LF after each line break and paragraph and one
  // 0 byte at the close.
  virtual void DoHeader() {}
  virtual void ParagraphStart(TParagraph& /*par*/) {}
  virtual void ParagraphEnd(TParagraph& par);
  virtual void RunAttributes(const TAttr& /*attr*/) {}
  // Whether b continues the run that a started. Plain text has no
  // attributes: only what the walk treats apart (objects, notes, omitted
  // text) splits it.
  virtual bool SameRun(const TAttr& a, const TAttr& b) const { return a.Special == b.Special; }
  virtual void RunText(const char* chars, int count);
  virtual void WriteObject(const TAttr& /*attr*/, unsigned char /*code*/) {}
  virtual void WriteFootnote(int /*id*/) {}
  virtual void DoClose();
  // Whether lines with attribute arrays are split into runs (so that
  // objects, footnotes and omitted text are recognised).
  virtual bool WritesRuns() const { return !FDocument.PlainMode; }

  // Output buffer.
  void Out(const char* bytes, std::size_t count);
  void Out(std::string_view text) { Out(text.data(), text.size()); }
  void OutChar(char c) {
    if (FPending == kBufferSize) Flush();
    FBuffer[FPending++] = c;
  }
  void OutInt(std::int64_t value);
  // Hands pending bytes to the stream; a short write sets result 7.
  void Flush();
  std::size_t Pending() const { return FPending; }
  // The last byte handed out in this phase (0 when none).
  char LastByte() const { return FPending > 0 ? FBuffer[FPending - 1] : FLastFlushed; }
  void SetResult(std::uint8_t result) {
    if (FResult == kResultOk) FResult = result;
  }

  TWPRTFText& FDocument;
  TStream* FStream = nullptr;
  std::uint8_t FResult = kResultOk;
  TParagraph* FPreviousParagraph = nullptr;

 private:
  // Paragraph start, runs and paragraph end over the range.
  void WalkRange();
  // Writes one paragraph of the range; false when the range ends with it.
  bool WalkParagraph(TParagraph* p);
  void WriteLine(TLine& line, int from, int to);
  void BeginPhase(TStream& stream);
  std::int64_t RangeLength() const;

  static constexpr std::size_t kBufferSize = 2048;
  char FBuffer[kBufferSize];
  std::size_t FPending = 0;
  char FLastFlushed = 0;

  TParagraph* FStartPar = nullptr;
  TLine* FStartLine = nullptr;
  int FStartOffset = 0;
  TParagraph* FEndPar = nullptr;
  TLine* FEndLine = nullptr;
  int FEndOffset = -1;
  std::int64_t FCharsWritten = 0;
};
