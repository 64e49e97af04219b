#pragma once
// The formatting toolbar: icon buttons and list boxes, chosen by five sets,
// laid out left to right in rows, that apply formatting and clipboard
// commands to the linked editor and show the formatting at its caret.
//
// Usage:
//   auto* bar = new TWPToolBar(window);
//   bar->BeginUpdate();
//   bar->Setsel_StatusIcons({SelBold, SelItalic, SelUnder});
//   bar->SetHints(hints);
//   bar->EndUpdate();                 // builds once
//   editor->SetWPToolBar(bar);        // the editor pushes its caret's formatting
#include <QFont>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "richtext/gui/TBCombo.h"
#include "richtext/gui/ToolPanel.h"

class QToolButton;

enum TWpTbIcon {
  SelNormal,
  SelBold,
  SelItalic,
  SelUnder,
  SelHyperLink,
  SelStrikeOut,
  SelSuper,
  SelSub,
  SelLeft,
  SelHidden,
  SelRTFCode,
  SelRight,
  SelBlock,
  SelCenter
};
enum TWpTbIcon2 { SelExit, SelNew, SelOpen, SelSave, SelClose, SelPrint, SelPrintSetup };
enum TWPTbIcon3 { SelToStart, SelNext, SelPrev, SelToEnd, SelEdit, SelAdd, SelDel, SelCancel, SelPost };
enum TWPTbIcon4 { SelCopy, SelCut, SelPaste, SelSelAll, SelHideSel, SelFind, SelReplace, SelSpellCheck };
enum TWpTbListbox { SelFontName, SelFontSize, SelFontColor, SelBackgroundColor, SelStyle, SelParColor };
enum TFontSelChoice { fsPrinterFonts, fsScreenFonts };
enum TWPBevel { bvNone, bvLowered, bvRaised };
enum TWPToolBarAlign { alNone, alTop, alBottom };

using TWpTbIconSet = TWPSet<TWpTbIcon>;
using TWpTbIcon2Set = TWPSet<TWpTbIcon2>;
using TWPTbIcon3Set = TWPSet<TWPTbIcon3>;
using TWPTbIcon4Set = TWPSet<TWPTbIcon4>;
using TWpTbListboxSet = TWPSet<TWpTbListbox>;

// The hint lines a toolbar starts with: "WPI_Bold=Bold" and so on.
QStringList DefaultToolBarHints();
// The names the style list offers, and the list's width is measured on.
QStringList ToolBarStyleNames();

class TWPToolBar : public TWPCustomToolPanel {
  Q_OBJECT

 public:
  // At most this many buttons; further ones are left out.
  static constexpr int kMaxButtons = 48;

  explicit TWPToolBar(QWidget* parent = nullptr);
  ~TWPToolBar() override;

  // While updating, property changes do not rebuild; EndUpdate rebuilds once.
  void BeginUpdate() { ++FUpdating; }
  void EndUpdate();

