#include "settings/font_value.h"
#include "skin/element_host.h"
#include "skin/line_element.h"
#include "skin/rect_element.h"
#include "skin/skinned_control.h"
#include "skin/text_element.h"
#include "skin/text_widths.h"
#include "skin/twips.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

namespace {

struct Delivery {
    const Element* element;
    MouseAction action;
    MouseArgs args;
};

class RecordingHost : public ElementHost {
public:
    using ElementHost::ElementHost;
    QList<Delivery> deliveries;

protected:
    void paintBackground(QPainter& painter) override { painter.fillRect(rect(), Qt::white); }
    void elementMouseEvent(Element* element, MouseAction action, MouseArgs& args) override
    {
        deliveries.append({element, action, args});
    }
};

// A solid box that takes the mouse, placed in pixels for readable tables.
class Box : public Element {
public:
    Box(ElementHost* host, const QRect& pixels, QColor color = Qt::black) : Element(host), color_(color)
    {
        move(Twips::fromPixels(pixels.x()), Twips::fromPixels(pixels.y()));
        resize(Twips::fromPixels(pixels.width()), Twips::fromPixels(pixels.height()));
    }
    void paint(QPainter& painter) const override { painter.fillRect(pixelRect(), color_); }

private:
    QColor color_;
};

class LayoutRecorder : public SkinnedControl {
public:
    using SkinnedControl::SkinnedControl;
    QList<QSizeF> layouts;
    void readProperties(const PropertyBag&, const AmbientProperties&) override {}
    void writeProperties(PropertyBag&, const AmbientProperties&) const override {}

protected:
    void layoutElements() override { layouts.append(QSizeF(twipsWidth(), twipsHeight())); }
};

void sendMouse(QWidget& widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(pos), QPointF(widget.mapToGlobal(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void click(QWidget& widget, QPoint press, QPoint release, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(widget, QEvent::MouseButtonPress, press, button, button);
    sendMouse(widget, QEvent::MouseMove, release, Qt::NoButton, button);
    sendMouse(widget, QEvent::MouseButtonRelease, release, button, Qt::NoButton);
}

bool isInk(QRgb pixel) { return (pixel & 0xFFFFFF) != 0xFFFFFF; }

} // namespace

class TestPlatformElements : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Fonts::installSubstitutions(); }

    void twipsToPixels_data();
    void twipsToPixels();
    void adjacentRectanglesStayAdjacent_data();
    void adjacentRectanglesStayAdjacent();
    void paintsBackToFront_data();
    void paintsBackToFront();
    void pressGoesToTopmostElement_data();
    void pressGoesToTopmostElement();
    void captureAndClick_data();
    void captureAndClick();
    void doubleClickSequence();
    void codesOutsideRangeRefused_data();
    void codesOutsideRangeRefused();
    void widthIsSumOfCharacters_data();
    void widthIsSumOfCharacters();
    void autoSizedLabelHoldsItsText_data();
    void autoSizedLabelHoldsItsText();
    void hiddenControlLaysOutAtOnce_data();
    void hiddenControlLaysOutAtOnce();
};

void TestPlatformElements::twipsToPixels_data()
{
    QTest::addColumn<float>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("window width") << 6135.0f << 409;
    QTest::newRow("window height") << 7455.0f << 497;
    QTest::newRow("fraction down") << 2181.15f << 145;
    QTest::newRow("half up") << 22.5f << 2;
    QTest::newRow("just below half") << 7.4f << 0;
    QTest::newRow("zero") << 0.0f << 0;
}

void TestPlatformElements::twipsToPixels()
{
    QFETCH(float, twips);
    QFETCH(int, pixels);
    QCOMPARE(Twips::toPixels(twips), pixels);
}

void TestPlatformElements::adjacentRectanglesStayAdjacent_data()
{
    QTest::addColumn<QList<float>>("edges"); // a row of rectangles, each from one edge to the next
    QTest::newRow("thirds of the window") << QList<float>{0, 2045, 4090, 6135};
    QTest::newRow("fractional cuts") << QList<float>{120, 2301.15f, 4482.3f, 6015};
    QTest::newRow("cuts at half pixels") << QList<float>{7.5f, 22.5f, 37.5f, 52.5f};
    QTest::newRow("narrow slivers") << QList<float>{100, 105, 110, 118, 131, 133};
}

void TestPlatformElements::adjacentRectanglesStayAdjacent()
{
    QFETCH(QList<float>, edges);
    int covered = 0;
    for (qsizetype i = 0; i + 1 < edges.size(); ++i) {
        // Across as well as down, so both axes are checked.
        const QRect across = Twips::toPixels(QRectF(edges[i], 0, edges[i + 1] - edges[i], 300));
        const QRect down = Twips::toPixels(QRectF(0, edges[i], 300, edges[i + 1] - edges[i]));
        QCOMPARE(across.left(), Twips::toPixels(edges[i]));
        QCOMPARE(across.left() + across.width(), Twips::toPixels(edges[i + 1]));
        QCOMPARE(down.top() + down.height(), Twips::toPixels(edges[i + 1]));
        covered += across.width();
    }
    QCOMPARE(covered, Twips::toPixels(edges.last()) - Twips::toPixels(edges.first()));
}

void TestPlatformElements::paintsBackToFront_data()
{
    QTest::addColumn<bool>("redFirst");
    QTest::addColumn<QString>("hidden");
    QTest::addColumn<QColor>("overlap");
    QTest::addColumn<QColor>("redOnly");
    QTest::addColumn<QColor>("blueOnly");
    const QColor red(Qt::red), blue(Qt::blue), white(Qt::white);
    QTest::newRow("blue added last") << true << "" << blue << red << blue;
    QTest::newRow("red added last") << false << "" << red << red << blue;
    QTest::newRow("top hidden") << true << "blue" << red << red << white;
    QTest::newRow("bottom hidden") << false << "blue" << red << red << white;
    QTest::newRow("both hidden") << true << "both" << white << white << white;
}

void TestPlatformElements::paintsBackToFront()
{
    QFETCH(bool, redFirst);
    QFETCH(QString, hidden);
    QFETCH(QColor, overlap);
    QFETCH(QColor, redOnly);
    QFETCH(QColor, blueOnly);
    RecordingHost host;
    host.resize(120, 80);
    const QRect redRect(0, 0, 60, 40), blueRect(30, 20, 60, 40);
    std::unique_ptr<Box> red, blue;
    if (redFirst) {
        red = std::make_unique<Box>(&host, redRect, Qt::red);
        blue = std::make_unique<Box>(&host, blueRect, Qt::blue);
    } else {
        blue = std::make_unique<Box>(&host, blueRect, Qt::blue);
        red = std::make_unique<Box>(&host, redRect, Qt::red);
    }
    blue->setVisible(hidden.isEmpty());
    red->setVisible(hidden != "both");

    const QImage image = host.grab().toImage();
    QCOMPARE(image.pixelColor(45, 30), overlap);
    QCOMPARE(image.pixelColor(10, 10), redOnly);
    QCOMPARE(image.pixelColor(80, 50), blueOnly);
}

void TestPlatformElements::pressGoesToTopmostElement_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<bool>("hideB");
    QTest::addColumn<QString>("expected"); // empty: the bare surface
    QTest::newRow("a alone") << QPoint(10, 10) << false << "a";
    QTest::newRow("overlap takes later b") << QPoint(45, 30) << false << "b";
    QTest::newRow("overlap, b hidden") << QPoint(45, 30) << true << "a";
    QTest::newRow("b alone") << QPoint(80, 50) << false << "b";
    QTest::newRow("b alone, hidden") << QPoint(80, 50) << true << "";
    QTest::newRow("last pixel of a") << QPoint(59, 10) << false << "a";
    QTest::newRow("first pixel right of a") << QPoint(60, 10) << false << "";
    QTest::newRow("first pixel of b") << QPoint(30, 20) << false << "b";
    QTest::newRow("line and rectangle only") << QPoint(100, 30) << false << "";
}

