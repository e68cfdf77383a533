#include "persisted_settings.h"
#include "window_canvas/xp_canvas2.h"

#include "settings/ole_color.h"
#include "settings/property_bag.h"

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

// Exposes the pieces and records the moves it would start.
class Canvas : public XPCanvas2 {
public:
    using XPCanvas2::Cap;
    using XPCanvas2::l2;
    using XPCanvas2::lev;
    using XPCanvas2::lto;
    using XPCanvas2::niz;
    using XPCanvas2::nl;
    using XPCanvas2::nr;
    using XPCanvas2::pr;
    using XPCanvas2::rto;
    using XPCanvas2::ver;

    QList<QPoint> moves;

protected:
    void startWindowMove(const QPoint& globalPress, Qt::MouseButton) override { moves.append(globalPress); }
};

// The main window's canvas: 409 x 497 pixels.
void showAsMainWindowCanvas(XPCanvas2& canvas)
{
    canvas.setTwipsSize(6135, 7455);
    canvas.setCaption(QStringLiteral("Quorvane"));
    canvas.show();
}

} // namespace

class TestXPCanvas2 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Fonts::installSubstitutions(); }

    void persistedSettings_data();
    void persistedSettings() { checkPersistedSettings<XPCanvas2>(); }
    void newInstance();
    void layout_data();
    void layout();
    void captionRefits();
    void pressOnCanvas_data();
    void pressOnCanvas();
    void pressOnHostControl_data();
    void pressOnHostControl();
    void moveFollowsPointerWhereWindowSystemRefuses();
    void moveByHandEnds_data();
    void moveByHandEnds();
    void pixels_data();
    void pixels();
    void longTitleDrawnOverRightSection();
};

void TestXPCanvas2::persistedSettings_data()
{
    addPersistedSettingsColumns();
    const StoredSettings title{{"Caption", "Quorvane"}};
    QTest::newRow("nothing stored") << StoredSettings{} << StoredSettings{} << StoredSettings{};
    QTest::newRow("nothing stored, over a title") << title << StoredSettings{} << StoredSettings{};
    QTest::newRow("key in lower case") << StoredSettings{} << StoredSettings{{"caption", "Quorvane"}} << title;
    QTest::newRow("default stored") << StoredSettings{} << StoredSettings{{"Caption", "XP_Canvas"}}
                                    << StoredSettings{};
    QTest::newRow("empty title") << StoredSettings{} << StoredSettings{{"CAPTION", ""}}
                                 << StoredSettings{{"Caption", ""}};
    QTest::newRow("Cyrillic title") << StoredSettings{} << StoredSettings{{"Caption", "Поиск слов"}}
                                    << StoredSettings{{"Caption", "Поиск слов"}};
}

void TestXPCanvas2::newInstance()
{
    Canvas canvas;
    QCOMPARE(canvas.twipsWidth(), 4350.f);
    QCOMPARE(canvas.twipsHeight(), 2805.f);
    QCOMPARE(canvas.Cap.left(), 240.f);
    QCOMPARE(canvas.Cap.top(), 170.f);

    QSignalSpy changed(&canvas, &XPCanvas2::PropertyChanged);
    canvas.initNew({FontValue(), QStringLiteral("XPCanvas21")});
    QCOMPARE(canvas.Caption(), QStringLiteral("XPCanvas21"));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("Caption"));
}

void TestXPCanvas2::layout_data()
{
    QTest::addColumn<float>("w");
    QTest::addColumn<float>("h");
    QTest::addColumn<float>("rtoLeft");
    QTest::addColumn<float>("rightLeft");
    QTest::addColumn<float>("bottomTop");

    QTest::newRow("main window") << 6135.f << 7455.f << 4530.f << 6045.f << 7365.f;
    QTest::newRow("new instance") << 4350.f << 2805.f << 2745.f << 4260.f << 2715.f;
    QTest::newRow("ends overlap") << 1800.f << 900.f << 195.f << 1710.f << 810.f;
    QTest::newRow("narrower than the right section") << 1200.f << 600.f << -405.f << 1110.f << 510.f;
}

