// The main window's handlers that keep the mode list and the jumper drawings in step.
// Setting the list's index from code raises no change event, so no handler triggers
// another.

#include "app/main_form.h"

namespace {

// The entry the user has selected: none while the edit field holds typed text that is
// not the current entry's.
int SelectedEntry(const QComboBox* list) {
  const int index = list->currentIndex();
  if (index >= 0 && list->currentText() != list->itemText(index)) return -1;
  return index;
}

}  // namespace

void TMainForm::modeCOMBOChange(QObject* /*Sender*/) { ApplyMode(ModeJumpers(), SelectedEntry(modeCOMBO)); }

void TMainForm::modeJMPClick(QObject* /*Sender*/) {
  modeCOMBO->setCurrentIndex(ModeJMPClicked(ModeJumpers()));
}

void TMainForm::ModeTxClick(QObject* /*Sender*/) { modeCOMBO->setCurrentIndex(ModeTxClicked(ModeJumpers())); }

void TMainForm::ModeRxClick(QObject* /*Sender*/) {
  modeCOMBO->setCurrentIndex(TwoWireClicked(ModeJumpers(), ModeRx, TxRxPlus, TxRxMinus));
}

void TMainForm::TxRxPlusClick(QObject* /*Sender*/) {
  modeCOMBO->setCurrentIndex(TwoWireClicked(ModeJumpers(), TxRxPlus, ModeRx, TxRxMinus));
}

void TMainForm::TxRxMinusClick(QObject* /*Sender*/) {
  modeCOMBO->setCurrentIndex(TwoWireClicked(ModeJumpers(), TxRxMinus, TxRxPlus, ModeRx));
}

void TMainForm::TermClick(QObject* /*Sender*/) { modeCOMBO->setCurrentIndex(TermClicked(ModeJumpers())); }
