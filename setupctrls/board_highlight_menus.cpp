// The board menus: each circle lists itself under the menu of its kind, the check mark
// shows which popups are pinned, and the popups' Previous and Next walk the entries.

#include <QAction>
#include <QMenu>
#include <QVariant>

#include "platform/class_name.h"
#include "platform/component_names.h"
#include "setupctrls/board_highlight.h"

namespace {

struct TMenuKind {
  const char* caption;
  const char* name;
  QStringList before;  // the new menu goes in front of the first of these
};

const TMenuKind& MenuKindFor(THighlightType type) {
  static const TMenuKind kOptions{"&Options", "Options", {QStringLiteral("&Help")}};
  static const TMenuKind kSettings{
      "&Settings",
      "Settings",
      {QStringLiteral("&Calibration"), QStringLiteral("&Options"), QStringLiteral("&Help")}};
  static const TMenuKind kCalibration{
      "&Calibration", "Calibration", {QStringLiteral("&Options"), QStringLiteral("&Help")}};
  switch (type) {
    case htOptions: return kOptions;
    case htCalibration: return kCalibration;
    case htSettings: break;
  }
  return kSettings;
}

// Entries remember the circle whose MenuItemClick is their click event; the pointer
// clears itself when that circle goes.
constexpr const char* kEntryHighlight = "_setup_entry_highlight";

TBoardHighlight* EntryHighlight(const QAction* entry) {
  return entry->property(kEntryHighlight).value<QPointer<TBoardHighlight>>();
}

// Component name of an entry whose title has no identifier in it.
const QString kUnnamedEntryBase = QStringLiteral("Item");

}  // namespace

QAction* TBoardHighlight::FindMenuEntry(QMenu** menu) const {
  if (FMainMenu == nullptr) return nullptr;
  const QString caption = QString::fromLatin1(MenuKindFor(FHighlightType).caption);
  const QList<QAction*> topItems = FMainMenu->actions();
  for (QAction* top : topItems) {
    if (top->text() != caption || top->menu() == nullptr) continue;
    const QList<QAction*> items = top->menu()->actions();
    for (QAction* item : items) {
      if (item->isSeparator() || item->text() != FTitle) continue;
      if (menu != nullptr) *menu = top->menu();
      return item;
    }
  }
  return nullptr;
}

void TBoardHighlight::AddToMenu() {
  if (FMainMenu == nullptr) return;
  const TMenuKind& kind = MenuKindFor(FHighlightType);
  const QString caption = QString::fromLatin1(kind.caption);
  // Menu items belong to the menu's owner, the main window, and are named within it.
  QWidget* owner = FMainMenu->window();

  const auto addEntry = [&](QMenu* menu) {
    if (FTitle.isEmpty()) return;
    auto* entry = new QAction(FTitle, owner);
    entry->setObjectName(UniqueComponentName(owner, FMenuName.isEmpty() ? kUnnamedEntryBase : FMenuName));
    entry->setCheckable(true);
    entry->setProperty(kEntryHighlight, QVariant::fromValue(QPointer<TBoardHighlight>(this)));
    connect(entry, &QAction::triggered, this, [this, entry](bool checked) {
      // The action has just flipped its own mark; the mark follows the popup instead.
      entry->setChecked(!checked);
      Guarded(entry, [&] { MenuItemClick(entry); });
    });
    menu->addAction(entry);
  };

  const QList<QAction*> topItems = FMainMenu->actions();
  for (QAction* top : topItems) {
    if (top->text() != caption || top->menu() == nullptr) continue;
    const QList<QAction*> items = top->menu()->actions();
    for (const QAction* item : items) {
      if (!item->isSeparator() && item->text() == FTitle) return;  // listed already (a linked circle)
    }
    addEntry(top->menu());
    return;
  }

  auto* menu = new QMenu(caption, owner);
  menu->setObjectName(UniqueComponentName(owner, QString::fromLatin1(kind.name)));
  QAction* before = nullptr;
  for (QAction* top : topItems) {
    if (kind.before.contains(top->text())) {
      before = top;
      break;
    }
  }
  FMainMenu->insertMenu(before, menu);
  addEntry(menu);
}

void TBoardHighlight::SetMenuChecked(bool Value) {
  if (QAction* entry = FindMenuEntry()) entry->setChecked(Value);
}

void TBoardHighlight::MenuItemClick(QObject* Sender) {
  const auto* item = IsExactClass(Sender, "QAction") ? static_cast<const QAction*>(Sender) : nullptr;
  if (item != nullptr && item->isChecked()) {
    // The popup is pinned: the checked entry closes it, wherever in the group it lives.
    if (FPopup != nullptr) {
      FPopup->close();
    } else {
      for (TBoardHighlight* linked : LinkedHighlights()) {
        if (linked->FPopup != nullptr) linked->MenuItemClick(Sender);
      }
    }
    return;
  }
  CMMouseEnter(0);
  PinPopup();
  CMMouseLeave(0);
}

void TBoardHighlight::Navigate(int step) {
  if (FMainMenu == nullptr) return;
  QMenu* menu = nullptr;
  QAction* entry = FindMenuEntry(&menu);
  if (entry == nullptr) return;
  const QList<QAction*> items = menu->actions();
  const qsizetype m = items.size();
  const qsizetype j = items.indexOf(entry);
  if (FPopup != nullptr) FPopup->close();
  // Items that open no circle (separators, items the form declares itself, entries of a
  // circle that is gone) are stepped over; at worst the walk comes round to this entry.
  for (qsizetype k = 1; k <= m; ++k) {
    const qsizetype index = ((j + step * k) % m + m) % m;
    if (TBoardHighlight* target = EntryHighlight(items.at(index))) {
      target->MenuItemClick(this);
      return;
    }
  }
}

void TBoardHighlight::PreviousClick(QObject* /*Sender*/) { Navigate(-1); }

void TBoardHighlight::NextClick(QObject* /*Sender*/) { Navigate(+1); }

void TBoardHighlight::DoneClick(QObject* /*Sender*/) {
  if (FPopup != nullptr) FPopup->close();
}
