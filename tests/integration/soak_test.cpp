// A long random walk over the whole product page: ten thousand user actions from a seeded
// generator, with the page's promises checked after every one of them, and the resident
// memory of the process watched once the page has settled in. Replay a failing walk with
// SOAK_SEED=<seed> as printed at the start.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/application.h"
#include "setupctrls/board_highlight.h"
#include "setupctrls/board_image.h"
#include "setupctrls/help_form.h"
#include "setupctrls/popup_form.h"
#include "setupctrls/radio_panel.h"
#include "setupctrls/setup_supporter.h"
#include "setupctrls/tech_form.h"
#include "support/test_support.h"

#if defined(__SANITIZE_ADDRESS__)
#define SOAK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_UNDER_ASAN 1
#endif
#endif
#ifndef SOAK_UNDER_ASAN
#define SOAK_UNDER_ASAN 0
#endif

namespace {

constexpr int kActions = 10000;
constexpr int kWarmUpActions = 1000;
// Closing a window gives up its native window and the next show makes a new one; the
// offscreen platform keeps a small record for every native window it has seen, some tens
// of bytes per closing, which stays well inside this allowance.
constexpr long kAllowedGrowthKiB = 1024;
// A point off every window, where the pointer rests between visits.
constexpr QPoint kNowhere(790, 790);
// A spot on the photograph that no circle covers, in board image coordinates.
constexpr QPoint kBareBoard(150, 200);
// How many of the latest actions a failure lists.
constexpr std::size_t kHistoryLength = 25;
// Colours are compared without their fourth byte, which the window may not keep.
constexpr QRgb kRgbMask = 0x00FFFFFFu;

enum Kind {
  kHover,
  kLeave,
  kClickCircle,
  kMenuEntry,
  kPrevious,
  kNext,
  kDone,
  kClickJumper,
  kChooseMode,
  kOpenHelp,
  kCloseHelp,
  kOpenSupport,
  kCloseSupport,
  kKindCount
};

constexpr std::array<const char*, kKindCount> kKindNames = {
    "hover",        "leave",       "click circle", "menu entry", "Previous",     "Next",         "Done",
    "click jumper", "choose mode", "open help",    "close help", "open support", "close support"};

// The offscreen platform writes a notice each time a window is raised or sized, which
// ten thousand actions would bury the report under. Everything else Qt says still shows.
class QuietPlatformNotices {
 public:
  QuietPlatformNotices() { Previous() = qInstallMessageHandler(&Filter); }
  ~QuietPlatformNotices() { qInstallMessageHandler(Previous()); }
  QuietPlatformNotices(const QuietPlatformNotices&) = delete;
  QuietPlatformNotices& operator=(const QuietPlatformNotices&) = delete;

 private:
  static QtMessageHandler& Previous() {
    static QtMessageHandler handler = nullptr;
    return handler;
  }
  static void Filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support"))) return;
    if (Previous() != nullptr) {
      Previous()(type, context, text);
    } else {
      std::fprintf(stderr, "%s\n", qPrintable(text));
    }
  }
};

// Resident memory of this process in KiB, or -1 when the system does not tell.
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

