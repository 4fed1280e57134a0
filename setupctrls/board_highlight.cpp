#include "setupctrls/board_highlight.h"

TBoardHighlight::TBoardHighlight(QWidget* parent) : QWidget(parent) {}
void TBoardHighlight::CMMouseEnter(int) {}
void TBoardHighlight::CMMouseLeave(int) {}
void TBoardHighlight::Click() {}
