#include "richtext/TextWriter.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "richtext/Progress.h"

TWPTextWriter::TWPTextWriter(TWPRTFText& document) : FDocument(document) { SetWholeDocument(); }

TWPTextWriter::~TWPTextWriter() = default;

void TWPTextWriter::SetRange(TParagraph* startPar, TLine* startLine, int startOffset, TParagraph* endPar,
                             TLine* endLine, int endOffset) {
  FStartPar = startPar;
  FStartLine = startLine ? startLine : (startPar ? startPar->FirstLine : nullptr);
  FStartOffset = std::max(0, startOffset);
  FEndPar = endPar;
  FEndLine = endLine;
  FEndOffset = endOffset;
}

void TWPTextWriter::SetWholeDocument() { SetRange(FDocument.FirstParagraph, nullptr, 0); }

void TWPTextWriter::BeginPhase(TStream& stream) {
  FStream = &stream;
  FPending = 0;
  FLastFlushed = 0;
}

std::uint8_t TWPTextWriter::WriteHeader(TStream& stream) {
  BeginPhase(stream);
  FResult = kResultOk;
  FPreviousParagraph = nullptr;
  DoHeader();
  Flush();
  return FResult;
}

std::int64_t TWPTextWriter::RangeLength() const {
  std::int64_t total = 0;
  for (TParagraph* p = FStartPar; p; p = p->Next) {
    total += p->TextLength();
    if (p == FEndPar) break;
  }
  return total;
}

std::uint8_t TWPTextWriter::WriteBody(TStream& stream) {
  BeginPhase(stream);
  if (!FStartPar) {
    SetResult(kResultNothingDone);
    return FResult;
  }
  TWPProgress::Start(RangeLength());
  try {
    WalkRange();
  } catch (const std::bad_alloc&) {
    SetResult(kResultOutOfMemory);
  }
  Flush();
  TWPProgress::Stop();
  return FResult;
}

void TWPTextWriter::WalkRange() {
  for (TParagraph* p = FStartPar; p && FResult == kResultOk; p = p->Next) {
    if (!WalkParagraph(p)) break;
    TWPProgress::Update(FCharsWritten);
  }
}

bool TWPTextWriter::WalkParagraph(TParagraph* p) {
  ParagraphStart(*p);
  const bool isEndPar = p == FEndPar;
  for (TLine* line = p == FStartPar ? FStartLine : p->FirstLine; line && FResult == kResultOk;
       line = line->Next) {
    const bool isEndLine = isEndPar && (line == FEndLine || (!FEndLine && !line->Next));
    const int from = (p == FStartPar && line == FStartLine) ? std::min<int>(FStartOffset, line->Length) : 0;
    int to = line->Length;
    if (isEndLine && FEndOffset >= 0) to = std::min<int>(FEndOffset, line->Length);
    if (to > from) WriteLine(*line, from, to);
    if (isEndLine) break;
  }
  if (FResult != kResultOk) return false;
  if (isEndPar) {
    if (p->IsTableCell()) ParagraphEnd(*p);
    FPreviousParagraph = p;
    return false;
  }
  if (p->Next || p->IsTableCell()) ParagraphEnd(*p);
  FPreviousParagraph = p;
  return true;
}

std::uint8_t TWPTextWriter::WriteParagraph(TStream& stream, TParagraph& par) {
  BeginPhase(stream);
  SetRange(&par, nullptr, 0);
  try {
    WalkParagraph(&par);
  } catch (const std::bad_alloc&) {
    SetResult(kResultOutOfMemory);
  }
  Flush();
  return FResult;
}

std::uint8_t TWPTextWriter::WriteClose(TStream& stream) {
  BeginPhase(stream);
  DoClose();
  Flush();
  return FResult;
}

std::uint8_t TWPTextWriter::WriteAll(TStream& stream) {
  if (WriteHeader(stream) == kResultOk && WriteBody(stream) == kResultOk) WriteClose(stream);
  return FResult;
}

void TWPTextWriter::WriteLine(TLine& line, int from, int to) {
  const char* text = line.Text.get();
  FCharsWritten += to - from;
  if (!WritesRuns() || !line.Attrs) {
    RunText(text + from, to - from);
    return;
  }
  const TAttr* attrs = line.Attrs.get();
  int i = from;
  while (i < to && FResult == kResultOk) {
    const TAttr& attr = attrs[i];
    const auto code = static_cast<unsigned char>(text[i]);
    RunAttributes(attr);
    if ((attr.Special & kSpecialObject) && (code == 1 || code == 2)) {
      WriteObject(attr, code);
      ++i;
      continue;
    }
    if (attr.Special & kSpecialFootnote) {
      WriteFootnote(attr.Tag);
      ++i;
      continue;
    }
    int end = i + 1;
    if (!(attr.Special & (kSpecialObject | kSpecialInsertPoint)))
      while (end < to && SameRun(attr, attrs[end])) ++end;
    const bool omitted = ((attr.Special & kSpecialInsertPoint) && OmitInsertPoints) ||
                         ((attr.Special & kSpecialAutomatic) && OmitAutomaticText);
    if (!omitted) RunText(text + i, end - i);
    i = end;
  }
}

void TWPTextWriter::ParagraphEnd(TParagraph& /*par*/) { Out("\r\n"); }

// A line break inside a paragraph ends its line as a paragraph end does,
// with carriage return and line feed, so that plain text has one kind of
// line end.
void TWPTextWriter::RunText(const char* chars, int count) {
  const char* end = chars + count;
  while (chars < end) {
    const auto* lineFeed =
        static_cast<const char*>(std::memchr(chars, '\n', static_cast<std::size_t>(end - chars)));
    if (lineFeed == nullptr) {
      Out(chars, static_cast<std::size_t>(end - chars));
      return;
    }
    Out(chars, static_cast<std::size_t>(lineFeed - chars));
    Out("\r\n");
    chars = lineFeed + 1;
  }
}

void TWPTextWriter::DoClose() { OutChar('\0'); }

void TWPTextWriter::Out(const char* bytes, std::size_t count) {
  if (FPending + count > kBufferSize) {
    Flush();
    if (count > kBufferSize) {
      FLastFlushed = bytes[count - 1];
      if (FStream->Write(bytes, count) != count) SetResult(kResultFailed);
      return;
    }
  }
  std::memcpy(FBuffer + FPending, bytes, count);
  FPending += count;
}

void TWPTextWriter::OutInt(std::int64_t value) {
  char digits[24];
  int n = 0;
  const bool negative = value < 0;
  std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) digits[n++] = '-';
  std::reverse(digits, digits + n);
  Out(digits, static_cast<std::size_t>(n));
}

void TWPTextWriter::Flush() {
  if (FPending == 0) return;
  const std::size_t count = FPending;
  FLastFlushed = FBuffer[count - 1];
  FPending = 0;
  if (FStream->Write(FBuffer, count) != count) SetResult(kResultFailed);
}
