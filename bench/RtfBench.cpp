// Reading and writing speed of the RTF engine on generated documents of a
// few megabytes of formatted text: one with a few runs per paragraph, one
// with a change of font, size, colour and bold every four words. Run with
// --write-sample FILE or --write-formatted-sample FILE to store the
// generated RTF (bench/rtf-vs-unrtf.sh compares them with unrtf).
#include <cstdio>
#include <cstring>
#include <string>

#include "BenchmarkMain.h"
#include "richtext/RtfTextIo.h"
#include "richtext/RtfWriter.h"

namespace {

// Deterministic pseudo-random numbers, so every run measures the same text.
class TSequence {
 public:
  unsigned Next(unsigned range) {
    FState = FState * 1103515245u + 12345u;
    return (FState >> 16) % range;
  }

 private:
  unsigned FState = 20261208u;
};

const char* const kWords[] = {"label",   "folder", "invoice",   "tax",     "r\xe9sum\xe9",
                              "archive", "2026",   "client",    "{draft}", "project",
                              "budget",  "notes",  "contracts", "\\misc"};

// About `paragraphs` paragraphs of three to five runs in four fonts, several
// sizes, colours and styles, some with tab stops and alignment.
void BuildDocument(TWPRTFTextIo& doc, int paragraphs) {
  doc.Clear();
  doc.Header.FontNames[0] = "Arial";
  doc.Header.FontNames[1] = "Times New Roman";
  doc.Header.FontNames[2] = "Courier New";
  doc.Header.FontNames[3] = "Symbol";
  const TTabSet tabs = doc.Header.InsertTab(1440, tkLeft) | doc.Header.InsertTab(4320, tkRight);
  TSequence random;
  TParagraph* par = doc.FirstParagraph;
  for (int p = 0; p < paragraphs; ++p) {
    if (p > 0) par = doc.NewParagraph(par, 60);
    par->Alignment = static_cast<std::uint8_t>(random.Next(4));
    par->TabSet = random.Next(5) == 0 ? tabs : 0;
    const int runs = 3 + static_cast<int>(random.Next(3));
    for (int r = 0; r < runs; ++r) {
      TAttr attr{};
      attr.FontIndex = static_cast<std::uint8_t>(random.Next(4));
      static const std::uint8_t kSizes[] = {8, 10, 11, 12, 14, 18, 24};
      attr.Size = kSizes[random.Next(7)];
      attr.Colors = static_cast<std::uint8_t>(random.Next(15));  // the colours RTF carries
      attr.Style = static_cast<std::uint8_t>(random.Next(8));    // bold, italic, underline
      std::string text;
      const int words = 2 + static_cast<int>(random.Next(6));
      for (int w = 0; w < words; ++w) {
        text += kWords[random.Next(sizeof kWords / sizeof kWords[0])];
        text += random.Next(10) == 0 ? '\t' : ' ';
      }
      TLine* line = doc.LastLine(par);
      if (line->Length + text.size() > 200) line = doc.NewLine(line, 220);
      doc.ReplaceChars(par, line, &attr, static_cast<int>(text.size()), text.data(), 0, line->Length);
    }
  }
}

// Paragraphs of twenty runs of four words, each run in another font, size
// and colour, every other one bold: about 8 MB of RTF for 160000 runs.
void BuildFormattedDocument(TWPRTFTextIo& doc, int runs) {
  doc.Clear();
  doc.Header.FontNames[0] = "Arial";
  doc.Header.FontNames[1] = "Times New Roman";
  doc.Header.FontNames[2] = "Courier New";
  TSequence random;
  TParagraph* par = doc.FirstParagraph;
  for (int r = 0; r < runs; ++r) {
    if (r > 0 && r % 20 == 0) par = doc.NewParagraph(par, 60);
    TAttr attr{};
    attr.FontIndex = static_cast<std::uint8_t>(r % 3);
    static const std::uint8_t kSizes[] = {9, 10, 11, 12, 14};
    attr.Size = kSizes[r % 5];
    attr.Colors = static_cast<std::uint8_t>(r % 15);
    attr.Style = r % 2 == 0 ? kStyleBold : 0;
    std::string text;
    for (int w = 0; w < 4; ++w) {
      text += kWords[random.Next(sizeof kWords / sizeof kWords[0])];
      text += ' ';
    }
    TLine* line = doc.LastLine(par);
    if (line->Length + text.size() > 200) line = doc.NewLine(line, 220);
    doc.ReplaceChars(par, line, &attr, static_cast<int>(text.size()), text.data(), 0, line->Length);
  }
}

std::string Written(TWPRTFTextIo& doc) {
  TMemoryStream stream;
  TWPRTFWriter writer(doc);
  writer.WriteAll(stream);
  return stream.Data();
}

const std::string& SampleRtf() {
  static const std::string rtf = [] {
    TWPRTFTextIo doc;
    BuildDocument(doc, 15000);
    return Written(doc);
  }();
  return rtf;
}

const std::string& FormattedSampleRtf() {
  static const std::string rtf = [] {
    TWPRTFTextIo doc;
    BuildFormattedDocument(doc, 160000);
    return Written(doc);
  }();
  return rtf;
}

// Loading the RTF into a whole document, as the program does.
void ReadIntoDocuments(benchmark::State& state, const std::string& rtf) {
  for (auto _ : state) {
    TWPRTFTextIo doc;
    TMemoryStream stream(rtf);
    doc.LoadFromStream(stream);
    if (doc.ResultCode != 0) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(doc.FirstParagraph);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
  state.counters["rtf_bytes"] = static_cast<double>(rtf.size());
}

void BM_ReadRtf(benchmark::State& state) { ReadIntoDocuments(state, SampleRtf()); }
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);

void BM_ReadFormattedRtf(benchmark::State& state) { ReadIntoDocuments(state, FormattedSampleRtf()); }
BENCHMARK(BM_ReadFormattedRtf)->Unit(benchmark::kMillisecond);

void BM_WriteRtf(benchmark::State& state) {
  TWPRTFTextIo doc;
  TMemoryStream input(SampleRtf());
  doc.LoadFromStream(input);
  std::size_t written = 0;
  for (auto _ : state) {
    TMemoryStream stream;
    TWPRTFWriter writer(doc);
    if (writer.WriteAll(stream) != 0) state.SkipWithError("write failed");
    written = stream.Data().size();
    benchmark::DoNotOptimize(stream.Data().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * written));
}
BENCHMARK(BM_WriteRtf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    const bool formatted = std::strcmp(argv[i], "--write-formatted-sample") == 0;
    if (formatted || std::strcmp(argv[i], "--write-sample") == 0) {
      const std::string& rtf = formatted ? FormattedSampleRtf() : SampleRtf();
      std::FILE* file = std::fopen(argv[i + 1], "wb");
      if (!file || std::fwrite(rtf.data(), 1, rtf.size(), file) != rtf.size()) return 1;
      std::fclose(file);
      return 0;
    }
  }
  return RunBenchmarks(argc, argv);
}
