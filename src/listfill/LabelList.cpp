#include "listfill/LabelList.h"

#include <csv.h>

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

#include "richtext/gui/AnsiCodec.h"

namespace {

constexpr QChar kByteOrderMark(0xFEFF);

QString Trimmed(const QString& line) { return line.trimmed(); }

// Line breaks of any system as '\n'.
QString UnixLineBreaks(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// Control characters other than tab and line break are no label text.
void BlankControlCharacters(QString& text) {
  for (QChar& c : text)
    if ((c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n')) || c.unicode() == 0x7F)
      c = QLatin1Char(' ');
}

// One label from its lines: each line trimmed, blank lines at either end
// left out; nothing when no line holds text.
void AddEntry(TLabelList& list, const QStringList& lines) {
  QStringList kept;
  for (const QString& line : lines) kept << Trimmed(line);
  while (!kept.isEmpty() && kept.first().isEmpty()) kept.removeFirst();
  while (!kept.isEmpty() && kept.last().isEmpty()) kept.removeLast();
  if (kept.isEmpty()) return;
  QString entry = kept.join(QLatin1Char('\n')).left(kMaxEntryLength);
  BlankControlCharacters(entry);
  list.Entries.push_back(wpansi::FromQString(entry, &list.Unconvertible));
}

// Collects the rows libcsv reports.
struct TCsvRows {
  std::vector<QStringList> Rows;
  QStringList Row;

  static void Field(void* data, size_t size, void* self) {
    static_cast<TCsvRows*>(self)->Row
        << QString::fromUtf8(static_cast<const char*>(data), static_cast<qsizetype>(size));
  }
  static void RowEnd(int, void* self) {
    auto& rows = *static_cast<TCsvRows*>(self);
    rows.Rows.push_back(std::move(rows.Row));
    rows.Row.clear();
  }
};

EListError UnbalancedQuotes(int line) {
  return EListError("Unbalanced quotes in line " + std::to_string(line));
}

}  // namespace

bool IsCsvFileName(const QString& path) { return path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive); }

QString DecodeListBytes(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
    QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                      : QStringConverter::Utf16BE);
    return utf16(bytes.mid(2));
  }
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString text = utf8(bytes);
  if (!utf8.hasError()) return text;
  return wpansi::ToQString(bytes.constData(), static_cast<int>(bytes.size()));
}

QString ReadListFile(const QString& path) {
  const std::string name = path.toStdString();
  if (QFileInfo(path).isDir()) throw EListError("Unable to read " + name + ": it is a folder");
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw EListError("Unable to read " + name + ": " + file.errorString().toStdString());
  // Read no further than the limit: the file may be huge, or endless.
  const QByteArray bytes = file.read(kMaxListFileBytes + 1);
  if (file.error() != QFileDevice::NoError)
    throw EListError("Unable to read " + name + ": " + file.errorString().toStdString());
  if (bytes.size() > kMaxListFileBytes) throw EListError(name + " is too large for a list (more than 10 MB)");
  const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
  const QString text = DecodeListBytes(bytes);
  if ((!utf16 && bytes.contains('\0')) || (utf16 && text.contains(QChar(0))))
    throw EListError(name + " is not a text file");
  return text;
}

std::vector<QStringList> ParseCsv(const QString& text) {
  QByteArray bytes = text.toUtf8();
  csv_parser parser;
  if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) throw std::bad_alloc();
  struct TFree {
    csv_parser& Parser;
    ~TFree() { csv_free(&Parser); }
  } freeParser{parser};

  // Fed line by line, so that a fault is found in its line; a row that a
  // quoted line break continues began on the line where it opened.
  TCsvRows rows;
  int line = 0;
  int rowStart = 1;
  bool rowOpen = false;
  qsizetype from = 0;
  while (from < bytes.size()) {
    ++line;
    qsizetype end = bytes.indexOf('\n', from);
    end = end < 0 ? bytes.size() : end + 1;
    if (!rowOpen) rowStart = line;
    const std::size_t rowsBefore = rows.Rows.size();
    const auto length = static_cast<std::size_t>(end - from);
    if (csv_parse(&parser, bytes.constData() + from, length, TCsvRows::Field, TCsvRows::RowEnd, &rows) !=
        length) {
      if (csv_error(&parser) == CSV_ENOMEM || csv_error(&parser) == CSV_ETOOBIG) throw std::bad_alloc();
      throw UnbalancedQuotes(line);
    }
    if (rows.Rows.size() > rowsBefore)
      rowOpen = false;
    else if (!bytes.mid(from, end - from).trimmed().isEmpty())
      rowOpen = true;
    from = end;
  }
  if (csv_fini(&parser, TCsvRows::Field, TCsvRows::RowEnd, &rows) != 0) throw UnbalancedQuotes(rowStart);
  return std::move(rows.Rows);
}

int CsvColumnCount(const std::vector<QStringList>& rows) {
  qsizetype count = 0;
  for (const QStringList& row : rows) count = std::max(count, row.size());
  return static_cast<int>(count);
}

TLabelList EntriesFromCsv(const std::vector<QStringList>& rows, int column, bool heading) {
  TLabelList list;
  if (rows.empty()) return list;
  const int columns = CsvColumnCount(rows);
  if (column < 1 || column > columns)
    throw EListError("Column " + std::to_string(column) + " is out of range; the list has " +
                     std::to_string(columns) + (columns == 1 ? " column" : " columns"));
  for (std::size_t r = heading ? 1 : 0; r < rows.size(); ++r) {
    const QStringList& row = rows[r];
    if (column <= row.size()) AddEntry(list, UnixLineBreaks(row[column - 1]).split(QLatin1Char('\n')));
  }
  return list;
}

TLabelList EntriesFromText(const QString& text, bool blankLineSeparates) {
  TLabelList list;
  const QStringList lines = UnixLineBreaks(text).split(QLatin1Char('\n'));
  if (!blankLineSeparates) {
    for (const QString& line : lines) AddEntry(list, {line});
    return list;
  }
  QStringList entry;
  for (const QString& line : lines) {
    if (Trimmed(line).isEmpty()) {
      AddEntry(list, entry);
      entry.clear();
    } else {
      entry << line;
    }
  }
  AddEntry(list, entry);
  return list;
}

TLabelList MakeLabelList(const QString& text, const TListOptions& options) {
  const QString body = text.startsWith(kByteOrderMark) ? text.mid(1) : text;
  if (options.Csv) return EntriesFromCsv(ParseCsv(body), options.Column, options.Heading);
  return EntriesFromText(body, options.BlankLineSeparates);
}
