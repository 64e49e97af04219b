#include "richtext/gui/ToolBar.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>
#include <array>

#include "richtext/gui/Canvas.h"
#include "richtext/gui/RichText.h"
#include "richtext/gui/ToolGlyphs.h"

namespace {

enum TSetKind { kStatus, kAction, kDatabase, kEdit };

// What each set member creates, in creation order.
struct TMember {
  TSetKind Set;
  int Member;
  const char* Name;
  int Group;
  int Number;
};

constexpr std::array<TMember, 38> kMembers = {{
    {kStatus, SelNormal, "WPI_NORMAL", wpgStatus, 1},
    {kStatus, SelBold, "WPI_BOLD", wpgStatus, 2},
    {kStatus, SelItalic, "WPI_ITALIC", wpgStatus, 3},
    {kStatus, SelUnder, "WPI_UNDER", wpgStatus, 4},
    {kStatus, SelSuper, "WPI_SUPER", wpgStatus, 7},
    {kStatus, SelSub, "WPI_SUB", wpgStatus, 8},
    {kStatus, SelStrikeOut, "WPI_STRIKEOUT", wpgStatus, 6},
    {kStatus, SelHyperLink, "WPI_HYPERLINK", wpgStatus, 5},
    {kStatus, SelHidden, "WPI_HIDDEN", wpgStatus, 9},
    {kStatus, SelRTFCode, "WPI_RTFCODE", wpgStatus, 19},
    {kStatus, SelLeft, "WPI_LEFT", wpgAlignment, 1},
    {kStatus, SelCenter, "WPI_CENTER", wpgAlignment, 4},
    {kStatus, SelBlock, "WPI_JUSTIFIED", wpgAlignment, 3},
    {kStatus, SelRight, "WPI_RIGHT", wpgAlignment, 2},
    {kAction, SelNew, "WPI_New", wpgFile, 2},
    {kAction, SelOpen, "WPI_OPEN", wpgFile, 3},
    {kAction, SelSave, "WPI_SAVE", wpgFile, 4},
    {kAction, SelClose, "WPI_CLOSE", wpgFile, 5},
    {kAction, SelExit, "WPI_EXIT", wpgFile, 1},
    {kAction, SelPrint, "WPI_PRINT", wpgPrint, 1},
    {kAction, SelPrintSetup, "WPI_PRINTSETUP", wpgPrint, 2},
    {kDatabase, SelToStart, "WPI_TOSTART", wpgDatabase, 7},
    {kDatabase, SelPrev, "WPI_PREV", wpgDatabase, 2},
    {kDatabase, SelNext, "WPI_NEXT", wpgDatabase, 1},
    {kDatabase, SelToEnd, "WPI_TOEND", wpgDatabase, 8},
    {kDatabase, SelAdd, "WPI_ADD", wpgDatabase, 3},
    {kDatabase, SelDel, "WPI_DEL", wpgDatabase, 4},
    {kDatabase, SelEdit, "WPI_EDIT", wpgDatabase, 5},
    {kDatabase, SelCancel, "WPI_CANCEL", wpgDatabase, 6},
    {kDatabase, SelPost, "WPI_POST", wpgDatabase, 9},
    {kEdit, SelSelAll, "WPI_SelAll", wpgEdit, 4},
    {kEdit, SelHideSel, "WPI_HideSel", wpgEdit, 5},
    {kEdit, SelCut, "WPI_CUT", wpgEdit, 2},
    {kEdit, SelCopy, "WPI_COPY", wpgEdit, 1},
    {kEdit, SelPaste, "WPI_PASTE", wpgEdit, 3},
    {kEdit, SelFind, "WPI_FIND", wpgEdit, 6},
    {kEdit, SelReplace, "WPI_REPLACE", wpgEdit, 7},
    {kEdit, SelSpellCheck, "WPI_SPELL", wpgEdit, 8},
}};

// The list boxes in creation order: member, list tag and look.
struct TListMember {
  TWpTbListbox Member;
  int Tag;
  TWPListLook Look;
};
constexpr std::array<TListMember, 6> kListMembers = {{
    {SelFontName, 1, TWPListLook::FontName},
    {SelFontSize, 2, TWPListLook::Text},
    {SelFontColor, 3, TWPListLook::Color},
    {SelBackgroundColor, 5, TWPListLook::BackgroundColor},
    {SelStyle, 4, TWPListLook::Text},
    {SelParColor, 6, TWPListLook::ParColor},
}};

constexpr int kListGap = 2;
constexpr int kListTop = 4;
constexpr int kRowGap = 4;
constexpr int kColorItems = 16;
constexpr int kMaxFontNameLength = 31;

// The number a size item stands for; 0 when it is not a number.
int ItemNumber(const QString& text) { return text.trimmed().toInt(); }

}  // namespace