void TestXPCanvas2::layout()
{
    QFETCH(float, w);
    QFETCH(float, h);
    QFETCH(float, rtoLeft);
    QFETCH(float, rightLeft);
    QFETCH(float, bottomTop);

    Canvas canvas;
    canvas.setTwipsSize(9000, 9000);
    canvas.show();
    canvas.setTwipsSize(w, h); // laid out again, not only once

    QCOMPARE(canvas.lto.geometry(), QRectF(0, 0, 540, 510));
    QCOMPARE(canvas.rto.geometry(), QRectF(rtoLeft, 0, 1605, 510));
    QCOMPARE(canvas.ver.geometry(), QRectF(0, 0, w, 510));
    QCOMPARE(canvas.pr.geometry(), QRectF(0, 0, 90, h));
    QCOMPARE(canvas.lev.geometry(), QRectF(rightLeft, 0, 90, h));
    QCOMPARE(canvas.niz.geometry(), QRectF(0, bottomTop, w, 90));
    QCOMPARE(canvas.nl.geometry(), QRectF(0, bottomTop, 90, 90));
    QCOMPARE(canvas.nr.geometry(), QRectF(rightLeft, bottomTop, 90, 90));
    QCOMPARE(canvas.l2.geometry(), QRectF(rightLeft, 510, 90, 120));
    QCOMPARE(canvas.Cap.left(), 240.f);
    QCOMPARE(canvas.Cap.top(), 170.f);
}

void TestXPCanvas2::captionRefits()
{
    Canvas canvas;
    showAsMainWindowCanvas(canvas);
    QSignalSpy changed(&canvas, &XPCanvas2::PropertyChanged);

    const float shortWidth = canvas.Cap.width();
    const float height = canvas.Cap.height();
    QVERIFY(shortWidth > 0);
    canvas.setCaption(QStringLiteral("Quorvane: поиск слов по буквам"));
    QVERIFY(canvas.Cap.width() > shortWidth);
    QCOMPARE(canvas.Cap.height(), height);
    QCOMPARE(canvas.Cap.left(), 240.f);
    QCOMPARE(canvas.Cap.top(), 170.f);
    canvas.setCaption(QStringLiteral("Quorvane"));
    QCOMPARE(canvas.Cap.width(), shortWidth);
    canvas.setCaption(QString());
    QCOMPARE(canvas.Cap.width(), 0.f);
    QCOMPARE(changed.size(), 3);

    canvas.setCaption(QString());
    QCOMPARE(changed.size(), 3);
}

void TestXPCanvas2::pressOnCanvas_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<bool>("moves");

    const Qt::KeyboardModifiers none;
    QTest::newRow("band, left") << QPoint(200, 10) << Qt::LeftButton << none << false << true;
    QTest::newRow("band, right") << QPoint(200, 10) << Qt::RightButton << none << false << true;
    QTest::newRow("band, middle") << QPoint(200, 10) << Qt::MiddleButton << none << false << true;
    QTest::newRow("band, shift and ctrl")
        << QPoint(200, 10) << Qt::LeftButton << (Qt::ShiftModifier | Qt::ControlModifier) << false << true;
    QTest::newRow("band, last row") << QPoint(200, 33) << Qt::LeftButton << none << false << true;
    QTest::newRow("band, double-click") << QPoint(200, 10) << Qt::LeftButton << none << true << true;
    QTest::newRow("left end over the edge") << QPoint(2, 2) << Qt::LeftButton << none << false << true;
    QTest::newRow("title") << QPoint(20, 15) << Qt::LeftButton << none << false << true;
    QTest::newRow("right section") << QPoint(380, 20) << Qt::RightButton << none << false << true;
    QTest::newRow("right section over the edge") << QPoint(408, 20) << Qt::LeftButton << none << false << true;
    QTest::newRow("left edge") << QPoint(2, 200) << Qt::LeftButton << none << false << false;
    QTest::newRow("right edge, right") << QPoint(406, 200) << Qt::RightButton << none << false << false;
    QTest::newRow("bottom edge") << QPoint(200, 494) << Qt::LeftButton << none << false << false;
    QTest::newRow("bottom-left corner") << QPoint(2, 494) << Qt::LeftButton << none << false << false;
    QTest::newRow("bottom-right corner") << QPoint(406, 494) << Qt::MiddleButton << none << false << false;
    QTest::newRow("joint below the bar") << QPoint(405, 36) << Qt::LeftButton << none << false << false;
    QTest::newRow("client area") << QPoint(200, 200) << Qt::LeftButton << none << false << false;
    QTest::newRow("client area, double-click") << QPoint(200, 200) << Qt::LeftButton << none << true << false;
}