// A rectangle and a line lie over everything: they are drawn only and must not take the press.
void TestPlatformElements::pressGoesToTopmostElement()
{
    QFETCH(QPoint, pixel);
    QFETCH(bool, hideB);
    QFETCH(QString, expected);
    RecordingHost host;
    host.resize(120, 80);
    Box a(&host, QRect(0, 0, 60, 40));
    Box b(&host, QRect(30, 20, 60, 40));
    RectElement frame(&host);
    frame.resize(Twips::fromPixels(120), Twips::fromPixels(80));
    frame.setFillColor(0x00C0C0C0u);
    LineElement line(&host);
    line.setEnd(QPointF(Twips::fromPixels(120), Twips::fromPixels(80)));
    b.setVisible(!hideB);

    sendMouse(host, QEvent::MouseButtonPress, pixel, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(host.deliveries.size(), 1);
    const Element* target = host.deliveries.first().element;
    const QHash<const Element*, QString> names{{&a, "a"}, {&b, "b"}, {nullptr, ""}};
    QVERIFY2(names.contains(target), "press delivered to an element that does not take the mouse");
    QCOMPARE(names.value(target), expected);
    QCOMPARE(host.deliveries.first().action, MouseAction::Down);
}

void TestPlatformElements::captureAndClick_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<int>("button"); // Qt::MouseButton
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("clicked");
    QTest::addColumn<QPointF>("upTwips");
    const int left = Qt::LeftButton;
    QTest::newRow("click on a") << QPoint(10, 10) << QPoint(20, 15) << left << "a" << true << QPointF(300, 225);
    QTest::newRow("released over b") << QPoint(10, 10) << QPoint(70, 30) << left << "a" << false
                                     << QPointF(1050, 450);
    QTest::newRow("released on bare") << QPoint(10, 10) << QPoint(50, 70) << left << "a" << false
                                      << QPointF(750, 1050);
    QTest::newRow("released outside") << QPoint(10, 10) << QPoint(-5, 100) << left << "a" << false
                                      << QPointF(-75, 1500);
    QTest::newRow("right button") << QPoint(10, 10) << QPoint(10, 10) << int(Qt::RightButton) << "a" << false
                                  << QPointF(150, 150);
    QTest::newRow("click on b, relative") << QPoint(65, 25) << QPoint(99, 59) << left << "b" << true
                                          << QPointF(585, 585);
    QTest::newRow("b pressed, released on a") << QPoint(65, 25) << QPoint(10, 10) << left << "b" << false
                                              << QPointF(-750, -150);
    QTest::newRow("bare surface") << QPoint(50, 70) << QPoint(55, 75) << left << "" << true << QPointF(825, 1125);
}

