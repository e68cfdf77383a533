#include "drawn_text.h"
#include "persisted_settings.h"
#include "shadow_label/xp_shadow.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using Action = std::function<void(XPShadow&)>;
Q_DECLARE_METATYPE(Action)

namespace {

constexpr OleColor Cyan = 0x00FFFF00u;

FontValue font(const QString& face, float size, int weight = FontValue::Bold)
{
    FontValue value;
    value.face = face;
    value.size = size;
    value.weight = weight;
    value.charset = 204;
    return value;
}

const FontValue designFont = font(QStringLiteral("MS Sans Serif"), 8.25f);
const AmbientProperties ambient{font(QStringLiteral("Times New Roman"), 12.0f, 400), QStringLiteral("XPShadow1")};

QPixmap redIcon()
{
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    return icon;
}

int countColor(const QImage& image, const QColor& color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).rgb() == color.rgb();
    return count;
}

void sendMouse(QWidget& widget, QEvent::Type type, QPoint pixels, Qt::MouseButton button = Qt::NoButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pixels, widget.mapToGlobal(pixels), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void moveMouse(QWidget& widget, QPoint pixels) { sendMouse(widget, QEvent::MouseMove, pixels); }

// Events with by-reference arguments, recorded from a direct connection.
struct MouseRecord {
    QList<MouseArgs> down, move, up;

    explicit MouseRecord(XPShadow& control)
    {
        QObject::connect(&control, &XPShadow::MouseDown,
                         [this](short& b, short& s, float& x, float& y) { down.append({b, s, x, y}); });
        QObject::connect(&control, &XPShadow::MouseMove,
                         [this](short& b, short& s, float& x, float& y) { move.append({b, s, x, y}); });
        QObject::connect(&control, &XPShadow::MouseUp,
                         [this](short& b, short& s, float& x, float& y) { up.append({b, s, x, y}); });
    }
};

} // namespace

class TestXPShadow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Fonts::installSubstitutions(); }

    void persistedSettings_data();
    void persistedSettings() { checkPersistedSettings<XPShadow>(ambient); }
    void loadingCopiesToShadow();
    void loadingLeavesShadowPointerAndSize();
    void layoutBoxes_data();
    void layoutBoxes();
    void autoSizeFitsCaption_data();
    void autoSizeFitsCaption();
    void autoSizeSwitch();
    void sameSizedCaptionDoesNotResize();
    void settersNotifyOnce_data();
    void settersNotifyOnce();
    void refusedValuesAreSilent_data();
    void refusedValuesAreSilent();
    void mouseEventsFromEachPart_data();
    void mouseEventsFromEachPart();
    void doubleClickAndDisabled();
    void customPointerOverAllParts();
    void pixels_data();
    void pixels();
    void colourRefusalsReported_data();
    void colourRefusalsReported();
    void pointerNotifiedBeforeCopies_data();
    void pointerNotifiedBeforeCopies();
};

void TestXPShadow::persistedSettings_data()
{
    addPersistedSettingsColumns();
    const auto color = [](OleColor c) { return QVariant::fromValue(c); };
    const auto fontValue = [](const FontValue& f) { return QVariant::fromValue(f); };
    const StoredSettings everyKeyInOrder{
        {"AutoSize", true},          {"Caption", QStringLiteral("Обработано:")},
        {"Alignment", 1},            {"BackColor", color(Cyan)},
        {"BackStyle", 0},            {"Enabled", false},
        {"Font", fontValue(designFont)}, {"ForeColor", color(Cyan)},
        {"MousePointer", 3},         {"MouseIcon", redIcon().toImage()},
        {"ToolTipText", QStringLiteral("подсказка")}, {"Shadow_Alignment", 2},
        {"Shadow_ForeColor", color(0x00123456u)},
        {"Shadow_Font", fontValue(font(QStringLiteral("DejaVu Serif"), 9.0f, 400))}};
    StoredSettings everyKey = everyKeyInOrder;
    std::reverse(everyKey.begin(), everyKey.end());

    QTest::newRow("nothing stored") << StoredSettings{} << StoredSettings{} << StoredSettings{};
    QTest::newRow("nothing stored, over other settings") << everyKey << StoredSettings{} << StoredSettings{};
    QTest::newRow("every key, written in order") << StoredSettings{} << everyKey << everyKeyInOrder;
    // As the main window's stored design holds them, with raw values.
    QTest::newRow("keys in lower case, one unknown")
        << StoredSettings{}
        << StoredSettings{{"autosize", true},
                          {"caption", QStringLiteral("Словарь:")},
                          {"backcolor", QStringLiteral("0x00E0E0E0")},
                          {"font", QVariantMap{{"face", "MS Sans Serif"}, {"size", 8.25}, {"weight", 700}, {"charset", 204}}},
                          {"shadow_font", QVariantMap{{"face", "DejaVu Sans"}, {"size", 9}, {"weight", 400}, {"charset", 204}}},
                          {"shadow_alignment", 2},
                          {"unknown", 42}}
        << StoredSettings{{"AutoSize", true},
                          {"Caption", QStringLiteral("Словарь:")},
                          {"BackColor", color(0x00E0E0E0u)},
                          {"Font", fontValue(designFont)},
                          {"Shadow_Alignment", 2},
                          {"Shadow_Font", fontValue(font(QStringLiteral("DejaVu Sans"), 9.0f, 400))}};
}

