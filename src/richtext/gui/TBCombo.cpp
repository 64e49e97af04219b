#include "richtext/gui/TBCombo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRawFont>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "richtext/gui/Canvas.h"

namespace {
// Room of the TrueType mark before a font name.
constexpr int kTrueTypeIndent = 16;
constexpr int kTrueTypeMark = 12;

bool IsSwatchList(TWPListLook look) {
  return look == TWPListLook::Color || look == TWPListLook::BackgroundColor || look == TWPListLook::ParColor;
}

// Two overlapping T's, as the font lists mark outline fonts.
void PaintTrueTypeMark(QPainter& painter, const QRect& rect) {
  const QRect box(rect.left() + 2, rect.top() + (rect.height() - kTrueTypeMark) / 2, kTrueTypeMark,
                  kTrueTypeMark);
  QFont font(QStringLiteral("Times New Roman"));
  font.setPixelSize(10);
  font.setBold(true);
  painter.save();
  painter.setFont(font);
  painter.setPen(QColor(128, 128, 128));
  painter.drawText(box.adjusted(0, 0, -3, -2), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("T"));
  painter.setPen(QColor(0, 0, 160));
  painter.drawText(box.adjusted(3, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("T"));
  painter.restore();
}
}  // namespace

TWPTBCombo::TWPTBCombo(TWPListLook look, const TWPColorTable& colors, QWidget* parent)
    : QComboBox(parent), FLook(look), FColors(colors) {
  setFocusPolicy(Qt::ClickFocus);  // no tab stop
  setItemDelegate(new TWPTBComboItemDelegate(this));
  connect(this, &QComboBox::activated, this, [this](int index) {
    FChosen = true;
    if (OnChoose) OnChoose(this, index);
  });
}

void TWPTBCombo::showPopup() {
  FTextBeforePopup = currentText();
  FChosen = false;
  QComboBox::showPopup();
}

void TWPTBCombo::hidePopup() {
  QComboBox::hidePopup();
  // A list closed without a choice shows what it showed before.
  if (!FChosen && isEditable()) setEditText(FTextBeforePopup);
}

bool TWPTBCombo::IsTrueType(int index) {
  if (index < 0 || index >= count()) return false;
  if (FTrueType.size() != static_cast<std::size_t>(count())) FTrueType.assign(count(), -1);
  signed char& known = FTrueType[index];
  if (known < 0) {
    QFont font(itemText(index));
    font.setPixelSize(10);
    font.setWeight(QFont::Normal);
    // TrueType outlines live in a 'glyf' table.
    known = QRawFont::fromFont(font).fontTable("glyf").isEmpty() ? 0 : 1;
  }
  return known == 1;
}

QColor TWPTBCombo::SwatchColor(int index) const {
  const int number = itemText(index).toInt();
  // Item 0 of the background lists means no colour: the window shows through.
  if (number == 0 && (FLook == TWPListLook::BackgroundColor || FLook == TWPListLook::ParColor))
    return palette().color(QPalette::Base);
  return ColorFromRgb(FColors[static_cast<std::size_t>(number) % FColors.size()]);
}

void TWPTBCombo::SetGreyed(bool on) {
  QPalette p = palette();
  const QColor text = on ? QColor(109, 109, 109) : QApplication::palette(this).color(QPalette::Text);
  const QColor buttonText = on ? text : QApplication::palette(this).color(QPalette::ButtonText);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(group, QPalette::Text, text);
    p.setColor(group, QPalette::ButtonText, buttonText);
  }
  setPalette(p);
}

void TWPTBCombo::paintEvent(QPaintEvent* event) {
  if (isEditable() || FLook == TWPListLook::Text) {
    QComboBox::paintEvent(event);
    return;
  }
  // The closed box shows its item as the list draws it.
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  const QRect field =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  if (currentIndex() >= 0)
    static_cast<TWPTBComboItemDelegate*>(itemDelegate())
        ->PaintItem(painter, field, currentIndex(), palette().color(QPalette::ButtonText));
}

void TWPTBCombo::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) return;
  // A click elsewhere takes the focus there; leaving by keyboard goes back to the text.
  if (OnLeave) OnLeave(this, event->reason() != Qt::MouseFocusReason);
}

void TWPTBCombo::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && OnLeave) {
    OnLeave(this, true);
    return;
  }
  QComboBox::keyPressEvent(event);
  if (isEditable() && !event->text().isEmpty() && OnTyped) OnTyped(this);
}

// ---------------------------------------------------------------------------

QSize TWPTBComboItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  size.setHeight(QFontMetrics(FCombo->font()).height());
  if (FCombo->Look() == TWPListLook::FontName) size.rwidth() += kTrueTypeIndent;
  return size;
}

void TWPTBComboItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  painter->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
  PaintItem(*painter, option.rect, index.row(),
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
}

void TWPTBComboItemDelegate::PaintItem(QPainter& painter, const QRect& rect, int index,
                                       const QColor& textColor) const {
  painter.save();
  if (IsSwatchList(FCombo->Look())) {
    const QRect swatch = rect.adjusted(2, 1, -2, -1);
    painter.setPen(Qt::black);
    painter.setBrush(FCombo->SwatchColor(index));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    if (FCombo->Look() == TWPListLook::ParColor) {
      for (int third = 1; third <= 2; ++third) {
        const int y = swatch.top() + swatch.height() * third / 3;
        painter.drawLine(swatch.left(), y, swatch.right() - 1, y);
      }
    }
    painter.restore();
    return;
  }
  QRect textRect = rect.adjusted(2, 0, 0, 0);
  QFont font = FCombo->font();
  if (FCombo->Look() == TWPListLook::FontName) {
    if (FCombo->IsTrueType(index)) PaintTrueTypeMark(painter, rect);
    textRect.setLeft(rect.left() + kTrueTypeIndent + 2);
    if (FCombo->ShowFont()) font.setFamily(FCombo->itemText(index));
    font.setBold(false);
    font.setItalic(false);
  }
  painter.setFont(font);
  painter.setPen(textColor);
  painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, FCombo->itemText(index));
  painter.restore();
}
