#pragma once
// A list of label texts: pasted text, or a .txt or .csv file, cut into
// entries, one per label. Text comes one label per line, or with labels
// separated by blank lines (a label of several lines); CSV gives the fields
// of one column, parsed by libcsv (quoted fields with commas and line breaks
// in them). Entries become Windows-1252 bytes, as pasted text does, each
// line a paragraph of the label.
//
// Usage:
//   const QString text = ReadListFile(path);   // raises EListError
//   TListOptions options;
//   options.Csv = IsCsvFileName(path);
//   options.Column = 3;
//   options.Heading = true;
//   const TLabelList list = MakeLabelList(text, options);   // raises EListError
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <string>
#include <vector>

// Bad input: the message is for the user, one line.
class EListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TListOptions {
  bool Csv = false;
  int Column = 1;        // CSV: the column that holds the labels, from 1
  bool Heading = false;  // CSV: the first row names the columns
  // Text: a blank line ends a label, which may have several lines;
  // otherwise every line is a label.
  bool BlankLineSeparates = false;
};

struct TLabelList {
  // Windows-1252 bytes; a label's lines are separated by '\n'.
  std::vector<std::string> Entries;
  // Characters Windows-1252 lacks, each written as '?'.
  int Unconvertible = 0;
};

// A list file larger than this is refused: it is no list of labels.
constexpr qint64 kMaxListFileBytes = 10 * 1024 * 1024;
// An entry is kept to this many characters (the engine's longest line);
// no label holds that many anyway.
constexpr int kMaxEntryLength = 10000;

// A file name ending in ".csv", in any case.
bool IsCsvFileName(const QString& path);
// The text of a list file: UTF-8 (with or without a byte-order mark), UTF-16
// with a byte-order mark, or else Windows-1252. Raises EListError: "Unable to
// read PATH: REASON", "PATH is not a text file", "PATH is too large for a
// list (more than 10 MB)".
QString ReadListFile(const QString& path);
// Bytes read from a list file as text, as ReadListFile decodes them.
QString DecodeListBytes(const QByteArray& bytes);

// The rows of CSV text, fields unquoted. Raises EListError "Unbalanced
// quotes in line N" (N counted from 1, the line where the row with the
// fault begins).
std::vector<QStringList> ParseCsv(const QString& text);
// The most fields any row has.
int CsvColumnCount(const std::vector<QStringList>& rows);

// The entries of the text. Empty entries are left out. Raises EListError
// for bad CSV and for a column the list does not have ("Column 7 is out of
// range; the list has 5 columns").
TLabelList MakeLabelList(const QString& text, const TListOptions& options);
TLabelList EntriesFromCsv(const std::vector<QStringList>& rows, int column, bool heading);
TLabelList EntriesFromText(const QString& text, bool blankLineSeparates);
