// The card driver binding against the substitute libraries. Each test runs in a process of its
// own, started by ctest with the folder of one substitute (or a folder without any) as the
// library search path, because the binding and the loaded library last for the whole process.

#include "driver/kordrv.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QList>
#include <set>
#include <vector>

#include "fakes/driver_load_log.h"
#include "support/test_support.h"

namespace {

// One bound variable: the exported name it must hold, its value, and a way to empty it.
struct TBoundName {
  const char* Name;
  void* (*Address)();
  void (*Clear)();
};

template <auto* Variable>
TBoundName Entry(const char* name) {
  return {name, [] { return reinterpret_cast<void*>(*Variable); }, [] { *Variable = nullptr; }};
}

// Every variable with the name it is bound to, in lookup order.
const std::vector<TBoundName>& BoundNames() {
  static const std::vector<TBoundName> names = {
      Entry<&GetNumCards>("GetNumCards"),
      Entry<&QueryCardInfo>("QueryCardInfo"),
      Entry<&QueryBARBase>("QueryBARBase"),
      Entry<&WaitForIRQ>("WaitForIRQ"),
      Entry<&COSWaitForIRQ>("COSWaitForIRQ"),
      Entry<&WDGHandleIRQ>("WDGHandleIRQ"),
      Entry<&AbortRequest>("AbortRequest"),
      Entry<&CloseCard>("CloseCard"),
      Entry<&WDGInit>("WDGInit"),
      Entry<&WDGSetTimeout>("WDGSetTimeout"),
      Entry<&WDGSetResetDuration>("WDGSetResetDuration"),
      Entry<&WDGPet>("WDGPet"),
      Entry<&WDGReadTemp>("WDGReadTemp"),
      Entry<&WDGReadStatus>("WDGReadStatus"),
      Entry<&WDGStart>("WDGStart"),
      Entry<&WDGStop>("WDGStop"),
      Entry<&EmergencyReboot>("EmergencyReboot"),
      Entry<&InPortB>("InPortB"),
      Entry<&OutPortB>("OutPortB"),
      Entry<&InPort>("InPort"),
      Entry<&OutPort>("OutPort"),
      Entry<&InPortL>("InPortL"),
      Entry<&OutPortL>("OutPortL"),
      Entry<&InPortDWord>("InPortDWord"),
      Entry<&OutPortDWord>("OutPortDWord"),
      Entry<&RelInPortB>("RelInPortB"),
      Entry<&RelOutPortB>("RelOutPortB"),
      Entry<&RelInPort>("RelInPort"),
      Entry<&RelOutPort>("RelOutPort"),
      Entry<&RelInPortL>("RelInPortL"),
      Entry<&RelOutPortL>("RelOutPortL"),
      Entry<&RelInPortDWord>("RelInPortDWord"),
      Entry<&RelOutPortDWord>("RelOutPortDWord"),
  };
  return names;
}

// A reference to the driver library if this process has it loaded already; it never loads it.
class TLoadedDriver {
 public:
  TLoadedDriver() : FHandle(dlopen(kDriverLibraryName, RTLD_NOW | RTLD_NOLOAD)) {}
  ~TLoadedDriver() {
    if (FHandle != nullptr) dlclose(FHandle);
  }
  TLoadedDriver(const TLoadedDriver&) = delete;
  TLoadedDriver& operator=(const TLoadedDriver&) = delete;

  void* Handle() const { return FHandle; }
  void* Export(const char* name) const { return dlsym(FHandle, name); }

