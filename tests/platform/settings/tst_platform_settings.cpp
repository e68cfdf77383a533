#include "settings/font_value.h"
#include "settings/ole_color.h"
#include "settings/property_bag.h"
#include "settings/settings_schema.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPalette>
#include <QTest>

namespace {

// A stand-in control with one persisted value of each kind.
struct Dummy {
    bool enabled = true;
    OleColor foreColor = Ole::ButtonText;
    QString caption = QStringLiteral("Label");
    int alignment = 0;
    FontValue font;
    friend bool operator==(const Dummy&, const Dummy&) = default;
};

const SettingsSchema<Dummy>& dummySchema()
{
    static const SettingsSchema<Dummy> schema{
        {QStringLiteral("Enabled"), PropertyType::Boolean, true,
         [](const Dummy& d) { return QVariant(d.enabled); },
         [](Dummy& d, const QVariant& v) { d.enabled = v.toBool(); }},
        {QStringLiteral("ForeColor"), PropertyType::Color, QVariant::fromValue(Ole::ButtonText),
         [](const Dummy& d) { return QVariant::fromValue(d.foreColor); },
         [](Dummy& d, const QVariant& v) { d.foreColor = v.value<OleColor>(); }},
        {QStringLiteral("Caption"), PropertyType::String, QStringLiteral("Label"),
         [](const Dummy& d) { return QVariant(d.caption); },
         [](Dummy& d, const QVariant& v) { d.caption = v.toString(); }},
        {QStringLiteral("Alignment"), PropertyType::Integer, 0,
         [](const Dummy& d) { return QVariant(d.alignment); },
         [](Dummy& d, const QVariant& v) { d.alignment = v.toInt(); }},
        {QStringLiteral("Font"), PropertyType::Font, QVariant(),
         [](const Dummy& d) { return QVariant::fromValue(d.font); },
         [](Dummy& d, const QVariant& v) { d.font = v.value<FontValue>(); }},
    };
    return schema;
}

FontValue boldFont()
{
    FontValue font;
    font.weight = FontValue::Bold;
    font.charset = 204;
    return font;
}

AmbientProperties ambientWith(const FontValue& font) { return {font, QStringLiteral("Dummy1")}; }

Dummy changedDummy()
{
    Dummy d;
    d.enabled = false;
    d.foreColor = 0x0080C0FFu;
    d.caption = QStringLiteral("Словарь:");
    d.alignment = 2;
    d.font = boldFont();
    return d;
}

const QColor PaletteButton(0x12, 0x34, 0x56);
const QColor PaletteButtonText(0x65, 0x43, 0x21);

} // namespace

Q_DECLARE_METATYPE(Dummy)

class TestPlatformSettings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Active, QPalette::Button, PaletteButton);
        palette.setColor(QPalette::Active, QPalette::ButtonText, PaletteButtonText);
        QApplication::setPalette(palette);
    }

    void keysIgnoreCase_data();
    void keysIgnoreCase();
    void valueAtDefaultNotWritten_data();
    void valueAtDefaultNotWritten();
    void schemaWritesFixedOrder_data();
    void schemaWritesFixedOrder();
    void schemaRoundTrip_data();
    void schemaRoundTrip();
    void schemaReadsStoredDesign();
    void conversions_data();
    void conversions();
    void colors_data();
    void colors();
};

void TestPlatformSettings::keysIgnoreCase_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("found");
    QTest::newRow("same") << "Caption" << "Caption" << true;
    QTest::newRow("lower") << "Caption" << "caption" << true;
    QTest::newRow("upper") << "Shadow_ForeColor" << "SHADOW_FORECOLOR" << true;
    QTest::newRow("stored lower") << "getfocuscolor" << "GetFocusColor" << true;
    QTest::newRow("cyrillic") << "Подпись" << "пОДПИСЬ" << true;
    QTest::newRow("prefix") << "Caption" << "Captions" << false;
    QTest::newRow("shorter") << "CaptionShow" << "Caption" << false;
}

