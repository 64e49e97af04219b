// The RTF reader against hostile and broken input: whatever arrives, it
// must not crash, hang or allocate without bound, and the document it leaves
// must be consistent.
#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <chrono>
#include <random>
#include <string>

#include "common/TestSupport.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfReaderTestSupport.h"
#include "richtext/RtfTextIo.h"

using readertest::ReadRtf;

namespace {

// Reads rtf expecting the parameter error; returns the document read so far.
readertest::TReadDocument ReadExpectingOverflow(const std::string& rtf, const std::string& message) {
  auto doc = std::make_unique<TWPRTFText>();
  TWPRtfReader reader;
  reader.SetTarget(&doc->Header, doc.get());
  TMemoryStream stream(rtf);
  TParagraph* first = doc->FirstParagraph;
  try {
    reader.Read(&stream, first);
    ADD_FAILURE() << "no error for " << rtf;
  } catch (const EReaderError& e) {
    EXPECT_EQ(e.what(), message);
  }
  EXPECT_EQ(reader.ResultCode(), TWPTextReader::kResultFailed);
  EXPECT_EQ(CheckDocument(*doc), "");
  readertest::TReadDocument result;
  result.Doc = std::move(doc);
  result.ResultCode = reader.ResultCode();
  return result;
}

}  // namespace

TEST(RtfReaderRobustness, ParameterBeyond32BitsRaisesAndKeepsTextReadSoFar) {
  auto r = ReadExpectingOverflow("{\\rtf1 kept\\par more\\fs99999999999 lost}",
                                 "'99999999999' is not a valid integer value");
  EXPECT_EQ(r.AllText(), "kept|more");
  ReadExpectingOverflow("{\\rtf1\\li-2147483649 x}", "'-2147483649' is not a valid integer value");
  // Only 20 digits make the parameter; they overflow all the same.
  ReadExpectingOverflow("{\\rtf1\\b" + std::string(30, '9') + "}",
                        "'" + std::string(20, '9') + "' is not a valid integer value");
  // Extreme values that fit are accepted and clamped where they are used.
  auto ok = ReadRtf(
      "{\\rtf1\\li2147483647\\fi-2147483648\\ri-2147483648\\fs2147483647\\tx2147483647\\brdrw2147483647"
      "\\paperw-2147483648\\sl-2147483648 x\\par\\li-2147483648 y}");
  EXPECT_EQ(ok.AllText(), "x|y");
  EXPECT_EQ(ok.AttrAt(0, 0).Size, 255);
  EXPECT_EQ(ok.Par(0)->BorderWidth, 255);
  EXPECT_EQ(ok.Par(0)->LineSpacing, -0x7FFFFF);
}

TEST(RtfReaderRobustness, LoadFromStreamCatchesTheParameterErrorWithResult7) {
  TWPRTFTextIo doc;
  TMemoryStream stream(std::string("{\\rtf1 kept\\par\\sa4294967296 x}"));
  EXPECT_EQ(doc.LoadFromStream(stream), FormatRTF);
  EXPECT_EQ(doc.ResultCode, 7);
  EXPECT_EQ(doc.LastError, "'4294967296' is not a valid integer value");
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfReaderRobustness, UnbalancedBraces) {
  EXPECT_EQ(ReadRtf("}}}{\\rtf1 text}").AllText(), "");
  EXPECT_EQ(ReadRtf("{\\rtf1 open{\\b never closed").AllText(), "opennever closed");
  EXPECT_EQ(ReadRtf("{\\rtf1 a}}}b").AllText(), "a");
  EXPECT_EQ(ReadRtf("plain words {\\b bold} tail").AllText(), "plain words bold");
}

