#include "persisted_settings.h"
#include "progress_bar/xp_progress_bar.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

QColor rgb(OleColor color) { return Ole::toQColor(color); }

// The main window's bar: 5895 twips wide, white, light green fill, no caption.
void makeMainWindowBar(XPProgressBar& bar)
{
    bar.setTwipsSize(5895, 255);
    bar.setBackColor(0x00FFFFFFu);
    bar.setPBColor(0x0080FF80u);
    bar.setCaptionShow(false);
    bar.show();
}

QStringList names(const QSignalSpy& spy)
{
    QStringList result;
    for (const auto& args : spy)
        result << args.at(0).toString();
    return result;
}

// Pixels of red caption ink, antialiased edges included; no face, fill or border colour counts.
int countRedInk(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() - std::max(c.green(), c.blue()) > 100;
        }
    return count;
}

} // namespace

class TestXPProgressBar : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Fonts::installSubstitutions(); }

    void creation();
    void persistedSettings_data();
    void persistedSettings() { checkPersistedSettings<XPProgressBar>(); }
    void loadingNotifiesNothing();
    void loadedFillAgreesWithMax();
    void fillWidth_data();
    void fillWidth();
    void maxAloneLeavesFill();
    void resizeLeavesFill();
    void unusableNumbers_data();
    void unusableNumbers();
    void tallerControl();
    void alignment_data();
    void alignment();
    void settersNotifyOnlyOnChange();
    void fillPixels_data();
    void fillPixels();
    void captionPixels();
};

void TestXPProgressBar::creation()
{
    XPProgressBar bar;
    QCOMPARE(bar.twipsWidth(), 4575.0f);
    QCOMPARE(bar.twipsHeight(), 255.0f);
    QCOMPARE(bar.BackColor(), OleColor(0x8000000Fu));
    QCOMPARE(bar.BorderColor(), OleColor(0x00FF0000u));
    QCOMPARE(bar.Value(), QStringLiteral("0"));
    QCOMPARE(bar.PBColor(), OleColor(0x00FFC0C0u));
    QCOMPARE(bar.Max(), QStringLiteral("100"));
    QCOMPARE(bar.Caption(), QStringLiteral("Обработка данных"));
    QCOMPARE(bar.ForeColor(), OleColor(0x80000012u));
    QCOMPARE(bar.Alignment(), short(2));
    QVERIFY(bar.CaptionShow());
    QCOMPARE(bar.s.geometry(), QRectF(0, 0, 0, 255));
    QCOMPARE(bar.l.geometry(), QRectF(0, 30, 4575, 195));
    QCOMPARE(bar.b.geometry(), QRectF(0, 0, 4575, 255));
    QCOMPARE(bar.s.borderColor(), OleColor(0x00FFC0C0u));
}

