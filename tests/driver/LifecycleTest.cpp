#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "DriverTestSupport.h"

namespace taviro {
namespace {

using testing::DriverHarness;
using testing::tabletReport;
using Types = std::vector<std::uint32_t>;

class Lifecycle : public ::testing::Test {
 protected:
  void SetUp() override {
    h.fakes.notifications.addObserver(kDriverDidChangeStatusNotification,
                                      [this](const Notification&) { ++statusPosts; });
  }
  // Started as the driver thread would; loading the settings posted status already.
  BTDriverManager& begin() {
    BTDriverManager& d = h.start();
    statusPosts = 0;
    return d;
  }
  fakes::FakeHIDManager& manager() { return *h.fakes.hid.latest(); }
  void stroke(std::uint8_t status, std::uint32_t x, std::uint16_t pressure = 0) {
    for (int i = 0; i < 4; ++i) manager().report(tabletReport(status, x + 100u * i, 1001, pressure));
    manager().runPending();
  }
  DriverHarness h;
  int statusPosts = 0;
};

TEST_F(Lifecycle, InitializeHIDOpensAManagerForTheTabletWithExclusiveUse) {
  begin();
  ASSERT_EQ(h.fakes.hid.managers().size(), 1u);
  EXPECT_EQ(manager().matchedVendor(), 0x6161);
  EXPECT_EQ(manager().matchedProduct(), 0x4D15);
  EXPECT_EQ(manager().openOptions(), kIOHIDOptionsTypeSeizeDevice);
  EXPECT_EQ(h.fakes.events.opens(), 1);
  EXPECT_TRUE(h.driver->oldStylus().off_tablet);  // initializeStylus ran
}

TEST_F(Lifecycle, ConnectingSendsTheStartCommandAndReportsFlow) {
  h.fakes.pointer.where = {300, 400};
  BTDriverManager& d = begin();
  EXPECT_EQ(d.stylus().scrPos.x, 300);
  manager().plug();
  manager().runPending();
  EXPECT_TRUE(d.isConnected());
  EXPECT_EQ(statusPosts, 1);
  EXPECT_EQ(h.fakes.connectCalls, std::vector<bool>{true});
  EXPECT_EQ(manager().device().featureReports(),
            (std::vector<std::vector<std::uint8_t>>{{0x02, 0x10, 0x01}}));
  stroke(0xC0, 1001);
  EXPECT_FALSE(d.oldStylus().off_tablet);
  EXPECT_EQ(h.fakes.events.types().back(), NX_TABLETPROXIMITY);
}

TEST_F(Lifecycle, UnplugAndReplugEachPostOnceAndResendTheStartCommand) {
  BTDriverManager& d = begin();
  manager().plug();
  manager().unplug();
  manager().plug();
  manager().runPending();
  EXPECT_TRUE(d.isConnected());
  EXPECT_EQ(statusPosts, 3);
  EXPECT_EQ(h.fakes.connectCalls, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(manager().device().featureReports().size(), 2u);
}

TEST_F(Lifecycle, AnotherProductOfTheVendorIsNotMatched) {
  BTDriverManager& d = begin();
  manager().plug(0x6161, 0x4D16);
  manager().runPending();
  EXPECT_FALSE(d.isConnected());
  EXPECT_EQ(statusPosts, 0);
}

TEST_F(Lifecycle, RemovalMidStrokeLiftsTheTipAndLeavesRange) {
  BTDriverManager& d = begin();
  manager().plug();
  stroke(0xC0, 1001);
  stroke(0xC1, 1001, 4096);
  stroke(0xC1, 1101, 4096);
  ASSERT_TRUE(d.isDragging());
  h.fakes.events.clear();

  manager().unplug();
  manager().runPending();
  const auto events = h.fakes.events.events();
  ASSERT_EQ(h.fakes.events.types(), (Types{2, 5, 24}));
  EXPECT_EQ(events[0].data.mouse.buttonNumber, 0);
  EXPECT_EQ(events[2].data.tablet.proximity.enterProximity, 0);
  EXPECT_FALSE(d.isDragging());
  EXPECT_FALSE(d.isConnected());

  // Plugged in again, the pen starts from out of range with the tip up.
  h.fakes.events.clear();
  manager().plug();
  stroke(0xC0, 1001);
  EXPECT_EQ(h.fakes.events.types().back(), NX_TABLETPROXIMITY);
  stroke(0xC1, 1001, 4096);
  EXPECT_EQ(h.fakes.events.types().back(), NX_LMOUSEDOWN);
}

TEST_F(Lifecycle, RemovalReleasesAHeldStylusButtonShortcut) {
  h.fakes.shortcuts.commands[5] = "MouseRight";
  begin();
  manager().plug();
  stroke(0xC0, 1001);
  manager().report(tabletReport(0xC2, 1301, 1001));
  manager().runPending();
  h.fakes.events.clear();
  manager().unplug();
  manager().runPending();
  EXPECT_EQ(h.fakes.events.types(), (Types{5, 24}));
  h.fakes.mainQueue.drain();
  EXPECT_EQ(h.fakes.shortcuts.calls(), (std::vector<fakes::ShortcutCall>{
                                           {"MouseRight", true, 5}, {"MouseRight", false, 5}}));
}

TEST_F(Lifecycle, RemovalReleasesAHeldExpressKeyWithoutALatch) {
  h.fakes.shortcuts.commands[11] = "Ctrl+S";
  begin();
  manager().plug();
  manager().report(testing::expressKeyReport(12));
  manager().runPending();
  manager().unplug();
  manager().runPending();
  h.fakes.mainQueue.drain();
  EXPECT_EQ(h.fakes.shortcuts.calls(),
            (std::vector<fakes::ShortcutCall>{{"Ctrl+S", true, 11}, {"Ctrl+S", false, 11}}));
}

TEST_F(Lifecycle, RemovalOfAPenOutOfRangePostsNothing) {
  begin();
  manager().plug();
  manager().unplug();
  manager().runPending();
  EXPECT_TRUE(h.fakes.events.types().empty());
}

TEST_F(Lifecycle, ReinitializeStopsTheOldManagerBeforeStartingANewOne) {
  BTDriverManager& d = begin();
  manager().plug();
  manager().runPending();
  const auto first = h.fakes.hid.latest();
  d.reinitialize();
  EXPECT_TRUE(first->closed());
  EXPECT_FALSE(d.isConnected());
  EXPECT_EQ(h.fakes.connectCalls, (std::vector<bool>{true, false}));
  ASSERT_EQ(h.fakes.hid.managers().size(), 2u);
  EXPECT_FALSE(h.fakes.hid.latest()->closed());
  EXPECT_EQ(h.fakes.events.opens(), 2);
  EXPECT_EQ(h.fakes.events.closes(), 1);
}

TEST_F(Lifecycle, AfterReinitializeRelativeMotionContinuesFromTheLastPosition) {
  BTDriverManager& d = begin();
  manager().plug();
  stroke(0xC0, 1001);  // last smoothed point 1201
  d.reinitialize();
  manager().plug();
  h.fakes.events.clear();
  stroke(0xC0, 1301);
  const auto events = h.fakes.events.events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0].type, NX_MOUSEMOVED);
  EXPECT_EQ(events[0].data.mouseMove.dx, 1301 - 1201);
}

TEST_F(Lifecycle, ReinitializeWithoutADeviceSimulatesNoRemoval) {
  BTDriverManager& d = begin();
  d.reinitialize();
  EXPECT_EQ(statusPosts, 0);
  EXPECT_TRUE(h.fakes.connectCalls.empty());
  EXPECT_EQ(h.fakes.hid.managers().size(), 2u);
}

TEST_F(Lifecycle, EventConnectionFailuresAreReportedAndPostsGoNowhere) {
  struct Case {
    HIDEventSystemOpen outcome;
    int result;
    int expected;
    bool stylusInitialised;
  } cases[] = {
      {HIDEventSystemOpen::NoService, 0, 0, true},
      {HIDEventSystemOpen::OpenFailed, -13, -13, false},
      {HIDEventSystemOpen::NoMasterPort, 5, 5, false},
  };
  for (const Case& c : cases) {
    DriverHarness local;
    local.fakes.events.openResult = {c.outcome, c.result};
    BTDriverManager d(local.fakes.platform());
    EXPECT_EQ(d.openHIDService(), c.expected);
    d.initializeHID();
    EXPECT_EQ(d.oldStylus().off_tablet, c.stylusInitialised);
    d.initializeScreenSettings();
    for (int i = 0; i < 8; ++i) {
      const auto r = tabletReport(0xC0, 1001, 1001);
      d.didReceiveReport(r.data(), 8);
    }
    EXPECT_TRUE(local.fakes.events.events().empty());
  }
}

TEST_F(Lifecycle, ShortReportsAreDropped) {
  BTDriverManager& d = begin();
  manager().plug();
  for (int i = 0; i < 4; ++i) manager().report({0x08, 0xC0, 0x10});
  manager().runPending();
  EXPECT_TRUE(d.oldStylus().off_tablet);
  EXPECT_TRUE(h.fakes.events.events().empty());
}

TEST_F(Lifecycle, StartRunsTheDriverThreadAfterADelay) {
  BTDriverManager d(h.fakes.platform());
  d.start();
  EXPECT_EQ(h.fakes.mainQueue.delays(), std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(100)});
  EXPECT_TRUE(h.fakes.hid.managers().empty());
  h.fakes.mainQueue.runDelayed();
  while (h.fakes.hid.managers().empty()) std::this_thread::yield();
  // The display manager exists once the thread got past its set-up.
  auto m = h.fakes.hid.latest();
  m->plug();
  m->waitUntilIdle();
  while (!d.isConnected()) std::this_thread::yield();
  d.shutdown();
  EXPECT_TRUE(m->closed());
}

