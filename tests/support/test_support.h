#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "platform/application.h"

// Answers every message box without opening it and remembers what was asked.
class MessageBoxRecorder {
 public:
  struct Box {
    QString text;
    QString caption;
    unsigned flags;
  };

  explicit MessageBoxRecorder(int answer = IDOK);
  ~MessageBoxRecorder();

  void SetAnswer(int answer) { FAnswer = answer; }
  const std::vector<Box>& Boxes() const { return FBoxes; }

 private:
  int FAnswer;
  std::vector<Box> FBoxes;
};

// Lets posted events, queued calls and window system notifications run out.
void Settle();