void TestXPProgressBar::persistedSettings_data()
{
    addPersistedSettingsColumns();
    auto color = [](OleColor c) { return QVariant::fromValue(c); };
    const StoredSettings everyKey{{"CaptionShow", false}, {"Alignment", 1}, {"ForeColor", color(1)},
                                  {"Caption", "x"},       {"Max", "7"},     {"PBColor", color(2)},
                                  {"Value", "3"},         {"BorderColor", color(3)}, {"BackColor", color(4)}};
    StoredSettings everyKeyInOrder = everyKey;
    std::reverse(everyKeyInOrder.begin(), everyKeyInOrder.end());

    QTest::newRow("nothing stored") << StoredSettings{} << StoredSettings{} << StoredSettings{};
    QTest::newRow("nothing stored, over other settings") << everyKey << StoredSettings{} << StoredSettings{};
    QTest::newRow("every key, written in order") << StoredSettings{} << everyKey << everyKeyInOrder;
    QTest::newRow("backcolor") << StoredSettings{} << StoredSettings{{"backcolor", color(0x00FFFFFFu)}}
                               << StoredSettings{{"BackColor", color(0x00FFFFFFu)}};
    QTest::newRow("bordercolor") << StoredSettings{} << StoredSettings{{"BORDERCOLOR", "0x000000FF"}}
                                 << StoredSettings{{"BorderColor", color(0xFFu)}};
    QTest::newRow("value") << StoredSettings{} << StoredSettings{{"value", "42"}} << StoredSettings{{"Value", "42"}};
    QTest::newRow("pbcolor") << StoredSettings{} << StoredSettings{{"pbcolor", 8454016}}
                             << StoredSettings{{"PBColor", color(0x0080FF80u)}};
    QTest::newRow("max") << StoredSettings{} << StoredSettings{{"MAX", "250"}} << StoredSettings{{"Max", "250"}};
    QTest::newRow("caption") << StoredSettings{} << StoredSettings{{"caption", "Поиск слов"}}
                             << StoredSettings{{"Caption", "Поиск слов"}};
    QTest::newRow("forecolor") << StoredSettings{} << StoredSettings{{"forecolor", color(0x00800000u)}}
                               << StoredSettings{{"ForeColor", color(0x00800000u)}};
    QTest::newRow("alignment") << StoredSettings{} << StoredSettings{{"alignment", 0}}
                               << StoredSettings{{"Alignment", 0}};
    QTest::newRow("captionshow") << StoredSettings{} << StoredSettings{{"captionshow", false}}
                                 << StoredSettings{{"CaptionShow", false}};
    QTest::newRow("main window's bar")
        << StoredSettings{}
        << StoredSettings{{"BackColor", "0x00FFFFFF"}, {"PBColor", "0x0080FF80"}, {"CaptionShow", false}}
        << StoredSettings{{"BackColor", color(0x00FFFFFFu)}, {"PBColor", color(0x0080FF80u)}, {"CaptionShow", false}};
}

void TestXPProgressBar::loadingNotifiesNothing()
{
    XPProgressBar bar;
    bar.setCaption(QStringLiteral("Импорт слов. Завершено 5%"));
    QSignalSpy changes(&bar, &SkinnedControl::PropertyChanged);
    PropertyBag bag;
    bag.set(QStringLiteral("CaptionShow"), false);
    bar.readProperties(bag, AmbientProperties{});
    QCOMPARE(bar.s.width(), 0.0f);
    QCOMPARE(changes.count(), 0);
}

void TestXPProgressBar::loadedFillAgreesWithMax()
{
    // Value is read before Max; the fill still shows Value against the stored Max.
    PropertyBag bag;
    bag.set(QStringLiteral("Value"), QStringLiteral("50"));
    bag.set(QStringLiteral("Max"), QStringLiteral("200"));
    XPProgressBar bar;
    bar.readProperties(bag, AmbientProperties{});
    QCOMPARE(bar.s.width(), 4575.0f / 4);
}

void TestXPProgressBar::fillWidth_data()
{
    QTest::addColumn<float>("w");
    QTest::addColumn<QString>("max");
    QTest::addColumn<QString>("value");
    QTest::addColumn<float>("fill");

    QTest::newRow("37 of 100") << 5895.0f << "100" << "37" << 2181.15f;
    QTest::newRow("nothing") << 5895.0f << "100" << "0" << 0.0f;
    QTest::newRow("all") << 5895.0f << "100" << "100" << 5895.0f;
    QTest::newRow("beyond max") << 5895.0f << "100" << "150" << 8842.5f;
    QTest::newRow("60 of 200") << 5895.0f << "200" << "60" << 1768.5f;
    QTest::newRow("a million words") << 5895.0f << "1048576" << "524288" << 2947.5f;
    QTest::newRow("new instance") << 4575.0f << "3" << "1" << 1525.0f;
}

void TestXPProgressBar::fillWidth()
{
    QFETCH(float, w);
    QFETCH(QString, max);
    QFETCH(QString, value);
    QFETCH(float, fill);

    XPProgressBar bar;
    bar.setTwipsSize(w, 255);
    bar.setMax(max);
    bar.setValue(value);
    QCOMPARE(bar.s.width(), fill);
    QCOMPARE(bar.s.height(), 255.0f);
    QCOMPARE(bar.Val(), double(w) / max.toDouble());
    QCOMPARE(bar.Value(), value);
}

