#include "persisted_settings.h"
#include "top_buttons/xp_top_buttons.h"

#include "scripted_dialogs.h"
#include "settings/ole_color.h"
#include "settings/property_bag.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

const QStringList PictureNames{"xn", "xd", "xe", "nn", "nd", "ne", "mn", "md", "men", "dn", "dd", "de"};

QImage stored(const QString& name)
{
    return QImage(QStringLiteral(":/skin/top_buttons/%1.bmp").arg(name)).convertToFormat(QImage::Format_RGB32);
}

// Which of the stored pictures the button shows, by its pixels.
QString shownPicture(XPTopButtons& button)
{
    const QImage image = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (const QString& name : PictureNames) {
        if (image == stored(name))
            return name;
    }
    return QStringLiteral("?");
}

const ScriptedDialogs::Box InvalidValueBox{QStringLiteral("Значения могут быть только 1, 2, 3 или 4"),
                                           QStringLiteral("Ошибка"), Dialogs::Icon::Error, Dialogs::Buttons::Ok};

// Records every event in arrival order, with its arguments and the picture shown when it came.
void record(XPTopButtons& button, QStringList& events)
{
    const auto mouse = [&](const char* name) {
        return [&events, &button, name](short& b, short& s, float& x, float& y) {
            events.append(QStringLiteral("%1 %2 %3 %4 %5 %6")
                              .arg(QLatin1String(name)).arg(b).arg(s).arg(x).arg(y).arg(shownPicture(button)));
        };
    };
    QObject::connect(&button, &XPTopButtons::MouseDown, &button, mouse("MouseDown"));
    QObject::connect(&button, &XPTopButtons::MouseMove, &button, mouse("MouseMove"));
    QObject::connect(&button, &XPTopButtons::MouseUp, &button, mouse("MouseUp"));
    QObject::connect(&button, &XPTopButtons::Click, &button,
                     [&events, &button] { events.append("Click " + shownPicture(button)); });
}

// A move as the window system sends it, also without a button held.
void moveMouse(XPTopButtons& button, const QPoint& to, Qt::MouseButtons held)
{
    QMouseEvent move(QEvent::MouseMove, to, button.mapToGlobal(QPointF(to)), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(&button, &move);
}

} // namespace

class TestXPTopButtons : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void persistedSettings_data();
    void persistedSettings() { checkPersistedSettings<XPTopButtons>(); }
    void loadedPicture_data();
    void loadedPicture();
    void pictures_data();
    void pictures();
    void pressAndRelease_data();
    void pressAndRelease();
    void invalidValue_data();
    void invalidValue();
    void enabled_data();
    void enabled();
    void disabledWhilePressed();
    void fixedSize_data();
    void fixedSize();

private:
    ScriptedDialogs dialogs_;
};

void TestXPTopButtons::init()
{
    dialogs_.clear();
    Dialogs::install(&dialogs_);
}

void TestXPTopButtons::cleanup()
{
    QVERIFY2(dialogs_.failures().isEmpty(), qPrintable(dialogs_.failures().join('\n')));
    QCOMPARE(dialogs_.pending(), 0);
}

void TestXPTopButtons::persistedSettings_data()
{
    addPersistedSettingsColumns();
    QTest::newRow("nothing stored") << StoredSettings{} << StoredSettings{} << StoredSettings{};
    QTest::newRow("nothing stored, over other settings")
        << StoredSettings{{"Value", "3"}, {"Enabled", false}} << StoredSettings{} << StoredSettings{};
    QTest::newRow("minimise, key in lower case") << StoredSettings{} << StoredSettings{{"value", "4"}}
                                                 << StoredSettings{{"Value", "4"}};
    QTest::newRow("defaults stored") << StoredSettings{} << StoredSettings{{"Enabled", true}, {"Value", "1"}}
                                     << StoredSettings{};
    QTest::newRow("disabled maximise") << StoredSettings{} << StoredSettings{{"Value", "3"}, {"Enabled", false}}
                                       << StoredSettings{{"Enabled", false}, {"Value", "3"}};
    QTest::newRow("disabled close") << StoredSettings{} << StoredSettings{{"ENABLED", false}}
                                    << StoredSettings{{"Enabled", false}};
    QTest::newRow("value stored as a number") << StoredSettings{} << StoredSettings{{"Value", 2}}
                                              << StoredSettings{{"Value", "2"}};
}

void TestXPTopButtons::loadedPicture_data()
{
    QTest::addColumn<QVariantMap>("bag");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("isEnabled");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("picture");

    QTest::newRow("nothing stored") << QVariantMap() << false << true << "1" << "xn";
    QTest::newRow("minimise") << QVariantMap{{"value", "4"}} << false << true << "4" << "dn";
    QTest::newRow("disabled maximise") << QVariantMap{{"Value", "3"}, {"Enabled", false}} << false << false << "3"
                                       << "men";
    QTest::newRow("disabled close") << QVariantMap{{"ENABLED", false}} << false << false << "1" << "xe";
    QTest::newRow("invalid value") << QVariantMap{{"Value", "5"}} << true << true << "1" << "xn";
    QTest::newRow("value stored as a number") << QVariantMap{{"Value", 2}} << false << true << "2" << "nn";
}