 private:
  void* FHandle;
};

std::int32_t SentinelCount() { return 7; }

void ExpectNothingBound() {
  EXPECT_FALSE(DriverLoaded);
  for (const TBoundName& bound : BoundNames()) EXPECT_EQ(bound.Address(), nullptr) << bound.Name;
}

void ExpectNothingShown(const MessageBoxRecorder& boxes) {
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

TEST(KordrvBinding, WithoutLibraryNothingIsBound) {
  MessageBoxRecorder boxes;
  ExpectNothingBound();

  LoadDriver();
  ExpectNothingBound();

  // A failed attempt leaves the variables as they were; a later one tries again, just as silently.
  GetNumCards = &SentinelCount;
  LoadDriver();
  EXPECT_FALSE(DriverLoaded);
  EXPECT_EQ(GetNumCards, &SentinelCount);
  GetNumCards = nullptr;

  ExpectNothingShown(boxes);

  // The search path really offers no library, so the binding had nothing to find.
  void* library = dlopen(kDriverLibraryName, RTLD_NOW | RTLD_LOCAL);
  EXPECT_EQ(library, nullptr);
  if (library != nullptr) dlclose(library);
}

TEST(KordrvBinding, AllNamesAreBound) {
  MessageBoxRecorder boxes;
  TDriverLoadLog log;
  ExpectNothingBound();

  LoadDriver();
  ASSERT_TRUE(DriverLoaded);
  EXPECT_EQ(log.Lines(), QList<QByteArray>{"load all"});

  // Each variable holds its own export; the exports are all different, so a variable bound to
  // the wrong name would show.
  const TLoadedDriver driver;
  ASSERT_NE(driver.Handle(), nullptr) << "the library must stay loaded";
  std::set<void*> addresses;
  for (const TBoundName& bound : BoundNames()) {
    EXPECT_NE(bound.Address(), nullptr) << bound.Name;
    EXPECT_EQ(bound.Address(), driver.Export(bound.Name)) << bound.Name;
    addresses.insert(bound.Address());
  }
  EXPECT_EQ(addresses.size(), BoundNames().size());

  // GetNumCards as the program calls it returns the count the driver reports, whatever its sign.
  for (const std::int32_t count : {3, 1, 0, -1}) {
    qputenv("FAKE_KORDRV_CARDS", QByteArray::number(count));
    EXPECT_EQ(GetNumCards(), count);
  }
  qunsetenv("FAKE_KORDRV_CARDS");

  ExpectNothingShown(boxes);
}

TEST(KordrvBinding, SecondLoadReturnsAtOnce) {
  TDriverLoadLog log;
  LoadDriver();
  ASSERT_TRUE(DriverLoaded);

  // Had the second call looked the names up again, the emptied variable would be filled.
  GetNumCards = nullptr;
  LoadDriver();
  EXPECT_TRUE(DriverLoaded);
  EXPECT_EQ(GetNumCards, nullptr);
  EXPECT_EQ(log.Loads(), 1);

  // The binding holds exactly one reference to the library: dropping a probe reference and then
  // one more unloads it, which it would not if the second call had loaded it again. This ends
  // the library's life in this process, so nothing may call the bound functions afterwards.
  void* probe = dlopen(kDriverLibraryName, RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(probe, nullptr) << "the library must stay loaded";
  dlclose(probe);
  EXPECT_EQ(log.Unloads(), 0);
  dlclose(probe);
  EXPECT_EQ(log.Unloads(), 1);
}

TEST(KordrvBinding, OneMissingNameFailsTheBinding) {
  const QByteArray missing = qgetenv("KORDRV_MISSING_NAME");
  ASSERT_FALSE(missing.isEmpty()) << "ctest names the function that the library on the search path lacks";
  const auto& names = BoundNames();
  const auto missingEntry = std::find_if(names.begin(), names.end(),
                                         [&](const TBoundName& bound) { return missing == bound.Name; });
  ASSERT_NE(missingEntry, names.end()) << missing.constData();

  MessageBoxRecorder boxes;
  TDriverLoadLog log;
  ExpectNothingBound();

  LoadDriver();
  EXPECT_FALSE(DriverLoaded);
  EXPECT_EQ(log.Lines(), QList<QByteArray>{"load missing-" + missing});

  // Every other name is still looked up and bound, those after the missing one included.
  const TLoadedDriver driver;
  ASSERT_NE(driver.Handle(), nullptr);
  for (const TBoundName& bound : names) {
    if (&bound == &*missingEntry) {
      EXPECT_EQ(bound.Address(), nullptr) << bound.Name;
    } else {
      EXPECT_NE(bound.Address(), nullptr) << bound.Name;
      EXPECT_EQ(bound.Address(), driver.Export(bound.Name)) << bound.Name;
    }
  }

  // A later call tries again: it binds the names once more and still fails.
  const TBoundName& other = missingEntry == names.begin() ? names.back() : names.front();
  other.Clear();
  LoadDriver();
  EXPECT_FALSE(DriverLoaded);
  EXPECT_EQ(other.Address(), driver.Export(other.Name)) << other.Name;
  EXPECT_EQ(missingEntry->Address(), nullptr);

  ExpectNothingShown(boxes);
}

}  // namespace
