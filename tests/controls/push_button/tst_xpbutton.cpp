#include "drawn_text.h"
#include "persisted_settings.h"
#include "push_button/xp_button.h"
#include "services/held_keys.h"

#include <QApplication>
#include <QDialog>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

constexpr OleColor LightBlue = 0x00FF8080u;

// Every event and the face it found, in order, as the host would see them.
class EventLog {
public:
    explicit EventLog(XPButton& button) : button_(button)
    {
        QObject::connect(&button, &XPButton::KeyDown, [this](short& code, short& shift) {
            entries << QStringLiteral("down %1 %2").arg(code).arg(shift);
            if (zeroKeyDown)
                code = 0;
        });
        QObject::connect(&button, &XPButton::KeyPress,
                         [this](short& ascii) { entries << QStringLiteral("press %1").arg(ascii); });
        QObject::connect(&button, &XPButton::KeyUp, [this](short& code, short& shift) {
            entries << QStringLiteral("up %1 %2").arg(code).arg(shift);
            if (zeroKeyUp)
                code = 0;
        });
        QObject::connect(&button, &XPButton::Click, [this] { entries << QStringLiteral("click ") + face(); });
    }

    QString face() const
    {
        QString face = button_.nor.isVisible() ? QStringLiteral("normal") : QString();
        if (button_.dow.isVisible())
            face += QStringLiteral("pressed");
        return face; // "normalpressed" or "" would show both or neither
    }
    void noteFace() { entries << QStringLiteral("face ") + face(); }

    QStringList entries;
    bool zeroKeyDown = false;
    bool zeroKeyUp = false;

private:
    XPButton& button_;
};

QColor rgb(OleColor color) { return Ole::toQColor(color); }

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

FontValue timesBold() { return {QStringLiteral("Times New Roman"), 12, FontValue::Bold, false, false, false, 204}; }

} // namespace

// An active window holding the button and a second widget to take the focus away.
struct FocusWindow {
    QWidget window;
    XPButton* button = new XPButton;
    QLineEdit* other = new QLineEdit;

    FocusWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(button);
        layout->addWidget(other);
    }
    bool activate()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
};

class TestXPButton : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Fonts::installSubstitutions();
        HeldKeys::install();
    }

    void creationValues();
    void initNewTakesDisplayName();
    void persistedSettings_data();
    void persistedSettings() { checkPersistedSettings<XPButton>(); }
    void loadingAppliesToElements();
    void layout_data();
    void layout();
    void captionBand_data();
    void captionBand();
    void fontRecentresCaptionChangeDoesNot();
    void keyboard_data();
    void keyboard();
    void autoRepeatClicksOnce();
    void hostChangesKeyCode_data();
    void hostChangesKeyCode();
    void mouse_data();
    void mouse();
    void focusLossWhileSpaceHeld();
    void focusFrame_data();
    void focusFrame();
    void disabledRaisesNothing();
    void settersNotifyOnlyOnChange();
    void tooltipOnlyOverCaption();
    void facePixels_data();
    void facePixels();
    void disabledCaptionPixels();
    void heldKey_data();
    void heldKey();
    void pressTakenAway_data();
    void pressTakenAway();
    void enabledFromAnyCaller_data();
    void enabledFromAnyCaller();
    void noTooltipWhenDisabled_data();
    void noTooltipWhenDisabled();
};

void TestXPButton::creationValues()
{
    XPButton button;
    QCOMPARE(button.Caption(), QStringLiteral("XPButton"));
    QCOMPARE(button.Font(), timesBold());
    QCOMPARE(QSizeF(button.twipsWidth(), button.twipsHeight()), QSizeF(1620, 645));
    QCOMPARE(button.focusPolicy(), Qt::StrongFocus);
    QVERIFY(button.nor.isVisible() && !button.dow.isVisible() && !button.gf.isVisible());
}

void TestXPButton::initNewTakesDisplayName()
{
    XPButton button;
    button.initNew({FontValue{}, QStringLiteral("XPButton3")});
    QCOMPARE(button.Caption(), QStringLiteral("XPButton3"));
    QCOMPARE(button.Font(), timesBold()); // the ambient font is for reading, not for new instances
}