void TestXPTopButtons::loadedPicture()
{
    QFETCH(QVariantMap, bag);
    QFETCH(bool, refused);
    QFETCH(bool, isEnabled);
    QFETCH(QString, value);
    QFETCH(QString, picture);

    PropertyBag in;
    for (auto it = bag.cbegin(); it != bag.cend(); ++it)
        in.set(it.key(), it.value());
    if (refused)
        dialogs_.expectMessage(InvalidValueBox, Dialogs::Answer::Ok);

    XPTopButtons button;
    button.readProperties(in, {});
    QCOMPARE(button.Enabled(), isEnabled);
    QCOMPARE(button.Value(), value);
    QCOMPARE(shownPicture(button), picture);
}

void TestXPTopButtons::pictures_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<OleColor>("ring");
    QTest::addColumn<OleColor>("fillTop");

    QTest::newRow("close") << "1" << "normal" << "xn" << 0x004238A5u << 0x008CA6FFu;
    QTest::newRow("close, pressed") << "1" << "pressed" << "xd" << 0x003938BDu << 0x00ADC7FFu;
    QTest::newRow("close, disabled") << "1" << "disabled" << "xe" << 0x004238A5u << 0x008CA6FFu;
    QTest::newRow("restore") << "2" << "normal" << "nn" << 0x008C716Bu << 0x00F7F7F7u;
    QTest::newRow("restore, pressed") << "2" << "pressed" << "nd" << 0x006B594Au << 0x00AD968Cu;
    QTest::newRow("restore, disabled") << "2" << "disabled" << "ne" << 0x006B594Au << 0x00AD8684u;
    QTest::newRow("maximise") << "3" << "normal" << "mn" << 0x008C716Bu << 0x00F7F7F7u;
    QTest::newRow("maximise, pressed") << "3" << "pressed" << "md" << 0x006B594Au << 0x00AD968Cu;
    QTest::newRow("maximise, disabled") << "3" << "disabled" << "men" << 0x006B594Au << 0x00AD8684u;
    QTest::newRow("minimise") << "4" << "normal" << "dn" << 0x008C716Bu << 0x00F7F7F7u;
    QTest::newRow("minimise, pressed") << "4" << "pressed" << "dd" << 0x006B594Au << 0x00AD968Cu;
    QTest::newRow("minimise, disabled") << "4" << "disabled" << "de" << 0x006B594Au << 0x00AD8684u;
}

void TestXPTopButtons::pictures()
{
    QFETCH(QString, value);
    QFETCH(QString, state);
    QFETCH(QString, picture);
    QFETCH(OleColor, ring);
    QFETCH(OleColor, fillTop);

    XPTopButtons button;
    button.setValue(value);
    if (state == "pressed")
        QTest::mousePress(&button, Qt::LeftButton);
    else if (state == "disabled")
        button.setEnabled(false);

    QCOMPARE(shownPicture(button), picture);
    const QImage image = button.grab().toImage();
    QCOMPARE(image.pixelColor(10, 0), Ole::toQColor(ring));
    QCOMPARE(image.pixelColor(10, 1), Ole::toQColor(fillTop));

    if (state == "pressed")
        QTest::mouseRelease(&button, Qt::LeftButton);
}

void TestXPTopButtons::pressAndRelease_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("whilePressed");
    QTest::addColumn<QString>("atRest");
    QTest::addColumn<QStringList>("events");

    // Hover at (3, 4), press at (10, 10), move to (0, 20), release there.
    QTest::newRow("minimise, left")
        << "4" << Qt::LeftButton << Qt::KeyboardModifiers() << "dd" << "dn"
        << QStringList{"MouseMove 0 0 45 60 dn", "MouseDown 1 0 150 150 dn", "MouseMove 1 0 0 300 dd",
                       "MouseUp 1 0 0 300 dd", "Click dn"};
    QTest::newRow("close, right with shift")
        << "1" << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << "xd" << "xn"
        << QStringList{"MouseMove 0 0 45 60 xn", "MouseDown 2 1 150 150 xn", "MouseMove 2 0 0 300 xd",
                       "MouseUp 2 1 0 300 xd"};
    QTest::newRow("restore, middle with ctrl and alt")
        << "2" << Qt::MiddleButton << (Qt::ControlModifier | Qt::AltModifier) << "nd" << "nn"
        << QStringList{"MouseMove 0 0 45 60 nn", "MouseDown 4 6 150 150 nn", "MouseMove 4 0 0 300 nd",
                       "MouseUp 4 6 0 300 nd"};
}

