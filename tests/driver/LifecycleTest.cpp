#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "DriverHarness.h"

namespace taviro::testing {
namespace {

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

TEST_F(Lifecycle, ConnectingStartsTheTabletAndRemovalMidStrokeEndsTheStroke) {
  h.fakes.pointer.where = {300, 400};
  BTDriverManager& d = begin();
  EXPECT_EQ(manager().options, kIOHIDOptionsTypeSeizeDevice);  // plug() below checks the ids
  EXPECT_EQ(d.stylus().scrPos.x, 300);  // initializeStylus ran
  manager().plug();
  manager().unplug();
  manager().runPending();
  EXPECT_TRUE(h.fakes.events.types().empty());  // out of range: nothing to end
  EXPECT_EQ(manager().featureReports(),
            (std::vector<std::vector<std::uint8_t>>{{0x02, 0x10, 0x01}}));
  manager().plug();
  stroke(0xC0, 1001);
  EXPECT_TRUE(d.isConnected());
  EXPECT_EQ(h.fakes.events.types().back(), NX_TABLETPROXIMITY);
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

  // Plugged in again, the start command goes out again and the pen starts
  // from out of range with the tip up.
  h.fakes.events.clear();
  manager().plug();
  stroke(0xC0, 1001);
  EXPECT_EQ(h.fakes.events.types().back(), NX_TABLETPROXIMITY);
  stroke(0xC1, 1001, 4096);
  EXPECT_EQ(h.fakes.events.types().back(), NX_LMOUSEDOWN);
  EXPECT_EQ(statusPosts, 5);
  EXPECT_EQ(h.fakes.connectCalls, (std::vector<bool>{true, false, true, false, true}));
  EXPECT_EQ(manager().featureReports().size(), 3u);
}

TEST_F(Lifecycle, RemovalReleasesHeldShortcuts) {
  h.fakes.shortcuts.commands = {{5, "Ctrl+S"}, {11, "Ctrl+S"}};
  begin();
  // Stylus button 1 (latched in the pen state; brings the pen into range),
  // then express key 12 (no latch; the pen stays out of range).
  const std::pair<std::vector<std::uint8_t>, Types> rows[] = {
      {tabletReport(0xC2, 1301, 1001), {5, 24}}, {expressKeyReport(12), {}}};
  for (const auto& [report, posted] : rows) {
    manager().plug();
    manager().report(report);
    manager().runPending();
    h.fakes.events.clear();
    manager().unplug();
    manager().runPending();
    EXPECT_EQ(h.fakes.events.types(), posted) << int{report[1]};
  }
  h.fakes.mainQueue.drain();
  EXPECT_EQ(h.fakes.shortcuts.calls(),
            (std::vector<fakes::ShortcutCall>{{"Ctrl+S", true, 5}, {"Ctrl+S", false, 5},
                                              {"Ctrl+S", true, 11}, {"Ctrl+S", false, 11}}));
}

TEST_F(Lifecycle, ReinitializeStopsTheOldManagerFirstAndMotionContinuesFromTheLastPosition) {
  BTDriverManager& d = begin();
  d.reinitialize();  // no device: no removal to emulate
  EXPECT_EQ(statusPosts, 0);
  EXPECT_TRUE(h.fakes.connectCalls.empty());
  manager().plug();
  stroke(0xC0, 1001);  // last smoothed point 1201
  const auto second = h.fakes.hid.latest();
  d.reinitialize();
  EXPECT_TRUE(second->closed());
  EXPECT_FALSE(d.isConnected());
  EXPECT_EQ(h.fakes.connectCalls, (std::vector<bool>{true, false}));
  ASSERT_EQ(h.fakes.hid.managers().size(), 3u);
  EXPECT_FALSE(h.fakes.hid.latest()->closed());
  EXPECT_EQ(h.fakes.events.opens, 3);
  EXPECT_EQ(h.fakes.events.closes, 2);

  manager().plug();
  h.fakes.events.clear();
  stroke(0xC0, 1301);
  const auto events = h.fakes.events.events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0].type, NX_MOUSEMOVED);
  EXPECT_EQ(events[0].data.mouseMove.dx, 1301 - 1201);
}

TEST_F(Lifecycle, ShortReportsAreDropped) {
  BTDriverManager& d = begin();
  manager().plug();
  for (int i = 0; i < 4; ++i) manager().report({0x08, 0xC0, 0x10});
  manager().runPending();
  EXPECT_TRUE(d.oldStylus().off_tablet);
  EXPECT_TRUE(h.fakes.events.events().empty());
}

// Setters, then a reinitialize, on the main thread while reports flow on the
// driver thread: run under ThreadSanitizer, this proves the shared settings
// race-free, and the driver thread goes on with the new manager.
TEST_F(Lifecycle, SettersAndReinitializeRaceFreeWithReportsOnTheDriverThread) {
  BTDriverManager d(h.fakes.platform());
  d.setShowPressure(true);
  d.start();  // the start-up waits on the main queue's delayed work
  EXPECT_TRUE(h.fakes.hid.managers().empty());
  h.fakes.mainQueue.runDelayed();
  while (h.fakes.hid.managers().empty()) std::this_thread::yield();
  const auto m = h.fakes.hid.latest();
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
    const auto status = static_cast<std::uint8_t>(i % 8 < 4 ? 0xC1 : 0xC0);
    m->report(tabletReport(status, 1001 + 10u * i, 2001, static_cast<std::uint16_t>(i * 20)));
    m->report(expressKeyReport(i % 5 == 0 ? 3 : 0));
  }
  m->waitUntilIdle();
  done = true;
  ui.join();
  EXPECT_FALSE(h.fakes.events.events().empty());

  for (int i = 0; i < 200; ++i) m->report(tabletReport(0xC1, 1001 + 2u * i, 1001, 4000));
  d.reinitialize();  // while reports may still be flowing
  EXPECT_TRUE(m->closed());
  EXPECT_FALSE(d.isConnected());
  const auto second = h.fakes.hid.latest();
  ASSERT_NE(second, m);
  second->plug();
  second->waitUntilIdle();
  while (!d.isConnected()) std::this_thread::yield();
  d.shutdown();
  EXPECT_TRUE(second->closed());
}

}  // namespace
}  // namespace taviro::testing