  // --- properties -------------------------------------------------------------------
  TWpTbListboxSet sel_ListBoxes() const { return FListBoxes; }
  void Setsel_ListBoxes(TWpTbListboxSet set);
  TWpTbIconSet sel_StatusIcons() const { return FStatusIcons; }
  void Setsel_StatusIcons(TWpTbIconSet set);
  TWpTbIcon2Set sel_ActionIcons() const { return FActionIcons; }
  void Setsel_ActionIcons(TWpTbIcon2Set set);
  TWPTbIcon3Set sel_DatabaseIcons() const { return FDatabaseIcons; }
  void Setsel_DatabaseIcons(TWPTbIcon3Set set);
  TWPTbIcon4Set sel_EditIcons() const { return FEditIcons; }
  void Setsel_EditIcons(TWPTbIcon4Set set);
  // Both 0 means 8 to 72; a "from" of 0 means 1.
  void SetFontSizes(int from, int to);
  int FontSizeFrom() const { return FFontSizeFrom; }
  int FontSizeTo() const { return FFontSizeTo; }
  TFontSelChoice FontChoice() const { return FFontChoice; }
  void SetFontChoice(TFontSelChoice choice);
  int WidthBetweenGroups() const { return FWidthBetweenGroups; }
  void SetWidthBetweenGroups(int pixels);
  const QStringList& Hints() const { return FHints; }
  void SetHints(const QStringList& hints);
  bool ShowFont() const { return FShowFont; }
  void SetShowFont(bool on);
  const QFont& Font() const { return FFont; }
  void SetFont(const QFont& font);
  TWPBevel BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TWPBevel bevel);
  TWPBevel BevelInner() const { return FBevelInner; }
  void SetBevelInner(TWPBevel bevel);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int width);
  // Aligned to the top or bottom, the toolbar's height follows its rows.
  TWPToolBarAlign Align() const { return FAlign; }
  void SetAlign(TWPToolBarAlign align);
  // A memo, edit, label or panel that shows the chosen font and colours too.
  QWidget* UpdateObject = nullptr;
  QString UpdateObjectName;

  // --- events -------------------------------------------------------------------------
  std::function<void(TWPToolBar* sender, TWpSelNr typ, const std::string& str, int num)> OnSelection;
  std::function<void(TWPToolBar* sender, TWpSelNr typ, const std::string& str, int group, int num)>
      OnIconSelection;
  std::function<void(TWPToolBar* sender)> OnExit;
  std::function<void(TWPToolBar* sender)> OnChange;

  // --- what was built ---------------------------------------------------------------------
  // The list box of a list number (1 font name, 2 size, 3 text colour,
  // 4 background colour, 5 style, 6 paragraph colour); null when not built.
  TWPTBCombo* ListBox(int tag) const;
  // The button of group and number; null when not built.
  QToolButton* Button(int group, int number) const;
  // Buttons and list boxes in registration and creation order.
  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  QToolButton* ButtonAt(int index) const;
  // Whether a button is down.
  bool IsDown(int group, int number) const;
  // Buttons are square: the font's height + 9 pixels.
  int ButtonSize() const;
  // The rows' height the toolbar needs at its width.
  int RowsHeight() const { return FRowsHeight; }

 protected:
  void DoSetColorTable(const TWPColorTable& colors) override;
  bool DoIconDown(int group, int number) override;
  bool DoIconUp(int group, int number) override;
  bool DoEnableIcon(int index, bool on) override;
  bool DoEnableIconOf(int group, int number, bool on) override;
  void DoSetListValue(int list, const std::string& text, int number) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct TButton {
    QString Name;  // the picture's name, "WPI_BOLD"
    int Group = 0;
    int Number = 0;
    QToolButton* Widget = nullptr;
    bool Enabled = true;  // its own state; the toolbar's disabling comes on top
  };

  void Rebuild();
  void RegisterButtons();
  void CreateListBoxes();
  void CreateButtons();
  void Layout();
  int BevelPixels() const;
  void ApplyBevel();
  TButton* Find(int group, int number);
  QString HintFor(const QString& name) const;
  void SetDown(TButton& button, bool down);
  void ButtonClicked(int index);
  void ListChosen(TWPTBCombo* box, int index);
  void TypedEntered(TWPTBCombo* box);
  // Reports a list's value: list tag, item text, item index (-1 when typed).
  void RouteList(int tag, const QString& text, int index);
  void UpdateTheObject(int tag, const QString& text, int number);
  void FocusEditor();
  void Greying(bool greyed);

  TWpTbListboxSet FListBoxes{SelFontName, SelFontSize, SelFontColor, SelParColor};
  TWpTbIconSet FStatusIcons{SelBold, SelItalic, SelUnder, SelLeft, SelRight, SelBlock, SelCenter};
  TWpTbIcon2Set FActionIcons{SelPrint, SelPrintSetup};
  TWPTbIcon3Set FDatabaseIcons;
  TWPTbIcon4Set FEditIcons{SelCopy, SelCut, SelPaste, SelFind, SelReplace};
  int FFontSizeFrom = 8;
  int FFontSizeTo = 72;
  TFontSelChoice FFontChoice = fsPrinterFonts;
  int FWidthBetweenGroups = 4;
  QStringList FHints;
  bool FShowFont = false;
  QFont FFont;
  TWPBevel FBevelOuter = bvRaised;
  TWPBevel FBevelInner = bvNone;
  int FBevelWidth = 1;
  TWPToolBarAlign FAlign = alNone;
  int FUpdating = 0;
  // While a click or choice is routed, and whether a rebuild waits for its end.
  int FRouting = 0;
  bool FRebuildQueued = false;
  struct TRoutingScope {
    explicit TRoutingScope(int& depth) : Depth(++depth) {}
    ~TRoutingScope() { --Depth; }
    int& Depth;
  };
  int FRowsHeight = 0;

  std::vector<TButton> FButtons;
  std::vector<QPointer<TWPTBCombo>> FListBoxesBuilt;  // in creation order
};
