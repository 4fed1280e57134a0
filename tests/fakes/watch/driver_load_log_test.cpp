// The load watch itself: the substitute is where the loader finds it, and a load shows in the log.
// Tests of a whole run use the same watch to show that nothing loaded the driver.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include "driver/kordrv.h"
#include "fakes/driver_load_log.h"

namespace {

TEST(DriverLoadLog, RecordsTheLoadOfTheDriver) {
  TDriverLoadLog log;
  EXPECT_TRUE(log.Lines().isEmpty());
  EXPECT_FALSE(DriverLoaded);

  LoadDriver();
  EXPECT_TRUE(DriverLoaded);
  EXPECT_EQ(log.Lines(), QList<QByteArray>{"load all"});
  EXPECT_EQ(log.Loads(), 1);
  EXPECT_EQ(log.Unloads(), 0);
}

TEST(DriverLoadLog, RestoresTheSettingItReplaced) {
  qputenv(TDriverLoadLog::kVariable, "earlier");
  {
    TDriverLoadLog log;
    EXPECT_EQ(qgetenv(TDriverLoadLog::kVariable), QFile::encodeName(log.Path()));
  }
  EXPECT_EQ(qgetenv(TDriverLoadLog::kVariable), "earlier");
  qunsetenv(TDriverLoadLog::kVariable);
  { TDriverLoadLog log; }
  EXPECT_FALSE(qEnvironmentVariableIsSet(TDriverLoadLog::kVariable));
}

}  // namespace
