#include "separator_line/xp_line.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

namespace {

const AmbientProperties ambient{};
const QColor blue(0x00, 0x00, 0xFF);
const QColor lightGrey(0xE0, 0xE0, 0xE0);

// The colours along the one pixel row.
QList<QColor> row(XPLine& line)
{
    const QImage image = line.grab().toImage();
    QList<QColor> colors;
    for (int x = 0; x < image.width(); ++x)
        colors.append(image.pixelColor(x, 0));
    return colors;
}

} // namespace

class TstXPLine : public QObject {
    Q_OBJECT

private slots:
    void newInstance();
    void settings_data();
    void settings();
    void writesKeysInOrder();
    void heightHeld_data();
    void heightHeld();
    void setters_data();
    void setters();
    void styles_data();
    void styles();
    void mainWindowInstance();
    void scaledScreen_data();
    void scaledScreen();
};

void TstXPLine::newInstance()
{
    XPLine line;
    QCOMPARE(line.twipsWidth(), 3720.0f);
    QCOMPARE(line.height(), 1);
    QCOMPARE(line.BorderStyle(), short(1));
    QCOMPARE(line.BorderColor(), 0x00FF0000u);
    QCOMPARE(line.BackColor(), 0x00E0E0E0u);
    QCOMPARE(line.l.start(), QPointF(0, 0));
    QCOMPARE(line.l.end(), QPointF(3720, 0));
}

void TstXPLine::settings_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<short>("style");
    QTest::addColumn<OleColor>("border");
    QTest::addColumn<OleColor>("back");
    QTest::newRow("empty") << QString() << QVariant() << short(1) << 0x00FF0000u << 0x00E0E0E0u;
    QTest::newRow("bordercolor as stored by the window")
        << "bordercolor" << QVariant("0x00FF8080") << short(1) << 0x00FF8080u << 0x00E0E0E0u;
    QTest::newRow("BORDERSTYLE") << "BORDERSTYLE" << QVariant(3) << short(3) << 0x00FF0000u << 0x00E0E0E0u;
    QTest::newRow("backcolor decimal") << "backcolor" << QVariant("255") << short(1) << 0x00FF0000u << 0x000000FFu;
    QTest::newRow("style out of range kept") << "BorderStyle" << QVariant(9) << short(1) << 0x00FF0000u
                                             << 0x00E0E0E0u;
    QTest::newRow("unreadable colour") << "BorderColor" << QVariant("blue") << short(1) << 0x00FF0000u
                                       << 0x00E0E0E0u;
}

void TstXPLine::settings()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(short, style);
    QFETCH(OleColor, border);
    QFETCH(OleColor, back);
    PropertyBag bag;
    if (!key.isEmpty())
        bag.set(key, stored);
    XPLine line;
    QSignalSpy changed(&line, &XPLine::PropertyChanged);
    line.readProperties(bag, ambient);
    QCOMPARE(line.BorderStyle(), style);
    QCOMPARE(line.BorderColor(), border);
    QCOMPARE(line.BackColor(), back);
    QCOMPARE(changed.count(), 0);
}

void TstXPLine::writesKeysInOrder()
{
    XPLine line;
    PropertyBag bag;
    line.writeProperties(bag, ambient);
    QVERIFY(bag.isEmpty());

    line.setBackColor(0x00FFFFFFu);
    line.setBorderColor(0x00FF8080u);
    line.setBorderStyle(2);
    line.writeProperties(bag, ambient);
    QCOMPARE(bag.keys(), QStringList({"BorderStyle", "BorderColor", "BackColor"}));

    XPLine copy;
    copy.readProperties(bag, ambient);
    QCOMPARE(copy.BorderStyle(), short(2));
    QCOMPARE(copy.BorderColor(), 0x00FF8080u);
    QCOMPARE(copy.BackColor(), 0x00FFFFFFu);
}

void TstXPLine::heightHeld_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::newRow("300 twips high") << 5895.f << 300.f;
    QTest::newRow("stored 15 high") << 5895.f << 15.f;
    QTest::newRow("shorter, 300 high") << 1500.f << 300.f;
    QTest::newRow("10 high") << 3720.f << 10.f;
}

void TstXPLine::heightHeld()
{
    QFETCH(float, width);
    QFETCH(float, height);
    for (bool shown : {false, true}) {
        XPLine line;
        if (shown)
            line.show();
        line.setTwipsSize(width, height);
        QCOMPARE(line.height(), 1);
        QCOMPARE(line.twipsWidth(), width);
        line.grab(); // a hidden control lays out when it is first drawn
        QCOMPARE(line.l.end(), QPointF(width, 0));
        QCOMPARE(line.l.start(), QPointF(0, 0));
    }
}