void TestXPShadow::loadingCopiesToShadow()
{
    XPShadow c;
    c.setCaption(QStringLiteral("other"));
    PropertyBag bag;
    bag.set("caption", QStringLiteral("Словарь:"));
    bag.set("ToolTipText", QStringLiteral("подсказка"));
    c.readProperties(bag, ambient);
    QCOMPARE(c.l2.text(), QStringLiteral("Словарь:"));
    QCOMPARE(c.l2.toolTip(), QStringLiteral("подсказка"));
    c.readProperties(PropertyBag(), ambient);
    QCOMPARE(c.l2.text(), QStringLiteral("XPShadow"));
    QCOMPARE(c.Shadow_Font(), ambient.font);
}

void TestXPShadow::loadingLeavesShadowPointerAndSize()
{
    PropertyBag bag;
    bag.set("MousePointer", 11);
    bag.set("AutoSize", true);
    bag.set("Caption", QStringLiteral("a much longer caption than before"));
    XPShadow c;
    c.setTwipsSize(870, 240);
    QSignalSpy changed(&c, &XPShadow::PropertyChanged);
    c.readProperties(bag, ambient);

    QCOMPARE(c.MousePointer(), short(11));
    QVERIFY(c.l1.pointer());
    QCOMPARE(c.l1.pointer()->shape(), Qt::WaitCursor);
    QVERIFY(!c.l2.pointer());
    QVERIFY(!c.l2.autoSize());
    QCOMPARE(c.size(), QSize(58, 16));
    // Only the picture goes through its setter while loading.
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("MouseIcon"));

    // The next setting of the same code reaches the shadow too.
    c.setMousePointer(11);
    QVERIFY(c.l2.pointer());
    QCOMPARE(c.l2.pointer()->shape(), Qt::WaitCursor);
}

void TestXPShadow::layoutBoxes_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<QRectF>("main");
    QTest::addColumn<QRectF>("shadow");
    QTest::newRow("main window instance") << 870.f << 240.f << QRectF(0, 0, 830, 200) << QRectF(40, 40, 830, 200);
    QTest::newRow("design size") << 1200.f << 990.f << QRectF(0, 0, 1160, 950) << QRectF(40, 40, 1160, 950);
    QTest::newRow("centred caption") << 4080.f << 240.f << QRectF(0, 0, 4040, 200) << QRectF(40, 40, 4040, 200);
    QTest::newRow("below the offset") << 15.f << 30.f << QRectF(0, 0, 0, 0) << QRectF(40, 40, 0, 0);
}

void TestXPShadow::layoutBoxes()
{
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(QRectF, main);
    QFETCH(QRectF, shadow);
    XPShadow c;
    c.show();
    c.setTwipsSize(width, height);
    QCOMPARE(c.l1.geometry(), main);
    QCOMPARE(c.l2.geometry(), shadow);
}

void TestXPShadow::autoSizeFitsCaption_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("dictionary") << QStringLiteral("Словарь:");
    QTest::newRow("matching words") << QStringLiteral("Подходящие слова:");
    QTest::newRow("count") << QStringLiteral("0");
    QTest::newRow("long count") << QStringLiteral("1234567890");
}

