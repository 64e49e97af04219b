#include "labelpage/LabelSheet.h"

#include <algorithm>
#include <exception>

TLabelSheet::TLabelSheet() = default;
TLabelSheet::~TLabelSheet() = default;

void TLabelSheet::SetLayout(const TLabelLayoutRecord* layout, bool keepContents) {
  const int oldCount = FLabelsPerPage;
  if (!keepContents)
    for (int n = 1; n <= oldCount; ++n) FStorages[n].reset();
  if (layout) FLayoutDescription = *layout;
  FLabelsPerPage =
      IsUsableLayout(FLayoutDescription) ? static_cast<int>(LabelCountOf(FLayoutDescription)) : 0;
  if (keepContents) {
    if (FLabelsPerPage < oldCount) ClearCellsFrom(FLabelsPerPage + 1);
    for (int n = 1; n <= FLabelsPerPage; ++n)
      if (!FStorages[n]) FStorages[n] = std::make_unique<TWPRtfStorage>();
  } else {
    for (int n = 1; n <= FLabelsPerPage; ++n) FStorages[n] = std::make_unique<TWPRtfStorage>();
  }
}

void TLabelSheet::Reset(const TLabelLayoutRecord& layout) {
  // Every slot is freed, also any a smaller layout left behind beyond its count.
  for (auto& storage : FStorages) storage.reset();
  FLayoutDescription = layout;
  FLabelsPerPage = IsUsableLayout(layout) ? static_cast<int>(LabelCountOf(layout)) : 0;
  for (int n = 1; n <= FLabelsPerPage; ++n) FStorages[n] = std::make_unique<TWPRtfStorage>();
}

TLabelDocument& TLabelSheet::GetCellText(int n, TLabelDocument& defaultText) {
  if (n >= 1 && n <= FLabelsPerPage && FStorages[n]) return FStorages[n]->RtfText();
  return defaultText;
}

const TLabelDocument* TLabelSheet::CellText(int n) const {
  if (n >= 1 && n <= FLabelsPerPage && FStorages[n]) return &FStorages[n]->RtfText();
  return nullptr;
}

bool TLabelSheet::ClearCell(int n) {
  std::unique_ptr<TWPRtfStorage>& storage = FStorages[n];
  if (!storage) return false;
  try {
    storage->RtfText().Assign(FEmptyStorage.RtfText());
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

void TLabelSheet::ClearAllCells() {
  for (int n = 1; n <= FLabelsPerPage; ++n) ClearCell(n);
}

void TLabelSheet::ClearCellsFrom(int n) {
  for (int i = std::max(n, 1); i <= MaxLabelsPerPage; ++i) ClearCell(i);
}