void TestXPButton::persistedSettings_data()
{
    addPersistedSettingsColumns();
    const QVariant orange = QVariant::fromValue(OleColor(0x0080C0FFu));
    const QVariant font = QVariant::fromValue(timesBold());
    const StoredSettings everyKey{{"Font", font},
                                  {"GetFocusColor", QVariant::fromValue(OleColor(1))},
                                  {"BorderColor", QVariant::fromValue(OleColor(2))},
                                  {"ForeColor", QVariant::fromValue(OleColor(3))},
                                  {"ToolTipText", QStringLiteral("t")},
                                  {"Caption", QStringLiteral("c")},
                                  {"Enabled", false}};
    StoredSettings everyKeyInOrder = everyKey;
    std::reverse(everyKeyInOrder.begin(), everyKeyInOrder.end());

    QTest::newRow("nothing stored") << StoredSettings{} << StoredSettings{} << StoredSettings{};
    QTest::newRow("nothing stored, over other settings") << everyKey << StoredSettings{} << StoredSettings{};
    QTest::newRow("every key, written in order") << StoredSettings{} << everyKey << everyKeyInOrder;
    QTest::newRow("enabled") << StoredSettings{} << StoredSettings{{"enabled", false}}
                             << StoredSettings{{"Enabled", false}};
    QTest::newRow("caption") << StoredSettings{} << StoredSettings{{"CAPTION", QStringLiteral("Отмена")}}
                             << StoredSettings{{"Caption", QStringLiteral("Отмена")}};
    QTest::newRow("tooltip") << StoredSettings{} << StoredSettings{{"tooltiptext", QStringLiteral("Найти слова")}}
                             << StoredSettings{{"ToolTipText", QStringLiteral("Найти слова")}};
    QTest::newRow("forecolor") << StoredSettings{} << StoredSettings{{"forecolor", orange}}
                               << StoredSettings{{"ForeColor", orange}};
    QTest::newRow("bordercolor") << StoredSettings{} << StoredSettings{{"BorderColor", QStringLiteral("0x0080C0FF")}}
                                 << StoredSettings{{"BorderColor", orange}};
    QTest::newRow("getfocuscolor") << StoredSettings{} << StoredSettings{{"getfocuscolor", 8438015}}
                                   << StoredSettings{{"GetFocusColor", orange}};
    QTest::newRow("font") << StoredSettings{} << StoredSettings{{"font", font}} << StoredSettings{{"Font", font}};
    // As the main window's stored design holds its search button.
    QTest::newRow("main window's search button")
        << StoredSettings{}
        << StoredSettings{{"caption", QStringLiteral("Начать поиск")},
                          {"getfocuscolor", QStringLiteral("0x0080C0FF")},
                          {"font", QVariantMap{{"face", "Times New Roman"}, {"size", 12}, {"weight", 700},
                                               {"charset", 204}}}}
        << StoredSettings{{"Caption", QStringLiteral("Начать поиск")}, {"GetFocusColor", orange}, {"Font", font}};
}

void TestXPButton::loadingAppliesToElements()
{
    XPButton button;
    button.setBorderColor(0x000000FFu);
    button.setEnabled(false);
    QSignalSpy changes(&button, &SkinnedControl::PropertyChanged);
    PropertyBag bag;
    bag.set(QStringLiteral("getfocuscolor"), QStringLiteral("0x0080C0FF"));

    button.readProperties(bag, AmbientProperties{});

    QVERIFY(!drawnDisabled(button.cap, button));
    QCOMPARE(button.bor.borderColor(), LightBlue);
    QCOMPARE(button.gf.borderColor(), OleColor(0x0080C0FFu));
    QCOMPARE(changes.count(), 0);
}

void TestXPButton::layout_data()
{
    QTest::addColumn<float>("w");
    QTest::addColumn<float>("h");
    QTest::addColumn<QRectF>("focusFrame");

    QTest::newRow("search button") << 1815.0f << 495.0f << QRectF(25, 25, 1775, 455);
    QTest::newRow("new instance") << 1620.0f << 645.0f << QRectF(25, 25, 1580, 605);
    QTest::newRow("wide") << 4500.0f << 300.0f << QRectF(25, 25, 4460, 260);
}