void TestXPProgressBar::maxAloneLeavesFill()
{
    XPProgressBar bar;
    bar.setTwipsSize(5895, 255);
    bar.setValue(QStringLiteral("50"));
    QCOMPARE(bar.s.width(), 2947.5f);
    bar.setMax(QStringLiteral("200"));
    QCOMPARE(bar.s.width(), 2947.5f);
    bar.setValue(QStringLiteral("60"));
    QCOMPARE(bar.s.width(), 1768.5f);
}

void TestXPProgressBar::resizeLeavesFill()
{
    XPProgressBar bar;
    bar.show();
    bar.setValue(QStringLiteral("50"));
    QCOMPARE(bar.s.width(), 2287.5f);
    bar.setTwipsSize(5895, 255);
    QCOMPARE(bar.s.width(), 2287.5f);
    QCOMPARE(bar.b.width(), 5895.0f);
    bar.setValue(QStringLiteral("20"));
    QCOMPARE(bar.s.width(), 1179.0f);
}

void TestXPProgressBar::unusableNumbers_data()
{
    QTest::addColumn<QString>("max");
    QTest::addColumn<QString>("value");
    QTest::addColumn<float>("fill");

    QTest::newRow("max zero, value zero") << "0" << "0" << 0.0f;
    QTest::newRow("max zero, value above") << "0" << "5" << 0.0f;
    QTest::newRow("max not a number") << "много" << "5" << 0.0f;
    QTest::newRow("max empty") << "" << "5" << 0.0f;
    QTest::newRow("max infinite") << "inf" << "5" << 0.0f;
    QTest::newRow("value not a number") << "100" << "abc" << 0.0f;
    QTest::newRow("value nan") << "100" << "nan" << 0.0f;
    QTest::newRow("value negative") << "100" << "-5" << 0.0f;
    QTest::newRow("value huge") << "1" << "1e300" << 1.0e8f;
    QTest::newRow("value with blanks") << "100" << " 10 " << 457.5f;
}

void TestXPProgressBar::unusableNumbers()
{
    QFETCH(QString, max);
    QFETCH(QString, value);
    QFETCH(float, fill);

    XPProgressBar bar;
    bar.setValue(QStringLiteral("40"));
    bar.setMax(max);
    bar.setValue(value);
    QCOMPARE(bar.s.width(), fill);
    QVERIFY(std::isfinite(bar.Val()));
    QCOMPARE(bar.Max(), max);
    QCOMPARE(bar.Value(), value);
    bar.show();
    bar.grab(); // paints without trouble
}

void TestXPProgressBar::tallerControl()
{
    XPProgressBar bar;
    bar.setValue(QStringLiteral("10"));
    bar.setTwipsSize(4575, 600);
    bar.show();
    QCOMPARE(bar.b.geometry(), QRectF(0, 0, 4575, 600));
    QCOMPARE(bar.l.geometry(), QRectF(0, 202.5, 4575, 195));
    QCOMPARE(bar.s.geometry(), QRectF(0, 0, 457.5, 255));
}

void TestXPProgressBar::alignment_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("where"); // where the caption's ink lies

    QTest::newRow("left") << 0 << true << "left";
    QTest::newRow("right") << 1 << true << "right";
    QTest::newRow("centre") << 2 << true << "centre";
    QTest::newRow("out of range") << 3 << false << "centre";
    QTest::newRow("negative") << -1 << false << "centre";
}

void TestXPProgressBar::alignment()
{
    QFETCH(int, alignment);
    QFETCH(bool, accepted);
    QFETCH(QString, where);

    XPProgressBar bar;
    bar.setBackColor(0x00FFFFFFu);
    bar.setForeColor(0x000000FFu);
    bar.setCaption(QStringLiteral("50%"));
    bar.show();
    QCOMPARE(bar.setAlignment(short(alignment)), accepted);
    QCOMPARE(bar.Alignment(), short(accepted ? alignment : 2));

    const QImage image = bar.grab().toImage();
    int first = image.width(), last = -1;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    QVERIFY(last > first);
    const int middle = (first + last) / 2;
    if (where == "left")
        QVERIFY(first < 5);
    else if (where == "right")
        QVERIFY(last > image.width() - 6);
    else
        QVERIFY(std::abs(middle - image.width() / 2) <= 2);
}

