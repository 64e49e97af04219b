#include "richtext/RtfTextIo.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "richtext/Progress.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "richtext/TextCase.h"
#include "richtext/TextReader.h"
#include "richtext/TextWriter.h"

namespace {

bool IsHtmlTagName(const std::string& name) {
  static const char* const kTags[] = {"HTML", "B", "P", "BR", "TITLE", "BODY", "H1"};
  const std::string upper = UpperCase(name);
  return std::any_of(std::begin(kTags), std::end(kTags), [&](const char* tag) { return upper == tag; });
}

// Restores a value when the scope ends, also on errors.
template <typename T>
class TRestore {
 public:
  explicit TRestore(T& variable) : FVariable(variable), FValue(variable) {}
  ~TRestore() { FVariable = FValue; }
  TRestore(const TRestore&) = delete;
  TRestore& operator=(const TRestore&) = delete;

 private:
  T& FVariable;
  T FValue;
};

bool IsLeadingWhiteSpace(std::uint8_t c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\b';
}

// Positions the stream on its first byte that is not white space.
void SkipWhiteSpace(TStream& stream) {
  std::uint8_t c = 0;
  std::int64_t position = stream.Position();
  while (stream.Read(&c, 1) == 1 && IsLeadingWhiteSpace(c)) ++position;
  stream.SetPosition(position);
}

}  // namespace

TWPRTFTextIo::TWPRTFTextIo() { SetCursorToStart(); }

TWPRTFTextIo::~TWPRTFTextIo() = default;

// --- clear and assign ---------------------------------------------------------------

void TWPRTFTextIo::Clear() {
  TWPBusyScope busy;
  ClearSelection();
  CursorParagraph = nullptr;
  CursorLine = nullptr;
  CursorIndex = 0;
  TWPRTFText::Clear();
  SetCursorToStart();
  CurrentAttr = TAttr{};
  if (FirstParagraph) {
    FirstParagraph->SpaceBefore = 0;
    FirstParagraph->SpaceAfter = 0;
  }
}

void TWPRTFTextIo::Assign(const TWPRTFTextIo& source) {
  if (&source == this) return;
  TWPBusyScope busy;
  SourceDocument = &source;
  struct TForgetSource {
    TWPRTFTextIo& doc;
    ~TForgetSource() { doc.SourceDocument = nullptr; }
  } forgetSource{*this};

  PlainMode = source.PlainMode;
  Clear();
  Header.Assign(&source.Header);
  Header.Title = source.Header.Title;
  Header.Subject = source.Header.Subject;
  Header.Comment = source.Header.Comment;
  Header.RecomputePixelValues();
  try {
    CopyParagraphs(source);
  } catch (...) {
    Clear();  // no half-copied document stays behind
    throw;
  }
  SetCursorToStart();
  const int ownWidth = OwnTextWidthPixels();
  Header.SetTextWidthPixels(ownWidth > 0 ? ownWidth : Header.TextAreaWidthPixels);
  Changed();
}