void TestXPShadow::autoSizeFitsCaption()
{
    QFETCH(QString, caption);
    XPShadow c;
    c.show();
    c.setTwipsSize(870, 240);
    c.setAutoSize(true);
    c.setCaption(caption);
    const int textWidth = Twips::toPixels(c.l1.textWidth());
    const int textHeight = Twips::toPixels(c.l1.lineHeight());
    QCOMPARE(c.size(), QSize(Twips::toPixels(c.l1.textWidth() + 40), Twips::toPixels(c.l1.lineHeight() + 40)));
    QCOMPARE(c.l1.pixelRect(), QRect(0, 0, textWidth, textHeight));
    QCOMPARE(c.l2.pixelRect().size(), c.l1.pixelRect().size());
    QCOMPARE(c.twipsHeight(), 240.0f); // one line of the design font, as the main window stores it

    // Longer text, wider control; without auto-size the size stays.
    const QSize fitted = c.size();
    c.setCaption(caption + caption);
    QVERIFY(c.width() > fitted.width());
    QCOMPARE(c.height(), fitted.height());
    c.setAutoSize(false);
    const QSize kept = c.size();
    c.setCaption(caption);
    QCOMPARE(c.size(), kept);
}

void TestXPShadow::autoSizeSwitch()
{
    XPShadow c;
    c.show();
    c.setCaption(QStringLiteral("Словарь:"));
    QCOMPARE(c.size(), QSize(80, 66));
    c.setAutoSize(true);
    QVERIFY(c.l2.autoSize());
    const QSize fitted(Twips::toPixels(c.l1.textWidth() + 40), Twips::toPixels(c.l1.lineHeight() + 40));
    QCOMPARE(c.size(), fitted);

    // Switching it on again refits a control the host resized meanwhile.
    c.setTwipsSize(3000, 600);
    c.setAutoSize(true);
    QCOMPARE(c.size(), fitted);

    c.setAutoSize(false);
    QVERIFY(!c.l2.autoSize());
    QCOMPARE(c.size(), fitted);

    // A bigger shadow font does not count.
    c.setAutoSize(true);
    c.setShadow_Font(font(QStringLiteral("DejaVu Sans"), 20.0f));
    QCOMPARE(c.size(), fitted);
}

void TestXPShadow::sameSizedCaptionDoesNotResize()
{
    XPShadow c;
    c.show();
    c.setAutoSize(true);
    c.setCaption(QStringLiteral("10"));
    const QSize fitted = c.size();
    int resizes = 0;
    struct Counter : QObject {
        int& count;
        explicit Counter(int& n) : count(n) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            count += event->type() == QEvent::Resize;
            return false;
        }
    } counter(resizes);
    c.installEventFilter(&counter);
    for (int i = 11; i < 100; ++i)
        c.setCaption(QString::number(i));
    QCOMPARE(c.size(), fitted);
    QCOMPARE(resizes, 0);
}

void TestXPShadow::settersNotifyOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Action>("set");
    QTest::newRow("Caption") << "Caption" << Action([](XPShadow& c) { c.setCaption("1"); });
    QTest::newRow("Alignment") << "Alignment" << Action([](XPShadow& c) { c.setAlignment(2); });
    QTest::newRow("BackColor") << "BackColor" << Action([](XPShadow& c) { c.setBackColor(Cyan); });
    QTest::newRow("BackStyle") << "BackStyle" << Action([](XPShadow& c) { c.setBackStyle(0); });
    QTest::newRow("Enabled") << "Enabled" << Action([](XPShadow& c) { c.setEnabled(false); });
    QTest::newRow("Font") << "Font" << Action([](XPShadow& c) { c.setFont(ambient.font); });
    QTest::newRow("ForeColor") << "ForeColor" << Action([](XPShadow& c) { c.setForeColor(Cyan); });
    QTest::newRow("MousePointer") << "MousePointer" << Action([](XPShadow& c) { c.setMousePointer(2); });
    QTest::newRow("ToolTipText") << "ToolTipText" << Action([](XPShadow& c) { c.setToolTipText("t"); });
    QTest::newRow("Shadow_Alignment") << "Shadow_Alignment" << Action([](XPShadow& c) { c.setShadow_Alignment(1); });
    QTest::newRow("Shadow_ForeColor") << "Shadow_ForeColor" << Action([](XPShadow& c) { c.setShadow_ForeColor(0); });
    QTest::newRow("Shadow_Font") << "Shadow_Font" << Action([](XPShadow& c) { c.setShadow_Font(ambient.font); });
}

void TestXPShadow::settersNotifyOnce()
{
    QFETCH(QString, name);
    QFETCH(Action, set);
    XPShadow c;
    QSignalSpy changed(&c, &XPShadow::PropertyChanged);
    set(c);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), name);
    set(c); // unchanged: no notification
    QCOMPARE(changed.count(), 1);
}

