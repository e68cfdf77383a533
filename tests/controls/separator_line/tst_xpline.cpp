#include "persisted_settings.h"
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

class TestXPLine : public QObject {
    Q_OBJECT

private slots:
    void newInstance();
    void persistedSettings_data();
    void persistedSettings() { checkPersistedSettings<XPLine>(ambient); }
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

void TestXPLine::newInstance()
{
    XPLine line;
    QCOMPARE(line.twipsWidth(), 3720.0f);
    QCOMPARE(line.height(), 1);
    QCOMPARE(line.BorderStyle(), short(1));
    QCOMPARE(line.BorderColor(), 0x00FF0000u);
    QCOMPARE(line.BackColor(), 0x00E0E0E0u);
    QCOMPARE(line.l.end(), QPointF(3720, 0));
}

void TestXPLine::persistedSettings_data()
{
    addPersistedSettingsColumns();
    const StoredSettings everyKey{{"BackColor", QVariant::fromValue(0x00FFFFFFu)},
                                  {"BorderColor", QVariant::fromValue(0x00FF8080u)},
                                  {"BorderStyle", 2}};
    StoredSettings everyKeyInOrder = everyKey;
    std::reverse(everyKeyInOrder.begin(), everyKeyInOrder.end());

    QTest::newRow("empty") << StoredSettings{} << StoredSettings{} << StoredSettings{};
    QTest::newRow("empty, over other settings") << everyKey << StoredSettings{} << StoredSettings{};
    QTest::newRow("every key, written in order") << StoredSettings{} << everyKey << everyKeyInOrder;
    QTest::newRow("bordercolor as stored by the window") << StoredSettings{} << StoredSettings{{"bordercolor", "0x00FF8080"}}
                                                         << StoredSettings{{"BorderColor", QVariant::fromValue(0x00FF8080u)}};
    QTest::newRow("BORDERSTYLE") << StoredSettings{} << StoredSettings{{"BORDERSTYLE", 3}}
                                 << StoredSettings{{"BorderStyle", 3}};
    QTest::newRow("backcolor decimal") << StoredSettings{} << StoredSettings{{"backcolor", "255"}}
                                       << StoredSettings{{"BackColor", QVariant::fromValue(0x000000FFu)}};
    QTest::newRow("style out of range kept") << StoredSettings{} << StoredSettings{{"BorderStyle", 9}}
                                             << StoredSettings{};
    QTest::newRow("unreadable colour") << StoredSettings{} << StoredSettings{{"BorderColor", "blue"}}
                                       << StoredSettings{};
}

void TestXPLine::heightHeld_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::newRow("300 twips high") << 5895.f << 300.f;
    QTest::newRow("stored 15 high") << 5895.f << 15.f;
    QTest::newRow("shorter, 300 high") << 1500.f << 300.f;
    QTest::newRow("10 high") << 3720.f << 10.f;
}

void TestXPLine::heightHeld()
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
    }
}

void TestXPLine::setters_data()
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

void TestXPLine::setters()
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

void TestXPLine::styles_data()
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

void TestXPLine::styles()
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

void TestXPLine::mainWindowInstance()
{
    QWidget window;
    window.resize(420, 480);
    XPLine line(&window);
    PropertyBag bag;
    bag.set("bordercolor", "0x00FF8080");
    QSignalSpy changed(&line, &XPLine::PropertyChanged);
    line.readProperties(bag, ambient);
    QCOMPARE(changed.count(), 0);
    line.setTwipsGeometry(120, 6360, 5895, 15);
    window.show();

    QCOMPARE(line.geometry(), QRect(8, 424, 393, 1));
    QCOMPARE(line.l.end(), QPointF(5895, 0));
    const QList<QColor> colors = row(line);
    QCOMPARE(colors.count(QColor(0x80, 0x80, 0xFF)), 393);
}

void TestXPLine::scaledScreen_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1") << qreal(1);
    QTest::newRow("2") << qreal(2);
    QTest::newRow("3") << qreal(3);
}

// The line fills its whole logical row at any scale, as on a plain screen.
void TestXPLine::scaledScreen()
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

QTEST_MAIN(TestXPLine)
#include "tst_xpline.moc"
