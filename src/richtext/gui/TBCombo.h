#pragma once
// A list box of the formatting toolbar: a combo box that applies its choice
// when its list closes, draws colour swatches and font names, and gives the
// focus back to the editor when it is left.
#include <QComboBox>
#include <QStyledItemDelegate>
#include <functional>
#include <vector>

#include "richtext/gui/ToolPanel.h"

// How the items of a list box look.
enum class TWPListLook { Text, FontName, Color, BackgroundColor, ParColor };

class TWPTBCombo : public QComboBox {
  Q_OBJECT

 public:
  TWPTBCombo(TWPListLook look, const TWPColorTable& colors, QWidget* parent);

  TWPListLook Look() const { return FLook; }
  // Font names drawn in their own font.
  void SetShowFont(bool on) { FShowFont = on; }
  bool ShowFont() const { return FShowFont; }
  // Whether the font of an item is a TrueType font; asked once per item.
  bool IsTrueType(int index);
  // The colour an item's swatch is filled with.
  QColor SwatchColor(int index) const;
  // The text of the font name, size and style boxes is greyed while the
  // toolbar is disabled.
  void SetGreyed(bool on);

  // The user chose an item.
  std::function<void(TWPTBCombo* sender, int index)> OnChoose;
  // The user typed into the box.
  std::function<void(TWPTBCombo* sender)> OnTyped;
  // The box lost the focus; toEditor tells whether it goes back to the editor.
  std::function<void(TWPTBCombo* sender, bool toEditor)> OnLeave;

  void showPopup() override;
  void hidePopup() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TWPListLook FLook;
  const TWPColorTable& FColors;
  bool FShowFont = false;
  QString FTextBeforePopup;
  bool FChosen = false;
  std::vector<signed char> FTrueType;  // per item: -1 not asked yet
};

// Draws the items of a TWPTBCombo.
class TWPTBComboItemDelegate : public QStyledItemDelegate {
 public:
  explicit TWPTBComboItemDelegate(TWPTBCombo* combo) : QStyledItemDelegate(combo), FCombo(combo) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  // An item into rect (the closed box draws its current item the same way).
  void PaintItem(QPainter& painter, const QRect& rect, int index, const QColor& textColor) const;

 private:
  TWPTBCombo* FCombo;
};