void TestXPShadow::refusedValuesAreSilent_data()
{
    QTest::addColumn<Action>("set");
    QTest::newRow("Alignment 5") << Action([](XPShadow& c) { c.setAlignment(5); });
    QTest::newRow("Alignment -1") << Action([](XPShadow& c) { c.setAlignment(-1); });
    QTest::newRow("Shadow_Alignment 5") << Action([](XPShadow& c) { c.setShadow_Alignment(5); });
    QTest::newRow("BackStyle 2") << Action([](XPShadow& c) { c.setBackStyle(2); });
    QTest::newRow("MousePointer 16") << Action([](XPShadow& c) { c.setMousePointer(16); });
    QTest::newRow("MousePointer 98") << Action([](XPShadow& c) { c.setMousePointer(98); });
    QTest::newRow("ForeColor not a colour") << Action([](XPShadow& c) { c.setForeColor(0x01000000u); });
    QTest::newRow("BackColor unknown system colour") << Action([](XPShadow& c) { c.setBackColor(0x800000FFu); });
    QTest::newRow("Shadow_ForeColor not a colour") << Action([](XPShadow& c) { c.setShadow_ForeColor(0x7F000000u); });
}

void TestXPShadow::refusedValuesAreSilent()
{
    QFETCH(Action, set);
    XPShadow c;
    PropertyBag before;
    c.writeProperties(before, ambient);
    QSignalSpy changed(&c, &XPShadow::PropertyChanged);
    set(c);
    QCOMPARE(changed.count(), 0);
    PropertyBag after;
    c.writeProperties(after, ambient);
    QCOMPARE(after.keys(), before.keys());
    for (const QString& key : after.keys())
        QCOMPARE(after.read(key, {}), before.read(key, {}));
}

void TestXPShadow::mouseEventsFromEachPart_data()
{
    // 870 x 240 twips = 58 x 16 pixels; main text box 0..55 x 0..13, shadow 3..58 x 3..16.
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::newRow("main text") << QPoint(10, 5) << 150.f << 75.f;
    QTest::newRow("shadow beside the main text") << QPoint(57, 15) << 815.f << 185.f;
    QTest::newRow("bare surface") << QPoint(57, 1) << 855.f << 15.f;
}

void TestXPShadow::mouseEventsFromEachPart()
{
    QFETCH(QPoint, pixel);
    QFETCH(float, x);
    QFETCH(float, y);
    XPShadow c;
    c.setTwipsSize(870, 240);
    c.show();
    MouseRecord record(c);
    QSignalSpy clicks(&c, &XPShadow::Click);

    moveMouse(c, pixel);
    QTest::mouseClick(&c, Qt::LeftButton, Qt::ShiftModifier, pixel);

    QCOMPARE(clicks.count(), 1);
    QCOMPARE(record.move.size(), 1);
    QCOMPARE(record.down.size(), 1);
    QCOMPARE(record.up.size(), 1);
    for (const MouseArgs& args : {record.move.at(0), record.down.at(0), record.up.at(0)}) {
        QCOMPARE(args.x, x);
        QCOMPARE(args.y, y);
    }
    QCOMPARE(record.down.at(0).button, short(1));
    QCOMPARE(record.down.at(0).shift, short(1));
    QCOMPARE(record.move.at(0).button, short(0));
}

void TestXPShadow::doubleClickAndDisabled()
{
    XPShadow c;
    c.setTwipsSize(870, 240);
    c.show();
    QSignalSpy clicks(&c, &XPShadow::Click);
    QSignalSpy doubles(&c, &XPShadow::DblClick);
    // As the window system delivers it: the second press arrives as the double-click.
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease})
        sendMouse(c, type, QPoint(57, 15), Qt::LeftButton);
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(clicks.count(), 1);

    // Disabled: no input at all, and the texts keep their look.
    c.setEnabled(false);
    MouseRecord record(c);
    QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.count(), 1);
    QVERIFY(record.down.isEmpty());
    QVERIFY(!drawnDisabled(c.l1, c));
}

