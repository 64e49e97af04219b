// What we write must open in other programs' RTF readers with the same text
// and formatting. unrtf and LibreOffice (installed by the set-up scripts)
// turn our output into HTML, where fonts, sizes, colours, styles, alignment
// and paragraph spacing can be seen.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <string>
#include <vector>

#include "common/TestSupport.h"
#include "richtext/RtfTextIo.h"
#include "richtext/WriterTestSupport.h"

namespace {

QString ConvertedByUnrtf(const QString& rtfPath) {
  QProcess process;
  process.start(QStringLiteral("unrtf"), {QStringLiteral("--html"), rtfPath});
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

TEST(RtfOtherReaders, UnrtfSeesOurTextFontsSizesColoursStylesAndAlignment) {
  if (QStandardPaths::findExecutable(QStringLiteral("unrtf")).isEmpty())
    GTEST_SKIP() << "unrtf is not installed";
  QTemporaryDir dir;
  TWPRTFTextIo doc;
  doc.LoadFromFile(testsupport::DataFile(QStringLiteral("rtf/writer-rich.rtf")).toStdString());
  const QString written = dir.filePath(QStringLiteral("written.rtf"));
  doc.SaveToFile(written.toStdString());

  const QString html = ConvertedByUnrtf(written);
  ASSERT_FALSE(html.isEmpty());
  // Text, with the characters RTF must escape.
  for (const char* text :
       {"Plain ", "bold ", "italic ", "under ", "strike ", "{braces} \\ and &eacute;", "boxed", "still boxed",
        "ruled", "shaded", "cell 0a", "cell 1b", "after the table"})
    EXPECT_TRUE(html.contains(QString::fromLatin1(text))) << text;
  // Fonts and sizes (HTML sizes: 10 pt is 2, 12 pt is 3, 24 pt is 6).
  EXPECT_TRUE(html.contains(
      QStringLiteral(R"(<font face="Times New Roman"><font size="3"><font color="#000000"><b>bold </b>)")));
  EXPECT_TRUE(html.contains(
      QStringLiteral(R"(<font face="Arial"><font size="6"><font color="#000000"><s>strike </s>)")));
  // Colours and styles.
  EXPECT_TRUE(html.contains(QStringLiteral(R"(<font color="#ff0000"><i>italic </i>)")));
  EXPECT_TRUE(html.contains(QStringLiteral("<u>under </u>")));
  EXPECT_TRUE(html.contains(QStringLiteral("<sup>up</sup>")));
  // Alignment.
  EXPECT_TRUE(html.contains(QStringLiteral("<center>a")));
  EXPECT_TRUE(html.contains(QStringLiteral("<div align=\"right\">\nboxed")));
  EXPECT_TRUE(html.contains(QStringLiteral("<div align=\"justify\">\nprotected")));
  // A table of two rows of two cells.
  EXPECT_EQ(html.count(QStringLiteral("<tr>")), 3);
}

// LibreOffice as a peer: it reads what we write with each paragraph's own
// spacing, keep flag and alignment and each run's fonts, styles and colours,
// and we read what it writes. Each test starts LibreOffice with a profile of
// its own, so that tests running at the same time do not share one.
namespace {

class TLibreOffice {
 public:
  static bool Installed() { return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty(); }

  // Converts the file into the folder as format (html, odt, rtf); the path
  // of the result, empty on failure.
  QString Convert(const QString& path, const QString& format) {
    QProcess process;
    const QString profile = QUrl::fromLocalFile(FDir.filePath(QStringLiteral("profile"))).toString();
    process.start(QStringLiteral("soffice"),
                  {"-env:UserInstallation=" + profile, QStringLiteral("--headless"),
                   QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), FDir.path(), path});
    // The first start sets the profile up, which takes a while.
    if (!process.waitForFinished(180000)) return {};
    const QString result = FDir.filePath(QFileInfo(path).completeBaseName() + "." + format);
    return QFile::exists(result) ? result : QString();
  }
  QString FilePath(const QString& name) const { return FDir.filePath(name); }

 private:
  QTemporaryDir FDir;
};

// The HTML of each paragraph LibreOffice made, on one line.
QStringList HtmlParagraphs(const QString& html) {
  QStringList paragraphs;
  const QString flat = QString(html).replace('\n', ' ');
  for (qsizetype at = flat.indexOf(QStringLiteral("<p")); at >= 0;
       at = flat.indexOf(QStringLiteral("<p"), at + 2)) {
    const qsizetype end = flat.indexOf(QStringLiteral("</p>"), at);
    if (end < 0) break;
    paragraphs << flat.mid(at, end - at);
  }
  return paragraphs;
}

}  // namespace

TEST(RtfOtherReaders, LibreOfficeSeesEachParagraphsAndRunsFormatting) {
  if (!TLibreOffice::Installed())
    GTEST_SKIP() << "LibreOffice (soffice) is not installed: no peer to read our RTF";
  using writertest::Append;
  using writertest::Attr;
  TWPRTFTextIo doc;
  writertest::Reset(doc);
  doc.Header.FontNames[1] = "Times New Roman";
  TParagraph* spaced = doc.FirstParagraph;
  spaced->SpaceBefore = 400;
  spaced->SpaceAfter = 200;
  Append(doc, spaced, "Spaced ", Attr());
  Append(doc, spaced, "bold", Attr(0, 10, kStyleBold));
  TParagraph* unspaced = writertest::AddParagraph(doc, spaced);
  unspaced->SpaceBefore = unspaced->SpaceAfter = 0;
  Append(doc, unspaced, "Unspaced ", Attr());
  Append(doc, unspaced, "italic", Attr(1, 12, kStyleItalic, 1));
  TParagraph* kept = writertest::AddParagraph(doc, unspaced);
  kept->ParFlags = kParKeepTogether;
  Append(doc, kept, "Kept ", Attr());
  Append(doc, kept, "under", Attr(0, 10, kStyleUnderline, 3));
  TParagraph* right = writertest::AddParagraph(doc, kept);
  right->ParFlags = 0;  // a new paragraph takes over the one before's
  right->Alignment = 1;
  Append(doc, right, "Right", Attr(1, 10, kStyleBold, 2));
  TParagraph* last = writertest::AddParagraph(doc, right);
  last->Alignment = 0;
  Append(doc, last, "Last", Attr());

  TLibreOffice office;
  const QString written = office.FilePath(QStringLiteral("ours.rtf"));
  doc.SaveToFile(written.toStdString());
  const QString converted = office.Convert(written, QStringLiteral("html"));
  ASSERT_FALSE(converted.isEmpty()) << "soffice did not convert our RTF";
  const QStringList p = HtmlParagraphs(QString::fromUtf8(testsupport::ReadAll(converted)));
  ASSERT_EQ(p.size(), 5) << p.join('\n').toStdString();
  const auto has = [&p](int i, const char* part) { return p[i].contains(QLatin1String(part)); };
  // Spacing, keep and alignment belong to their own paragraph only.
  EXPECT_TRUE(has(0, "margin-top: 0.28in") && has(0, "margin-bottom: 0.14in")) << p[0].toStdString();
  for (int i : {1, 2, 3, 4}) {
    EXPECT_FALSE(has(i, "margin-top")) << p[i].toStdString();
    EXPECT_FALSE(has(i, "margin-bottom: 0.14in")) << p[i].toStdString();
  }
  for (int i : {0, 1, 3, 4}) EXPECT_FALSE(has(i, "page-break-inside: avoid")) << p[i].toStdString();
  EXPECT_TRUE(has(2, "page-break-inside: avoid")) << p[2].toStdString();
  for (int i : {0, 1, 2, 4}) EXPECT_FALSE(has(i, "align=\"right\"")) << p[i].toStdString();
  EXPECT_TRUE(has(3, "align=\"right\"")) << p[3].toStdString();
  // Runs: fonts, styles, colours.
  EXPECT_TRUE(has(0, "<font face=\"Arial") && has(0, "<b>bold</b>")) << p[0].toStdString();
  EXPECT_TRUE(has(1, "<font color=\"#ff0000\"><font face=\"Times New Roman")) << p[1].toStdString();
  EXPECT_TRUE(has(1, "font-size: 12pt\"><i>italic</i>")) << p[1].toStdString();
  EXPECT_TRUE(has(2, "<font color=\"#0000ff\">") && has(2, "<u>under</u>")) << p[2].toStdString();
  EXPECT_TRUE(has(3, "<font color=\"#008000\"><font face=\"Times New Roman") && has(3, "<b>Right</b>"))
      << p[3].toStdString();
  EXPECT_FALSE(has(4, "<b>") || has(4, "<i>") || has(4, "<u>")) << p[4].toStdString();
}

TEST(RtfOtherReaders, WeReadTheRtfLibreOfficeWrites) {
  if (!TLibreOffice::Installed())
    GTEST_SKIP() << "LibreOffice (soffice) is not installed: no peer writes RTF for us";
  TLibreOffice office;
  // A text document in the flat form of the OpenDocument format, made into
  // an .odt by LibreOffice itself and from that into RTF.
  const QString flat = office.FilePath(QStringLiteral("theirs.fodt"));
  QFile file(flat);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:font-face-decls>
  <style:font-face style:name="Liberation Sans" svg:font-family="'Liberation Sans'"/>
  <style:font-face style:name="Liberation Serif" svg:font-family="'Liberation Serif'"/>
 </office:font-face-decls>
 <office:automatic-styles>
  <style:style style:name="P1" style:family="paragraph">
   <style:paragraph-properties fo:keep-with-next="always"/>
   <style:text-properties style:font-name="Liberation Sans" fo:font-size="14pt" fo:font-weight="bold"/>
  </style:style>
  <style:style style:name="P2" style:family="paragraph">
   <style:text-properties style:font-name="Liberation Serif" fo:font-size="12pt"/>
  </style:style>
  <style:style style:name="P3" style:family="paragraph">
   <style:paragraph-properties fo:text-align="end"/>
   <style:text-properties style:font-name="Liberation Serif" fo:font-size="12pt"/>
  </style:style>
  <style:style style:name="T1" style:family="text"><style:text-properties fo:color="#ff0000"/></style:style>
  <style:style style:name="T2" style:family="text"><style:text-properties fo:font-style="italic"/></style:style>
  <style:style style:name="T3" style:family="text"><style:text-properties style:text-underline-style="solid" style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>
 </office:automatic-styles>
 <office:body><office:text>
  <text:p text:style-name="P1">Heading</text:p>
  <text:p text:style-name="P2">Body <text:span text:style-name="T1">red</text:span> <text:span text:style-name="T2">italic</text:span> <text:span text:style-name="T3">under</text:span> café €</text:p>
  <text:p text:style-name="P3">Right</text:p>
 </office:text></office:body>
</office:document>
)");
  file.close();
  const QString odt = office.Convert(flat, QStringLiteral("odt"));
  ASSERT_FALSE(odt.isEmpty()) << "soffice did not make the .odt";
  const QString rtf = office.Convert(odt, QStringLiteral("rtf"));
  ASSERT_FALSE(rtf.isEmpty()) << "soffice did not write RTF";

  TWPRTFTextIo doc;
  doc.LoadFromFile(rtf.toStdString());
  ASSERT_EQ(doc.ResultCode, 0) << doc.LastError;
  std::vector<std::string> texts;
  for (TParagraph* par = doc.FirstParagraph; par != nullptr; par = par->Next) texts.push_back(par->Text());
  ASSERT_GE(texts.size(), 3u);
  EXPECT_EQ(texts[0], "Heading");
  EXPECT_EQ(texts[1], "Body red italic under caf\xE9 \x80");
  EXPECT_EQ(texts[2], "Right");
  TParagraph* heading = doc.FirstParagraph;
  TParagraph* body = heading->Next;
  const auto attr = [](TParagraph* par, int i) { return par->FirstLine->Attrs[i]; };
  const auto font = [&doc](const TAttr& a) { return doc.Header.FontNames[a.FontIndex]; };
  EXPECT_EQ(font(attr(heading, 0)), "Liberation Sans");
  EXPECT_EQ(attr(heading, 0).Size, 14);
  EXPECT_TRUE(attr(heading, 0).Style & kStyleBold);
  EXPECT_TRUE(heading->ParFlags & kParKeepWithNext);
  EXPECT_EQ(font(attr(body, 0)), "Liberation Serif");
  EXPECT_EQ(attr(body, 0).Size, 12);
  EXPECT_EQ(attr(body, 0).Style, 0);
  EXPECT_EQ(doc.Header.Colors[attr(body, 5).TextColor()], 0x0000FFu);  // red
  EXPECT_EQ(doc.Header.Colors[attr(body, 0).TextColor()] & 0xFFFFFF, 0u);
  EXPECT_EQ(attr(body, 9).Style, kStyleItalic);
  EXPECT_EQ(attr(body, 16).Style, kStyleUnderline);
  EXPECT_EQ(body->Next->Alignment, 1);
  EXPECT_EQ(body->ParFlags & (kParKeepWithNext | kParKeepTogether), 0);
}