void TestPlatformElements::captureAndClick()
{
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(int, button);
    QFETCH(QString, target);
    QFETCH(bool, clicked);
    QFETCH(QPointF, upTwips);
    RecordingHost host;
    host.resize(120, 80);
    Box a(&host, QRect(0, 0, 40, 40));
    Box b(&host, QRect(60, 20, 40, 40));
    const QHash<QString, const Element*> elements{{"a", &a}, {"b", &b}, {"", nullptr}};
    const Element* expected = elements.value(target);
    const QPointF origin = expected ? QPointF(expected->left(), expected->top()) : QPointF();

    click(host, press, release, Qt::MouseButton(button));

    QList<MouseAction> actions{MouseAction::Down, MouseAction::Move, MouseAction::Up};
    if (clicked)
        actions.append(MouseAction::Click);
    QCOMPARE(host.deliveries.size(), actions.size());
    for (qsizetype i = 0; i < actions.size(); ++i) {
        QCOMPARE(host.deliveries[i].action, actions[i]);
        QVERIFY2(host.deliveries[i].element == expected, "delivered to another element than the one pressed");
    }
    const MouseArgs& down = host.deliveries[0].args;
    QCOMPARE(QPointF(down.x, down.y), Twips::fromPixels(QPointF(press)) - origin);
    const short code = button == Qt::LeftButton ? 1 : 2;
    QCOMPARE(down.button, code);
    QCOMPARE(host.deliveries[1].args.button, code); // a move passes the buttons held
    const MouseArgs& up = host.deliveries[2].args;
    QCOMPARE(QPointF(up.x, up.y), upTwips);
    QCOMPARE(up.button, code);
}

