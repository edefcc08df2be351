// The mapping editor in the panel: a drag changes the pen's mapping while it
// goes on, the offset fields follow the tablet area and an empty typed area
// changes nothing, and the display picture is retaken while the panel is open
// (a plain frame without one). Loading the settings again (import, reset) is
// in the panel's export round trip.
#include <QMouseEvent>
#include <QTest>

#include "TestApp.h"
#include "app/BTPanelView.h"
#include "ui_Panel.h"
#include "views/BTMonitorView.h"

using namespace taviro;

class MonitorViewTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    app_ = std::make_unique<test::TestApp>();
    QVERIFY(app_->start());
    app_->driver.setIsConnected(true);  // the page's buttons work
    controller().setHasActivePanel(true);
    QVERIFY(QTest::qWaitForWindowExposed(&controller().window()));
    ui().tabView->setCurrentIndex(0);
    QTRY_COMPARE(ui().rightOffsetText->text(), QStringLiteral("1.00"));  // drawn once
  }
  void cleanup() { app_.reset(); }

  void draggingTheTabletAreaMovesThePensMappingBeforeTheRelease() {
    view().adjustTabletOffset(Rect(0.2, 0.2, 0.6, 0.6));
    QTRY_COMPARE(app_->driver.tabletMapping(), Rect(13107, 13107, 39321, 39321));
    const Rect a = view().editor().tabletViewInfo()._monitorDropArea;
    const QRectF area(a.minX(), view().height() - a.maxY(), a.size.width, a.size.height);
    send(QEvent::MouseMove, QPointF(area.left() + 1, area.center().y()), Qt::NoButton,
         Qt::NoButton);
    QCOMPARE(view().cursor().shape(), Qt::SizeHorCursor);
    QPointF p = area.center();
    send(QEvent::MouseButtonPress, p, Qt::LeftButton);
    QCOMPARE(view().cursor().shape(), Qt::OpenHandCursor);
    for (int step = 0; step < 4; ++step) {
      const double x = app_->driver.tabletMapping().minX();
      p += QPointF(4, 0);
      send(QEvent::MouseMove, p, Qt::NoButton);
      QTRY_VERIFY(app_->driver.tabletMapping().minX() > x);
      QCOMPARE(ui().leftOffsetText->text(),
               QString::asprintf("%0.2f", view().getTabletOffset().left));
    }
    send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(app_->driver.tabletMapping().size.width, 39321);  // a move keeps the size
  }

  // Typed fractions that apply are in the panel's export round trip.
  void theApplyButtonShowsTheAreaAgainForAnEmptyArea() {
    ui().leftOffsetText->setText("0.5");
    ui().rightOffsetText->setText("0.5");  // right not past left
    QTest::mouseClick(ui().adjustTabletOffsetButton, Qt::LeftButton);
    QTRY_COMPARE(ui().rightOffsetText->text(), QStringLiteral("1.00"));
    QCOMPARE(ui().leftOffsetText->text(), QStringLiteral("0.00"));
    QCOMPARE(app_->driver.tabletMapping(), Rect(0, 0, 65535, 65535));
  }

  void theDisplayPictureIsRetakenOnlyWhileThePanelIsOpen_data() {
    QTest::addColumn<QColor>("picture");  // invalid: none can be taken
    QTest::addColumn<QColor>("shown");
    QTest::newRow("picture") << QColor(Qt::red) << QColor(Qt::red);
    QTest::newRow("none, as on Wayland") << QColor() << QColor(0x5f, 0x63, 0x68);
  }

  void theDisplayPictureIsRetakenOnlyWhileThePanelIsOpen() {
    QFETCH(QColor, picture);
    QFETCH(QColor, shown);
    int shots = 0;
    view().setScreenShot([&shots, picture](int) {
      ++shots;
      QImage image;
      if (picture.isValid()) {
        image = QImage(64, 36, QImage::Format_RGB32);
        image.fill(picture);
      }
      return image;
    });
    app_->driver.setScreenArea(Rect(0, 0, 20, 20));  // a corner only: the frame shows
    controller().initConfig();
    QTRY_VERIFY_WITH_TIMEOUT(shots > 0, BTMonitorView::kScreenRefreshMs + 1000);
    // Inside the display's frame, away from its outline, the area and the label.
    const Rect frame = view().editor().monitorViewInfo()._monitorRect;
    const QPoint probe(int(frame.minX() + frame.size.width * 0.7),
                       int(view().height() - frame.minY() - frame.size.height * 0.3));
    QTRY_COMPARE(view().grab().toImage().pixelColor(probe), shown);
    controller().setHasActivePanel(false);
    const int closed = shots;
    QTest::qWait(BTMonitorView::kScreenRefreshMs + 500);
    QCOMPARE(shots, closed);
  }

 private:
  BTPanelViewController& controller() { return app_->delegate->panelController(); }
  Ui::Panel& ui() { return controller().window().ui(); }
  BTMonitorView& view() { return *ui().monitorView; }

  void send(QEvent::Type type, QPointF at, Qt::MouseButton button,
            Qt::MouseButtons buttons = Qt::LeftButton) {
    QMouseEvent event(type, at, view().mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&view(), &event);
  }

  std::unique_ptr<test::TestApp> app_;
};

QTEST_MAIN(MonitorViewTest)
#include "tst_MonitorView.moc"