void TestXPShadow::customPointerOverAllParts()
{
    XPShadow c;
    c.setTwipsSize(870, 240);
    c.show();
    c.setMouseIcon(redIcon());
    c.setMousePointer(99);
    for (const QPoint pixel : {QPoint(10, 5), QPoint(57, 15), QPoint(57, 1)}) {
        moveMouse(c, QPoint(57, 1));
        moveMouse(c, pixel);
        QCOMPARE(c.cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(c.cursor().pixmap().toImage(), redIcon().toImage());
    }
    c.setMousePointer(0);
    moveMouse(c, QPoint(57, 1));
    QCOMPARE(c.cursor().shape(), Qt::ArrowCursor);
}

void TestXPShadow::pixels_data()
{
    QTest::addColumn<short>("backStyle");
    QTest::addColumn<QColor>("background"); // where no text is
    QTest::newRow("opaque") << short(1) << QColor(0xF2, 0xF3, 0xF9);
    QTest::newRow("transparent, the parent shows") << short(0) << QColor(Qt::green);
}

void TestXPShadow::pixels()
{
    QFETCH(short, backStyle);
    QFETCH(QColor, background);
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::green);
    parent.setPalette(palette);
    parent.resize(200, 100);
    XPShadow c(&parent);
    c.setTwipsGeometry(150, 150, 1500, 600);
    c.setFont(font(QStringLiteral("DejaVu Sans"), 20.0f));
    c.setShadow_Font(c.Font());
    c.setCaption(QStringLiteral("ШШ"));
    c.setBackStyle(backStyle);
    parent.show();

    const QImage image = parent.grab().toImage();
    const QRect area = c.geometry();
    QCOMPARE(image.pixelColor(area.right() - 1, area.top() + 1), background);
    QCOMPARE(image.pixelColor(area.right() - 1, area.bottom() - 1), background);
    QCOMPARE(image.pixelColor(area.left() - 1, area.top() - 1), QColor(Qt::green));

    const QImage own = image.copy(area);
    const QColor main(0x80, 0x80, 0xFF);
    const QColor shadow(0xC0, 0xC0, 0xFF);
    QVERIFY(countColor(own, main) > 20);
    QVERIFY(countColor(own, shadow) > 20);
    // The shadow is the main text moved 40 twips (3 pixels) right and down: the first
    // main-text column lies left of the first shadow column.
    auto firstColumn = [&own](const QColor& color) {
        for (int x = 0; x < own.width(); ++x)
            for (int y = 0; y < own.height(); ++y)
                if (own.pixelColor(x, y) == color)
                    return x;
        return -1;
    };
    QCOMPARE(firstColumn(shadow) - firstColumn(main), 3);
}

void TestXPShadow::colourRefusalsReported_data()
{
    using Setter = std::function<bool(XPShadow&, OleColor)>;
    using Getter = std::function<OleColor(const XPShadow&)>;
    QTest::addColumn<Setter>("set");
    QTest::addColumn<Getter>("get");
    QTest::newRow("BackColor") << Setter(&XPShadow::setBackColor) << Getter(&XPShadow::BackColor);
    QTest::newRow("ForeColor") << Setter(&XPShadow::setForeColor) << Getter(&XPShadow::ForeColor);
    QTest::newRow("Shadow_ForeColor") << Setter(&XPShadow::setShadow_ForeColor)
                                      << Getter(&XPShadow::Shadow_ForeColor);
}

void TestXPShadow::colourRefusalsReported()
{
    using Setter = std::function<bool(XPShadow&, OleColor)>;
    using Getter = std::function<OleColor(const XPShadow&)>;
    QFETCH(Setter, set);
    QFETCH(Getter, get);
    XPShadow c;
    QSignalSpy changes(&c, &SkinnedControl::PropertyChanged);
    const OleColor before = get(c);
    QVERIFY(!set(c, 0x01000000u));
    QVERIFY(!set(c, 0x800000FFu));
    QCOMPARE(get(c), before);
    QCOMPARE(changes.count(), 0);
    QVERIFY(set(c, Cyan));
    QCOMPARE(get(c), Cyan);
    QCOMPARE(changes.count(), 1);
}

void TestXPShadow::pointerNotifiedBeforeCopies_data()
{
    QTest::addColumn<QString>("property");
    QTest::newRow("MousePointer") << "MousePointer";
    QTest::newRow("MouseIcon") << "MouseIcon";
}

// The host hears of the change while only the main text has the new pointer.
void TestXPShadow::pointerNotifiedBeforeCopies()
{
    QFETCH(QString, property);
    XPShadow c;
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    if (property == "MouseIcon")
        c.setMousePointer(99);
    bool mainOnly = false;
    connect(&c, &SkinnedControl::PropertyChanged, &c, [&](const QString& name) {
        if (name == property)
            mainOnly = c.l1.pointer().has_value() && !c.l2.pointer().has_value();
    });
    if (property == "MouseIcon") {
        // Clear the copies first so that only the main text can have a pointer yet.
        c.setMouseIcon(QPixmap());
        c.l2.setPointer(std::nullopt);
        c.setMouseIcon(icon);
    } else {
        c.setMousePointer(2);
    }
    QVERIFY(mainOnly);
    QVERIFY(c.l2.pointer().has_value());
}

QTEST_MAIN(TestXPShadow)
#include "tst_xpshadow.moc"