void TestXPCanvas2::pressOnCanvas()
{
    QFETCH(QPoint, at);
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, doubleClick);
    QFETCH(bool, moves);

    Canvas canvas;
    showAsMainWindowCanvas(canvas);
    if (doubleClick)
        QTest::mouseDClick(&canvas, button, modifiers, at);
    else
        QTest::mousePress(&canvas, button, modifiers, at);
    QTest::mouseRelease(&canvas, button, modifiers, at);

    if (moves)
        QCOMPARE(canvas.moves, QList<QPoint>{canvas.mapToGlobal(at)});
    else
        QVERIFY(canvas.moves.isEmpty());
}

void TestXPCanvas2::pressOnHostControl_data()
{
    QTest::addColumn<bool>("interested"); // takes presses, or lets them through
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<Qt::MouseButton>("button");

    QTest::newRow("button") << true << true << Qt::LeftButton;
    QTest::newRow("disabled button") << true << false << Qt::LeftButton;
    QTest::newRow("plain widget") << false << true << Qt::LeftButton;
    QTest::newRow("plain widget, right") << false << true << Qt::RightButton;
}

void TestXPCanvas2::pressOnHostControl()
{
    QFETCH(bool, interested);
    QFETCH(bool, enabled);
    QFETCH(Qt::MouseButton, button);

    Canvas canvas;
    QWidget* control = interested ? new QPushButton(&canvas) : new QWidget(&canvas);
    control->setGeometry(300, 5, 40, 20);
    control->setEnabled(enabled);
    showAsMainWindowCanvas(canvas);

    QTest::mousePress(control, button);
    QTest::mouseRelease(control, button);
    QVERIFY(canvas.moves.isEmpty());
}

void TestXPCanvas2::moveFollowsPointerWhereWindowSystemRefuses()
{
    XPCanvas2 canvas;
    showAsMainWindowCanvas(canvas);
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    const QPoint start = canvas.pos();

    QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(200, 10));
    QTest::mouseMove(&canvas, QPoint(230, 30));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, QPoint(200, 10));
    QCOMPARE(canvas.pos(), start + QPoint(30, 20));
}

void TestXPCanvas2::pixels_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<OleColor>("color");

    QTest::newRow("client area") << QPoint(200, 200) << 0x00E0E0E0u;
    QTest::newRow("band, top line") << QPoint(200, 0) << 0x00293031u;
    QTest::newRow("band, middle") << QPoint(200, 15) << 0x00F7EFEFu;
    QTest::newRow("band, bottom line") << QPoint(200, 33) << 0x00293031u;
    QTest::newRow("right section, middle") << QPoint(352, 14) << 0x00E7DFD6u;
    QTest::newRow("left edge, outline") << QPoint(0, 200) << 0x00293031u;
    QTest::newRow("left edge, bevel") << QPoint(1, 200) << 0x00DEDBD6u;
    QTest::newRow("right edge, bevel") << QPoint(407, 200) << 0x00C6B6ADu;
    QTest::newRow("right edge, outline") << QPoint(408, 200) << 0x00293031u;
    QTest::newRow("bottom edge, top row") << QPoint(200, 491) << 0x00E7E3DEu;
    QTest::newRow("bottom edge, bottom line") << QPoint(200, 496) << 0x00293431u;
    QTest::newRow("bottom-left corner") << QPoint(1, 491) << 0x00E7D7D6u;
    QTest::newRow("bottom-right corner") << QPoint(408, 496) << 0x00292C29u;
    QTest::newRow("joint over the right edge") << QPoint(404, 37) << 0x00BDB2A5u;
    QTest::newRow("joint, closing line") << QPoint(404, 40) << 0x00293031u;
}