void TestXPButton::layout()
{
    QFETCH(float, w);
    QFETCH(float, h);
    QFETCH(QRectF, focusFrame);

    XPButton button;
    button.setTwipsSize(w, h);
    button.show();

    QCOMPARE(button.gf.geometry(), focusFrame);
    const QRectF whole(0, 0, w, h);
    QCOMPARE(button.nor.geometry(), whole);
    QCOMPARE(button.dow.geometry(), whole);
    QCOMPARE(button.bor.geometry(), whole);
    // One line of the caption font, centred vertically across the full width.
    QCOMPARE(button.cap.left(), 0.0f);
    QCOMPARE(button.cap.width(), w);
    QCOMPARE(button.cap.height(), button.cap.lineHeight());
    QCOMPARE(button.cap.top() + button.cap.height() / 2, h / 2);
}

void TestXPButton::captionBand_data()
{
    QTest::addColumn<int>("row"); // pixel row, relative to the caption box
    QTest::addColumn<bool>("caption");

    QTest::newRow("above the band") << -1 << false;
    QTest::newRow("band's first row") << 0 << true;
    QTest::newRow("band's middle") << 8 << true;
    QTest::newRow("band's last row") << -2 << true; // counted from the band's bottom
    QTest::newRow("below the band") << -3 << false;
}

void TestXPButton::captionBand()
{
    QFETCH(int, row);
    QFETCH(bool, caption);

    XPButton button;
    button.setTwipsSize(1815, 495);
    button.show();
    const QRect band = button.cap.pixelRect();
    QCOMPARE(band.left(), 0);
    QCOMPARE(band.width(), button.width());
    const int y = row >= 0 ? band.top() + row : row == -1 ? band.top() - 1 : band.bottom() + (row == -2 ? 0 : 1);

    for (int x : {1, button.width() / 2, button.width() - 2}) {
        const Element* hit = button.elementAt(Twips::fromPixels(QPointF(x, y)));
        QCOMPARE(hit, caption ? static_cast<const Element*>(&button.cap) : &button.nor);
    }
}

void TestXPButton::fontRecentresCaptionChangeDoesNot()
{
    XPButton button;
    button.setTwipsSize(1815, 495);
    button.show();
    const QRectF before = button.cap.geometry();

    button.setCaption(QStringLiteral("Отмена"));
    QCOMPARE(button.cap.geometry(), before);

    FontValue big = timesBold();
    big.size = 20;
    button.setFont(big);
    QVERIFY(button.cap.height() > before.height());
    QCOMPARE(button.cap.height(), button.cap.lineHeight());
    QCOMPARE(button.cap.top() + button.cap.height() / 2, 495.0f / 2);
    QCOMPARE(button.cap.width(), 1815.0f);
}

void TestXPButton::keyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("log");

    QTest::newRow("space") << int(Qt::Key_Space) << 0
                           << QStringList{"down 32 0", "press 32", "face pressed", "up 32 0", "click normal",
                                          "face normal"};
    QTest::newRow("shift+space") << int(Qt::Key_Space) << int(Qt::ShiftModifier)
                                 << QStringList{"down 16 1", "down 32 1", "press 32", "face pressed",
                                                "up 32 1", "click normal", "up 16 0", "face normal"};
    QTest::newRow("letter") << int(Qt::Key_A) << 0
                            << QStringList{"down 65 0", "press 97", "face normal", "up 65 0", "face normal"};
    QTest::newRow("enter") << int(Qt::Key_Return) << 0
                           << QStringList{"down 13 0", "press 13", "face normal", "up 13 0", "face normal"};
    QTest::newRow("escape") << int(Qt::Key_Escape) << 0
                            << QStringList{"down 27 0", "press 27", "face normal", "up 27 0", "face normal"};
    QTest::newRow("digit") << int(Qt::Key_5) << 0
                           << QStringList{"down 53 0", "press 53", "face normal", "up 53 0", "face normal"};
    QTest::newRow("keypad digit") << int(Qt::Key_5) << int(Qt::KeypadModifier)
                                  << QStringList{"down 101 0", "press 53", "face normal", "up 101 0",
                                                 "face normal"};
    QTest::newRow("f5") << int(Qt::Key_F5) << 0
                        << QStringList{"down 116 0", "face normal", "up 116 0", "face normal"};
}

