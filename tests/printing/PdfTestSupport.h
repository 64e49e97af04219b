#pragma once
// Reading printed pages back: the words of a PDF with their boxes
// (pdftotext -bbox), and a page rendered to an image (pdftoppm), both from
// poppler-utils.
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

#include "labelpage/LabelPageTestSupport.h"
#include "labelpage/LabelSheet.h"

namespace pdftest {

// One word, its box in points from the page's top-left corner.
struct TPdfWord {
  int Page = 0;  // from 1
  double XMin = 0, YMin = 0, XMax = 0, YMax = 0;
  QString Text;
};

struct TPdfText {
  int Pages = 0;
  double PageWidth = 0, PageHeight = 0;  // of the first page, in points
  std::vector<TPdfWord> Words;

  // The first word reading text, or null.
  const TPdfWord* Find(const QString& text, int page = 1) const {
    for (const TPdfWord& word : Words)
      if (word.Text == text && word.Page == page) return &word;
    return nullptr;
  }
  QStringList TextsOnPage(int page) const {
    QStringList texts;
    for (const TPdfWord& word : Words)
      if (word.Page == page) texts << word.Text;
    return texts;
  }
};

// Output of a poppler tool run on a file; empty when it failed.
inline QByteArray RunTool(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0)
    return {};
  return process.readAllStandardOutput();
}

inline TPdfText ReadPdfText(const QString& path) {
  TPdfText text;
  const QString html = QString::fromUtf8(RunTool(QStringLiteral("pdftotext"), {"-bbox", path, "-"}));
  static const QRegularExpression page(QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)">)re"));
  static const QRegularExpression word(QStringLiteral(
      R"re(<word xMin="([\d.-]+)" yMin="([\d.-]+)" xMax="([\d.-]+)" yMax="([\d.-]+)">([^<]*)</word>)re"));
  for (const QString& line : html.split(QLatin1Char('\n'))) {
    if (const QRegularExpressionMatch m = page.match(line); m.hasMatch()) {
      if (++text.Pages == 1) {
        text.PageWidth = m.captured(1).toDouble();
        text.PageHeight = m.captured(2).toDouble();
      }
    } else if (const QRegularExpressionMatch m = word.match(line); m.hasMatch()) {
      text.Words.push_back({text.Pages, m.captured(1).toDouble(), m.captured(2).toDouble(),
                            m.captured(3).toDouble(), m.captured(4).toDouble(), m.captured(5)});
    }
  }
  return text;
}

// Page page of the PDF in grey at ppi pixels per inch; a null image when it failed.
inline QImage RenderPdfPage(const QString& path, int page, int ppi) {
  QTemporaryDir folder;
  const QString base = folder.filePath(QStringLiteral("page"));
  const QString number = QString::number(page);
  RunTool(QStringLiteral("pdftoppm"),
          {"-gray", "-r", QString::number(ppi), "-f", number, "-l", number, "-singlefile", path, base});
  return QImage(base + QStringLiteral(".pgm"));
}

// A sheet of the 2 x 15 file folder layout whose label n reads "L<n>".
inline void FillNumberedSheet(TLabelSheet& sheet) {
  sheet.Reset(labelpagetest::FileFolderSheet());
  for (int n = 1; n <= sheet.LabelsPerPage(); ++n)
    labelpagetest::PutText(sheet.Storage(n)->RtfText(), "L" + std::to_string(n));
}

}  // namespace pdftest