void TestPlatformSettings::keysIgnoreCase()
{
    QFETCH(QString, stored);
    QFETCH(QString, asked);
    QFETCH(bool, found);
    PropertyBag bag;
    bag.set(QStringLiteral("Other"), 1);
    bag.set(stored, QStringLiteral("stored"));
    QCOMPARE(bag.contains(asked), found);
    QCOMPARE(bag.read(asked, QStringLiteral("default")).toString(), found ? "stored" : "default");

    // Setting under another spelling replaces the entry rather than adding one.
    bag.set(asked, QStringLiteral("again"));
    QCOMPARE(bag.keys().size(), found ? 2 : 3);
    QCOMPARE(bag.read(stored, {}).toString(), found ? "again" : "stored");
}

void TestPlatformSettings::valueAtDefaultNotWritten_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("defaultValue");
    QTest::addColumn<bool>("written");
    QTest::newRow("bool default") << QVariant(true) << QVariant(true) << false;
    QTest::newRow("string default") << QVariant(QStringLiteral("Обработка данных"))
                                    << QVariant(QStringLiteral("Обработка данных")) << false;
    QTest::newRow("empty string vs text") << QVariant(QString()) << QVariant(QStringLiteral("Label")) << true;
    QTest::newRow("colour default") << QVariant::fromValue(Ole::ButtonFace) << QVariant::fromValue(Ole::ButtonFace)
                                    << false;
    QTest::newRow("colour changed") << QVariant::fromValue(OleColor(0x00FFFFFFu))
                                    << QVariant::fromValue(Ole::ButtonFace) << true;
    QTest::newRow("font default") << QVariant::fromValue(boldFont()) << QVariant::fromValue(boldFont()) << false;
    QTest::newRow("font changed") << QVariant::fromValue(boldFont()) << QVariant::fromValue(FontValue()) << true;
}

void TestPlatformSettings::valueAtDefaultNotWritten()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, defaultValue);
    QFETCH(bool, written);
    PropertyBag bag;
    bag.set(QStringLiteral("KEY"), QStringLiteral("earlier"));
    bag.write(QStringLiteral("Key"), value, defaultValue);
    QCOMPARE(bag.contains(u"key"), written);
    QCOMPARE(bag.keys().size(), written ? 1 : 0);
    QCOMPARE(bag.read(u"key", defaultValue), value);
}

void TestPlatformSettings::schemaWritesFixedOrder_data()
{
    QTest::addColumn<QStringList>("before"); // keys already in the bag, in this order
    QTest::addColumn<bool>("allChanged");
    QTest::addColumn<QStringList>("expected");
    const QStringList all{"Enabled", "ForeColor", "Caption", "Alignment", "Font"};
    QTest::newRow("empty bag") << QStringList() << true << all;
    QTest::newRow("bag in reverse order") << QStringList{"font", "ALIGNMENT", "caption", "forecolor", "enabled"}
                                          << true << all;
    QTest::newRow("foreign key kept first") << QStringList{"Extra", "caption"} << true
                                            << QStringList{"Extra", "Enabled", "ForeColor", "Caption", "Alignment",
                                                           "Font"};
    QTest::newRow("defaults drop stored keys") << QStringList{"font", "caption", "enabled"} << false
                                               << QStringList{"Caption", "Alignment"};
}

void TestPlatformSettings::schemaWritesFixedOrder()
{
    QFETCH(QStringList, before);
    QFETCH(bool, allChanged);
    QFETCH(QStringList, expected);
    PropertyBag bag;
    for (const QString& key : before)
        bag.set(key, QStringLiteral("junk"));
    Dummy d;
    d.font = FontValue();
    if (allChanged) {
        d = changedDummy();
    } else {
        d.caption = QStringLiteral("X");
        d.alignment = 1;
    }
    dummySchema().write(d, bag, ambientWith(FontValue()));
    QCOMPARE(bag.keys(), expected);
}

