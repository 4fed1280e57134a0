// What assistive technology reads from the product page's drawn controls.

#include <gtest/gtest.h>

#include <QAccessible>
#include <memory>

#include "app/main_form.h"
#include "platform/application.h"
#include "setupctrls/board_highlight.h"

namespace {

QString Read(QObject* object, QAccessible::Text what) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
  return face != nullptr ? face->text(what) : QStringLiteral("<none>");
}

TEST(Accessibility, CirclesTellTheirTitleAndKind) {
  TMainForm form;
  EXPECT_EQ(Read(form.ModeHLT, QAccessible::Name), QStringLiteral("Mode Settings"));
  EXPECT_EQ(Read(form.ModeHLT, QAccessible::Description), QStringLiteral("Settings circle"));
  EXPECT_EQ(Read(form.usbHLT, QAccessible::Name), QStringLiteral("USB Connector"));
  EXPECT_EQ(Read(form.usbHLT, QAccessible::Description), QStringLiteral("Information circle"));
}

TEST(Accessibility, JumpersTellTheirLabelAndFollowTheirState) {
  TMainForm form;
  EXPECT_EQ(Read(form.ModeTx, QAccessible::Name), QStringLiteral("RS485 Mode TX"));
  EXPECT_EQ(Read(form.ModeTx, QAccessible::Description), QStringLiteral("open"));
  EXPECT_EQ(Read(form.modeJMP, QAccessible::Name), QStringLiteral("RS232"));
  EXPECT_EQ(Read(form.modeJMP, QAccessible::Description), QStringLiteral("cap on the left and middle pins"));

  form.ModeTx->Click();
  EXPECT_EQ(Read(form.ModeTx, QAccessible::Description), QStringLiteral("closed"));
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(form.ModeTx)->state().checked);
  EXPECT_EQ(Read(form.modeJMP, QAccessible::Description), QStringLiteral("cap on the middle and right pins"));
  form.modeJMP->Click();
  EXPECT_EQ(Read(form.modeJMP, QAccessible::Description), QStringLiteral("no cap"));
}

}  // namespace