// The seed from SOAK_SEED, or a fresh one. An unreadable SOAK_SEED is reported, not
// silently replaced, so that a replay never runs some other walk.
std::optional<std::uint32_t> SoakSeed() {
  if (const char* text = std::getenv("SOAK_SEED"); text != nullptr && *text != '\0') {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (*end != '\0' || value > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<std::uint32_t>(value);
  }
  return std::random_device{}();
}

// The product page as the program shows it, with the supporter's windows built and the
// help window it opens at start already up.
struct SoakPage {
  MessageBoxRecorder boxes;
  std::unique_ptr<TMainForm> form = std::make_unique<TMainForm>();
  std::array<std::optional<QPoint>, 3> probes;

  SoakPage() {
    QCursor::setPos(kNowhere);
    Application().SetMainForm(form.get());
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          return Circles()[0]->FirstPaintDone() && Circles()[1]->FirstPaintDone() &&
                 Circles()[2]->FirstPaintDone();
        },
        5000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form->SetSup->HelpForm() != nullptr && form->SetSup->HelpForm()->isVisible(); }, 5000));
    Settle();
    for (std::size_t i = 0; i < Circles().size(); ++i) {
      probes[i] = Probe(Circles()[i]);
      EXPECT_TRUE(probes[i].has_value())
          << Circles()[i]->Title().toStdString() << ": the looks do not differ";
    }
  }
  ~SoakPage() {
    QCursor::setPos(kNowhere);
    Application().SetMainForm(nullptr);
  }

  std::array<TBoardHighlight*, 3> Circles() const { return {form->ModeHLT, form->ledHLT, form->usbHLT}; }
  std::array<QWidget*, 6> Jumpers() const {
    return {form->modeJMP, form->ModeTx, form->ModeRx, form->Term, form->TxRxPlus, form->TxRxMinus};
  }
  // A point of a circle where its normal look differs from both lit ones: on the centre
  // column, the first such pixel from the bottom up (the ring).
  static std::optional<QPoint> Probe(const TBoardHighlight* circle) {
    const QImage& normal = circle->NormalImage();
    const int x = normal.width() / 2;
    for (int y = normal.height() - 1; y >= 0; --y) {
      const QRgb colour = normal.pixel(x, y) & kRgbMask;
      if (colour != (circle->BrightImage().pixel(x, y) & kRgbMask) &&
          colour != (circle->GlintImage().pixel(x, y) & kRgbMask)) {
        return QPoint(x, y);
      }
    }
    return std::nullopt;
  }

  // The colour the main window shows at a point of a circle, as last painted there.
  QRgb Shown(const TBoardHighlight* circle, QPoint point) const {
    const QPoint at = circle->mapTo(form.get(), point);
    return form->screen()->grabWindow(form->winId(), at.x(), at.y(), 1, 1).toImage().pixel(0, 0) & kRgbMask;
  }

  THelpForm* Help() const { return form->SetSup->HelpForm(); }
  TTechForm* Support() const { return form->SetSup->TechForm(); }

  // The menu entry that lists a circle, under the menu of its kind.
  QAction* Entry(const TBoardHighlight* circle) const {
    for (QAction* top : form->MainMenu1->actions()) {
      if (top->menu() == nullptr) continue;
      for (QAction* item : top->menu()->actions()) {
        if (!item->isSeparator() && item->text() == circle->Title()) return item;
      }
    }
    return nullptr;
  }
  QAction* TopItemOf(QAction* entry) const {
    for (QAction* top : form->MainMenu1->actions()) {
      if (top->menu() != nullptr && top->menu()->actions().contains(entry)) return top;
    }
    return nullptr;
  }

  std::vector<TPopupForm*> VisiblePopups() const {
    std::vector<TPopupForm*> popups;
    for (TBoardHighlight* circle : Circles()) {
      if (circle->Popup() != nullptr && circle->Popup()->isVisible()) popups.push_back(circle->Popup());
    }
    return popups;
  }
  // A circle the user can click: no other window lies over its centre.
  std::vector<TBoardHighlight*> ClickableCircles() const {
    std::vector<TBoardHighlight*> circles;
    for (TBoardHighlight* circle : Circles()) {
      if (QApplication::topLevelAt(Centre(circle)) == form.get()) circles.push_back(circle);
    }
    return circles;
  }

  static QPoint Centre(const QWidget* widget) { return widget->mapToGlobal(widget->rect().center()); }

  // The user's hand: the pointer goes to the control first, then presses on it.
  static void PointAndClick(QWidget* widget) {
    QCursor::setPos(Centre(widget));
    Settle();
    QTest::mouseClick(widget, Qt::LeftButton);
  }
  void PointAtMenu(QAction* top) const {
    QCursor::setPos(form->MainMenu1->mapToGlobal(form->MainMenu1->actionGeometry(top).center()));
    Settle();
  }

  // Which circles of closed popups still show a lit look in the main window, once the
  // pending paints are done; an empty string when none does.
  std::string StillLit() const {
    std::ostringstream out;
    for (std::size_t i = 0; i < Circles().size(); ++i) {
      const TBoardHighlight* circle = Circles()[i];
      if (circle->Popup() != nullptr && circle->Popup()->isVisible()) continue;
      const QPoint probe = *probes[i];
      const QRgb normal = circle->NormalImage().pixel(probe) & kRgbMask;
      if (!QTest::qWaitFor([&] { return Shown(circle, probe) == normal; }, 5000)) {
        out << circle->Title().toStdString() << ": popup closed but the window shows 0x" << std::hex
            << Shown(circle, probe) << " instead of the normal look's 0x" << normal << std::dec << "; ";
      }
    }
    return out.str();
  }

  // What is wrong with the page now, or an empty string.
  std::string Broken() const {
    std::ostringstream out;
    const TModePlacement placement = form->ModeJumpers().Placement();
    const int row = ModeIndexOf(placement);
    if (row < 0) out << "the jumpers show no row of the mode table; ";
    if (form->modeCOMBO->currentIndex() != row) {
      out << "the mode list selects entry " << form->modeCOMBO->currentIndex() << " but the jumpers show row "
          << row << "; ";
    } else if (row >= 0 && form->modeCOMBO->currentText() != QLatin1String(kModeNames[row])) {
      out << "the mode list reads \"" << form->modeCOMBO->currentText().toStdString() << "\" for row " << row
          << "; ";
    }
    for (const TBoardHighlight* circle : Circles()) {
      const TPopupForm* popup = circle->Popup();
      const bool open = popup != nullptr && popup->isVisible();
      if (!open && circle->ChosenLook() != TBoardHighlight::TLook::Normal) {
        out << circle->Title().toStdString() << ": popup closed but the circle is not back to normal (hot "
            << circle->Hot() << ", popup active " << circle->PopupActive() << "); ";
      }
      const QAction* entry = Entry(circle);
      if (entry == nullptr) {
        out << circle->Title().toStdString() << ": no menu entry; ";
      } else if (entry->isChecked() != (open && circle->Pinned())) {
        out << circle->Title().toStdString() << ": menu check " << entry->isChecked() << " for popup open "
            << open << ", pinned " << circle->Pinned() << "; ";
      }
    }
    if (!boxes.Boxes().empty()) {
      out << "an error was reported: " << boxes.Boxes().back().text.toStdString() << "; ";
    }
    return out.str();
  }
};