TEST(RtfReaderRobustness, DeepNestingIsBoundedAndFast) {
  const auto start = std::chrono::steady_clock::now();
  const int depth = 200000;
  std::string deep = std::string(depth, '{') + "\\b deep" + std::string(depth, '}') + "after";
  auto r = ReadRtf(deep);
  EXPECT_EQ(r.AllText(), "deep");
  // Opened and never closed, with attributes changing at every level.
  std::string open;
  for (int i = 0; i < 50000; ++i) open += "{\\b\\li10 x";
  EXPECT_EQ(ReadRtf(open).Doc->FirstParagraph->TextLength(), 50000);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(RtfReaderRobustness, BinSkipsItsBytesWhateverTheyAre) {
  EXPECT_EQ(ReadRtf(std::string("{\\rtf1 a\\bin4 }{\\") + '\0' + "b\\bin-3 c\\bin d\\bin0 e}").AllText(),
            "abcde");
  ReadExpectingOverflow("{\\rtf1\\bin999999999999 abc}", "'999999999999' is not a valid integer value");
  ReadExpectingOverflow("{\\rtf1 a\\bin2147483647 g}", "The RTF text ends inside binary data");
}

TEST(RtfReaderRobustness, UnterminatedHexAndControlWordsAtTheEnd) {
  EXPECT_EQ(ReadRtf("{\\rtf1 ab\\'").AllText(), "ab");
  EXPECT_EQ(ReadRtf("{\\rtf1 ab\\'4").AllText(), "ab");
  EXPECT_EQ(ReadRtf("{\\rtf1 ab\\").AllText(), "ab");
  EXPECT_EQ(ReadRtf("{\\rtf1 ab\\fs-").AllText(), "ab");
  // A brace ends the group even while a hex byte is pending.
  EXPECT_EQ(ReadRtf("{\\rtf1{\\'4}x\\'{\\b}4a}").AllText(), "xJ");
}

TEST(RtfReaderRobustness, PicturesThatNeverClose) {
  auto r = ReadRtf("{\\rtf1 before{\\pict\\wmetafile8\\picw10\\pich10 0102030405" + std::string(100000, 'a'));
  EXPECT_EQ(r.AllText(), "before");
  EXPECT_TRUE(r.Doc->Objects().empty());
  auto f = ReadRtf("{\\rtf1 a{\\*\\picfile \"never closed}} \\par b");
  EXPECT_EQ(f.AllText(), "a");
  // Empty and odd pictures close without harm.
  auto e = ReadRtf("{\\rtf1{\\pict}{\\pict\\dibitmap0 01}{\\pict\\wbitmap0 zz}{\\*\\picfile \"\"}x}");
  EXPECT_EQ(e.Doc->FirstParagraph->Text().back(), 'x');
}

TEST(RtfReaderRobustness, LongLinesAreSplitBelowTheLineLimit) {
  const std::string text(25000, 'x');
  auto r = ReadRtf("{\\rtf1 " + text + "\\par " + std::string(10000, 'y') + "}");
  EXPECT_EQ(r.Text(0), text);
  EXPECT_EQ(r.Text(1), std::string(10000, 'y'));
  for (TParagraph* p : r.Paragraphs())
    for (TLine* l = p->FirstLine; l != nullptr; l = l->Next) EXPECT_LE(l->Capacity, 60);
  // A control word of any length.
  EXPECT_EQ(ReadRtf("{\\rtf1\\" + std::string(100000, 'z') + " ok}").AllText(), "ok");
}

TEST(RtfReaderRobustness, TablesBeyondTheirLimits) {
  std::string rtf = "{\\rtf1\\trowd";
  for (int i = 1; i <= 70; ++i) rtf += "\\clbrdrt\\clcfpat2\\cellx" + std::to_string(i * 100);
  rtf += "\\clmrg\\clmrg\\trgaph99999\\cellx-5\\trleft-9";
  for (int i = 0; i < 80; ++i) rtf += "\\intbl c\\cell";
  rtf += "\\row\\cell\\row\\row}";
  auto r = ReadRtf(rtf);
  EXPECT_GE(r.Paragraphs().size(), 80u);
  const std::string all = r.AllText();
  EXPECT_EQ(std::count(all.begin(), all.end(), 'c'), 80);
  // Fonts and tabs beyond their tables.
  std::string fonts = "{\\rtf1{\\fonttbl";
  for (int i = 0; i < 130; ++i) fonts += "{\\f" + std::to_string(i) + " Font" + std::to_string(i) + ";}";
  fonts += "}";
  for (int i = 0; i < 100; ++i) fonts += "\\tx" + std::to_string(1000 + i * 1000);
  fonts += "\\f98 x\\f120 y}";
  auto f = ReadRtf(fonts);
  EXPECT_EQ(f.Doc->Header.FontNames[98], "Font98");
  EXPECT_EQ(f.AllText(), "xy");
}

TEST(RtfReaderRobustness, RandomTokenSoupNeverBreaksTheDocument) {
  static const std::string kTokens[] = {
      "{",
      "}",
      "{",
      "}",
      "\\par ",
      "\\cell ",
      "\\row ",
      "\\trowd",
      "\\cellx2000",
      "\\intbl ",
      "\\clmrg",
      "\\pict ",
      "\\wmetafile8 ",
      "\\dibitmap0 ",
      "0a1b",
      "\\*",
      "\\picfile ",
      "\"",
      "\\fonttbl",
      "\\f1 ",
      "Arial;",
      "\\colortbl",
      ";",
      "\\red255",
      "\\footnote ",
      "\\title ",
      "\\wprtf1 ",
      "\\wprtf0",
      "\\'",
      "e9",
      "\\'4",
      "\\b ",
      "\\plain ",
      "\\pard",
      "\\li-300",
      "\\fi500",
      "\\tx1000",
      "\\box",
      "\\brdrt",
      "\\shading5000",
      "\\cfpat3",
      "text ",
      "\\\\",
      "\\{",
      "\\line ",
      "\\tab ",
      "\\u8364?",
      "\\wpobjtag5",
      "\\'01",
      "\\bin4 ",
      "\\field",
      "\\v ",
      "\\inspnt2 ",
      "\\page ",
      std::string(1, '\0'),
      "\r\n",
  };
  std::mt19937 random(4242);
  std::uniform_int_distribution<int> token(0, static_cast<int>(std::size(kTokens)) - 1);
  std::uniform_int_distribution<int> count(1, 300);
  for (int round = 0; round < 1500; ++round) {
    std::string rtf = "{\\rtf1 ";
    const int n = count(random);
    for (int i = 0; i < n; ++i) rtf += kTokens[token(random)];
    try {
      ReadRtf(rtf);
    } catch (const EReaderError& e) {
      // parameter overflow cannot come from these tokens; \bin at the end can
      if (std::string(e.what()) != "The RTF text ends inside binary data") ADD_FAILURE() << rtf;
    }
    if (HasFailure()) {
      ADD_FAILURE() << "input: " << rtf;
      break;
    }
  }
}

// Inputs the fuzzer found; each once crashed or broke the document.
TEST(RtfReaderRobustness, FuzzerRegressionFilesReadCleanly) {
  const QString dir = testsupport::DataFile("rtf");
  const QStringList names = QDir(dir).entryList({"regression-*"}, QDir::Files);
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    const QByteArray bytes = testsupport::ReadAll(dir + "/" + name);
    try {
      ReadRtf(bytes.toStdString());
    } catch (const EReaderError&) {
      // a parameter beyond 32 bits: reported, not a crash
    }
  }
}