void TWPRTFTextIo::CopyParagraphs(const TWPRTFTextIo& source) {
  std::map<int, int> footnoteIds, objectIds, secondaryIds;
  auto copyFootnote = [&](int id) -> int {
    if (auto known = footnoteIds.find(id); known != footnoteIds.end()) return known->second;
    const TFootnote* original = source.FindFootnote(id);
    if (!original) return id;
    TFootnote* copy = AddFootnote(original->Mark, original->Number, original->Text);
    copy->RawRtf = original->RawRtf;
    copy->ForceUnnumbered = original->ForceUnnumbered;
    return footnoteIds[id] = copy->Id;
  };
  auto copyObject = [&](int tag, bool secondary) -> int {
    auto& ids = secondary ? secondaryIds : objectIds;
    if (auto known = ids.find(tag); known != ids.end()) return known->second;
    const TTextObject* original = secondary ? source.FindObjectBySecondaryId(tag) : source.FindObject(tag);
    if (!original) return tag;
    TTextObject* copy = AddObject(original->Object ? original->Object->Clone() : nullptr, secondary ? 0 : -1);
    copy->Width = original->Width;
    copy->Height = original->Height;
    copy->KindFlag = original->KindFlag;
    copy->FileName = original->FileName;
    copy->InUse = original->InUse;
    return ids[tag] = secondary ? copy->SecondaryId : copy->Id;
  };

  TParagraph* previous = nullptr;
  for (const TParagraph* original = source.FirstParagraph; original; original = original->Next) {
    TParagraph* par = previous ? NewParagraph(previous, 8) : FirstParagraph;
    par->CopyAttributes(*original);
    par->CellStart = original->CellStart;
    par->CellWidth = original->CellWidth;
    par->CellFill = original->CellFill;
    par->Reserved2 = original->Reserved2;
    par->ParState = original->ParState | kParNeedsBoth;
    // Replace the paragraph's fresh line by copies of the original's lines.
    delete par->FirstLine;
    par->FirstLine = nullptr;
    TLine* last = nullptr;
    for (const TLine* from = original->FirstLine; from; from = from->Next) {
      TLine* line = NewLine(last, from->Capacity);
      if (!last) par->FirstLine = line;
      last = line;
      const std::size_t count = std::min<std::size_t>(from->Capacity, line->Capacity);
      std::memcpy(line->Text.get(), from->Text.get(), count);
      line->Length = std::min<std::uint16_t>(from->Length, static_cast<std::uint16_t>(line->Capacity - 1));
      line->Text[line->Length] = 0;
      line->Height = from->Height;
      line->Ascent = from->Ascent;
      line->Top = from->Top;
      line->LayoutByte = from->LayoutByte;
      line->LineFlags = from->LineFlags;
      line->LineWidth = from->LineWidth;
      line->SpaceWidth = from->SpaceWidth;
      line->SpaceExtra = from->SpaceExtra;
      if (!line->Attrs) continue;
      if (!from->Attrs) {
        std::fill(line->Attrs.get(), line->Attrs.get() + line->Capacity, CurrentAttr);
        continue;
      }
      std::memcpy(line->Attrs.get(), from->Attrs.get(), count * sizeof(TAttr));
      for (int i = 0; i < line->Length; ++i) {
        TAttr& attr = line->Attrs[i];
        const auto code = line->CharAt(i);
        if (attr.Special & kSpecialFootnote)
          attr.Tag = static_cast<std::uint16_t>(copyFootnote(attr.Tag));
        else if ((attr.Special & kSpecialObject) && (code == 1 || code == 2))
          attr.Tag = static_cast<std::uint16_t>(copyObject(attr.Tag, code == 2));
      }
    }
    previous = par;
  }
}

// --- loading -------------------------------------------------------------------------

TWPLoadFormat TWPRTFTextIo::DetectFormat(TStream& stream) {
  const std::int64_t start = stream.Position();
  TWPLoadFormat format = FormatANSI;

  std::uint8_t c = 0;
  bool more = stream.Read(&c, 1) == 1;
  while (more && IsLeadingWhiteSpace(c)) more = stream.Read(&c, 1) == 1;
  if (more && c == '{') {
    char word[4];
    if (stream.Read(word, 4) == 4 && std::memcmp(word, "\\rtf", 4) == 0) format = FormatRTF;
  }
  stream.SetPosition(start);
  if (format == FormatRTF) return format;

  char buffer[kHtmlSniffBytes];
  const std::size_t count = stream.Read(buffer, sizeof buffer);
  stream.SetPosition(start);
  bool collecting = false;
  std::string name;
  for (std::size_t i = 0; i < count && buffer[i] != 0; ++i) {
    const char b = buffer[i];
    if (b == '<') {
      collecting = true;
      name.clear();
    } else if (!collecting) {
      continue;
    } else if (b == '>') {
      collecting = false;
      if (IsHtmlTagName(name)) return FormatHTML;
    } else if (b == '\r') {
      collecting = false;
    } else {
      name += b;
      if (name.size() > 8) collecting = false;
    }
  }
  return format;
}

std::unique_ptr<TWPTextReader> TWPRTFTextIo::CreateReader(TWPLoadFormat format) const {
  if (UserReader && !IgnoreUserReaderWriter) return UserReader();
  // HTML is read as ANSI text.
  if (format == FormatRTF) return std::make_unique<TWPRtfReader>();
  return std::make_unique<TWPTextReader>();
}

TWPLoadFormat TWPRTFTextIo::FormatToLoad(TStream& stream) const {
  TWPLoadFormat format = LoadFormat;
  if (format != FormatRTF && format != FormatANSI && format != FormatHTML) format = DetectFormat(stream);
  // White space in front of the RTF group is not text of the document.
  if (format == FormatRTF) SkipWhiteSpace(stream);
  return format;
}

TWPLoadFormat TWPRTFTextIo::LoadFromStream(TStream& stream) {
  const TWPLoadFormat format = FormatToLoad(stream);
  LastError.clear();
  try {
    if (format == FormatANSI && stream.Size() > kPlainModeAbove) SetPlainMode();
    std::unique_ptr<TWPTextReader> reader = CreateReader(format);
    LoadWithReader(stream, *reader);
    ResultCode = reader->ResultCode();
  } catch (const std::exception& error) {
    ResultCode = kResultFailed;
    LastError = error.what();
  }
  return format;
}

