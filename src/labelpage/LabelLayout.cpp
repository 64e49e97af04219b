#include "labelpage/LabelLayout.h"

#include <QLocale>
#include <cstdlib>
#include <exception>

#include "labelpage/TaggedValueStream.h"
#include "richtext/TextCase.h"

#define LAYOUT_FIELD(name) \
  TLayoutIntegerField { #name, &TLabelLayoutRecord::name }

const std::array<TLayoutIntegerField, 22> LayoutIntegerFields = {LAYOUT_FIELD(LabelWidth),
                                                                 LAYOUT_FIELD(LabelHeight),
                                                                 LAYOUT_FIELD(HorizontalPitch),
                                                                 LAYOUT_FIELD(VerticalPitch),
                                                                 LAYOUT_FIELD(LeftMargin),
                                                                 LAYOUT_FIELD(TopMargin),
                                                                 LAYOUT_FIELD(PaperSize),
                                                                 LAYOUT_FIELD(PageWidth),
                                                                 LAYOUT_FIELD(PageHeight),
                                                                 LAYOUT_FIELD(TextTop),
                                                                 LAYOUT_FIELD(TextLeft),
                                                                 LAYOUT_FIELD(TextBottom),
                                                                 LAYOUT_FIELD(TextRight),
                                                                 LAYOUT_FIELD(NumberAcross),
                                                                 LAYOUT_FIELD(NumberDown),
                                                                 LAYOUT_FIELD(Reserved1),
                                                                 LAYOUT_FIELD(StripeStyle),
                                                                 LAYOUT_FIELD(Reserved2),
                                                                 LAYOUT_FIELD(HorizontalCenterGap),
                                                                 LAYOUT_FIELD(VerticalCenterGap),
                                                                 LAYOUT_FIELD(Reserved3),
                                                                 LAYOUT_FIELD(Reserved4)};

#undef LAYOUT_FIELD

std::int64_t LabelCountOf(const TLabelLayoutRecord& layout) {
  return static_cast<std::int64_t>(layout.NumberAcross) * layout.NumberDown;
}

bool IsUsableLayout(const TLabelLayoutRecord& layout) {
  return layout.NumberAcross >= 1 && layout.NumberDown >= 1 && LabelCountOf(layout) <= MaxLabelsPerPage;
}

bool SameLayoutName(const std::string& a, const std::string& b) { return SameTextIgnoringCase(a, b); }

bool TLabelLayoutArray::Add(const TLabelLayoutRecord& layout) {
  if (FCount >= MaxLayouts || !IsUsableLayout(layout)) return false;
  FItems[++FCount] = layout;
  return true;
}

const TLabelLayoutRecord* TLabelLayoutArray::FindFirst(const std::string& name) const {
  for (int i = 1; i <= FCount; ++i)
    if (SameLayoutName(FItems[i].LayoutName, name)) return &FItems[i];
  return nullptr;
}

const TLabelLayoutRecord* TLabelLayoutArray::FindLast(const std::string& name) const {
  for (int i = FCount; i >= 1; --i)
    if (SameLayoutName(FItems[i].LayoutName, name)) return &FItems[i];
  return nullptr;
}

void ReadLayout(TTaggedValueReader& reader, TLabelLayoutRecord& layout) {
  TLabelLayoutRecord scratch;
  scratch.LayoutName = reader.ReadString();
  for (const auto& field : LayoutIntegerFields) scratch.*field.Member = reader.ReadInteger();
  layout = std::move(scratch);
}

void WriteLayout(TTaggedValueWriter& writer, const TLabelLayoutRecord& layout) {
  writer.WriteString(layout.LayoutName);
  for (const auto& field : LayoutIntegerFields) writer.WriteInteger(layout.*field.Member);
}

void LoadLLOFile(const std::string& path, TLabelLayoutArray& layouts) {
  TFileStream file(path, TFileStream::Mode::OpenRead);
  TTaggedValueReader reader(file);
  reader.ReadListBegin();
  reader.ReadInteger();
  reader.ReadInteger();
  reader.ReadListEnd();
  // The entries run to the end of the file, which shows as a failed list
  // begin. An entry counts once its fields are read, before its closing tag.
  for (;;) {
    try {
      reader.ReadListBegin();
      TLabelLayoutRecord layout;
      ReadLayout(reader, layout);
      layouts.Add(layout);
      reader.ReadListEnd();
    } catch (const std::exception&) {
      break;
    }
  }
}

void SaveLLOFile(const std::string& path, const std::vector<TLabelLayoutRecord>& layouts) {
  TFileStream file(path, TFileStream::Mode::Create);
  TTaggedValueWriter writer(file);
  writer.WriteListBegin();
  writer.WriteInteger(0);
  writer.WriteInteger(0);
  writer.WriteListEnd();
  for (const auto& layout : layouts) {
    writer.WriteListBegin();
    WriteLayout(writer, layout);
    writer.WriteListEnd();
  }
  file.Close();
}

QString FormatInches(std::int32_t thousandths) {
  // Hundredths rounded half away from zero, as a fixed-point display rounds.
  const std::int64_t magnitude = std::llabs(static_cast<std::int64_t>(thousandths));
  const std::int64_t hundredths = (magnitude + 5) / 10;
  const bool negative = thousandths < 0 && hundredths != 0;
  const QString fraction = QString::number(hundredths % 100).rightJustified(2, QLatin1Char('0'));
  return (negative ? QStringLiteral("-") : QString()) + QString::number(hundredths / 100) +
         QLocale().decimalPoint() + fraction;
}

void DescribeLayout(const TLabelLayoutArray& layouts, const std::string& name, QStringList& lines) {
  const TLabelLayoutRecord* layout = layouts.FindFirst(name);
  if (!layout) return;
  const QString inches = QStringLiteral(" inches");
  lines.clear();
  lines << QStringLiteral("Number Across  :  ") + QString::number(layout->NumberAcross)
        << QStringLiteral("Number Down  :  ") + QString::number(layout->NumberDown)
        << QStringLiteral("Label Width  :  ") + FormatInches(layout->LabelWidth) + inches
        << QStringLiteral("Label Height  :  ") + FormatInches(layout->LabelHeight) + inches
        << QStringLiteral("Left Margin  :  ") + FormatInches(layout->LeftMargin) + inches
        << QStringLiteral("Top Margin  :  ") + FormatInches(layout->TopMargin) + inches;
  static const char* const paperNames[] = {"Letter", "A4", "Letter Landscape", "A4 Landscape"};
  if (layout->PaperSize >= 0 && layout->PaperSize <= 3)
    lines << QStringLiteral("Paper Size  :  ") + QLatin1String(paperNames[layout->PaperSize]);
}