QStringList DefaultToolBarHints() {
  static const char* const names[] = {
      "Normal", "Bold",    "Italic",  "Under",   "Hyperlink",  "StrikeOut", "Sub",  "Super",
      "Hidden", "RTFCode", "Left",    "Right",   "Justified",  "Center",    "Copy", "Cut",
      "Paste",  "SelAll",  "HideSel", "Find",    "Replace",    "Spell",     "Exit", "New",
      "Open",   "Save",    "Close",   "Print",   "PrintSetup", "Next",      "Prev", "Add",
      "Del",    "Edit",    "Cancel",  "ToStart", "ToEnd",      "Post"};
  QStringList hints;
  for (const char* name : names) hints << QStringLiteral("WPI_%1=%1").arg(QLatin1String(name));
  return hints;
}

QStringList ToolBarStyleNames() {
  return {QStringLiteral("Normal"), QStringLiteral("Heading"), QStringLiteral("Subheading"),
          QStringLiteral("Emphasis")};
}

TWPToolBar::TWPToolBar(QWidget* parent) : TWPCustomToolPanel(parent), FHints(DefaultToolBarHints()) {
  FFont = QFont(QStringLiteral("Arial"));
  FFont.setPixelSize(11);
  resize(300, 31);
  ApplyBevel();
  Rebuild();
}

TWPToolBar::~TWPToolBar() = default;

void TWPToolBar::EndUpdate() {
  if (FUpdating > 0 && --FUpdating == 0) Rebuild();
}

// ---------------------------------------------------------------------------
// Properties: each change builds the toolbar again.

void TWPToolBar::Setsel_ListBoxes(TWpTbListboxSet set) {
  FListBoxes = set;
  Rebuild();
}
void TWPToolBar::Setsel_StatusIcons(TWpTbIconSet set) {
  FStatusIcons = set;
  Rebuild();
}
void TWPToolBar::Setsel_ActionIcons(TWpTbIcon2Set set) {
  FActionIcons = set;
  Rebuild();
}
void TWPToolBar::Setsel_DatabaseIcons(TWPTbIcon3Set set) {
  FDatabaseIcons = set;
  Rebuild();
}
void TWPToolBar::Setsel_EditIcons(TWPTbIcon4Set set) {
  FEditIcons = set;
  Rebuild();
}
void TWPToolBar::SetFontSizes(int from, int to) {
  if (from == 0 && to == 0) {
    from = 8;
    to = 72;
  }
  FFontSizeFrom = from;
  FFontSizeTo = to;
  Rebuild();
}
void TWPToolBar::SetFontChoice(TFontSelChoice choice) {
  FFontChoice = choice;
  Rebuild();
}
void TWPToolBar::SetWidthBetweenGroups(int pixels) {
  FWidthBetweenGroups = pixels;
  Layout();
}
void TWPToolBar::SetHints(const QStringList& hints) {
  FHints = hints;
  Rebuild();
}
void TWPToolBar::SetShowFont(bool on) {
  FShowFont = on;
  if (TWPTBCombo* box = ListBox(1)) {
    box->SetShowFont(on);
    box->update();
  }
}
void TWPToolBar::SetFont(const QFont& font) {
  FFont = font;
  Rebuild();
}
void TWPToolBar::SetBevelOuter(TWPBevel bevel) {
  FBevelOuter = bevel;
  ApplyBevel();
}
void TWPToolBar::SetBevelInner(TWPBevel bevel) {
  FBevelInner = bevel;
  ApplyBevel();
}
void TWPToolBar::SetBevelWidth(int width) {
  FBevelWidth = std::max(width, 0);
  ApplyBevel();
}
void TWPToolBar::SetAlign(TWPToolBarAlign align) {
  FAlign = align;
  Layout();
}

