#pragma once

#include "setupctrls/jumper_frame.h"

// A clickable two-pin header: two bare pins on a grey base, or a cap over both. A click
// toggles the cap; in an option panel with its radio group on, the panel then leaves
// this jumper as the only closed one. OnClick fires last, so it sees the new state.
class TTwoJumper : public TJumperFrame {
  Q_OBJECT
  Q_PROPERTY(bool Closed READ Closed WRITE SetClosed)

 public:
  static constexpr int kDefaultWidth = 34;
  static constexpr int kDefaultHeight = 18;

  // Where the pins sit in a work image L long and T thick: pins of radius r centred px
  // from each end on the centre line cy.
  struct TMeasures {
    int a = 0;
    int px = 0;
    int r = 0;
    int cy = 0;
  };
  static TMeasures Measures(int L, int T);

  explicit TTwoJumper(QWidget* parent = nullptr);

  bool Closed() const { return FClosed; }
  void SetClosed(bool value);

  void Click() override;

 protected:
  void ComposeWork(TCanvas& canvas, int L, int T) override;

 private:
  bool FClosed = false;
};
