// The mapping editor in the panel: a drag changes the pen's mapping while it
// goes on, the cursor tells what the pointer is over, loading the settings
// again keeps the stored areas, the offset fields follow the tablet area and
// apply typed fractions, and the display is drawn with or without a picture.
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "TestApp.h"
#include "app/BTPanelView.h"
#include "ui_Panel.h"
#include "views/BTMonitorView.h"

using namespace taviro;

Q_DECLARE_METATYPE(Rect)

class MonitorViewTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { app_ = std::make_unique<test::TestApp>(); }
  void cleanup() { app_.reset(); }

  void draggingTheTabletAreaMovesThePensMappingBeforeTheRelease() {
    openMappingPage();
    view().adjustTabletOffset(Rect(0.2, 0.2, 0.6, 0.6));
    QTRY_COMPARE(app_->driver.tabletMapping(), Rect(13107, 13107, 39321, 39321));

    QPointF p = widgetCentre(tabletArea());
    send(QEvent::MouseButtonPress, p, Qt::LeftButton);
    QCOMPARE(view().cursor().shape(), Qt::OpenHandCursor);
    double x = app_->driver.tabletMapping().minX();
    for (int step = 0; step < 4; ++step) {
      p += QPointF(4, 0);
      send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
      QTRY_VERIFY(app_->driver.tabletMapping().minX() > x);
      x = app_->driver.tabletMapping().minX();
      QCOMPARE(ui().leftOffsetText->text(),
               QString::asprintf("%0.2f", view().getTabletOffset().left));
    }
    send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(app_->driver.tabletMapping().size.width, 39321);  // a move keeps the size
  }

  void hoverShowsWhatAPressWouldDo_data() {
    QTest::addColumn<QPointF>("inArea");  // fractions of the tablet area, from its top-left
    QTest::addColumn<int>("cursor");
    QTest::newRow("inside") << QPointF(0.5, 0.5) << int(Qt::OpenHandCursor);
    QTest::newRow("left edge") << QPointF(0.01, 0.5) << int(Qt::SizeHorCursor);
    QTest::newRow("top-right corner") << QPointF(0.99, 0.01) << int(Qt::SizeHorCursor);
    QTest::newRow("bottom edge") << QPointF(0.5, 0.99) << int(Qt::SizeVerCursor);
    QTest::newRow("outside") << QPointF(-0.2, 0.5) << int(Qt::ArrowCursor);
  }

  void hoverShowsWhatAPressWouldDo() {
    QFETCH(QPointF, inArea);
    QFETCH(int, cursor);
    openMappingPage();
    view().adjustTabletOffset(Rect(0.2, 0.2, 0.6, 0.6));
    QTRY_COMPARE(app_->driver.tabletMapping(), Rect(13107, 13107, 39321, 39321));
    const QRectF area = tabletArea();
    send(QEvent::MouseMove,
         area.topLeft() + QPointF(inArea.x() * area.width(), inArea.y() * area.height()),
         Qt::NoButton, Qt::NoButton);
    QCOMPARE(int(view().cursor().shape()), cursor);
  }

  // As an import or a reset does: the driver reloads, then the panel.
  void loadingTheSettingsAgainKeepsTheStoredTabletArea() {
    openMappingPage();
    QTRY_COMPARE(ui().rightOffsetText->text(), QStringLiteral("1.00"));
    const Rect custom(13107, 6553, 26214, 39321);
    app_->driver.setTabletArea(custom);
    controller().initConfig();
    QTRY_COMPARE(ui().leftOffsetText->text(), QStringLiteral("0.20"));
    QCOMPARE(ui().upOffsetText->text(), QStringLiteral("0.30"));
    QCOMPARE(ui().rightOffsetText->text(), QStringLiteral("0.60"));
    QCOMPARE(ui().downOffsetText->text(), QStringLiteral("0.90"));
    QCOMPARE(app_->driver.tabletMapping(), custom);
    QCOMPARE(app_->driver.tabletArea(), custom);

    // A rotation the user picks afterwards maps the whole tablet.
    view().setTabletRotate(90);
    QTRY_COMPARE(app_->driver.tabletMapping(), Rect(0, 0, 65535, 65535));
    QCOMPARE(app_->driver.tabletSettings().rotation.load(), 90);
  }

  void theApplyButtonMapsTheTypedFractions_data() {
    QTest::addColumn<QStringList>("typed");  // left, up, right, down
    QTest::addColumn<Rect>("mapping");
    QTest::newRow("middle") << QStringList{"0.2", "0.2", "0.8", "0.8"}
                            << Rect(13107, 13107, 39321, 39321);
    QTest::newRow("right not past left: nothing")
        << QStringList{"0.5", "0", "0.5", "1"} << Rect(0, 0, 65535, 65535);
    QTest::newRow("empty fields read as 0: nothing")
        << QStringList{"", "", "", ""} << Rect(0, 0, 65535, 65535);
  }

  void theApplyButtonMapsTheTypedFractions() {
    QFETCH(QStringList, typed);
    QFETCH(Rect, mapping);
    openMappingPage();
    QTRY_COMPARE(ui().rightOffsetText->text(), QStringLiteral("1.00"));
    const QList<QLineEdit*> fields{ui().leftOffsetText, ui().upOffsetText, ui().rightOffsetText,
                                   ui().downOffsetText};
    for (int i = 0; i < 4; ++i) fields[i]->setText(typed[i]);
    QTest::mouseClick(ui().adjustTabletOffsetButton, Qt::LeftButton);
    // The fields show the area again, whether it took the typed values or not.
    QTRY_COMPARE(ui().rightOffsetText->text(),
                 QString::asprintf("%0.2f", view().getTabletOffset().right));
    QCOMPARE(app_->driver.tabletMapping(), mapping);
  }

  void theDisplayIsDrawnFromItsPictureOrAsAPlainFrame_data() {
    QTest::addColumn<QColor>("picture");  // invalid: no picture
    QTest::addColumn<QColor>("shown");
    QTest::newRow("picture") << QColor(Qt::red) << QColor(Qt::red);
    QTest::newRow("none, as on Wayland") << QColor() << QColor(0x5f, 0x63, 0x68);
  }

  void theDisplayIsDrawnFromItsPictureOrAsAPlainFrame() {
    QFETCH(QColor, picture);
    QFETCH(QColor, shown);
    BTMonitorView view;
    view.resize(400, 418);
    view.setScreenShot([picture](int) {
      QImage image;
      if (picture.isValid()) {
        image = QImage(64, 36, QImage::Format_RGB32);
        image.fill(picture);
      }
      return image;
    });
    view.setDriver(&app_->driver);
    app_->driver.screenManager();                    // chooses the display
    app_->driver.setScreenArea(Rect(0, 0, 20, 20));  // a corner only: the frame shows
    view.setLoadingSettings(true);
    view.selectMonitorIndex(0);
    view.setLoadingSettings(false);
    const QImage shot = view.grab().toImage();
    const Rect frame = view.editor().monitorViewInfo()._monitorRect;
    QVERIFY(!frame.isEmpty());
    // Inside the frame, away from its outline, the mapped corner and the label.
    const QPoint probe(int(frame.minX() + frame.size.width * 0.7),
                       int(418 - frame.minY() - frame.size.height * 0.3));
    QCOMPARE(shot.pixelColor(probe), shown);
  }

  void theDisplayPictureIsRefreshedOnlyWhileThePanelIsShown() {
    int shots = 0;
    openMappingPage();
    view().setScreenShot([&shots](int) {
      ++shots;
      return QImage();
    });
    QTRY_VERIFY_WITH_TIMEOUT(shots > 0, BTMonitorView::kScreenRefreshMs + 1000);
    controller().setHasActivePanel(false);
    const int closed = shots;
    QTest::qWait(BTMonitorView::kScreenRefreshMs + 500);
    QCOMPARE(shots, closed);
  }

 private:
  BTPanelViewController& controller() { return app_->delegate->panelController(); }
  Ui::Panel& ui() { return controller().window().ui(); }
  BTMonitorView& view() { return *ui().monitorView; }

  // The panel open on its mapping page, with a tablet connected so that its
  // buttons work.
  void openMappingPage() {
    QVERIFY(app_->start());
    app_->driver.setIsConnected(true);
    controller().setHasActivePanel(true);
    QVERIFY(QTest::qWaitForWindowExposed(&controller().window()));
    ui().tabView->setCurrentIndex(0);
    QTRY_VERIFY(ui().adjustTabletOffsetButton->isEnabled());
  }

  QRectF tabletArea() {
    const Rect a = view().editor().tabletViewInfo()._monitorDropArea;
    return QRectF(a.minX(), view().height() - a.maxY(), a.size.width, a.size.height);
  }
  static QPointF widgetCentre(const QRectF& r) { return r.center(); }

  void send(QEvent::Type type, QPointF at, Qt::MouseButton button,
            Qt::MouseButtons buttons = Qt::LeftButton) {
    QMouseEvent event(type, at, view().mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&view(), &event);
  }

  std::unique_ptr<test::TestApp> app_;
};

QTEST_MAIN(MonitorViewTest)
#include "tst_MonitorView.moc"
