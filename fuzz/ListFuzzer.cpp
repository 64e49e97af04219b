// Feeds arbitrary bytes to the list reader as a file's text would come: as
// lines, as blank-line-separated blocks and as CSV (each column of the first
// rows), and checks the entries: none empty, none longer than an entry may
// be, no control characters but tab and line break, and only the reader's
// own error for bad CSV.
#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "listfill/LabelList.h"

namespace {

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "bad entry: %s\n", what);
  std::abort();
}

void CheckList(const TLabelList& list) {
  for (const std::string& entry : list.Entries) {
    Check(!entry.empty(), "empty entry");
    Check(entry.size() <= static_cast<std::size_t>(kMaxEntryLength), "entry too long");
    for (unsigned char c : entry) Check(c >= 0x20 || c == '\t' || c == '\n', "control character");
    Check(entry.front() != '\n' && entry.back() != '\n', "blank line at an end");
  }
  Check(list.Unconvertible >= 0, "negative count");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text =
      DecodeListBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  CheckList(EntriesFromText(text, false));
  CheckList(EntriesFromText(text, true));
  try {
    const std::vector<QStringList> rows = ParseCsv(text);
    const int columns = std::min(CsvColumnCount(rows), 8);
    for (int column = 1; column <= columns; ++column)
      CheckList(EntriesFromCsv(rows, column, column % 2 == 0));
  } catch (const EListError&) {
  }
  return 0;
}
