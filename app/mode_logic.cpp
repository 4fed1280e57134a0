#include "app/mode_logic.h"

namespace {

constexpr int kRS232 = 0;
constexpr int kRS422 = 1;
constexpr int kTwoWire = 2;
constexpr int kTwoWireTerm = 3;
constexpr int kFourWire = 4;
constexpr int kFourWireTerm = 5;
constexpr int kDisabled = 6;

void OpenAllTwoPin(const TModeJumpers& j) {
  j.ModeTx->SetClosed(false);
  j.ModeRx->SetClosed(false);
  j.Term->SetClosed(false);
  j.TxRxPlus->SetClosed(false);
  j.TxRxMinus->SetClosed(false);
}

}  // namespace

int ModeIndexOf(const TModePlacement& placement) {
  for (int i = 0; i < kModeCount; ++i) {
    if (kModeTable[i] == placement) return i;
  }
  return -1;
}

TModePlacement TModeJumpers::Placement() const {
  return {modeJMP->JumperState(), ModeTx->Closed(),   ModeRx->Closed(),
          Term->Closed(),         TxRxPlus->Closed(), TxRxMinus->Closed()};
}

void ApplyMode(const TModeJumpers& j, int index) {
  if (index < 0 || index >= kModeCount) return;
  const TModePlacement& row = kModeTable[index];
  j.modeJMP->SetJumperState(row.modeJMP);
  j.ModeTx->SetClosed(row.ModeTx);
  j.ModeRx->SetClosed(row.ModeRx);
  j.Term->SetClosed(row.Term);
  j.TxRxPlus->SetClosed(row.TxRxPlus);
  j.TxRxMinus->SetClosed(row.TxRxMinus);
}

int ModeJMPClicked(const TModeJumpers& j) {
  // The family jumper always removes every RS-485 cap.
  OpenAllTwoPin(j);
  switch (j.modeJMP->JumperState()) {
    case jsOpen: return kDisabled;
    case jsLeft: return kRS232;
    case jsRight: return kRS422;
  }
  return kRS232;
}

int ModeTxClicked(const TModeJumpers& j) {
  if (j.ModeTx->Closed()) {
    j.modeJMP->SetJumperState(jsRight);
    j.ModeRx->SetClosed(false);
    j.Term->SetClosed(false);
    j.TxRxPlus->SetClosed(false);
    j.TxRxMinus->SetClosed(false);
    return kFourWire;
  }
  // Opening the RS-485 switch falls back to RS-422 and leaves the family jumper alone.
  j.ModeRx->SetClosed(false);
  j.Term->SetClosed(false);
  j.TxRxPlus->SetClosed(false);
  j.TxRxMinus->SetClosed(false);
  return kRS422;
}

int TwoWireClicked(const TModeJumpers& j, TTwoJumper* clicked, TTwoJumper* first, TTwoJumper* second) {
  // The two-wire group moves together and never selects a terminated entry.
  const bool closed = clicked->Closed();
  j.ModeTx->SetClosed(true);
  j.modeJMP->SetJumperState(jsRight);
  first->SetClosed(closed);
  second->SetClosed(closed);
  j.Term->SetClosed(false);
  return closed ? kTwoWire : kFourWire;
}

int TermClicked(const TModeJumpers& j) {
  j.modeJMP->SetJumperState(jsRight);
  j.ModeTx->SetClosed(true);
  const bool term = j.Term->Closed();
  const bool twoWire = j.TxRxMinus->Closed();
  if (twoWire) return term ? kTwoWireTerm : kTwoWire;
  return term ? kFourWireTerm : kFourWire;
}
