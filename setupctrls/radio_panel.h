#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

#include "platform/anchors.h"
#include "platform/colour.h"
#include "platform/events.h"

class TTwoJumper;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// Event of the panel's radio group; Sender is the jumper that was clicked.
using TRadioPanelChangeEvent = std::function<void(QObject* Sender)>;

// The content of a highlight's popup: explanatory lines plus controls (jumper drawings,
// labels, a list). Declared hidden on the page; the popup takes it in for good.
class TRadioPanel : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool RadioEnabled READ RadioEnabled WRITE SetRadioEnabled)
  Q_PROPERTY(int MemoHeight READ MemoHeight WRITE SetMemoHeight)

 public:
  static constexpr int kDefaultMemoHeight = 58;

  explicit TRadioPanel(QWidget* parent = nullptr);
  ~TRadioPanel() override;

  bool RadioEnabled() const { return FRadioEnabled; }
  void SetRadioEnabled(bool value) { FRadioEnabled = value; }

  // Assigning copies the given strings.
  const QStringList& Lines() const { return FLines; }
  void SetLines(const QStringList& lines) { FLines = lines; }

  int MemoHeight() const { return FMemoHeight; }
  void SetMemoHeight(int value) { FMemoHeight = value; }

  // The anchors the panel takes inside its popup; acts at once once the panel is there.
  TAnchors FinalAnchors() const { return FFinalAnchors; }
  void SetFinalAnchors(TAnchors value);

  TColor Color() const { return FColor; }
  void SetColor(TColor value);

  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut value);

  const TRadioPanelChangeEvent& OnRadioChange() const { return FOnRadioChange; }
  void SetOnRadioChange(TRadioPanelChangeEvent event) { FOnRadioChange = std::move(event); }
  const TNotifyEvent& OnActivate() const { return FOnActivate; }
  void SetOnActivate(TNotifyEvent event) { FOnActivate = std::move(event); }
  const TNotifyEvent& OnDeactivate() const { return FOnDeactivate; }
  void SetOnDeactivate(TNotifyEvent event) { FOnDeactivate = std::move(event); }

  // Set by the popup when it takes the panel in; never cleared.
  bool InPopup() const { return FInPopup; }
  void MarkInPopup() { FInPopup = true; }

  // Closes Jumper and opens every other two-pin jumper child of the panel.
  void SelectJumper(TTwoJumper* jumper);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool FRadioEnabled = false;
  TRadioPanelChangeEvent FOnRadioChange;
  QStringList FLines;
  int FMemoHeight = kDefaultMemoHeight;
  TNotifyEvent FOnActivate;
  TNotifyEvent FOnDeactivate;
  TAnchors FFinalAnchors = akLeft | akTop;
  bool FInPopup = false;
  TColor FColor = clBtnFace;
  TBevelCut FBevelOuter = bvNone;
};