void TestXPButton::keyboard()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QStringList, log);

    XPButton button;
    EventLog events(button);
    QTest::keyPress(&button, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    events.noteFace();
    QTest::keyRelease(&button, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    events.noteFace();
    QCOMPARE(events.entries, log);
}

void TestXPButton::autoRepeatClicksOnce()
{
    XPButton button;
    EventLog events(button);
    auto send = [&button](QEvent::Type type, bool autoRepeat) {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
        QApplication::sendEvent(&button, &event);
    };
    send(QEvent::KeyPress, false);
    send(QEvent::KeyRelease, true);
    send(QEvent::KeyPress, true);
    events.noteFace();
    send(QEvent::KeyRelease, false);
    QCOMPARE(events.entries, (QStringList{"down 32 0", "press 32", "down 32 0", "press 32", "face pressed",
                                          "up 32 0", "click normal"}));
}

void TestXPButton::hostChangesKeyCode_data()
{
    QTest::addColumn<bool>("zeroKeyDown");
    QTest::addColumn<bool>("zeroKeyUp");
    QTest::addColumn<QStringList>("log");

    QTest::newRow("KeyDown zeroes Space") << true << false
                                          << QStringList{"down 32 0", "press 32", "face normal", "up 32 0",
                                                         "click normal", "face normal"};
    // The click is suppressed; the released key still lifts the face.
    QTest::newRow("KeyUp zeroes Space") << false << true
                                        << QStringList{"down 32 0", "press 32", "face pressed", "up 32 0",
                                                       "face normal"};
}

void TestXPButton::hostChangesKeyCode()
{
    QFETCH(bool, zeroKeyDown);
    QFETCH(bool, zeroKeyUp);
    QFETCH(QStringList, log);

    XPButton button;
    EventLog events(button);
    events.zeroKeyDown = zeroKeyDown;
    events.zeroKeyUp = zeroKeyUp;
    QTest::keyPress(&button, Qt::Key_Space);
    events.noteFace();
    QTest::keyRelease(&button, Qt::Key_Space);
    events.noteFace();
    QCOMPARE(events.entries, log);
}

void TestXPButton::mouse_data()
{
    QTest::addColumn<bool>("onCaption");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("releaseAt"); // "same", "face" (inside, off the caption) or "outside"
    QTest::addColumn<QStringList>("log");

    const QStringList clicked{"face pressed", "click normal", "face normal"};
    const QStringList notClicked{"face pressed", "face normal"};
    QTest::newRow("face, left") << false << int(Qt::LeftButton) << "same" << clicked;
    QTest::newRow("face, right") << false << int(Qt::RightButton) << "same" << clicked;
    QTest::newRow("face, dragged off") << false << int(Qt::LeftButton) << "outside" << clicked;
    QTest::newRow("caption, left") << true << int(Qt::LeftButton) << "same" << clicked;
    QTest::newRow("caption, right") << true << int(Qt::RightButton) << "same" << notClicked;
    QTest::newRow("caption, dragged off") << true << int(Qt::LeftButton) << "outside" << notClicked;
    QTest::newRow("caption, released on face") << true << int(Qt::LeftButton) << "face" << notClicked;
}

void TestXPButton::mouse()
{
    QFETCH(bool, onCaption);
    QFETCH(int, button);
    QFETCH(QString, releaseAt);
    QFETCH(QStringList, log);

    XPButton control;
    control.setTwipsSize(1815, 495);
    control.show();
    EventLog events(control);
    const QPoint facePoint(10, 3);
    const QPoint captionPoint = control.cap.pixelRect().center();
    const QPoint press = onCaption ? captionPoint : facePoint;
    const QPoint release = releaseAt == "same" ? press : releaseAt == "face" ? facePoint : QPoint(-20, 80);

    QTest::mousePress(&control, Qt::MouseButton(button), {}, press);
    events.noteFace();
    QTest::mouseRelease(&control, Qt::MouseButton(button), {}, release);
    events.noteFace();
    QCOMPARE(events.entries, log);
}

void TestXPButton::focusLossWhileSpaceHeld()
{
    FocusWindow w;
    XPButton* button = w.button;
    QLineEdit* other = w.other;
    QVERIFY(w.activate());
    other->setFocus();
    button->setFocus(Qt::TabFocusReason);
    QVERIFY(button->hasFocus());
    QVERIFY(button->gf.isVisible());
    QSignalSpy clicks(button, &XPButton::Click);

    QTest::keyPress(button, Qt::Key_Space);
    QVERIFY(button->dow.isVisible());
    other->setFocus(Qt::TabFocusReason);

    QVERIFY(button->nor.isVisible());
    QVERIFY(!button->dow.isVisible());
    QVERIFY(!button->gf.isVisible());
    QTest::keyRelease(other, Qt::Key_Space);
    QCOMPARE(clicks.count(), 0);
}

void TestXPButton::focusFrame_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("shown");

    QTest::newRow("tab") << int(Qt::TabFocusReason) << true;
    QTest::newRow("backtab") << int(Qt::BacktabFocusReason) << true;
    QTest::newRow("mouse") << int(Qt::MouseFocusReason) << false;
    QTest::newRow("window activation") << int(Qt::ActiveWindowFocusReason) << false;
}