void TWPToolBar::ApplyBevel() {
  setFrameShape(FBevelOuter == bvNone ? QFrame::NoFrame : QFrame::Panel);
  setFrameShadow(FBevelOuter == bvLowered ? QFrame::Sunken : QFrame::Raised);
  setLineWidth(FBevelWidth);
  Layout();
}

int TWPToolBar::BevelPixels() const {
  // Both bevels count once the outer one is there.
  if (FBevelOuter == bvNone) return 0;
  return FBevelWidth + (FBevelInner == bvNone ? 0 : FBevelWidth);
}

int TWPToolBar::ButtonSize() const {
  const int height = FFont.pixelSize() > 0 ? FFont.pixelSize() : QFontMetrics(FFont).height();
  return height + 9;
}

// ---------------------------------------------------------------------------
// Building

void TWPToolBar::Rebuild() {
  if (FUpdating > 0) return;
  if (FRouting > 0) {
    // A handler of one of the controls changed the toolbar: the control
    // that called it must outlive the call, so building waits for the event loop.
    if (!FRebuildQueued) {
      FRebuildQueued = true;
      QMetaObject::invokeMethod(
          this,
          [this] {
            FRebuildQueued = false;
            Rebuild();
          },
          Qt::QueuedConnection);
    }
    return;
  }
  for (TButton& button : FButtons) delete button.Widget;
  FButtons.clear();
  for (const QPointer<TWPTBCombo>& box : FListBoxesBuilt) delete box.data();
  FListBoxesBuilt.clear();
  RegisterButtons();
  CreateListBoxes();
  CreateButtons();
  Greying(!isEnabled());
  Layout();
}

void TWPToolBar::RegisterButtons() {
  for (const TMember& member : kMembers) {
    bool chosen = false;
    switch (member.Set) {
      case kStatus:
        chosen = FStatusIcons.Has(static_cast<TWpTbIcon>(member.Member));
        break;
      case kAction:
        chosen = FActionIcons.Has(static_cast<TWpTbIcon2>(member.Member));
        break;
      case kDatabase:
        chosen = FDatabaseIcons.Has(static_cast<TWPTbIcon3>(member.Member));
        break;
      case kEdit:
        chosen = FEditIcons.Has(static_cast<TWPTbIcon4>(member.Member));
        break;
    }
    if (!chosen) continue;
    if (static_cast<int>(FButtons.size()) >= kMaxButtons) break;
    FButtons.push_back({QString::fromLatin1(member.Name), member.Group, member.Number});
  }
}

void TWPToolBar::CreateListBoxes() {
  const QFontMetrics metrics(FFont);
  for (const TListMember& member : kListMembers) {
    if (!FListBoxes.Has(member.Member)) continue;
    auto* box = new TWPTBCombo(member.Look, ColorTable(), this);
    box->setFont(FFont);
    box->setProperty("Tag", member.Tag);
    box->setFixedHeight(ButtonSize());
    int width = 0;
    switch (member.Member) {
      case SelFontName: {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->lineEdit()->setMaxLength(kMaxFontNameLength);
        // Printers offer no fonts of their own here: both choices list the screen's.
        QStringList families;
        for (const QString& family : QFontDatabase::families())
          if (!QFontDatabase::isPrivateFamily(family)) families << family;
        families.sort(Qt::CaseInsensitive);
        box->addItems(families);
        int widest = 0;
        for (const QString& family : families) widest = std::max(widest, metrics.horizontalAdvance(family));
        width = widest + metrics.horizontalAdvance(QStringLiteral("    "));
        box->SetShowFont(FShowFont);
        box->setEditText(FFont.family());
        break;
      }
      case SelFontSize: {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        const int from = FFontSizeFrom == 0 ? 1 : FFontSizeFrom;
        for (int size = from; size <= FFontSizeTo; ++size) box->addItem(QStringLiteral(" %1").arg(size));
        width = 3 * metrics.horizontalAdvance(QLatin1Char('8')) + 24;
        break;
      }
      case SelStyle:
        box->addItems(ToolBarStyleNames());
        width = metrics.horizontalAdvance(QStringLiteral("Blocksatz"));
        break;
      default:
        for (int number = 0; number < kColorItems; ++number) box->addItem(QString::number(number));
        width = metrics.horizontalAdvance(QLatin1Char('A')) + 32;
        break;
    }
    box->setFixedWidth(width);
    box->OnChoose = [this](TWPTBCombo* sender, int index) { ListChosen(sender, index); };
    if (box->isEditable())
      connect(box->lineEdit(), &QLineEdit::returnPressed, this, [this, box] { TypedEntered(box); });
    box->OnTyped = [this](TWPTBCombo*) {
      if (OnChange) OnChange(this);
    };
    box->OnLeave = [this](TWPTBCombo*, bool toEditor) {
      if (toEditor) FocusEditor();
      if (OnExit) OnExit(this);
    };
    box->show();
    FListBoxesBuilt.emplace_back(box);
  }
}

