// Generated documents through reading and writing: whatever the reader
// accepts, the writer's output of it must read back to the same output
// (a fixed point after one pass), with the same text, pictures and
// footnotes. A few hundred seeds run with every test run; a long run takes
//   test_richtext --gtest_filter='RoundTripProperty.*' --seeds N [--first-seed S]
// and "--save-documents DIR" keeps every generated document (fuzzing seeds).
// A failing seed is reported with the smallest input that still fails.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/TestSupport.h"
#include "richtext/DocumentCheck.h"
#include "richtext/RtfGenerator.h"
#include "richtext/RtfTextIo.h"
#include "richtext/RtfWriter.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

constexpr int kDefaultSeeds = 300;
constexpr int kMostReportedFailures = 3;

struct TFault {
  std::string Kind;  // shrinking keeps to inputs that fail the same way
  std::string Detail;
};

std::string PlainText(const TWPRTFText& doc) {
  std::string text;
  for (const TParagraph* p = doc.FirstParagraph; p; p = p->Next) text += p->Text() + '\n';
  return text;
}

// Object characters and footnote references that find their record.
std::pair<int, int> PicturesAndFootnotes(const TWPRTFText& doc) {
  int pictures = 0, footnotes = 0;
  for (const TParagraph* p = doc.FirstParagraph; p; p = p->Next)
    for (const TLine* l = p->FirstLine; l; l = l->Next)
      for (int i = 0; l->Attrs && i < l->Length; ++i) {
        const TAttr& a = l->Attrs[i];
        if ((a.Special & kSpecialObject) &&
            (l->CharAt(i) == 1 ? doc.FindObject(a.Tag) : doc.FindObjectBySecondaryId(a.Tag)))
          ++pictures;
        if ((a.Special & kSpecialFootnote) && doc.FindFootnote(a.Tag)) ++footnotes;
      }
  return {pictures, footnotes};
}

std::optional<TFault> Read(const std::string& rtf, int pixelsPerInch, TWPRTFTextIo& doc) {
  doc.Header.XPixelsPerInch = doc.Header.YPixelsPerInch = pixelsPerInch;
  doc.Header.RecomputePixelValues();
  doc.LoadFormat = FormatRTF;
  TMemoryStream stream(rtf);
  doc.LoadFromStream(stream);
  if (doc.ResultCode != kResultOk) return TFault{"not read", doc.LastError};
  const std::string problem = CheckDocument(doc);
  if (!problem.empty()) return TFault{"inconsistent document", problem};
  return std::nullopt;
}

std::string Write(TWPRTFTextIo& doc) {
  TMemoryStream stream;
  TWPRTFWriter writer(doc);
  writer.WriteAll(stream);
  return stream.Data();
}

std::string Around(const std::string& s, std::size_t at) {
  const std::size_t from = at > 40 ? at - 40 : 0;
  return "..." + s.substr(from, 80) + "...";
}

// Reads rtf, writes it, reads and writes that again.
std::optional<TFault> RoundTripFault(const std::string& rtf, int pixelsPerInch) {
  try {
    TWPRTFTextIo first;
    if (auto fault = Read(rtf, pixelsPerInch, first)) return fault;
    const std::string written = Write(first);
    TWPRTFTextIo second;
    if (auto fault = Read(written, pixelsPerInch, second)) {
      fault->Kind = "own output " + fault->Kind;
      return fault;
    }
    const std::string again = Write(second);
    if (again != written) {
      std::size_t at = 0;
      while (at < written.size() && at < again.size() && written[at] == again[at]) ++at;
      return TFault{"output is not a fixed point",
                    "first written\n  " + Around(written, at) + "\nthen\n  " + Around(again, at)};
    }
    if (PlainText(first) != PlainText(second))
      return TFault{"text changed", "'" + PlainText(first) + "'\nbecame\n'" + PlainText(second) + "'"};
    const auto [pictures, footnotes] = PicturesAndFootnotes(first);
    const auto [picturesAgain, footnotesAgain] = PicturesAndFootnotes(second);
    if (pictures != picturesAgain)
      return TFault{"pictures lost", std::to_string(pictures) + " became " + std::to_string(picturesAgain)};
    if (footnotes != footnotesAgain)
      return TFault{"footnotes lost",
                    std::to_string(footnotes) + " became " + std::to_string(footnotesAgain)};
  } catch (const std::exception& e) {
    return TFault{"exception", e.what()};
  }
  return std::nullopt;
}

// --- shrinking ------------------------------------------------------------------