void TstXPLine::setters_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("style 0") << "BorderStyle" << 0u << true;
    QTest::newRow("style 6") << "BorderStyle" << 6u << true;
    QTest::newRow("style 7") << "BorderStyle" << 7u << false;
    QTest::newRow("style -1") << "BorderStyle" << quint32(-1) << false;
    QTest::newRow("border colour") << "BorderColor" << 0x00FF8080u << true;
    QTest::newRow("border system colour") << "BorderColor" << 0x80000012u << true;
    QTest::newRow("border not a colour") << "BorderColor" << 0x01000000u << false;
    QTest::newRow("border unknown system colour") << "BorderColor" << 0x800000FFu << false;
    QTest::newRow("back colour") << "BackColor" << 0x00000000u << true;
    QTest::newRow("back not a colour") << "BackColor" << 0xFF000000u << false;
}

void TstXPLine::setters()
{
    QFETCH(QString, property);
    QFETCH(quint32, value);
    QFETCH(bool, accepted);
    XPLine line;
    QSignalSpy changed(&line, &XPLine::PropertyChanged);
    auto set = [&] {
        if (property == "BorderStyle")
            return line.setBorderStyle(short(value));
        if (property == "BorderColor")
            return line.setBorderColor(value);
        return line.setBackColor(value);
    };
    auto get = [&]() -> quint32 {
        if (property == "BorderStyle")
            return quint32(line.BorderStyle());
        if (property == "BorderColor")
            return line.BorderColor();
        return line.BackColor();
    };
    const quint32 before = get();

    QCOMPARE(set(), accepted);
    QCOMPARE(get(), accepted ? value : before);
    QCOMPARE(changed.count(), accepted ? 1 : 0);
    if (accepted)
        QCOMPARE(changed.at(0).at(0).toString(), property);

    QCOMPARE(set(), accepted); // the same value again: nothing to tell
    QCOMPARE(changed.count(), accepted ? 1 : 0);
}

void TstXPLine::styles_data()
{
    QTest::addColumn<short>("style");
    QTest::addColumn<bool>("lineEverywhere");
    QTest::addColumn<bool>("backgroundSeen");
    QTest::newRow("0 none") << short(0) << false << true;
    QTest::newRow("1 solid") << short(1) << true << false;
    QTest::newRow("2 dash") << short(2) << false << true;
    QTest::newRow("3 dot") << short(3) << false << true;
    QTest::newRow("4 dash-dot") << short(4) << false << true;
    QTest::newRow("5 dash-dot-dot") << short(5) << false << true;
    QTest::newRow("6 inside solid") << short(6) << true << false;
}

void TstXPLine::styles()
{
    QFETCH(short, style);
    QFETCH(bool, lineEverywhere);
    QFETCH(bool, backgroundSeen);
    XPLine line;
    line.setTwipsSize(1500, 10);
    QVERIFY(line.setBorderStyle(style));
    const QList<QColor> colors = row(line);
    QCOMPARE(colors.size(), 100);
    QCOMPARE(colors.count(blue) == colors.size(), lineEverywhere);
    QCOMPARE(colors.contains(lightGrey), backgroundSeen);
    QCOMPARE(colors.count(blue) + colors.count(lightGrey), colors.size());
    QCOMPARE(colors.contains(blue), style != 0);
}

void TstXPLine::mainWindowInstance()
{
    QWidget window;
    window.resize(420, 480);
    XPLine line(&window);
    PropertyBag bag;
    bag.set("bordercolor", "0x00FF8080");
    line.readProperties(bag, ambient);
    line.setTwipsGeometry(120, 6360, 5895, 15);
    window.show();

    QCOMPARE(line.geometry(), QRect(8, 424, 393, 1));
    QCOMPARE(line.l.end(), QPointF(5895, 0));
    const QList<QColor> colors = row(line);
    QCOMPARE(colors.count(QColor(0x80, 0x80, 0xFF)), 393);
}

void TstXPLine::scaledScreen_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1") << qreal(1);
    QTest::newRow("2") << qreal(2);
    QTest::newRow("3") << qreal(3);
}

// The line fills its whole logical row at any scale, as on a plain screen.
void TstXPLine::scaledScreen()
{
    QFETCH(qreal, ratio);
    XPLine line;
    line.setTwipsSize(1500, 15);
    line.setBorderColor(0x00FF0000u);
    QImage image(QSize(100, 1) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    line.render(&image);
    const int rows = int(ratio);
    for (int y = 0; y < rows; ++y) {
        for (int x : {0, 50 * rows, 100 * rows - 1})
            QCOMPARE(image.pixelColor(x, y), QColor(Qt::blue));
    }
}

QTEST_MAIN(TstXPLine)
#include "tst_xpline.moc"