// Picks the walk's next step among the actions that make sense on the page as it is, and
// performs it. Returns what it did, for the failure report.
class Walker {
 public:
  Walker(SoakPage& page, std::uint32_t seed) : FPage(page), FRandom(seed) {}

  std::string Step() {
    std::vector<Kind> possible;
    for (int k = 0; k < kKindCount; ++k) {
      if (Possible(static_cast<Kind>(k))) possible.push_back(static_cast<Kind>(k));
    }
    const Kind kind = possible[Pick(possible.size())];
    ++FCounts[kind];
    std::string done = kKindNames[kind];
    Perform(kind, done);
    Settle();
    return done;
  }

  const std::array<int, kKindCount>& Counts() const { return FCounts; }

 private:
  std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(FRandom); }
  template <class T>
  T* PickOf(const std::vector<T*>& items) {
    return items[Pick(items.size())];
  }

  bool ModePanelOpen() const { return FPage.form->ModePNL->isVisible(); }

  bool Possible(Kind kind) const {
    switch (kind) {
      case kClickCircle: return !FPage.ClickableCircles().empty();
      case kPrevious:
      case kNext:
      case kDone: return !FPage.VisiblePopups().empty();
      case kClickJumper:
      case kChooseMode: return ModePanelOpen();
      case kCloseHelp: return FPage.Help()->isVisible();
      case kCloseSupport: return FPage.Support()->isVisible();
      default: return true;
    }
  }

  void Perform(Kind kind, std::string& done) {
    const auto circles = FPage.Circles();
    switch (kind) {
      case kHover: {
        TBoardHighlight* circle = circles[Pick(circles.size())];
        done += " " + circle->Title().toStdString();
        QCursor::setPos(SoakPage::Centre(circle));
        break;
      }
      case kLeave: {
        // Off the circle: out of every window, onto the bare photograph, or into a popup.
        const auto popups = FPage.VisiblePopups();
        const std::size_t where = Pick(popups.empty() ? 2 : 3);
        if (where == 0) {
          done += " to nowhere";
          QCursor::setPos(kNowhere);
        } else if (where == 1) {
          done += " to the bare board";
          QCursor::setPos(FPage.form->BoardImage1->mapToGlobal(kBareBoard));
        } else {
          TPopupForm* popup = PickOf(popups);
          done += " into " + popup->windowTitle().toStdString();
          QCursor::setPos(popup->frameGeometry().center());
        }
        break;
      }
      case kClickCircle: {
        TBoardHighlight* circle = PickOf(FPage.ClickableCircles());
        done += " " + circle->Title().toStdString();
        SoakPage::PointAndClick(circle);
        break;
      }
      case kMenuEntry: {
        TBoardHighlight* circle = circles[Pick(circles.size())];
        QAction* entry = FPage.Entry(circle);
        done += " " + circle->Title().toStdString() + (entry->isChecked() ? " (checked)" : "");
        FPage.PointAtMenu(FPage.TopItemOf(entry));
        entry->trigger();
        break;
      }
      case kPrevious:
      case kNext:
      case kDone: {
        TPopupForm* popup = PickOf(FPage.VisiblePopups());
        done += " of " + popup->windowTitle().toStdString();
        SoakPage::PointAndClick(kind == kPrevious ? popup->PreviousButton()
                                : kind == kNext   ? popup->NextButton()
                                                  : popup->DoneButton());
        break;
      }
      case kClickJumper: {
        QWidget* jumper = FPage.Jumpers()[Pick(FPage.Jumpers().size())];
        done += " " + jumper->objectName().toStdString();
        SoakPage::PointAndClick(jumper);
        break;
      }
      case kChooseMode: {
        const int index = static_cast<int>(Pick(kModeCount));
        done += " " + std::to_string(index);
        QComboBox* list = FPage.form->modeCOMBO;
        QCursor::setPos(SoakPage::Centre(list));
        Settle();
        // What the list does when the user picks an entry from it.
        list->setCurrentIndex(index);
        emit list->activated(index);
        break;
      }
      case kOpenHelp:
        FPage.PointAtMenu(FPage.form->Help1->menuAction());
        FPage.form->Howtousethisprogram1->trigger();
        break;
      case kOpenSupport:
        FPage.PointAtMenu(FPage.form->Help1->menuAction());
        FPage.form->TechnicalSupport1->trigger();
        break;
      case kCloseHelp:
      case kCloseSupport: {
        QDialog* window = kind == kCloseHelp ? static_cast<QDialog*>(FPage.Help()) : FPage.Support();
        QPushButton* button = kind == kCloseHelp ? FPage.Help()->StartButton : FPage.Support()->CloseButton;
        switch (Pick(3)) {
          case 0:
            done += " with " + button->text().toStdString();
            SoakPage::PointAndClick(button);
            break;
          case 1:
            done += " with Esc";
            QTest::keyClick(window, Qt::Key_Escape);
            break;
          default:
            done += " with the close box";
            QCursor::setPos(window->frameGeometry().topLeft() +
                            QPoint(window->frameGeometry().width() / 2, 2));
            Settle();
            window->close();
            break;
        }
        break;
      }
      case kKindCount: break;
    }
  }

  SoakPage& FPage;
  std::mt19937 FRandom;
  std::array<int, kKindCount> FCounts{};
};