TEST_F(Lifecycle, AfterReinitializeTheDriverThreadServesTheNewManager) {
  BTDriverManager d(h.fakes.platform());
  d.start();
  h.fakes.mainQueue.runDelayed();
  while (h.fakes.hid.managers().empty()) std::this_thread::yield();
  auto first = h.fakes.hid.latest();
  first->plug();
  for (int i = 0; i < 200; ++i) first->report(tabletReport(0xC1, 1001 + 2u * i, 1001, 4000));
  while (!d.isConnected()) std::this_thread::yield();
  d.reinitialize();  // while reports may still be flowing
  EXPECT_TRUE(first->closed());
  EXPECT_FALSE(d.isConnected());
  auto second = h.fakes.hid.latest();
  ASSERT_NE(second, first);
  second->plug();
  second->waitUntilIdle();
  while (!d.isConnected()) std::this_thread::yield();
  d.shutdown();
  EXPECT_TRUE(second->closed());
}

// Setters on the main thread while reports flow on the driver thread: run
// under ThreadSanitizer, this proves the shared settings are race-free.
TEST_F(Lifecycle, SettersRaceFreeWithReportsOnTheDriverThread) {
  BTDriverManager d(h.fakes.platform());
  d.setShowPressure(true);
  d.start();
  h.fakes.mainQueue.runDelayed();
  while (h.fakes.hid.managers().empty()) std::this_thread::yield();
  auto m = h.fakes.hid.latest();
  m->plug();
  std::atomic<bool> done{false};
  std::thread ui([&] {
    int i = 0;
    while (!done) {
      d.setPressureDamping(static_cast<float>(i % 10) / 10.0f);
      d.setPressureDeadZone(static_cast<float>(i % 3) / 10.0f);
      d.setEnableMouse(i % 2 == 0);
      d.setEnableShourtcut(i % 3 == 0);
      d.setTabletMapping(Rect(0, 0, 60000 + i % 100, 65535));
      d.setScreenArea(Rect(0, 0, 1920 - i % 100, 1080));
      d.setShowPressure(i % 2 == 1);
      d.screenManager().setRotation(i % 4 * 90);
      d.screenManager().setScreenMapping(Rect(0, 0, 1920, 1080));
      d.tabletSettings().screenWidth = 1000 + i % 10;
      d.screenManager().didChangeScreenParameters();
      h.fakes.mainQueue.drain();
      ++i;
    }
  });
  for (int i = 0; i < 400; ++i) {
    m->report(tabletReport(i % 8 < 4 ? 0xC1 : 0xC0, 1001 + 10u * i, 2001, static_cast<std::uint16_t>(i * 20)));
    m->report(testing::expressKeyReport(i % 5 == 0 ? 3 : 0));
  }
  m->waitUntilIdle();
  done = true;
  ui.join();
  d.shutdown();
  EXPECT_FALSE(h.fakes.events.events().empty());
}

}  // namespace
}  // namespace taviro