// Group braces, control words and symbols (with their delimiter) and runs of
// other bytes.
std::vector<std::string> Tokens(const std::string& rtf) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  while (i < rtf.size()) {
    const std::size_t start = i;
    const char c = rtf[i];
    if (c == '{' || c == '}') {
      ++i;
    } else if (c == '\\') {
      ++i;
      if (i < rtf.size() && rtf[i] >= 'a' && rtf[i] <= 'z') {
        while (i < rtf.size() && rtf[i] >= 'a' && rtf[i] <= 'z') ++i;
        if (i < rtf.size() && rtf[i] == '-') ++i;
        while (i < rtf.size() && rtf[i] >= '0' && rtf[i] <= '9') ++i;
        if (i < rtf.size() && rtf[i] == ' ') ++i;
      } else if (i < rtf.size()) {
        i += rtf[i] == '\'' ? std::min<std::size_t>(3, rtf.size() - i) : 1;
      }
    } else {
      while (i < rtf.size() && rtf[i] != '{' && rtf[i] != '}' && rtf[i] != '\\') ++i;
    }
    tokens.push_back(rtf.substr(start, i - start));
  }
  return tokens;
}

std::string Join(const std::vector<std::string>& tokens) {
  std::string joined;
  for (const std::string& t : tokens) joined += t;
  return joined;
}

// Whether removing tokens [from, to) keeps the groups balanced.
bool Balanced(const std::vector<std::string>& tokens, std::size_t from, std::size_t to) {
  int depth = 0;
  for (std::size_t i = from; i < to; ++i) {
    depth += tokens[i] == "{" ? 1 : tokens[i] == "}" ? -1 : 0;
    if (depth < 0) return false;
  }
  return depth == 0;
}

// Removes what it can from rtf while fails() holds: chunks of balanced
// tokens from large to single ones, then bytes of text runs.
std::string Shrink(const std::string& rtf, const std::function<bool(const std::string&)>& fails) {
  std::vector<std::string> tokens = Tokens(rtf);
  int budget = 20000;
  auto attempt = [&](std::vector<std::string> candidate) {
    if (--budget < 0 || !fails(Join(candidate))) return false;
    tokens = std::move(candidate);
    return true;
  };
  for (bool progress = true; progress && budget > 0;) {
    progress = false;
    for (std::size_t size = tokens.size() / 2; size >= 1; size /= 2) {
      for (std::size_t from = 1; from + size < tokens.size();) {
        std::vector<std::string> candidate = tokens;
        candidate.erase(candidate.begin() + static_cast<std::ptrdiff_t>(from),
                        candidate.begin() + static_cast<std::ptrdiff_t>(from + size));
        if (Balanced(tokens, from, from + size) && attempt(std::move(candidate)))
          progress = true;
        else
          ++from;
      }
    }
    for (std::size_t t = 0; t < tokens.size(); ++t) {
      if (tokens[t].empty() || tokens[t][0] == '\\' || tokens[t] == "{" || tokens[t] == "}") continue;
      for (std::size_t c = 0; c < tokens[t].size();) {
        std::vector<std::string> candidate = tokens;
        candidate[t].erase(c, 1);
        if (attempt(std::move(candidate)))
          progress = true;
        else
          ++c;
      }
    }
  }
  return Join(tokens);
}

// --- the run ----------------------------------------------------------------------

struct TRunState {
  std::uint32_t Seed = 0;
  const std::string* Document = nullptr;
};
TRunState gCurrent;

#if defined(__SANITIZE_ADDRESS__)
// A sanitizer report ends the process; say which document caused it.
void ReportCurrentDocument() {
  if (gCurrent.Document == nullptr) return;
  std::fprintf(stderr, "\nround trip seed %u was running on:\n%s\n", gCurrent.Seed,
               gCurrent.Document->c_str());
}
#endif

int PixelsPerInchFor(std::uint32_t seed) { return seed % 2 == 0 ? 96 : 0; }

std::uint32_t NumberOption(const char* name, std::uint32_t fallback) {
  const std::optional<std::string> value = testsupport::CommandLineValue(name);
  return value ? static_cast<std::uint32_t>(std::stoul(*value)) : fallback;
}

}  // namespace