TEST(Soak, TenThousandRandomActionsKeepThePageWhole) {
  const std::optional<std::uint32_t> seed = SoakSeed();
  ASSERT_TRUE(seed.has_value()) << "SOAK_SEED must be a decimal number below 2^32, not \""
                                << std::getenv("SOAK_SEED") << "\"";
  const std::string replay =
      "soak seed: " + std::to_string(*seed) + " (replay with SOAK_SEED=" + std::to_string(*seed) + ")";
  std::cout << replay << std::endl;
  RecordProperty("soak_seed", std::to_string(*seed));
  SCOPED_TRACE(replay);

  const QuietPlatformNotices quiet;
  SoakPage page;
  ASSERT_FALSE(::testing::Test::HasFailure()) << "the page did not come up";
  ASSERT_EQ(page.Broken() + page.StillLit(), "") << "before the first action";

  Walker walker(page, *seed);
  std::deque<std::string> history;
  long warmedUpKiB = -1;
  int done = 0;
  for (int i = 1; i <= kActions; ++i) {
    history.push_back(std::to_string(i) + ": " + walker.Step());
    if (history.size() > kHistoryLength) history.pop_front();
    done = i;
    if (const std::string broken = page.Broken() + page.StillLit(); !broken.empty()) {
      std::string recent;
      for (const std::string& line : history) recent += "\n  " + line;
      FAIL() << "after action " << i << ": " << broken << "\nlatest actions:" << recent;
    }
    if (i == kWarmUpActions) warmedUpKiB = ResidentKiB();
  }
  const long finalKiB = ResidentKiB();

  std::cout << "soak: " << done << " actions done\n";
  for (int k = 0; k < kKindCount; ++k)
    std::cout << "  " << kKindNames[k] << ": " << walker.Counts()[k] << "\n";
  std::cout << "soak: resident memory after " << kWarmUpActions << " actions " << warmedUpKiB
            << " KiB, at the end " << finalKiB << " KiB, growth " << finalKiB - warmedUpKiB << " KiB"
            << std::endl;

  if (SOAK_UNDER_ASAN) {
    std::cout << "soak: AddressSanitizer build, whose allocator keeps freed memory in quarantine: the "
                 "resident memory figures say nothing here and are not checked"
              << std::endl;
    return;
  }
  ASSERT_GT(warmedUpKiB, 0) << "no resident memory figure in /proc/self/status";
  EXPECT_LE(finalKiB - warmedUpKiB, kAllowedGrowthKiB)
      << "resident memory grew from " << warmedUpKiB << " KiB to " << finalKiB << " KiB";
}

}  // namespace