void TestPlatformElements::doubleClickSequence()
{
    RecordingHost host;
    host.resize(120, 80);
    Box a(&host, QRect(0, 0, 40, 40));
    // As the window system delivers it: the second press arrives as the double-click.
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const bool held = type != QEvent::MouseButtonRelease;
        sendMouse(host, type, QPoint(10, 12), Qt::LeftButton, held ? Qt::LeftButton : Qt::NoButton);
    }
    const QList<MouseAction> expected{MouseAction::Down,     MouseAction::Up, MouseAction::Click,
                                      MouseAction::DblClick, MouseAction::Up, // no second click
                                      MouseAction::Down,     MouseAction::Up, MouseAction::Click};
    QCOMPARE(host.deliveries.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(host.deliveries[i].action, expected[i]);
        QCOMPARE(host.deliveries[i].element, &a);
        QCOMPARE(host.deliveries[i].args.x, 150.0f);
        QCOMPARE(host.deliveries[i].args.y, 180.0f);
    }
}

void TestPlatformElements::codesOutsideRangeRefused_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("accepted");
    for (int code : {-1, 0, 1, 2, 3})
        QTest::addRow("alignment %d", code) << "alignment" << code << (code >= 0 && code <= 2);
    for (int code : {-1, 0, 6, 7})
        QTest::addRow("line style %d", code) << "line" << code << (code >= 0 && code <= 6);
}

void TestPlatformElements::codesOutsideRangeRefused()
{
    QFETCH(QString, what);
    QFETCH(int, code);
    QFETCH(bool, accepted);
    RecordingHost host;
    TextElement text(&host);
    LineElement line(&host);
    // Whether the code was taken, and the code in force afterwards.
    const auto apply = [&](int c) -> std::pair<bool, int> {
        if (what == "alignment") {
            const bool ok = text.setAlignment(c);
            return {ok, text.alignment()};
        }
        const bool ok = line.setStyle(c);
        return {ok, line.style()};
    };
    QCOMPARE(apply(1), std::make_pair(true, 1));
    QCOMPARE(apply(code), std::make_pair(accepted, accepted ? code : 1));
}

void TestPlatformElements::widthIsSumOfCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("weight");
    QTest::newRow("caption") << "Импорт слов" << 400;
    QTest::newRow("bold label") << "Подходящие слова:" << 700;
    QTest::newRow("digits") << "Импортировано: 1234567890" << 700;
    QTest::newRow("kerning pairs") << "AVAWAYTaTeYo" << 400;
    QTest::newRow("ligature candidates") << "ffi fl office" << 400;
    QTest::newRow("cyrillic pairs") << "ТаГоУдАЧ" << 700;
}

// The sum is what labels use to size themselves; the shaped width is what gets drawn.
void TestPlatformElements::widthIsSumOfCharacters()
{
    QFETCH(QString, text);
    QFETCH(int, weight);
    FontValue value;
    value.weight = weight;
    const QFont font = value.toQFont();
    const TextWidths& widths = TextWidths::forFont(font);
    qreal sum = 0;
    for (QChar c : text)
        sum += widths.width(QString(c));
    QCOMPARE(widths.width(text), sum);
    QVERIFY2(qAbs(QFontMetricsF(font).horizontalAdvance(text) - sum) < 0.01,
             qPrintable(QStringLiteral("shaped %1, summed %2").arg(QFontMetricsF(font).horizontalAdvance(text)).arg(sum)));
}