void TWPToolBar::CreateButtons() {
  const int size = ButtonSize();
  bool leftPressed = false;
  for (std::size_t index = 0; index < FButtons.size(); ++index) {
    TButton& button = FButtons[index];
    auto* widget = new QToolButton(this);
    widget->setCheckable(true);
    widget->setAutoRaise(true);
    widget->setFocusPolicy(Qt::NoFocus);  // a click leaves the focus in the text
    widget->setFixedSize(size, size);
    widget->setProperty("Tag", static_cast<int>(index) + 10);
    const QPixmap glyph = ToolBarGlyph(button.Name);
    QIcon icon;
    if (glyph.width() > 16) {
      // Two pictures side by side: up and disabled.
      icon.addPixmap(glyph.copy(0, 0, 16, glyph.height()), QIcon::Normal);
      icon.addPixmap(glyph.copy(16, 0, 16, glyph.height()), QIcon::Disabled);
    } else {
      icon.addPixmap(glyph);
    }
    widget->setIcon(icon);
    widget->setIconSize(QSize(16, 16));
    widget->setToolTip(HintFor(button.Name));
    if (button.Group == wpgAlignment && button.Number == 1 && !leftPressed) {
      widget->setChecked(true);
      leftPressed = true;
    }
    button.Widget = widget;
    connect(widget, &QToolButton::clicked, this, [this, index] { ButtonClicked(static_cast<int>(index)); });
    widget->show();
  }
}

QString TWPToolBar::HintFor(const QString& name) const {
  for (const QString& line : FHints) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0) continue;
    if (line.left(equals).compare(name, Qt::CaseInsensitive) == 0) return line.mid(equals + 1);
  }
  return {};
}

// ---------------------------------------------------------------------------
// Layout: left to right, rows wrapped at the right edge.

void TWPToolBar::Layout() {
  const int bevel = BevelPixels();
  const int left = bevel + 2;
  int x = left;
  int rowTop = 0;
  int rowHeight = 0;
  int bottom = 0;
  int previousGroup = -1;
  auto place = [&](QWidget* widget, int gap, int top) {
    if (x + gap + widget->width() > width() && x > 4) {
      rowTop += rowHeight + kRowGap;
      rowHeight = 0;
      x = left;
      gap = 0;
    }
    x += gap;
    widget->move(x, rowTop + top);
    x += widget->width();
    rowHeight = std::max(rowHeight, widget->height());
    bottom = std::max(bottom, rowTop + top + widget->height());
  };
  for (const QPointer<TWPTBCombo>& box : FListBoxesBuilt) place(box, kListGap, kListTop);
  for (const TButton& button : FButtons) {
    const int gap = button.Group != previousGroup && x > 10 ? FWidthBetweenGroups : 0;
    previousGroup = button.Group;
    place(button.Widget, gap, kListTop - 1);
  }
  FRowsHeight = bevel + bottom + 2;
  if (FAlign != alNone && height() != FRowsHeight) setFixedHeight(FRowsHeight);
}

void TWPToolBar::resizeEvent(QResizeEvent* event) {
  TWPCustomToolPanel::resizeEvent(event);
  Layout();
}