void TestXPButton::focusFrame()
{
    QFETCH(int, reason);
    QFETCH(bool, shown);

    FocusWindow w;
    XPButton* button = w.button;
    QLineEdit* other = w.other;
    button->setFixedSize(121, 33); // 1815 x 495 twips
    button->setGetFocusColor(0x0080C0FFu);
    QVERIFY(w.activate());
    other->setFocus();
    button->setFocus(Qt::FocusReason(reason));
    QVERIFY(button->hasFocus());

    QCOMPARE(button->gf.isVisible(), shown);
    // 25 twips in from the top left, one pixel in from the bottom right.
    const QImage image = button->grab().toImage();
    const QColor frame = shown ? QColor(0xFF, 0xC0, 0x80) : QColor(Qt::white);
    QCOMPARE(image.pixelColor(2, 3), frame);
    QCOMPARE(image.pixelColor(119, 3), frame);
    QCOMPARE(image.pixelColor(10, 2), frame);
    QCOMPARE(image.pixelColor(1, 3), QColor(Qt::white));
    QCOMPARE(image.pixelColor(120, 3), rgb(LightBlue));
}

void TestXPButton::disabledRaisesNothing()
{
    XPButton button;
    button.setTwipsSize(1815, 495);
    button.show();
    EventLog events(button);
    QSignalSpy changes(&button, &SkinnedControl::PropertyChanged);

    button.setEnabled(false);
    QVERIFY(!button.Enabled());
    QVERIFY(!button.isEnabled());
    QVERIFY(drawnDisabled(button.cap, button));
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 3));
    QTest::mouseClick(&button, Qt::LeftButton, {}, button.cap.pixelRect().center());
    QTest::keyClick(&button, Qt::Key_Space);
    QVERIFY(events.entries.isEmpty());
    QVERIFY(button.nor.isVisible());

    button.setEnabled(true);
    QVERIFY(!drawnDisabled(button.cap, button));
    QTest::keyClick(&button, Qt::Key_Space);
    QVERIFY(events.entries.contains("click normal"));
    QCOMPARE(changes.count(), 2);
}

void TestXPButton::settersNotifyOnlyOnChange()
{
    XPButton button;
    QSignalSpy changes(&button, &SkinnedControl::PropertyChanged);
    button.setCaption(QStringLiteral("XPButton"));
    button.setEnabled(true);
    button.setForeColor(LightBlue);
    button.setFont(timesBold());
    QCOMPARE(changes.count(), 0);

    button.setCaption(QStringLiteral("Отмена"));
    button.setEnabled(false);
    button.setToolTipText(QStringLiteral("t"));
    button.setForeColor(1);
    button.setBorderColor(2);
    button.setGetFocusColor(3);
    button.setFont(FontValue{});
    QStringList names;
    for (const auto& args : changes)
        names << args.at(0).toString();
    QCOMPARE(names, (QStringList{"Caption", "Enabled", "ToolTipText", "ForeColor", "BorderColor",
                                 "GetFocusColor", "Font"}));
    QCOMPARE(button.bor.borderColor(), OleColor(2));
    QCOMPARE(button.gf.borderColor(), OleColor(3));

    // What is no colour is refused whole: stored value and frame stay as they were.
    changes.clear();
    QVERIFY(!button.setBorderColor(0x12345678u));
    QVERIFY(!button.setGetFocusColor(0x800000FFu));
    QVERIFY(!button.setForeColor(0x01000000u));
    QCOMPARE(button.BorderColor(), OleColor(2));
    QCOMPARE(button.bor.borderColor(), OleColor(2));
    QCOMPARE(button.GetFocusColor(), OleColor(3));
    QCOMPARE(button.ForeColor(), OleColor(1));
    QCOMPARE(changes.count(), 0);
}