void TestPlatformElements::autoSizedLabelHoldsItsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<FontValue>("font");
    FontValue sans;
    FontValue bold;
    bold.weight = FontValue::Bold;
    FontValue serif;
    serif.face = QStringLiteral("Times New Roman");
    serif.size = 12;
    QTest::newRow("bold label") << "Подходящие слова:" << bold;
    QTest::newRow("count") << "Импортировано: 1048576" << bold;
    QTest::newRow("wide letters") << "WWMMЖЖШЩ" << sans;
    QTest::newRow("descenders") << "Ддруг, урожай" << sans;
    QTest::newRow("serif") << "Сохранение завершено" << serif;
}

// The label's clip would hide overflowing text, so compare with the same text drawn unclipped.
void TestPlatformElements::autoSizedLabelHoldsItsText()
{
    QFETCH(QString, text);
    QFETCH(FontValue, font);
    RecordingHost host;
    host.resize(400, 60);
    TextElement label(&host);
    label.move(Twips::fromPixels(20), Twips::fromPixels(10));
    label.setAutoSize(true);
    label.setText(QStringLiteral("x"));
    label.setFont(font);
    label.setText(text);
    QCOMPARE(label.left(), Twips::fromPixels(20));
    QCOMPARE(label.top(), Twips::fromPixels(10));
    const QRect box = label.pixelRect();
    QVERIFY(box.width() > 0 && box.right() < host.width());

    const QImage drawn = host.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage unclipped(drawn.size(), QImage::Format_RGB32);
    unclipped.fill(Qt::white);
    {
        QPainter painter(&unclipped);
        painter.setFont(font.toQFont());
        painter.setPen(Qt::black);
        painter.drawText(QRect(box.left(), box.top(), 1000, 1000), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         text);
    }
    int inkPixels = 0;
    for (int y = 0; y < unclipped.height(); ++y) {
        for (int x = 0; x < unclipped.width(); ++x) {
            const bool ink = isInk(unclipped.pixel(x, y));
            inkPixels += ink;
            if (ink && !box.contains(x, y))
                QFAIL(qPrintable(QStringLiteral("text pixel at %1,%2 outside the box %3,%4 %5x%6")
                                     .arg(x).arg(y).arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())));
            QCOMPARE(isInk(drawn.pixel(x, y)), ink);
        }
    }
    QVERIFY(inkPixels > 0);
}

void TestPlatformElements::hiddenControlLaysOutAtOnce_data()
{
    QTest::addColumn<bool>("child");
    QTest::addColumn<QSizeF>("first");
    QTest::addColumn<QSizeF>("second");
    // Laid out from the pixel size the twips round to.
    QTest::newRow("top level") << false << QSizeF(4575, 255) << QSizeF(2181.15, 240);
    QTest::newRow("child of hidden window") << true << QSizeF(6135, 7455) << QSizeF(315, 315);
}

void TestPlatformElements::hiddenControlLaysOutAtOnce()
{
    QFETCH(bool, child);
    QFETCH(QSizeF, first);
    QFETCH(QSizeF, second);
    QWidget window;
    LayoutRecorder control(child ? &window : nullptr);
    for (const QSizeF& size : {first, second}) {
        control.layouts.clear();
        control.setTwipsSize(float(size.width()), float(size.height()));
        QVERIFY(!control.isVisible());
        QVERIFY(!control.layouts.isEmpty());
        const QSizeF expected(Twips::fromPixels(Twips::toPixels(float(size.width()))),
                              Twips::fromPixels(Twips::toPixels(float(size.height()))));
        QCOMPARE(control.layouts.last(), expected);
    }
    // Showing it later does not lay it out again for a stale size.
    control.layouts.clear();
    (child ? &window : static_cast<QWidget*>(&control))->show();
    for (const QSizeF& laidOut : std::as_const(control.layouts))
        QCOMPARE(laidOut, QSizeF(control.twipsWidth(), control.twipsHeight()));
}

QTEST_MAIN(TestPlatformElements)
#include "tst_platform_elements.moc"
