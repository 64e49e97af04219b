// The document's lists: embedded objects, footnotes and numbering styles,
// and the generated numbering text of numbered paragraphs.
#include <algorithm>

#include "richtext/RtfText.h"
#include "richtext/TextCase.h"

// ---------------------------------------------------------------------------
// Embedded objects

TTextObject* TWPRTFText::AddObjectRecord(TEmbeddedObject* object, bool owned, int id) {
  auto record = std::make_unique<TTextObject>();
  record->Object = object;
  record->Owned = owned;
  if (id == -1) {
    int largest = kFirstAutomaticObjectId - 1;
    for (const auto& o : FObjects) largest = std::max<int>(largest, o->Id);
    record->Id = static_cast<std::uint16_t>(largest + 1);
  } else if (id == 0) {
    int largest = 0;
    for (const auto& o : FObjects) largest = std::max<int>(largest, o->SecondaryId);
    record->SecondaryId = static_cast<std::uint16_t>(largest + 1);
  } else {
    record->Id = static_cast<std::uint16_t>(id);
  }
  if (object == nullptr && id != -1 && OnRequestObject) OnRequestObject(*this, *record);
  FObjects.push_back(std::move(record));
  return FObjects.back().get();
}

TTextObject* TWPRTFText::AddObject(std::unique_ptr<TEmbeddedObject> object, int id) {
  TEmbeddedObject* raw = object.release();
  return AddObjectRecord(raw, true, id);
}

TTextObject* TWPRTFText::AddObjectReference(TEmbeddedObject* object, int id) {
  return AddObjectRecord(object, false, id);
}

TTextObject* TWPRTFText::FindObject(int id) const {
  for (const auto& o : FObjects)
    if (o->Id == id) return o.get();
  return nullptr;
}

TTextObject* TWPRTFText::FindObjectBySecondaryId(int secondaryId) const {
  for (const auto& o : FObjects)
    if (o->SecondaryId == secondaryId) return o.get();
  return nullptr;
}

TTextObject* TWPRTFText::FindObjectByFileName(const std::string& fileName) const {
  if (fileName.empty()) return nullptr;
  for (const auto& o : FObjects)
    if (SameTextIgnoringCase(o->FileName, fileName)) return o.get();
  return nullptr;
}

void TWPRTFText::ClearObjectsInUse() {
  for (auto& o : FObjects) o->InUse = false;
}

void TWPRTFText::SweepObjects() {
  std::erase_if(FObjects, [](const std::unique_ptr<TTextObject>& o) { return !o->InUse; });
}

void TWPRTFText::MeasureObject(TTextObject* record) const {
  if (record == nullptr) return;
  int w = 32;
  int h = 32;
  if (const TEmbeddedObject* object = record->Object) {
    if (object->Kind() == TObjectKind::Control) {
      w = object->PixelWidth();
      h = object->PixelHeight();
    } else if (object->Kind() != TObjectKind::Other) {
      const int ppi = WPEngine().ScreenPixelsPerInch > 0 ? WPEngine().ScreenPixelsPerInch : 96;
      // Pixel sizes come from files: 64 bits, and no larger than the reader
      // accepts a twip size.
      auto twips = [ppi](int pixels) {
        return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{pixels} * 1440 / ppi, 0, kMaxTwips));
      };
      w = twips(object->PixelWidth());
      h = twips(object->PixelHeight());
    }
  }
  if (record->Width == 0) record->Width = w;
  if (record->Height == 0) record->Height = h;
}

// ---------------------------------------------------------------------------
// Footnotes

TFootnote* TWPRTFText::AddFootnote(char mark, int number, const std::string& text) {
  int largest = 0;
  for (const auto& f : FFootnotes) largest = std::max<int>(largest, f->Id);
  auto note = std::make_unique<TFootnote>();
  note->Mark = mark;
  note->Number = number;
  note->Id = static_cast<std::uint16_t>(largest + 1);
  note->Text = text;
  FFootnotes.push_back(std::move(note));
  return FFootnotes.back().get();
}

TFootnote* TWPRTFText::FindFootnote(int id) const {
  for (const auto& f : FFootnotes)
    if (f->Id == id) return f.get();
  return nullptr;
}

void TWPRTFText::ClearFootnotes() { FFootnotes.clear(); }

// ---------------------------------------------------------------------------
// Numbering

TNumberingStyle* TWPRTFText::AddNumberingStyle(const std::uint8_t* settings, const std::string& name) {
  if (TNumberingStyle* found = FindNumberingStyle(name)) return found;
  int largest = 0;
  for (const auto& s : FStyles) largest = std::max<int>(largest, s->Number);
  auto style = std::make_unique<TNumberingStyle>();
  if (settings != nullptr)
    std::copy(settings, settings + TNumberingStyle::kSettingsSize, style->Settings.begin());
  style->Name = UpperCase(name.substr(0, TNumberingStyle::kMaxNameLength));
  style->Number = static_cast<std::uint8_t>(largest + 1);
  FStyles.push_back(std::move(style));
  return FStyles.back().get();
}

TNumberingStyle* TWPRTFText::FindNumberingStyle(int number) const {
  for (const auto& s : FStyles)
    if (s->Number == number) return s.get();
  return nullptr;
}

TNumberingStyle* TWPRTFText::FindNumberingStyle(const std::string& name) const {
  const std::string wanted = UpperCase(name.substr(0, TNumberingStyle::kMaxNameLength));
  for (const auto& s : FStyles)
    if (s->Name == wanted) return s.get();
  return nullptr;
}

void TWPRTFText::ClearNumberingStyles() { FStyles.clear(); }

void TWPRTFText::RefreshNumbering() {
  if (PlainMode) return;  // generated text is only recognisable by its attributes
  constexpr int kLevels = 8;
  int counters[kLevels] = {};
  const TAttr carry = CarryAttr;
  bool any = false;
  for (TParagraph* p = FirstParagraph; p != nullptr; p = p->Next) {
    const int kind = p->NumberingKind();
    // Old generated characters at the start go first.
    int generated = 0;
    for (TLine* l = p->FirstLine; l != nullptr; l = l->Next) {
      int i = 0;
      while (i < l->Length && l->Attrs && (l->Attrs[i].Special & kSpecialNumbering)) ++i;
      generated += i;
      if (i < l->Length) break;
    }
    if (generated > 0) {
      DeleteChars(p, 0, generated);
      any = true;
    }
    if (kind == kNumberNone) {
      std::fill(std::begin(counters), std::end(counters), 0);
      continue;
    }
    const int level = p->NumberingLevel();
    ++counters[level];
    std::fill(counters + level + 1, counters + kLevels, 0);
    const std::string text = NumberingText(kind, counters[level]);
    if (text.empty()) continue;
    TAttr attr = CurrentAttr;
    for (TLine* l = p->FirstLine; l != nullptr; l = l->Next)
      if (l->Length > 0 && l->Attrs) {
        attr = l->Attrs[0];
        break;
      }
    attr.Special = static_cast<std::uint8_t>(
        (attr.Special & ~(kSpecialInsertPoint | kSpecialAutomatic | kSpecialObject | kSpecialFootnote)) |
        kSpecialNumbering);
    attr.Tag = 0;
    if (kind == kNumberBullet) {
      const int slot = Header.FindOrAddFont(kBulletFontName);
      if (slot < TTextHeader::kFontSlots) attr.FontIndex = static_cast<std::uint8_t>(slot);
    }
    InsertText(p, 0, &attr, text.c_str());
    any = true;
  }
  CarryAttr = carry;
  if (any) Changed();
}