void TestXPButton::tooltipOnlyOverCaption()
{
    XPButton button;
    button.setTwipsSize(1815, 495);
    button.setToolTipText(QStringLiteral("Найти слова"));
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));

    const QPoint face(60, 2);
    QHelpEvent overFace(QEvent::ToolTip, face, button.mapToGlobal(face));
    QApplication::sendEvent(&button, &overFace);
    QVERIFY(QToolTip::text().isEmpty());

    const QPoint caption(5, button.cap.pixelRect().center().y());
    QHelpEvent overCaption(QEvent::ToolTip, caption, button.mapToGlobal(caption));
    QApplication::sendEvent(&button, &overCaption);
    QCOMPARE(QToolTip::text(), QStringLiteral("Найти слова"));
    QToolTip::hideText();
}

void TestXPButton::facePixels_data()
{
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("color");

    // The faces are 17-row gradients stretched over 33 pixel rows.
    QTest::newRow("normal, top") << false << QPoint(5, 2) << QColor(0xFF, 0xFF, 0xFF);
    QTest::newRow("normal, bottom") << false << QPoint(5, 30) << rgb(0x00DECFCE);
    QTest::newRow("pressed, top") << true << QPoint(5, 2) << rgb(0x00CEC7BD);
    QTest::newRow("pressed, bottom") << true << QPoint(5, 30) << QColor(0xFF, 0xFF, 0xFF);
    QTest::newRow("normal, border top left") << false << QPoint(0, 0) << rgb(LightBlue);
    QTest::newRow("normal, border bottom right") << false << QPoint(120, 32) << rgb(LightBlue);
    QTest::newRow("pressed, border left") << true << QPoint(0, 16) << rgb(LightBlue);
    QTest::newRow("pressed, border bottom") << true << QPoint(60, 32) << rgb(LightBlue);
}

void TestXPButton::facePixels()
{
    QFETCH(bool, pressed);
    QFETCH(QPoint, at);
    QFETCH(QColor, color);

    XPButton button;
    button.setTwipsSize(1815, 495);
    button.show();
    QCOMPARE(button.size(), QSize(121, 33));
    if (pressed)
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(60, 2));
    QCOMPARE(button.grab().toImage().pixelColor(at), color);
    if (pressed)
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(60, 2));
}

void TestXPButton::disabledCaptionPixels()
{
    XPButton button;
    button.setTwipsSize(1815, 495);
    button.setForeColor(0x000000FFu); // pure red
    button.show();
    const QRect band = button.cap.pixelRect();

    QVERIFY(countRedInk(button.grab().toImage(), band) > 20);
    button.setEnabled(false);
    QCOMPARE(countRedInk(button.grab().toImage(), band), 0);
    button.setEnabled(true);
    QVERIFY(countRedInk(button.grab().toImage(), band) > 20);
}

void TestXPButton::heldKey_data()
{
    // Each step: "p" or "r" (press or release) and the key, as X sends them once asked for
    // repeated presses alone, unmarked; "focus" (the button takes the focus from a line
    // box) or "away" (another program takes the keyboard).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("clicks");

    QTest::newRow("held: X repeats the press") << QStringList{"focus", "p space", "p space", "p space", "r space"} << 1;
    QTest::newRow("two real strokes") << QStringList{"focus", "p space", "r space", "p space", "r space"} << 2;
    QTest::newRow("another key at the same time") << QStringList{"focus", "p space", "p a", "r a", "p space",
                                                                 "r space"}
                                                  << 1;
    QTest::newRow("held from before the focus") << QStringList{"p space", "focus", "p space", "p space", "r space"}
                                                << 0;
    QTest::newRow("released in another program") << QStringList{"focus", "p space", "away", "p space", "r space"}
                                                 << 1;
}