TWPLoadFormat TWPRTFTextIo::ReadParagraphByParagraph(TStream& stream,
                                                     const std::function<void(TParagraph&)>& sink) {
  const TWPLoadFormat format = FormatToLoad(stream);
  LastError.clear();
  try {
    std::unique_ptr<TWPTextReader> reader = CreateReader(format);
    reader->SetTarget(&Header, this);
    reader->SetCharacterAttr(CurrentAttr);
    reader->ParagraphSink = sink;
    TParagraph* none = nullptr;
    reader->Read(&stream, none);
    ResultCode = reader->ResultCode();
  } catch (const std::exception& error) {
    ResultCode = kResultFailed;
    LastError = error.what();
  }
  return format;
}

TWPLoadFormat TWPRTFTextIo::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, TFileStream::Mode::OpenRead);
  const TWPLoadFormat format = LoadFromStream(file);
  Header.LastLoadFormat = format;
  return format;
}

namespace {
// Reads from a memory copy of a small file stream; the caller's stream ends
// up where reading stopped.
void ReadThroughMemory(TStream& stream, TWPTextReader& reader, TParagraph*& result) {
  if (dynamic_cast<TMemoryStream*>(&stream) || stream.Size() > TWPRTFTextIo::kMaxCopiedStream) {
    reader.Read(&stream, result);
    return;
  }
  const std::int64_t start = stream.Position();
  std::string bytes(static_cast<std::size_t>(std::max<std::int64_t>(0, stream.Remaining())), '\0');
  bytes.resize(stream.Read(bytes.data(), bytes.size()));
  TMemoryStream copy(std::move(bytes));
  struct TReposition {
    TStream& stream;
    TMemoryStream& copy;
    std::int64_t start;
    ~TReposition() { stream.SetPosition(start + copy.Position()); }
  } reposition{stream, copy, start};
  reader.Read(&copy, result);
}
}  // namespace

void TWPRTFTextIo::LoadWithReader(TStream& stream, TWPTextReader& reader) {
  ResultCode = kResultNothingDone;
  TWPProgress::Reset();
  TWPProgress::Start(100);
  TWPProgress::SetSubRange(50);
  reader.SetTarget(&Header, this);
  reader.SetCharacterAttr(CurrentAttr);
  const bool wasEmpty = IsEmpty();
  TParagraph* chain = nullptr;
  try {
    if (wasEmpty) {
      Header.Title.clear();
      Header.Subject.clear();
      Header.Comment.clear();
      TParagraph* first = FirstParagraph;
      ReadThroughMemory(stream, reader, first);
      bool clearAgain = false;
      if (OnLoadedIntoEmpty) OnLoadedIntoEmpty(*this, clearAgain);
      if (clearAgain) Clear();
      Header.RecomputeTextArea();
      SetCursorToStart();
    } else {
      ReadThroughMemory(stream, reader, chain);
      // Edits outside the editor may have removed the cursor's paragraph.
      if (!IsValidPosition(CursorParagraph, CursorLine, CursorIndex)) SetCursorToStart();
      bool allow = !IsProtected(CursorParagraph, CursorLine, CursorIndex);
      if (allow && OnBeforeInsert) OnBeforeInsert(*this, allow);
      TParagraph* loaded = chain;
      chain = nullptr;
      if (allow)
        InsertChain(CursorParagraph, CursorLine, CursorIndex, loaded);
      else
        FreeParagraphChain(loaded);
    }
    TWPProgress::Update(50);
    Changed();
    TWPProgress::Stop();
  } catch (...) {
    FreeParagraphChain(chain);
    TWPProgress::Reset();
    // A failed load leaves the document as it was: nothing is half inserted.
    if (wasEmpty) Clear();
    ResultCode = kResultNothingDone;
    throw;
  }
}

// --- saving --------------------------------------------------------------------------

TWPLoadFormat TWPRTFTextIo::SaveFormatFor() const {
  TWPLoadFormat format;
  if (SaveFormat == FormatRTF || SaveFormat == FormatANSI || SaveFormat == FormatHTML)
    format = SaveFormat;
  else if (Header.LastLoadFormat == FormatRTF || Header.LastLoadFormat == FormatANSI)
    format = static_cast<TWPLoadFormat>(Header.LastLoadFormat);
  else
    format = PlainMode ? FormatANSI : FormatRTF;
  if (format == FormatRTF && IsEmpty() && !SavingToNamedFile) format = FormatANSI;
  return format;
}

std::unique_ptr<TWPTextWriter> TWPRTFTextIo::CreateWriter(TWPLoadFormat format) {
  if (UserWriter && !IgnoreUserReaderWriter) return UserWriter();
  // HTML is written as ANSI text.
  if (format == FormatRTF) return std::make_unique<TWPRTFWriter>(*this);
  return std::make_unique<TWPTextWriter>(*this);
}

