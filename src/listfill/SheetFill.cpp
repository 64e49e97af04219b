#include "listfill/SheetFill.h"

#include <algorithm>
#include <memory>

#include "labelpage/LabelTextFit.h"
#include "richtext/gui/AnsiCodec.h"

namespace {

QString Counted(int count, const char* one, const char* many) {
  return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

bool HoldsText(const TLabelSheet& sheet, int n) {
  const TLabelDocument* text = sheet.CellText(n);
  return text && !text->IsEmpty();
}

}  // namespace

TFillPlan PlanFill(const TLabelSheet& sheet, int entryCount, int start, bool replace) {
  TFillPlan plan;
  plan.EntryCount = std::max(entryCount, 0);
  plan.Start = start;
  for (int n = std::max(start, 1); n <= sheet.LabelsPerPage() && plan.Beyond() > 0; ++n)
    if (replace || !HoldsText(sheet, n)) plan.Labels.push_back(n);
  return plan;
}

QString FillSummary(const TFillPlan& plan, int unconvertible) {
  if (plan.EntryCount == 0) return QStringLiteral("The list holds no entries");
  QString summary;
  const int filled = static_cast<int>(plan.Labels.size());
  if (filled == 0)
    summary = QStringLiteral("No label from label %1 on is free").arg(plan.Start);
  else if (filled == 1)
    summary = QStringLiteral("1 label will be filled, label %1").arg(plan.Labels.front());
  else
    summary = QStringLiteral("%1 labels will be filled, labels %2 to %3")
                  .arg(filled)
                  .arg(plan.Labels.front())
                  .arg(plan.Labels.back());
  if (plan.Beyond() > 0)
    summary += QStringLiteral("; ") +
               Counted(plan.Beyond(), "entry does not fit on this sheet", "entries do not fit on this sheet");
  if (unconvertible > 0)
    summary += QLatin1Char('\n') +
               Counted(unconvertible, "character is not in the Windows-1252 character set",
                       "characters are not in the Windows-1252 character set") +
               QLatin1String(unconvertible == 1 ? " and becomes \"?\"" : " and become \"?\"");
  return summary;
}

void WriteLabelText(TLabelDocument& document, const std::string& text, const TDefaultEditorFont& font) {
  document.Clear();
  TAttr attr{};
  ApplyDefaultFont(attr, document.Header, font);
  document.CurrentAttr = attr;
  int paragraph = 0;
  std::size_t from = 0;
  while (from <= text.size()) {
    std::size_t end = text.find('\n', from);
    if (end == std::string::npos) end = text.size();
    document.InsertParagraphText(paragraph++, text.data() + from, &attr, static_cast<int>(end - from));
    from = end + 1;
  }
  document.SetCursorToStart();
}

TFillResult FillSheet(TLabelSheet& sheet, std::span<const std::string> entries, const TFillPlan& plan,
                      const TDefaultEditorFont& font, int pixelsPerInch,
                      const std::function<void()>& beforeChange) {
  TFillResult result;
  TLabelTextFit fit(sheet.LayoutDescription(), pixelsPerInch);
  const std::size_t count = std::min(plan.Labels.size(), entries.size());
  std::vector<std::unique_ptr<TWPRtfStorage>> texts;
  for (std::size_t i = 0; i < count; ++i) {
    auto storage = std::make_unique<TWPRtfStorage>();
    TLabelDocument& document = storage->RtfText();
    WriteLabelText(document, entries[i], font);
    if (!fit.Fits(document)) {
      std::string kept = fit.FittingText(document);
      while (!kept.empty() && (kept.back() == ' ' || kept.back() == '\n' || kept.back() == '\t'))
        kept.pop_back();
      WriteLabelText(document, kept, font);
      result.CutLabels.push_back(plan.Labels[i]);
    }
    texts.push_back(std::move(storage));
  }
  if (beforeChange) beforeChange();
  // Into the labels' own storages: the editor and the page panel know them.
  for (std::size_t i = 0; i < count; ++i) {
    std::unique_ptr<TWPRtfStorage>& storage = sheet.Storage(plan.Labels[i]);
    if (storage)
      storage->SetRtfText(texts[i]->RtfText());
    else
      storage = std::move(texts[i]);
  }
  std::sort(result.CutLabels.begin(), result.CutLabels.end());
  result.Beyond.assign(entries.begin() + static_cast<std::ptrdiff_t>(count), entries.end());
  return result;
}

QString CutReport(const std::vector<int>& labels) {
  if (labels.empty()) return {};
  if (labels.size() == 1) return QStringLiteral("Label %1 was cut to fit").arg(labels.front());
  QStringList numbers;
  for (std::size_t i = 0; i + 1 < labels.size(); ++i) numbers << QString::number(labels[i]);
  return QStringLiteral("Labels ") + numbers.join(QStringLiteral(", ")) + QStringLiteral(" and ") +
         QString::number(labels.back()) + QStringLiteral(" were cut to fit");
}

QString EntriesAsText(const std::vector<std::string>& entries) {
  const bool severalLines = std::any_of(entries.begin(), entries.end(), [](const std::string& entry) {
    return entry.find('\n') != std::string::npos;
  });
  QStringList texts;
  for (const std::string& entry : entries) texts << wpansi::ToQString(entry);
  return texts.join(QLatin1String(severalLines ? "\n\n" : "\n")) + QLatin1Char('\n');
}
