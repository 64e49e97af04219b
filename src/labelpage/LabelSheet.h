#pragma once
// One sheet of labels: the layout it follows, one rich text storage per
// label, which labels the next print run prints and the printing nudges.
// It also keeps the undo history of the labels' texts.
// The page panel shows a sheet, the label page file reads and writes one,
// the label renderer paints its labels; none of them needs a window.
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "labelpage/EditHistory.h"
#include "labelpage/LabelLayout.h"
#include "labelpage/OneBasedArray.h"
#include "richtext/RtfStorage.h"

// The document a label's storage holds.
using TLabelDocument = std::remove_reference_t<decltype(std::declval<TWPRtfStorage&>().RtfText())>;
using TLabelStorages = TOneBasedArray<std::unique_ptr<TWPRtfStorage>, MaxLabelsPerPage>;

constexpr int MaxPrintFlags = 501;
using TPrintFlags = TOneBasedArray<bool, MaxPrintFlags>;

class TLabelSheet {
 public:
  TLabelSheet();
  ~TLabelSheet();
  TLabelSheet(const TLabelSheet&) = delete;
  TLabelSheet& operator=(const TLabelSheet&) = delete;

  const TLabelLayoutRecord& LayoutDescription() const { return FLayoutDescription; }
  // NumberAcross x NumberDown of the layout; 0 before any layout.
  int LabelsPerPage() const { return FLabelsPerPage; }

  // Makes layout current (null keeps the current one, as a name that matches
  // no known layout does). KeepContents keeps the labels the new sheet still
  // has and empties the rest; otherwise every label starts empty.
  void SetLayout(const TLabelLayoutRecord* layout, bool keepContents);
  // A new sheet of a usable layout with labels 1..count empty; every other
  // slot holds no storage. What a label page file does before it reads labels.
  void Reset(const TLabelLayoutRecord& layout);

  // Storage slot of label n (1..200); empty beyond LabelsPerPage. A holder
  // may replace the storage object.
  std::unique_ptr<TWPRtfStorage>& Storage(int n) { return FStorages[n]; }
  const std::unique_ptr<TWPRtfStorage>& Storage(int n) const { return FStorages[n]; }
  // Label n's document when 1 <= n <= LabelsPerPage and it has a storage,
  // else defaultText.
  TLabelDocument& GetCellText(int n, TLabelDocument& defaultText);
  // Label n's document, or null when the sheet has no such label.
  const TLabelDocument* CellText(int n) const;
  // A storage that stays empty: the source when a label is cleared.
  const TWPRtfStorage& EmptyStorage() const { return FEmptyStorage; }

  // Empties label n. False when it has no storage or its document could not
  // be emptied; one label's failure never stops a clearing of several.
  bool ClearCell(int n);
  void ClearAllCells();
  // Empties every label from n to 200 that has a storage.
  void ClearCellsFrom(int n);

  // Which labels the next print run prints, 1..501.
  TPrintFlags& PrintFlags() { return FPrintFlags; }
  const TPrintFlags& PrintFlags() const { return FPrintFlags; }

  // Undo and redo of changes to the labels' texts.
  TEditHistory& History() { return FHistory; }
  const TEditHistory& History() const { return FHistory; }

  // Printer nudges in thousandths of an inch, set by printing.
  int TopMarginNudgeThousandthInches = 0;
  int LeftMarginNudgeThousandthInches = 0;
  int VerticalSpacingThousandthInches = 0;
  int HorizontalSpacingThousandthInches = 0;

 private:
  TLabelLayoutRecord FLayoutDescription;
  int FLabelsPerPage = 0;
  TLabelStorages FStorages;
  TWPRtfStorage FEmptyStorage;
  TPrintFlags FPrintFlags;
  TEditHistory FHistory{*this};
};