void TWPRTFTextIo::ApplyWriterOptions(TWPTextWriter& writer) const {
  writer.OmitInsertPoints = OmitInsertPoints;
  writer.OmitAutomaticText = OmitAutomaticText;
  writer.WriteBitmapAsDib = WriteBitmapAsDib;
  if (auto* rtf = dynamic_cast<TWPRTFWriter*>(&writer)) {
    rtf->WritePicturesAsBracketReferences = WritePicturesAsBracketReferences;
    rtf->OmitProtectedMark = OmitProtectedMark;
  }
}

void TWPRTFTextIo::SaveWithWriter(TStream& stream, TWPTextWriter& writer) {
  ApplyWriterOptions(writer);
  writer.DocumentEmpty = IsEmpty();
  ResultCode = writer.WriteAll(stream);
}

void TWPRTFTextIo::SaveToStream(TStream& stream) {
  std::unique_ptr<TWPTextWriter> writer = CreateWriter(SaveFormatFor());
  writer->SetWholeDocument();
  SaveWithWriter(stream, *writer);
}

void TWPRTFTextIo::SaveToFile(const std::string& fileName) {
  TRestore<TWPLoadFormat> keepFormat(SaveFormat);
  TRestore<bool> keepFlag(SavingToNamedFile);
  const std::string upper = UpperCase(fileName);
  if (upper.find(".RTF") != std::string::npos)
    SaveFormat = FormatRTF;
  else if (upper.find(".HTM") != std::string::npos)
    SaveFormat = FormatHTML;
  TFileStream file(fileName, TFileStream::Mode::Create);
  SavingToNamedFile = true;
  SaveToStream(file);
  try {
    file.Close();
  } catch (const EStreamError&) {
    ResultCode = kResultFailed;
  }
}

void TWPRTFTextIo::SaveSelectionToStream(TStream& stream, TWPTextWriter& writer) {
  if (!HasSelection() || !IsValidPosition(SelStartParagraph, SelStartLine, SelStartIndex) ||
      !IsValidPosition(SelEndParagraph, SelEndLine, SelEndIndex))
    return;
  TParagraph* startPar = SelStartParagraph;
  TLine* startLine = SelStartLine;
  int startIndex = SelStartIndex;
  TParagraph* endPar = SelEndParagraph;
  TLine* endLine = SelEndLine;
  int endIndex = SelEndIndex;
  if (PositionOf(startPar, startLine, startIndex) > PositionOf(endPar, endLine, endIndex)) {
    std::swap(startPar, endPar);
    std::swap(startLine, endLine);
    std::swap(startIndex, endIndex);
  }
  writer.SetRange(startPar, startLine, startIndex, endPar, endLine, endIndex);
  SaveWithWriter(stream, writer);
}

// --- the "Data" property ---------------------------------------------------------------

void TWPRTFTextIo::WriteData(TStream& stream) const {
  if (IsEmpty()) return;
  // Writing only reads the document (objects without a size get measured).
  TWPRTFWriter writer(const_cast<TWPRTFTextIo&>(*this));
  ApplyWriterOptions(writer);
  if (writer.WriteAll(stream) != kResultOk) throw EStreamError("Stream write error");
  static const char kTerminator[4] = {};
  stream.WriteBuffer(kTerminator, sizeof kTerminator);
}

void TWPRTFTextIo::ReadData(TStream& stream) {
  Clear();
  try {
    TWPRtfReader reader;
    reader.SetTarget(&Header, this);
    reader.SetCharacterAttr(CurrentAttr);
    TParagraph* first = FirstParagraph;
    reader.Read(&stream, first);
    SetCursorToStart();
    for (TParagraph* par = FirstParagraph; par; par = par->Next) par->ParState |= kParNeedsBoth;
    Changed();
  } catch (...) {
    Clear();
    throw;
  }
}

// --- string list view ---------------------------------------------------------------------

void TWPRtfStrings::Put(int index, const std::string& text) {
  FDocument.SetParagraphText(index, text.c_str(), &FDocument.CurrentAttr, static_cast<int>(text.size()));
}

void TWPRtfStrings::Insert(int index, const std::string& text) {
  FDocument.InsertParagraphText(index, text.c_str(), &FDocument.CurrentAttr, static_cast<int>(text.size()));
}

void TWPRtfStrings::LoadFromStream(TStream& stream) {
  FDocument.Clear();
  TRestore<TWPLoadFormat> keepFormat(FDocument.LoadFormat);
  FDocument.LoadFormat = AutomaticFormat;
  FDocument.LoadFromStream(stream);
}

void TWPRtfStrings::SaveToStream(TStream& stream) {
  TWPTextWriter writer(FDocument);
  FDocument.SaveWithWriter(stream, writer);
}