void TestXPCanvas2::pixels()
{
    QFETCH(QPoint, at);
    QFETCH(OleColor, color);

    Canvas canvas;
    showAsMainWindowCanvas(canvas);
    const QImage image = canvas.grab().toImage();
    QCOMPARE(image.size(), QSize(409, 497));
    QCOMPARE(image.pixelColor(at), Ole::toQColor(color));
}

void TestXPCanvas2::longTitleDrawnOverRightSection()
{
    Canvas canvas;
    canvas.setTwipsSize(2400, 1200);
    canvas.setCaption(QStringLiteral("ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ"));
    canvas.show();
    const QRect overlap = canvas.Cap.pixelRect() & canvas.rto.pixelRect();
    QVERIFY(!overlap.isEmpty());

    const QImage image = canvas.grab().toImage();
    const QColor navy = Ole::toQColor(0x00800000u);
    int titlePixels = 0;
    for (int y = overlap.top(); y <= overlap.bottom(); ++y) {
        for (int x = overlap.left(); x <= overlap.right(); ++x)
            titlePixels += image.pixelColor(x, y) == navy;
    }
    QVERIFY(titlePixels > 0);
}

void TestXPCanvas2::moveByHandEnds_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("end");
    for (const auto& [name, button] : {std::pair{"left", Qt::LeftButton}, std::pair{"right", Qt::RightButton},
                                       std::pair{"middle", Qt::MiddleButton}}) {
        for (const char* end : {"release", "motion with no button", "modal box", "hidden", "Escape"})
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(name, end))) << int(button) << QString(end);
    }
}

// The window follows any button by hand and stops following once the button or the mouse is gone;
// Escape puts it back.
void TestXPCanvas2::moveByHandEnds()
{
    QFETCH(int, button);
    QFETCH(QString, end);
    const auto held = Qt::MouseButton(button);

    XPCanvas2 canvas;
    showAsMainWindowCanvas(canvas);
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    const QPoint start = canvas.pos();
    auto send = [&canvas](QEvent::Type type, QPoint at, Qt::MouseButton changed, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, canvas.mapToGlobal(at), changed, buttons, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &event);
    };
    send(QEvent::MouseButtonPress, QPoint(200, 10), held, held);
    send(QEvent::MouseMove, QPoint(230, 30), Qt::NoButton, held);
    QCOMPARE(canvas.pos(), start + QPoint(30, 20));

    if (end == "release") {
        send(QEvent::MouseButtonRelease, QPoint(200, 10), held, Qt::NoButton);
    } else if (end == "motion with no button") {
        send(QEvent::MouseMove, QPoint(210, 20), Qt::NoButton, Qt::NoButton);
    } else if (end == "modal box") {
        QDialog box;
        box.setModal(true);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
    } else if (end == "Escape") {
        QTest::keyClick(&canvas, Qt::Key_Escape);
        QCOMPARE(canvas.pos(), start);
    } else {
        canvas.hide();
        canvas.show();
    }
    const QPoint stopped = canvas.pos();
    QVERIFY(stopped == start + QPoint(30, 20) || end == "motion with no button" || end == "Escape");
    send(QEvent::MouseMove, QPoint(260, 50), Qt::NoButton, held);
    QCOMPARE(canvas.pos(), stopped);
}

QTEST_MAIN(TestXPCanvas2)
#include "tst_xpcanvas2.moc"