TEST(RoundTripProperty, GeneratedDocumentsSettleAfterOnePassKeepingTheirContents) {
  const std::uint32_t first = NumberOption("--first-seed", 1);
  const std::uint32_t seeds = NumberOption("--seeds", kDefaultSeeds);
  const std::optional<std::string> saveTo = testsupport::CommandLineValue("--save-documents");
#if defined(__SANITIZE_ADDRESS__)
  __sanitizer_set_death_callback(ReportCurrentDocument);
#endif
  const auto started = std::chrono::steady_clock::now();
  int failures = 0;
  for (std::uint32_t seed = first; seed - first < seeds && failures < kMostReportedFailures; ++seed) {
    const std::string rtf = rtfgen::TRtfGenerator(seed).Document();
    gCurrent = {seed, &rtf};
    if (saveTo)
      std::ofstream(*saveTo + "/generated-" + std::to_string(seed) + ".rtf", std::ios::binary) << rtf;
    const int ppi = PixelsPerInchFor(seed);
    const std::optional<TFault> fault = RoundTripFault(rtf, ppi);
    if (!fault) continue;
    ++failures;
    const std::string shrunk = Shrink(rtf, [&](const std::string& candidate) {
      const std::optional<TFault> again = RoundTripFault(candidate, ppi);
      return again && again->Kind == fault->Kind;
    });
    const std::optional<TFault> shrunkFault = RoundTripFault(shrunk, ppi);
    ADD_FAILURE() << "seed " << seed << " (" << (ppi ? "96 ppi" : "no resolution") << "): " << fault->Kind
                  << "\nshrunk input: " << shrunk << "\n"
                  << (shrunkFault ? shrunkFault->Detail : std::string()) << "\nrerun: --first-seed " << seed
                  << " --seeds 1";
  }
  gCurrent = {};
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("round trip: seeds %u to %u, %d failing, %.1f s\n", first, first + seeds - 1, failures,
              seconds);
}

// Small inputs that once broke the round trip, each for one fault mended.
TEST(RoundTripProperty, InputsThatOnceFailedSettle) {
  std::string manyFonts = "{\\rtf1{\\fonttbl";
  for (int i = 0; i < 101; ++i) manyFonts += "{\\f" + std::to_string(i) + " Font " + std::to_string(i) + ";}";
  manyFonts += "}\\f98 x\\f0 y}";
  const struct {
    const char* What;
    std::string Rtf;
  } cases[] = {
      {"picture sized from an overflowing pixel size",
       "{\\rtf1{\\pict\\wbitmap0\\pich2000000\\picscaley0 29}}"},
      {"picture goal size beyond what is read",
       "{\\rtf1{\\pict\\wmetafile8\\picwgoal8000000\\picscalex200 29}}"},
      {"picture scaled to nothing", "{\\rtf1{\\pict\\picw1414\\picwgoal35\\picscalex1 00}}"},
      {"raw RTF with a tab and a high byte", "{\\rtf1\\wprtf1 a\tb\xe9\\wprtf0}"},
      {"control byte in text", "{\\rtf1 a\\'02b}"},
      {"runs written alike", "{\\rtf1{\\plain Q}r}"},
      {"text in a font the table does not define", manyFonts},
      {"document ending in a table", "{\\rtf1\\trowd\\cellx2000\\cellx4000\\intbl a\\cell b\\cell\\row}"},
      {"paragraph after a table",
       "{\\rtf1\\trowd\\cellx2000\\cellx4000\\intbl A\\cell B\\cell\\row\\pard C}"},
      {"one-cell rows",
       "{\\rtf1\\trowd\\cellx2000\\intbl a\\cell\\row\\trowd\\cellx2000\\intbl b\\cell\\row}"},
      {"zero-width cells",
       "{\\rtf1\\trowd\\cellx1000\\cellx1000\\cellx1000\\intbl a\\cell b\\cell c\\cell\\row}"},
      {"cell without its \\cellx", "{\\rtf1\\trowd\\cellx2000\\intbl a\\cell b\\cell\\row}"},
      {"row defining more cells than it fills",
       "{\\rtf1\\trowd\\cellx2716\\cellx4322\\cellx6781\\intbl a\\cell b\\cell\\row}"},
      {"tab stops of a cell", "{\\rtf1\\tx1440 a\\par\\trowd\\cellx2000\\intbl b\\cell\\row}"},
      {"cell shaded fully with a background colour",
       "{\\rtf1\\shading10000\\trowd\\clcfpat0\\clcbpat5\\cellx1000\\intbl a\\cell\\row}"},
      {"paragraph shaded fully with a background colour", "{\\rtf1\\shading10000\\cfpat0\\cbpat5 x}"},
      {"pattern colour without a percentage", "{\\rtf1\\cfpat12 x}"},
      {"footnote after a picture", "{\\rtf1 a{\\pict\\wmetafile8\\picw100\\pich100 0102}{\\footnote note}c}"},
      {"footnote after RTF source", "{\\rtf1\\wprtf1 }\\wprtf0{\\footnote n}}"},
      {"border without sides", "{\\rtf1\\brdrdb x}"},
      {"side border without spacing", "{\\rtf1\\brdrl\\brsp0 x}"},
      {"tab stops met in another order", "{\\rtf1\\tx1440\\pard\\tx2880 a\\par\\tx1440\\tx2880 b}"},
      {"empty last paragraph with attributes", "{\\rtf1\\sb374 a\\par}"},
  };
  for (const auto& c : cases) {
    for (const int ppi : {0, 96}) {
      const std::optional<TFault> fault = RoundTripFault(c.Rtf, ppi);
      EXPECT_FALSE(fault) << c.What << " at " << ppi << " ppi: " << fault->Kind << "\n" << fault->Detail;
    }
  }
}