void TestXPTopButtons::pressAndRelease()
{
    QFETCH(QString, value);
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, whilePressed);
    QFETCH(QString, atRest);
    QFETCH(QStringList, events);

    XPTopButtons control;
    control.setValue(value);
    QStringList seen;
    record(control, seen);
    QSignalSpy clicks(&control, &XPTopButtons::Click);

    moveMouse(control, QPoint(3, 4), Qt::NoButton);
    QCOMPARE(shownPicture(control), atRest);
    QTest::mousePress(&control, button, modifiers, QPoint(10, 10));
    QCOMPARE(shownPicture(control), whilePressed);
    moveMouse(control, QPoint(0, 20), button);
    QCOMPARE(shownPicture(control), whilePressed);
    QTest::mouseRelease(&control, button, modifiers, QPoint(0, 20));
    QCOMPARE(shownPicture(control), atRest);
    QCOMPARE(seen, events);
    QCOMPARE(clicks.size(), int(events.last().startsWith("Click")));
}

void TestXPTopButtons::invalidValue_data()
{
    QTest::addColumn<QString>("value");

    QTest::newRow("5") << "5";
    QTest::newRow("empty") << "";
    QTest::newRow("leading space") << " 1";
    QTest::newRow("leading zero") << "01";
    QTest::newRow("word") << "close";
}

void TestXPTopButtons::invalidValue()
{
    QFETCH(QString, value);

    XPTopButtons button;
    button.setValue(QStringLiteral("4"));
    QSignalSpy changed(&button, &XPTopButtons::PropertyChanged);
    dialogs_.expectMessage(InvalidValueBox, Dialogs::Answer::Ok);

    button.setValue(value);
    QCOMPARE(dialogs_.shown().size(), 1);
    QCOMPARE(button.Value(), QStringLiteral("1"));
    QCOMPARE(shownPicture(button), QStringLiteral("xn"));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("Value"));
}

void TestXPTopButtons::enabled_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("disabledPicture");
    QTest::addColumn<QString>("enabledPicture");

    QTest::newRow("close") << "1" << "xe" << "xn";
    QTest::newRow("maximise") << "3" << "men" << "mn";
    QTest::newRow("minimise") << "4" << "de" << "dn";
}

void TestXPTopButtons::enabled()
{
    QFETCH(QString, value);
    QFETCH(QString, disabledPicture);
    QFETCH(QString, enabledPicture);

    XPTopButtons button;
    button.setValue(value);
    QSignalSpy changed(&button, &XPTopButtons::PropertyChanged);
    QStringList seen;
    record(button, seen);

    button.setEnabled(false);
    QVERIFY(!button.Enabled());
    QCOMPARE(shownPicture(button), disabledPicture);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not accepted"));
    QTest::mousePress(&button, Qt::LeftButton);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not accepted"));
    QTest::mouseRelease(&button, Qt::LeftButton);
    QVERIFY(seen.isEmpty());
    QCOMPARE(shownPicture(button), disabledPicture);

    button.setEnabled(true);
    QVERIFY(button.Enabled());
    QCOMPARE(shownPicture(button), enabledPicture);
    QCOMPARE(changed.size(), 2);
    QCOMPARE(changed.at(1).at(0).toString(), QStringLiteral("Enabled"));
}

void TestXPTopButtons::disabledWhilePressed()
{
    XPTopButtons button;
    connect(&button, &XPTopButtons::MouseDown, &button, [&button] { button.setEnabled(false); });
    QTest::mousePress(&button, Qt::LeftButton);
    QCOMPARE(shownPicture(button), QStringLiteral("xe"));
}

void TestXPTopButtons::fixedSize_data()
{
    QTest::addColumn<QRectF>("asked");

    QTest::newRow("wide") << QRectF(5160, 120, 600, 200);
    QTest::newRow("small") << QRectF(5520, 120, 90, 90);
    QTest::newRow("own size") << QRectF(0, 0, 315, 315);
}

void TestXPTopButtons::fixedSize()
{
    QFETCH(QRectF, asked);

    QWidget host;
    XPTopButtons button(&host);
    button.setTwipsGeometry(float(asked.left()), float(asked.top()), float(asked.width()), float(asked.height()));
    QCOMPARE(button.twipsWidth(), 315.f);
    QCOMPARE(button.twipsHeight(), 315.f);
    QCOMPARE(QPointF(button.pos()) * 15, asked.topLeft());
    button.setTwipsSize(1000, 1000);
    QCOMPARE(button.twipsWidth(), 315.f);
    QCOMPARE(button.twipsHeight(), 315.f);
}

QTEST_MAIN(TestXPTopButtons)
#include "tst_xptopbuttons.moc"
