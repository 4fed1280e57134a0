// The calibration polling of the setup supporter: one tick reads every channel through the
// page's handler and writes the readings into the page's reading lists.

#include "platform/application.h"
#include "platform/click_event.h"
#include "setupctrls/setup_supporter.h"

namespace {

constexpr unsigned kMissingHandlerFlags = MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TOPMOST;
constexpr unsigned kTotalFailureFlags =
    MB_RETRYCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2 | MB_SETFOREGROUND | MB_TOPMOST;

template <class TControl>
TControl* ControlIn(TControl** variable) {
  return variable != nullptr ? *variable : nullptr;
}

}  // namespace

void TSetupSupporter::CalibrationTick() {
  // Copies, because a handler may assign other handlers while it runs.
  const TNotifyEvent beginCalib = FOnBeginCalib;
  if (beginCalib) beginCalib(this);

  const TCalibEvent getCalibString = FOnGetCalibString;
  if (!getCalibString) {
    SetCalibrating(false);
    Application().MessageBox(QStringLiteral("Error: calibration begun, but OnGetCalibString isn't assigned."),
                             QStringLiteral("OnGetCalibString Not Assigned"), kMissingHandlerFlags);
    StopCalibration(this);
    return;
  }

  // The list is walked as it stands now; a handler that changes it affects the next walk.
  const QList<TCalibDisplay> displays = FCalibDisplays;
  for (const TCalibDisplay& display : displays) {
    if (QWidget* control = ControlIn(display.HideWhileRunning)) control->hide();
  }

  bool itsAllBad = true;
  const int channels = FChannels;
  for (int channel = 0; channel < channels; ++channel) {
    const auto number = static_cast<std::uint8_t>(channel);
    const QString text = getCalibString(this, number, itsAllBad);
    ShowChannelReading(number, text);
  }

  // With no channel to poll there is no reading that could have failed.
  if (channels == 0 || !itsAllBad) return;
  SetCalibrating(false);
  const int answer = Application().MessageBox(
      QStringLiteral(
          "Total A/D failure. The card may not be installed, or it may be installed at a different "
          "base address."),
      QStringLiteral("Total A/D failure"), kTotalFailureFlags);
  if (answer == IDRETRY) {
    SetCalibrating(true);
  } else {
    StopCalibration(this);
  }
}

void TSetupSupporter::ShowChannelReading(std::uint8_t Channel, const QString& Text) {
  const QString line = QStringLiteral("Channel ") + QString::number(Channel) + QLatin1Char('\t') + Text;
  const QList<TCalibDisplay> displays = FCalibDisplays;
  for (const TCalibDisplay& display : displays) {
    QComboBox* readings = ControlIn(display.Readings);
    if (readings == nullptr) continue;
    // A list shorter than the channels grows to hold the reading instead of failing.
    while (readings->count() < Channel) readings->addItem(QString());
    if (readings->count() == Channel) {
      readings->addItem(line);
    } else {
      readings->setItemText(Channel, line);
    }
  }
}

void TSetupSupporter::StopCalibration(QObject* /*Sender*/) {
  if (FChangeButtons) {
    const QList<TCalibDisplay> displays = FCalibDisplays;
    for (const TCalibDisplay& display : displays) {
      QAbstractButton* button = ControlIn(display.Button);
      if (button == nullptr) continue;
      SetOnClick(button, FOnStartButtonClick);
      button->setText(QStringLiteral("Start"));
    }
  }
  SetCalibrating(false);
}