void TestPlatformSettings::schemaRoundTrip_data()
{
    QTest::addColumn<Dummy>("written");
    QTest::addColumn<FontValue>("readAmbient");
    QTest::addColumn<int>("keyCount");
    QTest::addColumn<Dummy>("expected");

    Dummy plain;
    QTest::newRow("all default") << plain << FontValue() << 0 << plain;
    QTest::newRow("all changed") << changedDummy() << FontValue() << 5 << changedDummy();

    Dummy systemColor;
    systemColor.foreColor = Ole::ButtonFace;
    QTest::newRow("system colour") << systemColor << FontValue() << 1 << systemColor;

    // A font equal to the ambient one is not stored, so it follows the next host's font.
    Dummy followsAmbient;
    followsAmbient.caption = QString();
    Dummy readBack = followsAmbient;
    readBack.font = boldFont();
    QTest::newRow("font follows ambient") << followsAmbient << boldFont() << 1 << readBack;
}

void TestPlatformSettings::schemaRoundTrip()
{
    QFETCH(Dummy, written);
    QFETCH(FontValue, readAmbient);
    QFETCH(int, keyCount);
    QFETCH(Dummy, expected);
    PropertyBag bag;
    dummySchema().write(written, bag, ambientWith(FontValue()));
    QCOMPARE(bag.keys().size(), keyCount);

    Dummy target = changedDummy();
    target.caption = QStringLiteral("stale");
    dummySchema().read(target, bag, ambientWith(readAmbient));
    QVERIFY(target == expected);
}

// The stored design holds settings as its JSON gives them: lower-case keys, colours and
// numbers as text, fonts as objects. Unreadable entries fall back to the default.
void TestPlatformSettings::schemaReadsStoredDesign()
{
    const QJsonObject settings = QJsonDocument::fromJson(R"({
        "enabled": false, "forecolor": "0x00FF0000", "caption": "Буквы в слове:",
        "alignment": "2",
        "font": {"face": "MS Sans Serif", "size": 8.25, "weight": 700, "charset": 204}})")
                                     .object();
    PropertyBag bag;
    for (auto it = settings.begin(); it != settings.end(); ++it)
        bag.set(it.key(), it.value().toVariant());
    Dummy d;
    dummySchema().read(d, bag, ambientWith(FontValue()));
    QCOMPARE(d.enabled, false);
    QCOMPARE(d.foreColor, 0x00FF0000u);
    QCOMPARE(d.caption, QStringLiteral("Буквы в слове:"));
    QCOMPARE(d.alignment, 2);
    QVERIFY(d.font == boldFont());

    PropertyBag broken;
    broken.set(QStringLiteral("forecolor"), QStringLiteral("blue"));
    broken.set(QStringLiteral("alignment"), QStringLiteral("right"));
    broken.set(QStringLiteral("font"), QStringLiteral("Arial"));
    broken.set(QStringLiteral("enabled"), QVariantMap{{QStringLiteral("x"), 1}});
    Dummy fallback = changedDummy();
    dummySchema().read(fallback, broken, ambientWith(boldFont()));
    Dummy expected;
    expected.font = boldFont();
    QVERIFY(fallback == expected);
}

