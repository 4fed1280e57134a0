#pragma once

#include "setupctrls/jumper_frame.h"

// A clickable three-pin header whose cap joins the left and middle pins, the middle and
// right pins, or is absent. A click moves the cap on (open, left, right, and round
// again); with AllowOpen off the open place is skipped and refused. OnClick fires after
// the move, so it sees the new state.
class TThreeJumper : public TJumperFrame {
  Q_OBJECT
  Q_PROPERTY(TJumperState JumperState READ JumperState WRITE SetJumperState)
  Q_PROPERTY(bool AllowOpen READ AllowOpen WRITE SetAllowOpen)

 public:
  static constexpr int kDefaultWidth = 43;
  static constexpr int kDefaultHeight = 18;

  // Where the pins and the cap sit in a work image L long and T thick: outer pins px from
  // each end, the middle pin at cx, all of radius r on the centre line cy; a cap reaches
  // h past the middle.
  struct TMeasures {
    int a = 0;
    int px = 0;
    int r = 0;
    int cy = 0;
    int cx = 0;
    int h = 0;
  };
  static TMeasures Measures(int L, int T);

  explicit TThreeJumper(QWidget* parent = nullptr);

  TJumperState JumperState() const { return FJumperState; }
  // jsOpen is refused, silently, while AllowOpen is off.
  void SetJumperState(TJumperState value);

  bool AllowOpen() const { return FAllowOpen; }
  void SetAllowOpen(bool value);

  void Click() override;

 protected:
  void ComposeWork(TCanvas& canvas, int L, int T) override;

 private:
  TJumperState FJumperState = jsOpen;
  bool FAllowOpen = true;
};
