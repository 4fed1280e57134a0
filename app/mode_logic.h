#pragma once

#include <array>

#include "setupctrls/three_jumper.h"
#include "setupctrls/two_jumper.h"

// Placement of the six mode jumpers of one channel: the three-pin family jumper and the
// five two-pin RS-485 jumpers (true = cap on).
struct TModePlacement {
  TJumperState modeJMP;
  bool ModeTx, ModeRx, Term, TxRxPlus, TxRxMinus;

  friend bool operator==(const TModePlacement&, const TModePlacement&) = default;
};

constexpr int kModeCount = 7;

// The mode list's entries and the placement each one stands for, by list index.
constexpr std::array<const char*, kModeCount> kModeNames = {
    "RS 232 Mode",           "RS 422 Mode",
    "RS 485 Two Wire Mode",  "RS 485 Two Wire Mode-TERM",
    "RS 485 Four Wire Mode", "RS 485 Four Wire Mode-TERM",
    "Channel Disabled"};

constexpr std::array<TModePlacement, kModeCount> kModeTable = {{
    {jsLeft, false, false, false, false, false},
    {jsRight, false, false, false, false, false},
    {jsRight, true, true, false, true, true},
    {jsRight, true, true, true, true, true},
    {jsRight, true, false, false, false, false},
    {jsRight, true, false, true, false, false},
    {jsOpen, false, false, false, false, false},
}};

// The list index of a placement, or -1 when it is none of the seven.
int ModeIndexOf(const TModePlacement& placement);

// The six drawings the rules act on, wherever their panel currently is. Every write goes
// through the jumpers' properties, which repaint on change and never raise a click.
struct TModeJumpers {
  TThreeJumper* modeJMP = nullptr;
  TTwoJumper* ModeTx = nullptr;
  TTwoJumper* ModeRx = nullptr;
  TTwoJumper* Term = nullptr;
  TTwoJumper* TxRxPlus = nullptr;
  TTwoJumper* TxRxMinus = nullptr;

  TModePlacement Placement() const;
};

// A list choice: sets the six drawings to the entry's row; an index outside the list
// (no entry selected) changes nothing.
void ApplyMode(const TModeJumpers& jumpers, int index);

// The click rules. Each runs after the clicked drawing has changed its own state, writes
// the others in the fixed order, and returns the list index to select.
int ModeJMPClicked(const TModeJumpers& jumpers);
int ModeTxClicked(const TModeJumpers& jumpers);
// A click on one of the two-wire group; `first` and `second` are the other two members,
// in the order they are written.
int TwoWireClicked(const TModeJumpers& jumpers, TTwoJumper* clicked, TTwoJumper* first, TTwoJumper* second);
int TermClicked(const TModeJumpers& jumpers);
