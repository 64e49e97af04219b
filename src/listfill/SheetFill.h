#pragma once
// Filling a sheet's labels from a list: which label each entry goes to (the
// plan, with the summary the user sees before agreeing), and writing the
// entries into their labels in the default editor font, each cut at the
// last line that fits its label. The fill dialog and the command line both
// go this way.
//
// Usage:
//   const TFillPlan plan = PlanFill(sheet, list.Entries.size(), start, replace);
//   summary->setText(FillSummary(plan, list.Unconvertible));
//   const TFillResult result = FillSheet(sheet, list.Entries, plan, font);
//   if (!result.CutLabels.empty()) ShowInformation(CutReport(result.CutLabels));
#include <QString>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "labelpage/DefaultEditorFont.h"
#include "labelpage/LabelSheet.h"

struct TFillPlan {
  int EntryCount = 0;
  int Start = 1;  // the label filling starts at
  // The label of each entry that this sheet takes, in entry order.
  std::vector<int> Labels;

  // Entries left over when the sheet has no more labels for them.
  int Beyond() const { return EntryCount - static_cast<int>(Labels.size()); }
};

// The labels entryCount entries go to, from label start on, each to the
// next label that is empty, or to the next label at all when replace is set.
TFillPlan PlanFill(const TLabelSheet& sheet, int entryCount, int start, bool replace);

// What the plan will do, for the dialog: "23 labels will be filled, labels
// 5 to 27; 2 entries do not fit on this sheet", with a second line when
// characters became "?".
QString FillSummary(const TFillPlan& plan, int unconvertible);

struct TFillResult {
  // Labels whose entry was cut to fit, in label order.
  std::vector<int> CutLabels;
  // The entries the sheet had no label for, in list order.
  std::vector<std::string> Beyond;
};

// Writes entries[i] into label plan.Labels[i] as the label's whole text:
// one paragraph per line, in the default editor font, cut at the last line
// that fits the label (measured at pixelsPerInch, as the label editor
// measures it). Every label's text is made and fitted before any label
// changes, so a failure there leaves the sheet as it was; the labels keep
// their storage objects. beforeChange runs just before the first label
// changes (an undo history takes the labels' texts then).
TFillResult FillSheet(TLabelSheet& sheet, std::span<const std::string> entries, const TFillPlan& plan,
                      const TDefaultEditorFont& font, int pixelsPerInch = 96,
                      const std::function<void()>& beforeChange = {});

// A label's whole text from Windows-1252 bytes, lines separated by '\n'.
void WriteLabelText(TLabelDocument& document, const std::string& text, const TDefaultEditorFont& font);

// "Label 7 was cut to fit", "Labels 7 and 12 were cut to fit", "Labels 3, 7
// and 12 were cut to fit".
QString CutReport(const std::vector<int>& labels);
// Entries as text for the clipboard: one per line, or separated by blank
// lines when any has several lines, so that pasting them back into the
// fill dialog gives the same entries.
QString EntriesAsText(const std::vector<std::string>& entries);