// ---------------------------------------------------------------------------
// Lookup

TWPTBCombo* TWPToolBar::ListBox(int tag) const {
  for (const QPointer<TWPTBCombo>& box : FListBoxesBuilt)
    if (box && box->property("Tag").toInt() == tag) return box;
  return nullptr;
}

QToolButton* TWPToolBar::ButtonAt(int index) const {
  return index >= 0 && index < ButtonCount() ? FButtons[static_cast<std::size_t>(index)].Widget : nullptr;
}

TWPToolBar::TButton* TWPToolBar::Find(int group, int number) {
  for (TButton& button : FButtons)
    if (button.Group == group && button.Number == number) return &button;
  return nullptr;
}

QToolButton* TWPToolBar::Button(int group, int number) const {
  for (const TButton& button : FButtons)
    if (button.Group == group && button.Number == number) return button.Widget;
  return nullptr;
}

bool TWPToolBar::IsDown(int group, int number) const {
  const QToolButton* button = Button(group, number);
  return button && button->isChecked();
}

// ---------------------------------------------------------------------------
// Operations the editor calls

void TWPToolBar::SetDown(TButton& button, bool down) {
  if (button.Group == wpgAlignment) {
    // The alignment buttons are one radio group that is never all up.
    if (!down) return;
    for (TButton& other : FButtons)
      if (other.Group == wpgAlignment && &other != &button) other.Widget->setChecked(false);
  }
  button.Widget->setChecked(down);
}

bool TWPToolBar::DoIconDown(int group, int number) {
  TButton* button = Find(group, number);
  if (!button) return false;
  const bool wasDown = button->Widget->isChecked();
  SetDown(*button, true);
  return wasDown;
}

bool TWPToolBar::DoIconUp(int group, int number) {
  TButton* button = Find(group, number);
  if (!button) return false;
  const bool wasDown = button->Widget->isChecked();
  SetDown(*button, false);
  return wasDown;
}

bool TWPToolBar::DoEnableIcon(int index, bool on) {
  if (index < 0 || index >= ButtonCount()) return false;
  TButton& button = FButtons[static_cast<std::size_t>(index)];
  const bool was = button.Enabled;
  button.Enabled = on;
  // A disabled toolbar keeps its buttons disabled; they follow again when it is enabled.
  button.Widget->setEnabled(on);
  return was;
}

bool TWPToolBar::DoEnableIconOf(int group, int number, bool on) {
  for (std::size_t index = 0; index < FButtons.size(); ++index)
    if (FButtons[index].Group == group && FButtons[index].Number == number)
      return DoEnableIcon(static_cast<int>(index), on);
  return false;
}

void TWPToolBar::DoSetListValue(int list, const std::string& value, int number) {
  const QString text = QString::fromLatin1(value.c_str());
  switch (list) {
    case 1:
      if (TWPTBCombo* box = ListBox(1); box && !text.isEmpty()) {
        if (box->currentText().compare(text, Qt::CaseInsensitive) == 0) return;
        const int index = box->findText(text, Qt::MatchFixedString);  // case-insensitive
        if (index >= 0)
          box->setCurrentIndex(index);
        else
          box->setEditText(text);  // a font this system lacks is still named
      }
      return;
    case 2:
      if (TWPTBCombo* box = ListBox(2); box && number >= 7) {
        for (int index = 0; index < box->count(); ++index)
          if (ItemNumber(box->itemText(index)) == number) {
            box->setCurrentIndex(index);
            return;
          }
        box->setEditText(QStringLiteral(" %1").arg(number));
      }
      return;
    case 3:
    case 4:
    case 10: {
      const int tag = list == 3 ? 3 : list == 4 ? 5 : 6;
      if (TWPTBCombo* box = ListBox(tag); box && number >= 0 && number < 15) box->setCurrentIndex(number);
      return;
    }
    default:
      return;
  }
}

void TWPToolBar::DoSetColorTable(const TWPColorTable& colors) {
  TWPCustomToolPanel::DoSetColorTable(colors);
  for (const QPointer<TWPTBCombo>& box : FListBoxesBuilt)
    if (box) box->update();
}

