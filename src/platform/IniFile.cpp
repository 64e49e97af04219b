#include "platform/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace {

bool SameName(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) == 0; }

// The name of a "[Section]" line.
std::optional<QString> SectionNameOf(const QString& line) {
  const QString text = line.trimmed();
  if (!text.startsWith(QLatin1Char('['))) return std::nullopt;
  const int close = text.indexOf(QLatin1Char(']'));
  return text.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

// Where the key of a "Key=Value" line ends; -1 for headers, comments and
// lines without '='.
int EqualsOf(const QString& line) {
  const QString text = line.trimmed();
  if (text.startsWith(QLatin1Char(';')) || text.startsWith(QLatin1Char('['))) return -1;
  return line.indexOf(QLatin1Char('='));
}

QString KeyOf(const QString& line, int equals) { return line.left(equals).trimmed(); }

QString ValueOf(const QString& line, int equals) {
  return line.mid(equals + 1).trimmed().left(TIniFile::kMaxValueLength);
}

// A line break inside a value would start a line of its own and could pose as
// another key or section.
QString OneLine(QString value) {
  value.replace(QLatin1Char('\r'), QLatin1Char(' '));
  value.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return value;
}

}  // namespace

struct TIniFile::TContents {
  QStringList Lines;
  QString LineEnd = QStringLiteral("\n");

  // The header line of the first section of that name, or -1.
  int FindSection(const QString& section) const {
    for (int i = 0; i < Lines.size(); ++i)
      if (const auto name = SectionNameOf(Lines[i]); name && SameName(*name, section)) return i;
    return -1;
  }
  // The line after the section's last line.
  int SectionEnd(int header) const {
    int i = header + 1;
    while (i < Lines.size() && !SectionNameOf(Lines[i])) ++i;
    return i;
  }
  int FindKey(int header, const QString& key) const {
    for (int i = header + 1, end = SectionEnd(header); i < end; ++i)
      if (const int eq = EqualsOf(Lines[i]); eq >= 0 && SameName(KeyOf(Lines[i], eq), key)) return i;
    return -1;
  }
  std::optional<QString> Value(const QString& section, const QString& key) const {
    const int header = FindSection(section);
    const int line = header < 0 ? -1 : FindKey(header, key);
    if (line < 0) return std::nullopt;
    return ValueOf(Lines[line], EqualsOf(Lines[line]));
  }
};

EIniFileError::EIniFileError(const QString& fileName)
    : std::runtime_error((QStringLiteral("Unable to write to ") + fileName).toLocal8Bit().toStdString()) {}

TIniFile::TIniFile(QString fileName) : FFileName(std::move(fileName)) {}

TIniFile::TContents TIniFile::Load() const {
  TContents contents;
  QFile file(FFileName);
  if (FFileName.isEmpty() || !file.open(QIODevice::ReadOnly)) return contents;
  const QString text = QString::fromUtf8(file.readAll());
  const int firstBreak = text.indexOf(QLatin1Char('\n'));
  if (firstBreak > 0 && text[firstBreak - 1] == QLatin1Char('\r')) contents.LineEnd = QStringLiteral("\r\n");
  contents.Lines = text.split(QLatin1Char('\n'));
  if (text.endsWith(QLatin1Char('\n'))) contents.Lines.removeLast();
  for (QString& line : contents.Lines)
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
  return contents;
}

void TIniFile::Store(const TContents& contents) const {
  // The file is replaced by a rename, which would pass over a file the user
  // made read-only; such a file must refuse the write as it would in place.
  QFile existing(FFileName);
  if (QFileInfo::exists(FFileName) && !existing.open(QIODevice::WriteOnly | QIODevice::Append))
    throw EIniFileError(FFileName);
  existing.close();

  QSaveFile file(FFileName);
  if (FFileName.isEmpty() || !file.open(QIODevice::WriteOnly)) throw EIniFileError(FFileName);
  QString text;
  for (const QString& line : contents.Lines) text += line + contents.LineEnd;
  const QByteArray bytes = text.toUtf8();
  if (file.write(bytes) != bytes.size() || !file.commit()) throw EIniFileError(FFileName);
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const {
  return Load().Value(section, key).value_or(defaultValue);
}

int TIniFile::ParseInteger(const QString& text, int defaultValue) {
  bool ok = false;
  if (text.size() > 2 && (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X")))) {
    const QString digits = text.mid(2);
    // Eight hexadecimal digits at most, taken as the 32 bits of the number.
    const uint value = digits.toUInt(&ok, 16);
    return ok && !digits.startsWith(QLatin1Char('+')) ? static_cast<int>(value) : defaultValue;
  }
  const int value = text.toInt(&ok, 10);
  return ok ? value : defaultValue;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
  const auto value = Load().Value(section, key);
  return value ? ParseInteger(*value, defaultValue) : defaultValue;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

QStringList TIniFile::ReadSectionValues(const QString& section) const {
  const TContents contents = Load();
  QStringList values;
  const int header = contents.FindSection(section);
  if (header < 0) return values;
  for (int i = header + 1, end = contents.SectionEnd(header); i < end; ++i) {
    const QString& line = contents.Lines[i];
    if (const int eq = EqualsOf(line); eq >= 0)
      values << KeyOf(line, eq) + QLatin1Char('=') + ValueOf(line, eq);
  }
  return values;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  TContents contents = Load();
  const QString text = OneLine(value);
  const int header = contents.FindSection(section);
  if (header < 0) {
    // A new section goes at the end, after a blank line.
    if (!contents.Lines.isEmpty() && !contents.Lines.last().trimmed().isEmpty()) contents.Lines << QString();
    contents.Lines << QLatin1Char('[') + section + QLatin1Char(']') << key + QLatin1Char('=') + text;
  } else if (const int line = contents.FindKey(header, key); line >= 0) {
    // The key keeps its spelling in the file; an unchanged value is not written again.
    const QString replaced =
        KeyOf(contents.Lines[line], EqualsOf(contents.Lines[line])) + QLatin1Char('=') + text;
    if (replaced == contents.Lines[line]) return;
    contents.Lines[line] = replaced;
  } else {
    // A new key follows the section's last line that is not blank.
    int after = contents.SectionEnd(header);
    while (after - 1 > header && contents.Lines[after - 1].trimmed().isEmpty()) --after;
    contents.Lines.insert(after, key + QLatin1Char('=') + text);
  }
  Store(contents);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
  WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
  WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::EraseSection(const QString& section) {
  TContents contents = Load();
  bool erased = false;
  // Every section of that name goes, so that what is written next stands alone.
  for (int header; (header = contents.FindSection(section)) >= 0; erased = true)
    contents.Lines.erase(contents.Lines.begin() + header,
                         contents.Lines.begin() + contents.SectionEnd(header));
  if (erased) Store(contents);
}