void TestPlatformSettings::conversions_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("expected"); // invalid: unreadable

    const int color = int(PropertyType::Color);
    const auto ole = [](OleColor value) { return QVariant::fromValue(value); };
    QTest::newRow("colour hex") << QVariant("0x0080C0FF") << color << ole(0x0080C0FFu);
    QTest::newRow("colour decimal text") << QVariant("8438015") << color << ole(0x0080C0FFu);
    QTest::newRow("colour json number") << QVariant(qlonglong(2147483666)) << color << ole(Ole::ButtonText);
    QTest::newRow("colour double") << QVariant(8438015.0) << color << ole(0x0080C0FFu);
    QTest::newRow("colour word") << QVariant("red") << color << QVariant();
    QTest::newRow("colour empty") << QVariant("") << color << QVariant();
    QTest::newRow("colour negative") << QVariant("-1") << color << QVariant();
    QTest::newRow("colour beyond 32 bits") << QVariant("0x100000000") << color << QVariant();
    QTest::newRow("colour high byte") << QVariant("0x01000000") << color << QVariant();
    QTest::newRow("colour unknown system") << QVariant("0x800000FF") << color << QVariant();

    const int boolean = int(PropertyType::Boolean);
    QTest::newRow("bool text False") << QVariant("False") << boolean << QVariant(false);
    QTest::newRow("bool text true") << QVariant("true") << boolean << QVariant(true);
    QTest::newRow("bool -1") << QVariant(-1) << boolean << QVariant(true);
    QTest::newRow("bool 0") << QVariant(qlonglong(0)) << boolean << QVariant(false);
    QTest::newRow("bool word") << QVariant("maybe") << boolean << QVariant();
    QTest::newRow("bool object") << QVariant(QVariantMap{{QStringLiteral("a"), 1}}) << boolean << QVariant();

    const int integer = int(PropertyType::Integer);
    QTest::newRow("int text") << QVariant("4") << integer << QVariant(4);
    QTest::newRow("int json") << QVariant(qlonglong(2)) << integer << QVariant(2);
    QTest::newRow("int trailing junk") << QVariant("4x") << integer << QVariant();
    QTest::newRow("int text overflow") << QVariant("3000000000") << integer << QVariant();
    QTest::newRow("int json overflow") << QVariant(qlonglong(4294967297LL)) << integer << QVariant();
    QTest::newRow("int double overflow") << QVariant(3.0e9) << integer << QVariant();

    const int string = int(PropertyType::String);
    QTest::newRow("string from number") << QVariant(qlonglong(100)) << string << QVariant("100");

    const int font = int(PropertyType::Font);
    FontValue times;
    times.face = QStringLiteral("Times New Roman");
    times.size = 12;
    times.weight = FontValue::Bold;
    times.italic = true;
    times.charset = 204;
    QTest::newRow("font object") << QVariant(QVariantMap{{"face", "Times New Roman"}, {"size", 12}, {"weight", 700},
                                                         {"italic", true}, {"charset", 204}})
                                 << font << QVariant::fromValue(times);
    FontValue sizeOnly;
    sizeOnly.size = 10;
    QTest::newRow("font partial") << QVariant(QVariantMap{{"size", 10}}) << font << QVariant::fromValue(sizeOnly);
    QTest::newRow("font value") << QVariant::fromValue(times) << font << QVariant::fromValue(times);
    QTest::newRow("font name only") << QVariant("Arial") << font << QVariant();
    QTest::newRow("font empty object") << QVariant(QVariantMap()) << font << QVariant();

    QTest::newRow("missing") << QVariant() << string << QVariant();
}

void TestPlatformSettings::conversions()
{
    QFETCH(QVariant, stored);
    QFETCH(int, type);
    QFETCH(QVariant, expected);
    const QVariant result = toPropertyType(stored, PropertyType(type));
    QCOMPARE(result.isValid(), expected.isValid());
    if (!expected.isValid())
        return;
    // The loaders take the value out with value<T>(), so the type matters as much as the value.
    QCOMPARE(result.metaType().name(), expected.metaType().name());
    QCOMPARE(result, expected);
}

void TestPlatformSettings::colors_data()
{
    QTest::addColumn<OleColor>("value");
    QTest::addColumn<QColor>("expected"); // invalid: no colour
    QTest::newRow("BBGGRR") << OleColor(0x0080C0FFu) << QColor(0xFF, 0xC0, 0x80);
    QTest::newRow("pure red") << OleColor(0x000000FFu) << QColor(255, 0, 0);
    QTest::newRow("pure blue") << OleColor(0x00FF0000u) << QColor(0, 0, 255);
    QTest::newRow("white") << OleColor(0x00FFFFFFu) << QColor(Qt::white);
    QTest::newRow("button face") << Ole::ButtonFace << PaletteButton;
    QTest::newRow("button text") << Ole::ButtonText << PaletteButtonText;
    QTest::newRow("system index 25") << OleColor(0x80000019u) << QColor();
    QTest::newRow("system index 255") << OleColor(0x800000FFu) << QColor();
    QTest::newRow("high byte set") << OleColor(0x01FFFFFFu) << QColor();
}

void TestPlatformSettings::colors()
{
    QFETCH(OleColor, value);
    QFETCH(QColor, expected);
    QCOMPARE(Ole::isValidColor(value), expected.isValid());
    QCOMPARE(Ole::toQColor(value), expected);
}

QTEST_MAIN(TestPlatformSettings)
#include "tst_platform_settings.moc"
