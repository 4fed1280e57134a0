// The channel mode list and the six jumper drawings of the product page, driven through
// the real main window: every click from every placement, every list choice from every
// placement, and the walks a technician makes.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <memory>

#include "app/main_form.h"
#include "platform/application.h"

namespace {

enum Drawing { kModeJMP, kModeTx, kModeRx, kTerm, kTxRxPlus, kTxRxMinus, kDrawingCount };
constexpr const char* kDrawingNames[] = {"modeJMP", "ModeTx", "ModeRx", "Term", "TxRxPlus", "TxRxMinus"};

// The row each click leads to, by starting row 0..6, written from the click rules.
constexpr int kAfterClick[kDrawingCount][kModeCount] = {
    /* modeJMP   */ {1, 6, 6, 6, 6, 6, 0},
    /* ModeTx    */ {4, 4, 1, 1, 1, 1, 4},
    /* ModeRx    */ {2, 2, 4, 4, 2, 2, 2},
    /* Term      */ {5, 5, 3, 2, 5, 4, 5},
    /* TxRxPlus  */ {2, 2, 4, 4, 2, 2, 2},
    /* TxRxMinus */ {2, 2, 4, 4, 2, 2, 2},
};

std::unique_ptr<TMainForm> NewForm() {
  auto form = std::make_unique<TMainForm>();
  Application().SetMainForm(form.get());
  return form;
}

void Click(TMainForm& form, int drawing) {
  switch (drawing) {
    case kModeJMP: form.modeJMP->Click(); break;
    case kModeTx: form.ModeTx->Click(); break;
    case kModeRx: form.ModeRx->Click(); break;
    case kTerm: form.Term->Click(); break;
    case kTxRxPlus: form.TxRxPlus->Click(); break;
    case kTxRxMinus: form.TxRxMinus->Click(); break;
  }
}

// What a user does when picking an entry of the drop-down list.
void Choose(TMainForm& form, int index) {
  form.modeCOMBO->setCurrentIndex(index);
  emit form.modeCOMBO->activated(index);
}

void StartAt(TMainForm& form, int row) { Choose(form, row); }

// The placement is one of the seven rows, the list shows that row, and the wiring rules
// hold.
void ExpectConsistent(const TMainForm& form, int row) {
  const TModePlacement p = form.ModeJumpers().Placement();
  EXPECT_EQ(ModeIndexOf(p), row);
  EXPECT_EQ(p, kModeTable[row]);
  EXPECT_EQ(form.modeCOMBO->currentIndex(), row);
  EXPECT_EQ(form.modeCOMBO->currentText(), QLatin1String(kModeNames[row]));
  EXPECT_TRUE(p.ModeRx == p.TxRxPlus && p.TxRxPlus == p.TxRxMinus);
  if (p.ModeRx || p.Term || p.TxRxPlus || p.TxRxMinus) {
    EXPECT_TRUE(p.ModeTx);
  }
  if (p.ModeTx) {
    EXPECT_EQ(p.modeJMP, jsRight);
  }
}

class ModeClick : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(ModeClick, LeadsToTheRowTheRulesName) {
  const auto [start, drawing] = GetParam();
  auto form = NewForm();
  StartAt(*form, start);
  ExpectConsistent(*form, start);
  Click(*form, drawing);
  ExpectConsistent(*form, kAfterClick[drawing][start]);
}

INSTANTIATE_TEST_SUITE_P(AllPlacementsAllDrawings, ModeClick,
                         ::testing::Combine(::testing::Range(0, kModeCount),
                                            ::testing::Range(0, int(kDrawingCount))),
                         [](const auto& info) {
                           return "from" + std::to_string(std::get<0>(info.param)) + "_" +
                                  kDrawingNames[std::get<1>(info.param)];
                         });

class ModeChoice : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(ModeChoice, SetsTheEntrysRow) {
  const auto [start, entry] = GetParam();
  auto form = NewForm();
  StartAt(*form, start);
  Choose(*form, entry);
  ExpectConsistent(*form, entry);
}

INSTANTIATE_TEST_SUITE_P(AllPlacementsAllEntries, ModeChoice,
                         ::testing::Combine(::testing::Range(0, kModeCount), ::testing::Range(0, kModeCount)),
                         [](const auto& info) {
                           return "from" + std::to_string(std::get<0>(info.param)) + "_to" +
                                  std::to_string(std::get<1>(info.param));
                         });

TEST(ModeWalks, StartsAtRS232WithTheFamilyJumperLeft) {
  auto form = NewForm();
  ExpectConsistent(*form, 0);
  EXPECT_EQ(form->modeJMP->JumperState(), jsLeft);
}

TEST(ModeWalks, ThreeClicksOnTheFamilyJumperCycleWithAllCapsOff) {
  auto form = NewForm();
  for (int expected : {1, 6, 0}) {
    form->modeJMP->Click();
    ExpectConsistent(*form, expected);
  }
}

struct Walk {
  const char* name;
  int start;
  int drawing;
  int expected;
};

class ModeWalk : public ::testing::TestWithParam<Walk> {};

TEST_P(ModeWalk, EndsWhereTheTechnicianExpects) {
  auto form = NewForm();
  StartAt(*form, GetParam().start);
  Click(*form, GetParam().drawing);
  ExpectConsistent(*form, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Listed, ModeWalk,
                         ::testing::Values(Walk{"two_wire_term_ModeRx_gives_four_wire", 3, kModeRx, 4},
                                           Walk{"rs232_Term_gives_four_wire_term", 0, kTerm, 5},
                                           Walk{"rs232_TxRxPlus_gives_two_wire", 0, kTxRxPlus, 2},
                                           Walk{"two_wire_ModeTx_gives_rs422", 2, kModeTx, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ModeList, ChoosingTheSelectedEntryChangesNothing) {
  auto form = NewForm();
  StartAt(*form, 3);
  Choose(*form, 3);
  ExpectConsistent(*form, 3);
}

TEST(ModeList, TypedTextSelectsNoEntryAndMovesNoJumper) {
  auto form = NewForm();
  StartAt(*form, 5);
  QTest::keyClicks(form->modeCOMBO->lineEdit(), QStringLiteral("RS 4"));
  EXPECT_EQ(form->ModeJumpers().Placement(), kModeTable[5]);
}

TEST(ModeList, NoEntrySelectedChangesNoJumper) {
  auto form = NewForm();
  StartAt(*form, 2);
  form->modeCOMBO->setCurrentIndex(-1);
  form->modeCOMBOChange(form->modeCOMBO);
  EXPECT_EQ(form->ModeJumpers().Placement(), kModeTable[2]);
}

}  // namespace