// ---------------------------------------------------------------------------
// Click routing

void TWPToolBar::FocusEditor() {
  if (TWPCustomRichText* editor = Editor()) editor->setFocus(Qt::OtherFocusReason);
}

void TWPToolBar::ButtonClicked(int index) {
  if (index < 0 || index >= ButtonCount()) return;
  const TRoutingScope routing(FRouting);
  TButton& button = FButtons[static_cast<std::size_t>(index)];
  // The click has toggled the button already; a radio button stays down.
  if (button.Group == wpgAlignment) SetDown(button, true);
  const TWpSelNr typ = button.Widget->isChecked() ? wptIconDown : wptIconUp;
  const int group = button.Group;
  const int number = button.Number;
  if (OnIconSelection) OnIconSelection(this, typ, button.Name.toStdString(), group, number);
  FocusEditor();
  if (TWPCustomRichText* editor = Editor()) editor->ToolBarIconSelection(typ, group, number);
}

void TWPToolBar::ListChosen(TWPTBCombo* box, int index) {
  RouteList(box->property("Tag").toInt(), box->itemText(index), index);
}

// A name or size typed into a box that no item matches counts as chosen on
// Enter; one that matches an item is chosen as that item.
void TWPToolBar::TypedEntered(TWPTBCombo* box) {
  const QString text = box->currentText();
  if (text.trimmed().isEmpty() || box->findText(text, Qt::MatchFixedString) >= 0) return;
  RouteList(box->property("Tag").toInt(), text, -1);
}

void TWPToolBar::RouteList(int tag, const QString& text, int index) {
  const TRoutingScope routing(FRouting);
  TWpSelNr typ = wptName;
  int number = 0;
  switch (tag) {
    case 1:
      typ = wptName;
      break;
    case 2:
      typ = wptSize;
      number = ItemNumber(text);
      break;
    case 3:
      typ = wptColor;
      number = index;
      break;
    case 5:
      typ = wptBkColor;
      number = index;
      break;
    case 4:
      typ = wptStyle;
      number = index;
      break;
    case 6:
      typ = wptParColor;
      number = index;
      break;
    default:
      return;
  }
  UpdateTheObject(typ, text, number);
  const std::string str = text.toLatin1().toStdString();
  if (OnSelection) OnSelection(this, typ, str, number);
  FocusEditor();
  if (TWPCustomRichText* editor = Editor()) editor->ToolBarListSelection(typ, str, number);
}

// A plain control named as the update object shows the choice as well.
void TWPToolBar::UpdateTheObject(int typ, const QString& text, int number) {
  QWidget* target = UpdateObject;
  if (!target && !UpdateObjectName.isEmpty()) target = window()->findChild<QWidget*>(UpdateObjectName);
  const bool plain = qobject_cast<QLineEdit*>(target) || qobject_cast<QTextEdit*>(target) ||
                     qobject_cast<QPlainTextEdit*>(target) || qobject_cast<QLabel*>(target) ||
                     (target && qstrcmp(target->metaObject()->className(), "QFrame") == 0);
  if (!plain) return;
  QFont font = target->font();
  QPalette palette = target->palette();
  const QColor color = ColorFromRgb(ColorTable()[static_cast<std::size_t>(number) % ColorTable().size()]);
  switch (typ) {
    case wptName:
      font.setFamily(text);
      break;
    case wptSize:
      if (number > 0) font.setPointSize(number);
      break;
    case wptColor:
      palette.setColor(QPalette::WindowText, color);
      palette.setColor(QPalette::Text, color);
      break;
    case wptBkColor:
      palette.setColor(QPalette::Window, color);
      palette.setColor(QPalette::Base, color);
      target->setAutoFillBackground(true);
      break;
    default:
      return;
  }
  target->setFont(font);
  target->setPalette(palette);
}

// ---------------------------------------------------------------------------
// Enabling

void TWPToolBar::changeEvent(QEvent* event) {
  TWPCustomToolPanel::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) Greying(!isEnabled());
}

void TWPToolBar::Greying(bool greyed) {
  for (int tag : {1, 2, 4})
    if (TWPTBCombo* box = ListBox(tag)) box->SetGreyed(greyed);
}
