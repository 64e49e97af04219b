#pragma once
// Profile (INI) files as the preferences and the recent-files list use them:
// "[Section]" headers and "Key=Value" lines, sections and keys compared
// without regard to letter case, keys kept in the order they stand in the
// file. Every call reads the file afresh and every write goes to the disk at
// once, so two objects on one file never see stale contents. A write leaves
// the other sections, keys, comments and blank lines as they were and
// replaces the file in one rename, so a failure never leaves half a file.
//
// Usage:
//   TIniFile ini(PreferencesFileName());
//   const int zoom = ini.ReadInteger("Zooming", "Main", 100);
//   ini.WriteInteger("Zooming", "Main", 80);           // EIniFileError on failure
//   for (const QString& line : ini.ReadSectionValues("MRU")) ...   // "F0=/path"
#include <QString>
#include <QStringList>
#include <stdexcept>

// "Unable to write to %s", with the file name in place of %s.
class EIniFileError : public std::runtime_error {
 public:
  explicit EIniFileError(const QString& fileName);
};

class TIniFile {
 public:
  explicit TIniFile(QString fileName);
  const QString& FileName() const { return FFileName; }

  // Missing file, section or key: the default. A value is the text after the
  // first '=' without the blanks around it, at most 1023 characters.
  QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
  // Decimal, or hexadecimal after "0x"/"0X"; text that is no number gives the default.
  int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
  // An integer; true when it is not 0.
  bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
  // The section's lines as "Key=Value", in file order.
  QStringList ReadSectionValues(const QString& section) const;

  // Raise EIniFileError when the file cannot be written.
  void WriteString(const QString& section, const QString& key, const QString& value);
  void WriteInteger(const QString& section, const QString& key, int value);
  void WriteBool(const QString& section, const QString& key, bool value);
  void EraseSection(const QString& section);

  // The integer rule of ReadInteger, for any text.
  static int ParseInteger(const QString& text, int defaultValue);

  static constexpr int kMaxValueLength = 1023;

 private:
  struct TContents;
  TContents Load() const;
  void Store(const TContents& contents) const;

  QString FFileName;
};