void TestXPProgressBar::settersNotifyOnlyOnChange()
{
    XPProgressBar bar;
    QSignalSpy changes(&bar, &SkinnedControl::PropertyChanged);
    bar.setValue(QStringLiteral("0"));
    bar.setMax(QStringLiteral("100"));
    bar.setCaption(QStringLiteral("Обработка данных"));
    bar.setCaptionShow(true);
    bar.setAlignment(2);
    bar.setBackColor(0x8000000Fu);
    QCOMPARE(changes.count(), 0);

    bar.setBackColor(1);
    bar.setBorderColor(2);
    bar.setValue(QStringLiteral("1"));
    bar.setPBColor(3);
    bar.setMax(QStringLiteral("10"));
    bar.setCaption(QStringLiteral("c"));
    bar.setForeColor(4);
    bar.setAlignment(0);
    bar.setCaptionShow(false);
    QCOMPARE(names(changes), (QStringList{"BackColor", "BorderColor", "Value", "PBColor", "Max", "Caption",
                                          "ForeColor", "Alignment", "CaptionShow"}));

    changes.clear();
    QVERIFY(!bar.setPBColor(0x7F000000u));
    QVERIFY(!bar.setBackColor(0x80001000u));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(bar.PBColor(), OleColor(3));
}

void TestXPProgressBar::fillPixels_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("color");

    const QColor green = rgb(0x0080FF80u);
    const QColor outline = rgb(0x00FFC0C0u);
    const QColor border = rgb(0x00FF0000u);
    const QColor white(Qt::white);
    // 37 of 100 on 393 pixels: 2181.15 twips, so columns 0 to 144.
    QTest::newRow("37: inside the fill") << "37" << QPoint(100, 8) << green;
    QTest::newRow("37: fill's right edge") << "37" << QPoint(144, 8) << outline;
    QTest::newRow("37: past the fill") << "37" << QPoint(145, 8) << white;
    QTest::newRow("37: border over the fill's top") << "37" << QPoint(100, 0) << border;
    QTest::newRow("37: border over the fill's bottom") << "37" << QPoint(100, 16) << border;
    QTest::newRow("37: border left") << "37" << QPoint(0, 8) << border;
    QTest::newRow("37: border right") << "37" << QPoint(392, 8) << border;
    QTest::newRow("0: no fill") << "0" << QPoint(1, 8) << white;
    QTest::newRow("100: fill to the border") << "100" << QPoint(391, 8) << green;
    QTest::newRow("150: cut at the edge") << "150" << QPoint(391, 8) << green;
    QTest::newRow("150: border stays on top") << "150" << QPoint(392, 8) << border;
}

void TestXPProgressBar::fillPixels()
{
    QFETCH(QString, value);
    QFETCH(QPoint, at);
    QFETCH(QColor, color);

    XPProgressBar bar;
    makeMainWindowBar(bar);
    QCOMPARE(bar.size(), QSize(393, 17));
    bar.setValue(value);
    QCOMPARE(bar.grab().toImage().pixelColor(at), color);
}

void TestXPProgressBar::captionPixels()
{
    XPProgressBar bar;
    makeMainWindowBar(bar);
    bar.setForeColor(0x000000FFu);
    bar.setCaption(QStringLiteral("Импорт слов. Завершено 37%"));
    bar.setValue(QStringLiteral("37"));
    const QRect band = bar.l.pixelRect();

    QCOMPARE(countRedInk(bar.grab().toImage(), band), 0);
    // Hidden, the caption still takes new text and shows the last one again.
    bar.setCaption(QStringLiteral("Импорт слов. Завершено 38%"));
    bar.setCaptionShow(true);
    QCOMPARE(bar.l.text(), QStringLiteral("Импорт слов. Завершено 38%"));
    QVERIFY(countRedInk(bar.grab().toImage(), band) > 20);
}

QTEST_MAIN(TestXPProgressBar)
#include "tst_xpprogressbar.moc"
