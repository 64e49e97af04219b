#include "richtext/TextReader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "richtext/Progress.h"
#include "richtext/RtfText.h"

namespace {

// A line takes text up to its capacity minus this reserve.
constexpr int kLineReserve = 4;
constexpr int kPlainLineCapacity = 200;

// Bytes that end a run of plain text: the 0 byte, carriage return, line feed.
struct TPlainStops {
  bool Stops[256] = {};
  TPlainStops() {
    Stops[0] = Stops[static_cast<unsigned char>('\r')] = Stops[static_cast<unsigned char>('\n')] = true;
  }
};
const TPlainStops kPlainStops;

}  // namespace

void TWPTextReader::RequireTarget(const char* className) const {
  if (FHeader == nullptr || FDocument == nullptr)
    throw EReaderError(std::string("Wrong Arguments in\t") + className);
}

void TWPTextReader::BeginReading(TStream* stream, TParagraph*& result, int lineCapacity) {
  if (stream != nullptr) FStream = stream;
  stream = FStream;
  FBufferFill = FBufferPos = 0;
  FConsumedBefore = 0;
  FResultCode = kResultOk;
  FLastCharLine = nullptr;
  FLastCharIndex = 0;
  FStartPosition = stream != nullptr ? stream->Position() : 0;

  if (result != nullptr) {
    // Write into the given paragraph from the start of its first line.
    FParagraph = result;
    while (FParagraph->FirstLine != nullptr && FParagraph->FirstLine->Next != nullptr)
      FDocument->RemoveLine(FParagraph, FParagraph->FirstLine->Next);
    if (FParagraph->FirstLine == nullptr) FDocument->AppendLine(FParagraph, lineCapacity);
    FLine = FParagraph->FirstLine;
    FLine->Length = 0;
    FLine->Text[0] = 0;
  } else {
    FParagraph = FDocument->NewParagraph(nullptr, lineCapacity);
    // A sink takes the paragraphs: the reader owns the chain until then.
    result = ParagraphSink ? nullptr : FParagraph;
    FLine = FParagraph->FirstLine;
  }
  FFirstParagraph = FParagraph;

  if (stream != nullptr) {
    TWPProgress::Start(stream->Size() - FStartPosition);
    FProgressOpen = true;
  }
}

void TWPTextReader::EndReading() {
  for (TParagraph* p = FFirstParagraph; p != nullptr; p = p->Next) FinishParagraph(*p);
  if (ParagraphSink) HandOutParagraphs(true);
  if (FProgressOpen) {
    FProgressOpen = false;
    TWPProgress::Stop();
  }
  ReturnUnreadBytes();
}

void TWPTextReader::FinishParagraph(TParagraph& par) { par.ParState |= kParNeedsBoth; }

void TWPTextReader::HandOutParagraphs(bool all) {
  while (FFirstParagraph != nullptr &&
         (all || (FFirstParagraph != FParagraph && FFirstParagraph != FParagraph->Prev))) {
    TParagraph* done = FFirstParagraph;
    if (!all) FinishParagraph(*done);
    ParagraphSink(*done);
    FFirstParagraph = done->Next;
    FDocument->FreeParagraph(done);
  }
  if (all) {
    FParagraph = nullptr;
    FLine = FLastCharLine = nullptr;
  }
}

bool TWPTextReader::FillBuffer() {
  if (FStream == nullptr) return false;
  FConsumedBefore += FBufferFill;
  FBufferPos = 0;
  FBufferFill = static_cast<int>(FStream->Read(FBuffer, kBufferSize));
  if (FProgressOpen) TWPProgress::Update(FConsumedBefore);
  return FBufferFill > 0;
}

void TWPTextReader::ReturnUnreadBytes() {
  if (FStream != nullptr && FBufferPos < FBufferFill)
    FStream->SetPosition(FStream->Position() - (FBufferFill - FBufferPos));
  FBufferFill = FBufferPos = 0;
}

TLine* TWPTextReader::NextLineForText() {
  FLine = FDocument->NewLine(FLine, FNewLineCapacity);
  return FLine;
}

void TWPTextReader::AppendText(const std::uint8_t* text, std::size_t n) {
  TAttr attr = FCharAttr;
  if (MarkAsAutomatic) attr.Special |= kSpecialAutomatic;
  while (n > 0) {
    TLine* line = FLine;
    int room = line->Capacity - kLineReserve - line->Length;
    if (room <= 0) {
      line = NextLineForText();
      room = line->Capacity - kLineReserve;
    }
    const int k = static_cast<int>(std::min<std::size_t>(n, static_cast<std::size_t>(room)));
    const int at = line->Length;
    std::memcpy(line->Text.get() + at, text, static_cast<std::size_t>(k));
    if (line->Attrs) {
      // Whole records at a time: member by member is several stores each.
      TAttr* to = line->Attrs.get() + at;
      for (int i = 0; i < k; ++i) std::memcpy(static_cast<void*>(to + i), &attr, sizeof(TAttr));
    }
    line->Length = static_cast<std::uint16_t>(at + k);
    line->Text[at + k] = 0;
    text += k;
    n -= static_cast<std::size_t>(k);
    FLastCharLine = line;
    FLastCharIndex = at + k - 1;
  }
}

void TWPTextReader::AppendCharWithAttr(std::uint8_t c, const TAttr& attr) {
  const TAttr saved = FCharAttr;
  FCharAttr = attr;
  AppendChar(c);
  FCharAttr = saved;
}

void TWPTextReader::StartParagraph(int lineCapacity) {
  FParagraph = FDocument->NewParagraph(FParagraph, lineCapacity);
  FLine = FParagraph->FirstLine;
  FLastCharLine = nullptr;
  if (ParagraphSink && MayHandOutParagraphs()) HandOutParagraphs(false);
}

void TWPTextReader::ShrinkLines() {
  for (TLine* l = FParagraph->FirstLine; l != nullptr; l = l->Next)
    if (l->Capacity > l->Length + 2) FDocument->GrowLine(l, l->Length + 2);
}

int TWPTextReader::Read(TStream* stream, TParagraph*& result) {
  RequireTarget("TWPTextReader");
  FNewLineCapacity = kPlainLineCapacity;
  return ReadFramed(stream, result, kPlainLineCapacity, [this] { ReadPlainText(); });
}

void TWPTextReader::ReadPlainText() {
  std::uint8_t c;
  while (NextByte(c)) {
    if (c == 0) break;
    if (c == '\r') {
      StartParagraph(kPlainLineCapacity);
    } else if (c != '\n') {
      const std::uint8_t* run;
      const std::size_t n = TakeRun(kPlainStops.Stops, run);
      AppendText(run, n);
    }
  }
}
