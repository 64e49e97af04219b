#include "richtext/DocumentCheck.h"

#include <string>
#include <unordered_set>

#include "richtext/RtfText.h"

namespace {
std::string Where(int par, int line) {
  return "paragraph " + std::to_string(par) + ", line " + std::to_string(line) + ": ";
}
}  // namespace

std::string CheckDocument(const TWPRTFText& doc) {
  if (doc.FirstParagraph == nullptr) return "document has no paragraph";
  if (doc.FirstParagraph->Prev != nullptr) return "first paragraph has a previous paragraph";
  if (doc.Header.RtfMode == doc.PlainMode) return "header RTF mode disagrees with plain mode";
  std::unordered_set<const void*> seen;
  int parIndex = 0;
  for (const TParagraph* p = doc.FirstParagraph; p != nullptr; p = p->Next, ++parIndex) {
    if (!seen.insert(p).second) return "paragraph chain loops at paragraph " + std::to_string(parIndex);
    if (p->Next != nullptr && p->Next->Prev != p)
      return "paragraph " + std::to_string(parIndex) + ": next paragraph does not link back";
    if (p->FirstLine == nullptr) return "paragraph " + std::to_string(parIndex) + " has no line";
    if (p->FirstLine->Prev != nullptr)
      return "paragraph " + std::to_string(parIndex) + ": first line has a previous line";
    int lineIndex = 0;
    for (const TLine* l = p->FirstLine; l != nullptr; l = l->Next, ++lineIndex) {
      const std::string at = Where(parIndex, lineIndex);
      if (!seen.insert(l).second) return at + "line chain loops or a line is shared";
      if (l->Next != nullptr && l->Next->Prev != l) return at + "next line does not link back";
      if (l->Capacity > kMaxLineCapacity) return at + "capacity above 10000";
      if (l->Length >= l->Capacity)
        return at + "length " + std::to_string(l->Length) + " not below capacity " +
               std::to_string(l->Capacity);
      if (!l->Text) return at + "no text buffer";
      if (l->Text[l->Length] != 0) return at + "text not terminated by 0";
      if (doc.PlainMode && l->Attrs) return at + "attribute array in plain mode";
      if (!doc.PlainMode && !l->Attrs) return at + "no attribute array in RTF mode";
    }
  }
  return {};
}
