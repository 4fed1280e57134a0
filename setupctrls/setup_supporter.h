#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>

#include "platform/events.h"
#include "setupctrls/help_form.h"
#include "setupctrls/pci_form.h"
#include "setupctrls/tech_form.h"

class TMessageTimer;

// Describes one installed card; an empty text lists nothing for it.
using TPCIEvent = std::function<QString(QObject* Sender, std::int32_t CardIndex)>;
// One channel's calibration reading; a channel that reads well clears ItsAllBad.
using TCalibEvent = std::function<QString(QObject* Sender, std::uint8_t Channel, bool& ItsAllBad)>;

// One place on a page where calibration shows. Each member names the variable that holds the
// control, so every use works on whatever control the variable holds at that moment.
struct TCalibDisplay {
  QComboBox** Readings = nullptr;        // one reading line per channel
  QAbstractButton** Button = nullptr;    // the calibration button
  QWidget** HideWhileRunning = nullptr;  // hidden at every calibration tick
  std::int32_t Tag = 0;                  // for the page's own use
};

// The non-visual component that carries the product's identity. At the application's first
// idle moment it builds the header label on the main form and the help, technical support
// and (for pages that describe installed cards) installed-cards windows; its one timer then
// opens the help window and, in products that calibrate, polls the calibration readings.
class TSetupSupporter : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString CompanyName READ CompanyName WRITE SetCompanyName)
  Q_PROPERTY(QString CardNameA READ CardNameA WRITE SetCardNameA)
  Q_PROPERTY(QString CardNameB READ CardNameB WRITE SetCardNameB)
  Q_PROPERTY(bool UseCardNameB READ UseCardNameB WRITE SetUseCardNameB)
  Q_PROPERTY(QString CallHow READ CallHow WRITE SetCallHow)
  Q_PROPERTY(bool MultiPort READ MultiPort WRITE SetMultiPort)
  Q_PROPERTY(quint8 Channels READ Channels WRITE SetChannels)
  Q_PROPERTY(bool ChangeButtons READ ChangeButtons WRITE SetChangeButtons)
  Q_PROPERTY(bool bSeries READ bSeries WRITE SetbSeries)
  // The declared defaults, which a stored page leaves out. ChangeButtons is declared False
  // although a new supporter starts True, so a page that does not mention it gets True.
  Q_CLASSINFO("default:UseCardNameB", "false")
  Q_CLASSINFO("default:MultiPort", "false")
  Q_CLASSINFO("default:Channels", "8")
  Q_CLASSINFO("default:ChangeButtons", "false")
  Q_CLASSINFO("default:bSeries", "true")

 public:
  static constexpr int kTimerInterval = 100;
  // The display list is walked with an 8-bit counter.
  static constexpr int kMaxCalibDisplays = 256;

  explicit TSetupSupporter(QObject* owner = nullptr);
  ~TSetupSupporter() override;

  const QString& CompanyName() const { return FCompanyName; }
  void SetCompanyName(const QString& value);
  const QString& CardNameA() const { return FCardNameA; }
  void SetCardNameA(const QString& value);
  const QString& CardNameB() const { return FCardNameB; }
  void SetCardNameB(const QString& value);
  bool UseCardNameB() const { return FUseCardNameB; }
  void SetUseCardNameB(bool value);
  const QString& CallHow() const { return FCallHow; }
  void SetCallHow(const QString& value);
  bool MultiPort() const { return FMultiPort; }
  void SetMultiPort(bool value);
  std::uint8_t Channels() const { return FChannels; }
  void SetChannels(std::uint8_t value);
  bool ChangeButtons() const { return FChangeButtons; }
  void SetChangeButtons(bool value);
  bool bSeries() const { return FbSeries; }
  void SetbSeries(bool value);

  // CardNameB when UseCardNameB is set, else CardNameA.
  QString CardName() const { return FUseCardNameB ? FCardNameB : FCardNameA; }

  // Events. Assigning OnBeginCalib re-evaluates the timer.
  const TNotifyEvent& OnBeginCalib() const { return FOnBeginCalib; }
  void SetOnBeginCalib(TNotifyEvent event);
  const TPCIEvent& OnGetCardString() const { return FOnGetCardString; }
  void SetOnGetCardString(TPCIEvent event) { FOnGetCardString = std::move(event); }
  const TCalibEvent& OnGetCalibString() const { return FOnGetCalibString; }
  void SetOnGetCalibString(TCalibEvent event) { FOnGetCalibString = std::move(event); }
  const TNotifyEvent& OnStopButtonClick() const { return FOnStopButtonClick; }
  void SetOnStopButtonClick(TNotifyEvent event) { FOnStopButtonClick = std::move(event); }
  const TNotifyEvent& OnStartButtonClick() const { return FOnStartButtonClick; }
  void SetOnStartButtonClick(TNotifyEvent event) { FOnStartButtonClick = std::move(event); }

  // What the supporter has built on the main form; empty until the first idle moment.
  QLabel* HeaderLabel() const { return FHeaderLabel; }
  THelpForm* HelpForm() const { return FHelpForm; }
  TTechForm* TechForm() const { return FTechForm; }
  TPCIForm* PCIForm() const { return FPCIForm; }

  // The one-shot handler of the application's idle event: removes itself, then builds.
  void FirstIdle(QObject* Sender, bool& Done);
  // Hides the window on which the sender (a control) sits.
  void CloseButtonClick(QObject* Sender);
  // Shows the installed-cards window.
  void DisplayPCIClick(QObject* Sender);

  // Calibration: starts or stops the polling timer.
  bool Calibrating() const { return FCalibrating; }
  void SetCalibrating(bool Value);
  // Ends calibration and gives the buttons back their Start state.
  void StopCalibration(QObject* Sender);
  // Writes one channel's reading line into every display's reading list.
  void ShowChannelReading(std::uint8_t Channel, const QString& Text);

  // The calibration displays, walked in order. Entries beyond the last one that the 8-bit
  // walk reaches are refused.
  const QList<TCalibDisplay>& CalibDisplays() const { return FCalibDisplays; }
  bool AddCalibDisplay(const TCalibDisplay& display);
  void ClearCalibDisplays() { FCalibDisplays.clear(); }

 private:
  void BuildWindows();
  bool BuildInstalledCards(const QString& cardName);
  void AddDisplayPCIEntry(const QString& cardName);
  void MessageWindowProc();
  void UpdateTimer();
  void TimerTick();
  void CalibrationTick();

  QString FCompanyName;
  QString FCardNameA;
  QString FCardNameB;
  bool FUseCardNameB = false;
  QString FCallHow;
  bool FMultiPort = false;
  std::uint8_t FChannels = 8;
  bool FChangeButtons = true;
  bool FbSeries = true;

  TNotifyEvent FOnBeginCalib;
  TPCIEvent FOnGetCardString;
  TCalibEvent FOnGetCalibString;
  TNotifyEvent FOnStopButtonClick;
  TNotifyEvent FOnStartButtonClick;

  QPointer<QLabel> FHeaderLabel;
  QPointer<THelpForm> FHelpForm;
  QPointer<TTechForm> FTechForm;
  QPointer<TPCIForm> FPCIForm;

  bool FShowHelpPending = false;
  bool FCalibrating = false;
  bool FBuilt = false;
  TMessageTimer* FMessageWindow = nullptr;
  QList<TCalibDisplay> FCalibDisplays;
};