// The same for this button and for Qt's, as in a message box.
void TestXPButton::heldKey()
{
    QFETCH(QStringList, steps);
    QFETCH(int, clicks);

    for (const bool qtButton : {false, true}) {
        FocusWindow w;
        QWidget* button = w.button;
        if (qtButton)
            button = new QPushButton(QStringLiteral("OK"), &w.window);
        QSignalSpy spy(button, qtButton ? SIGNAL(clicked()) : SIGNAL(Click()));
        QVERIFY(w.activate());
        w.other->setFocus();
        for (const QString& step : steps) {
            if (step == "focus") {
                button->setFocus();
            } else if (step == "away") {
                QApplicationStateChangeEvent away(Qt::ApplicationInactive);
                QApplication::sendEvent(qApp, &away);
            } else {
                const bool space = step.endsWith("space");
                QKeyEvent event(step.startsWith('p') ? QEvent::KeyPress : QEvent::KeyRelease,
                                space ? Qt::Key_Space : Qt::Key_A, Qt::NoModifier, space ? 65 : 38, 0, 0,
                                space ? QStringLiteral(" ") : QStringLiteral("a"));
                QApplication::sendEvent(w.window.windowHandle(), &event);
            }
        }
        QCOMPARE(spy.count(), clicks);
        QVERIFY(!w.button->dow.isVisible());
    }
}

void TestXPButton::pressTakenAway_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("modal box") << "modal box";
    QTest::newRow("window deactivated") << "deactivated";
    QTest::newRow("window hidden") << "hidden";
}

// A press whose release never comes lifts the face, and the next click is a click.
void TestXPButton::pressTakenAway()
{
    QFETCH(QString, how);

    FocusWindow w;
    XPButton* button = w.button;
    QVERIFY(w.activate());
    QSignalSpy clicks(button, &XPButton::Click);
    const QPoint face(10, 3);
    auto send = [button, face](QEvent::Type type) {
        QMouseEvent event(type, face, button->mapToGlobal(face), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &event);
    };
    send(QEvent::MouseButtonPress);
    QVERIFY(button->dow.isVisible());

    if (how == "modal box") {
        QDialog box(&w.window);
        box.setModal(true);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(!button->dow.isVisible());
        box.hide();
    } else if (how == "deactivated") {
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(button, &deactivate);
    } else {
        w.window.hide();
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    }
    QVERIFY(!button->dow.isVisible());
    QCOMPARE(clicks.count(), 0);

    send(QEvent::MouseButtonPress);
    QVERIFY(button->dow.isVisible());
    send(QEvent::MouseButtonRelease);
    QCOMPARE(clicks.count(), 1);
    QVERIFY(button->nor.isVisible());
}

void TestXPButton::enabledFromAnyCaller_data()
{
    QTest::addColumn<bool>("throughParent");
    QTest::newRow("through a QWidget pointer") << false;
    QTest::newRow("parent disabled") << true;
}

void TestXPButton::enabledFromAnyCaller()
{
    QFETCH(bool, throughParent);

    QWidget parent;
    auto* button = new XPButton(&parent);
    QSignalSpy changes(button, &SkinnedControl::PropertyChanged);
    QWidget* target = throughParent ? &parent : static_cast<QWidget*>(button);
    target->setEnabled(false);
    QVERIFY(drawnDisabled(button->cap, *button));
    // Only the button's own switch is a change of its property.
    QCOMPARE(button->Enabled(), throughParent);
    QCOMPARE(changes.count(), throughParent ? 0 : 1);
    target->setEnabled(true);
    QVERIFY(!drawnDisabled(button->cap, *button));
    QCOMPARE(changes.count(), throughParent ? 0 : 2);
}

void TestXPButton::noTooltipWhenDisabled_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::newRow("enabled") << true;
    QTest::newRow("disabled") << false;
}

void TestXPButton::noTooltipWhenDisabled()
{
    QFETCH(bool, enabled);

    XPButton button;
    button.setTwipsSize(1815, 495);
    button.setToolTipText(QStringLiteral("Найти слова"));
    button.setEnabled(enabled);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    const QPoint caption(5, button.cap.pixelRect().center().y());
    QHelpEvent help(QEvent::ToolTip, caption, button.mapToGlobal(caption));
    QApplication::sendEvent(&button, &help);
    QCOMPARE(QToolTip::text(), enabled ? QStringLiteral("Найти слова") : QString());
    QToolTip::hideText();
}

QTEST_MAIN(TestXPButton)
#include "tst_xpbutton.moc"
