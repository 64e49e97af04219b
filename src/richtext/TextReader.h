#pragma once
// The plain-text reader and the base of the RTF reader: a buffered byte
// source over a stream, and the building of a chain of paragraphs and lines
// with per-character attributes for a document.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "richtext/Paragraph.h"
#include "richtext/Stream.h"

class TWPRTFText;
class TTextHeader;

// Errors of the readers; the message is the text the user is shown.
class EReaderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TWPTextReader {
 public:
  static constexpr int kBufferSize = 1024;
  static constexpr std::uint8_t kResultOk = 0;
  static constexpr std::uint8_t kResultOutOfMemory = 2;
  static constexpr std::uint8_t kResultFailed = 7;

  TWPTextReader() = default;
  virtual ~TWPTextReader() = default;
  TWPTextReader(const TWPTextReader&) = delete;
  TWPTextReader& operator=(const TWPTextReader&) = delete;

  // The header and the document the chain is built for; both are required.
  void SetTarget(TTextHeader* header, TWPRTFText* document) {
    FHeader = header;
    FDocument = document;
  }
  // The attribute every inserted character starts with (a copy of the
  // document's CurrentAttr, as a rule).
  void SetCharacterAttr(const TAttr& attr) { FCharAttr = attr; }
  const TAttr& CharacterAttr() const { return FCharAttr; }
  // The stream is read from its current position.
  void SetSource(TStream* stream) { FStream = stream; }

  // Reads the stream (or, when none is given, the source set before) into a
  // chain of paragraphs. When result names a paragraph (an empty one),
  // reading writes into it from the start of its first line; otherwise a new
  // standalone chain starts and result receives its first paragraph as soon
  // as it exists, so the caller owns the chain even when reading raises.
  // Returns 0; ResultCode tells success. Errors set result code 7 (2 when
  // out of memory) and are raised again.
  virtual int Read(TStream* stream, TParagraph*& result);

  std::uint8_t ResultCode() const { return FResultCode; }

  // Page block and colour table of the header are not changed by the input.
  bool KeepHeader = false;
  // Every inserted character is marked as automatic text.
  bool MarkAsAutomatic = false;
  // When set, each paragraph reading is done with goes to the sink (still
  // linked to the next one) and is freed, so that only the last few are
  // held: a converter writes them out as they come. Read then builds no
  // chain for the caller (result is nullptr).
  std::function<void(TParagraph&)> ParagraphSink;

 protected:
  // Raises "Wrong Arguments in" + tab + className without header or document.
  void RequireTarget(const char* className) const;
  // Starts the chain (into result's paragraph, or a new one of the given
  // line capacity) and the byte source with progress.
  void BeginReading(TStream* stream, TParagraph*& result, int lineCapacity);
  // Finishes every paragraph of the chain, closes progress and gives unread
  // buffered bytes back to the stream.
  virtual void EndReading();
  // What the end of reading does to a paragraph: marks it for layout.
  virtual void FinishParagraph(TParagraph& par);
  // Whether paragraphs before the previous one are done with (the sink may
  // have them).
  virtual bool MayHandOutParagraphs() const { return true; }
  // Hands the paragraphs before the previous one to the sink, or all of
  // them at the end of reading.
  void HandOutParagraphs(bool all);
  // BeginReading, body, EndReading. An error sets the result code (2 when
  // out of memory, 7 otherwise), still ends a reading that had begun, and is
  // raised again.
  template <typename Body>
  int ReadFramed(TStream* stream, TParagraph*& result, int lineCapacity, Body body);

  // --- byte source -------------------------------------------------------------
  // Next byte, or false at the end of the stream.
  bool NextByte(std::uint8_t& c) {
    if (FBufferPos == FBufferFill && !FillBuffer()) return false;
    c = FBuffer[FBufferPos++];
    return true;
  }
  // Pushes back the byte NextByte just returned.
  void PushBack() {
    if (FBufferPos > 0) --FBufferPos;
  }
  // After NextByte returned a byte: takes it together with the following
  // buffered bytes up to (not including) the first byte marked in stops.
  // Returns the run's length; start points at its first byte.
  std::size_t TakeRun(const bool* stops, const std::uint8_t*& start) {
    start = FBuffer + FBufferPos - 1;
    int p = FBufferPos;
    while (p < FBufferFill && !stops[FBuffer[p]]) ++p;
    const std::size_t n = static_cast<std::size_t>(p - FBufferPos + 1);
    FBufferPos = p;
    return n;
  }
  bool FillBuffer();
  void ReturnUnreadBytes();

  // --- building ------------------------------------------------------------------
  // Appends n bytes with the current character attribute; starts new lines
  // of FNewLineCapacity as lines fill up.
  void AppendText(const std::uint8_t* text, std::size_t n);
  void AppendChar(std::uint8_t c) { AppendText(&c, 1); }
  // Appends one character with an attribute of its own.
  void AppendCharWithAttr(std::uint8_t c, const TAttr& attr);
  // A new paragraph after the current one (attributes copied from it).
  void StartParagraph(int lineCapacity);
  // Shrinks every line of the current paragraph to its length + 2.
  void ShrinkLines();

  TTextHeader* FHeader = nullptr;
  TWPRTFText* FDocument = nullptr;
  TAttr FCharAttr{};
  std::uint8_t FResultCode = kResultOk;

  TParagraph* FFirstParagraph = nullptr;
  TParagraph* FParagraph = nullptr;
  TLine* FLine = nullptr;
  int FNewLineCapacity = 60;
  // The most recently appended character of the current paragraph (line
  // and index), if any.
  TLine* FLastCharLine = nullptr;
  int FLastCharIndex = 0;

 private:
  TLine* NextLineForText();
  void ReadPlainText();

  TStream* FStream = nullptr;
  std::uint8_t FBuffer[kBufferSize];
  int FBufferFill = 0;
  int FBufferPos = 0;
  std::int64_t FStartPosition = 0;
  std::int64_t FConsumedBefore = 0;  // bytes of earlier buffers
  bool FProgressOpen = false;
};

template <typename Body>
int TWPTextReader::ReadFramed(TStream* stream, TParagraph*& result, int lineCapacity, Body body) {
  bool begun = false;
  try {
    BeginReading(stream, result, lineCapacity);
    begun = true;
    body();
  } catch (const std::bad_alloc&) {
    FResultCode = kResultOutOfMemory;
    if (begun) EndReading();
    throw;
  } catch (...) {
    FResultCode = kResultFailed;
    if (begun) EndReading();
    throw;
  }
  EndReading();
  return 0;
}
