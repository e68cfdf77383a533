#include "accessibility/accessible_announcer.h"
#include "announcement_log.h"
#include "form_harness.h"
#include "progress_bar/xp_progress_bar.h"
#include "push_button/xp_button.h"
#include "shadow_label/xp_shadow.h"
#include "top_buttons/xp_top_buttons.h"
#include "widgets/word_list_box.h"
#include "window/accessibility.h"
#include "window_canvas/xp_canvas2.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

namespace {

QAccessibleInterface* iface(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

// Every interface reachable from `root`, by the object it stands for; rows of list boxes
// are walked separately.
void walk(QAccessibleInterface* root, QHash<QObject*, QAccessibleInterface*>& found)
{
    if (root->object())
        found.insert(root->object(), root);
    if (root->role() == QAccessible::Table)
        return;
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        QVERIFY(child);
        QCOMPARE(root->indexOfChild(child), i);
        walk(child, found);
    }
}

bool hasRelation(QAccessibleInterface* from, QAccessibleInterface* to, QAccessible::Relation relation)
{
    const auto relations = from->relations(relation);
    return std::any_of(relations.cbegin(), relations.cend(),
                       [&](const auto& r) { return r.first == to && r.second == relation; });
}

QStringList rowNames(QAccessibleInterface* list)
{
    QStringList names;
    for (int i = 0; i < list->childCount(); ++i)
        names << list->child(i)->text(QAccessible::Name);
    return names;
}


} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowTree_data();
    void windowTree();
    void labelRelations_data();
    void labelRelations();
    void progressBarValue_data();
    void progressBarValue();
    void topButtonNames_data();
    void topButtonNames();
    void pressActionActsAsSpace_data();
    void pressActionActsAsSpace();
    void searchThroughAccessibilityOnly();
    void changesAreAnnouncedCoalesced();
    void nothingIsAnnouncedWithoutListeners();
    void buttonFocusFrameInTheWindow_data();
    void buttonFocusFrameInTheWindow();

private:
    std::unique_ptr<FormHarness> h;
};

void TestAccessibility::initTestCase() { Accessibility::install(); }

void TestAccessibility::init()
{
    AnnouncementLog::start();
    h = std::make_unique<FormHarness>();
}

void TestAccessibility::cleanup() { closeHarness(h); }

void TestAccessibility::windowTree_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("pressable");

    const QList<std::tuple<const char*, QAccessible::Role, const char*, bool>> rows{
        {"canvas", QAccessible::Pane, "Quorvane", false},
        {"XPTopButtons1", QAccessible::Button, "Закрыть", true},
        {"XPTopButtons2", QAccessible::Button, "Свернуть", true},
        {"XPShadow1", QAccessible::StaticText, "Буквы в слове:", false},
        {"XPShadow2", QAccessible::StaticText, "Словарь:", false},
        {"XPShadow3", QAccessible::StaticText, "Подходящие слова:", false},
        {"XPShadow4", QAccessible::StaticText, "Импортировано:", false},
        {"XPShadow5", QAccessible::StaticText, "Обработано:", false},
        {"l1", QAccessible::StaticText, "0", false},
        {"l2", QAccessible::StaticText, "0", false},
        {"t1", QAccessible::EditableText, "Буквы в слове:", false},
        {"o1", QAccessible::RadioButton, "Точно", false},
        {"o2", QAccessible::RadioButton, "Можно составить", false},
        {"l", QAccessible::Table, "Словарь:", false},
        {"r", QAccessible::Table, "Подходящие слова:", false},
        {"XPLine1", QAccessible::Separator, "", false},
        {"command2", QAccessible::Button, "Импорт слов", true},
        {"command1", QAccessible::Button, "Начать поиск", true},
        {"bsave", QAccessible::Button, "Сохранить", true},
        {"xb", QAccessible::ProgressBar, "Ход выполнения", false},
    };
    for (const auto& [name, role, text, pressable] : rows)
        QTest::newRow(name) << QString::fromUtf8(name) << int(role) << QString::fromUtf8(text) << pressable;
}

void TestAccessibility::windowTree()
{
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QString, text);
    QFETCH(bool, pressable);

    FrmMain& f = h->form();
    QHash<QObject*, QAccessibleInterface*> found;
    walk(iface(&f), found);
    QWidget* control = f.findChild<QWidget*>(name);
    QVERIFY(control);
    QAccessibleInterface* node = found.value(control);
    QVERIFY2(node, "not reachable from the window");
    QCOMPARE(int(node->role()), role);
    QCOMPARE(node->text(QAccessible::Name), text);
    QVERIFY(!node->state().disabled);
    QAccessibleActionInterface* actions = node->actionInterface();
    QCOMPARE(actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction()), pressable);
}

void TestAccessibility::labelRelations_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("fieldNamesLabel");
    // Qt's own line edit knows only QLabel buddies; it carries its label's name instead.
    QTest::newRow("letters") << "XPShadow1" << "t1" << false;
    QTest::newRow("dictionary") << "XPShadow2" << "l" << true;
    QTest::newRow("found words") << "XPShadow3" << "r" << true;
    QTest::newRow("imported count") << "XPShadow4" << "l1" << true;
    QTest::newRow("processed count") << "XPShadow5" << "l2" << true;
}

void TestAccessibility::labelRelations()
{
    QFETCH(QString, label);
    QFETCH(QString, field);
    QFETCH(bool, fieldNamesLabel);
    FrmMain& f = h->form();
    QAccessibleInterface* labelNode = iface(f.findChild<QWidget*>(label));
    QAccessibleInterface* fieldNode = iface(f.findChild<QWidget*>(field));
    QVERIFY(labelNode && fieldNode);
    QVERIFY(hasRelation(labelNode, fieldNode, QAccessible::Labelled));
    QCOMPARE(hasRelation(fieldNode, labelNode, QAccessible::Label), fieldNamesLabel);
    QCOMPARE(labelNode->relations(QAccessible::Labelled).size(), 1);
    QVERIFY(!hasRelation(labelNode, fieldNode, QAccessible::Label));
}

void TestAccessibility::progressBarValue_data()
{
    QTest::addColumn<QString>("max");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("captionShown");
    QTest::addColumn<double>("expectedMax");
    QTest::addColumn<double>("expectedValue");
    QTest::addColumn<QString>("description");
    const QString caption = QStringLiteral("Поиск слов. Завершено 14%");
    QTest::newRow("running") << "250" << "37" << true << 250.0 << 37.0 << caption;
    QTest::newRow("reset: the caption is hidden") << "250" << "0" << false << 250.0 << 0.0 << "";
    QTest::newRow("texts that are no numbers") << "много" << "x" << true << 0.0 << 0.0 << caption;
}

void TestAccessibility::progressBarValue()
{
    QFETCH(QString, max);
    QFETCH(QString, value);
    QFETCH(bool, captionShown);
    QFETCH(double, expectedMax);
    QFETCH(double, expectedValue);
    QFETCH(QString, description);
    XPProgressBar& bar = *h->form().xb;
    bar.setCaption(QStringLiteral("Поиск слов. Завершено 14%"));
    bar.setCaptionShow(captionShown);
    bar.setMax(max);
    bar.setValue(value);
    QAccessibleInterface* node = iface(&bar);
    QAccessibleValueInterface* values = node->valueInterface();
    QVERIFY(values);
    QCOMPARE(values->minimumValue().toDouble(), 0.0);
    QCOMPARE(values->maximumValue().toDouble(), expectedMax);
    QCOMPARE(values->currentValue().toDouble(), expectedValue);
    QCOMPARE(node->text(QAccessible::Description), description);
    values->setCurrentValue(5);
    QCOMPARE(bar.Value(), value);
}

void TestAccessibility::topButtonNames_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("name");
    QTest::newRow("close") << "1" << "Закрыть";
    QTest::newRow("restore") << "2" << "Восстановить";
    QTest::newRow("maximise") << "3" << "Развернуть";
    QTest::newRow("minimise") << "4" << "Свернуть";
}

void TestAccessibility::topButtonNames()
{
    QFETCH(QString, value);
    QFETCH(QString, name);
    XPTopButtons button;
    button.setValue(value);
    QAccessibleInterface* node = iface(&button);
    QCOMPARE(node->text(QAccessible::Name), name);
    QSignalSpy clicks(&button, &XPTopButtons::Click);
    node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(clicks.size(), 1);
    button.setEnabled(false);
    QVERIFY(node->state().disabled);
    node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    QCOMPARE(clicks.size(), 1);
}

void TestAccessibility::pressActionActsAsSpace_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("enabledWhenRun");
    QTest::addColumn<int>("expectedClicks");
    QTest::newRow("enabled") << true << true << 2;
    QTest::newRow("disabled") << false << false << 0;
    QTest::newRow("disabled before the press runs") << true << false << 1;
}

void TestAccessibility::pressActionActsAsSpace()
{
    QFETCH(bool, enabled);
    QFETCH(bool, enabledWhenRun);
    QFETCH(int, expectedClicks);
    QWidget parent;
    auto* button = new XPButton(&parent);
    button->setEnabled(enabled);
    int parentKeys = 0;
    struct KeyCounter : QObject {
        int& keys;
        explicit KeyCounter(int& k) : keys(k) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease)
                ++keys;
            return false;
        }
    } counter(parentKeys);
    parent.installEventFilter(&counter);

    // The key events pass their arguments by reference, which QSignalSpy cannot hold.
    qsizetype downs = 0, presses = 0, ups = 0;
    QSignalSpy clicks(button, &XPButton::Click);
    connect(button, &XPButton::KeyDown, button, [&](short&, short&) { ++downs; });
    connect(button, &XPButton::KeyPress, button, [&](short&) { ++presses; });
    connect(button, &XPButton::KeyUp, button, [&](short&, short&) { ++ups; });
    QList<bool> pressedDuringClick;
    QAccessibleInterface* node = iface(button);
    connect(button, &XPButton::Click, button, [&] { pressedDuringClick << node->state().pressed; });

    QTest::keyClick(button, Qt::Key_Space);
    const QList<qsizetype> byKey{clicks.size(), downs, presses, ups};
    node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // The action returns first: a press may open a modal dialog.
    QCOMPARE((QList<qsizetype>{clicks.size(), downs, presses, ups}), byKey);
    button->setEnabled(enabledWhenRun);
    QCoreApplication::processEvents();
    const qsizetype times = enabledWhenRun ? 2 : 1;
    const QList<qsizetype> both{clicks.size(), downs, presses, ups};
    QCOMPARE(both, (QList<qsizetype>{byKey[0] * times, byKey[1] * times, byKey[2] * times, byKey[3] * times}));
    QCOMPARE(clicks.size(), expectedClicks);
    QCOMPARE(pressedDuringClick, QList<bool>(expectedClicks, false));
    QVERIFY(!node->state().pressed);
    // A press on a disabled button must not travel on to the window behind it.
    QCOMPARE(parentKeys, enabled ? 0 : 2);
}

void TestAccessibility::searchThroughAccessibilityOnly()
{
    FrmMain& f = h->form();
    const QString file = h->writeWords({"окно", "кот", "ток", "кит", "кто"}, QStringLiteral("dictionary.txt"));
    h->dialogs.expectOpen(file);
    h->dialogs.expectMessage(h->importDone(5), Dialogs::Answer::Ok);
    QHash<QObject*, QAccessibleInterface*> nodes;
    walk(iface(&f), nodes);
    const auto press = [&](QObject* control, const QString& action) {
        QAccessibleActionInterface* actions = nodes.value(control)->actionInterface();
        QVERIFY(actions && actions->actionNames().contains(action));
        actions->doAction(action);
    };
    press(f.command2, QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(nodes.value(f.l)->childCount(), 5);
    QCOMPARE(nodes.value(f.l1)->text(QAccessible::Name), QStringLiteral("5"));

    QAccessibleEditableTextInterface* letters = nodes.value(f.t1)->editableTextInterface();
    QVERIFY(letters);
    letters->insertText(0, QStringLiteral("кот"));
    // Over to the other match mode and back, by the options' own actions.
    for (QRadioButton* choice : {f.o2, f.o1}) {
        QAccessibleActionInterface* option = nodes.value(choice)->actionInterface();
        QVERIFY(option);
        const QStringList optionActions = option->actionNames();
        option->doAction(optionActions.contains(QAccessibleActionInterface::toggleAction())
                             ? QAccessibleActionInterface::toggleAction()
                             : QAccessibleActionInterface::pressAction());
        QVERIFY(nodes.value(choice)->state().checked);
    }

    h->dialogs.expectMessage(h->searchDone(3), Dialogs::Answer::Ok);
    press(f.command1, QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(rowNames(nodes.value(f.r)), (QStringList{"кот", "ток", "кто"}));
    QCOMPARE(nodes.value(f.l2)->text(QAccessible::Name), QStringLiteral("5"));
    QCOMPARE(nodes.value(f.command1)->text(QAccessible::Name), QStringLiteral("Начать поиск"));
}

void TestAccessibility::changesAreAnnouncedCoalesced()
{
    FrmMain& f = h->form();
    QAccessibleInterface* count = iface(f.l1);
    QAccessibleInterface* bar = iface(f.xb);
    QVERIFY(count && bar);
    QTest::qWait(AccessibleAnnouncer::IntervalMs); // let any earlier announcement age
    AnnouncementLog::clear();
    const int changes = 2000;
    f.xb->setMax(QString::number(changes));
    for (int i = 1; i <= changes; ++i) {
        f.l1->setCaption(QString::number(i));
        f.xb->setValue(QString::number(i));
    }
    // The first change goes out at once; the rest wait for the interval.
    QVERIFY(AnnouncementLog::count(f.l1, QAccessible::NameChanged) >= 1);
    QVERIFY(AnnouncementLog::count(f.l1, QAccessible::NameChanged) < changes / 10);
    QVERIFY(AnnouncementLog::count(f.xb, QAccessible::ValueChanged) < changes / 10);
    // The last state is always told.
    const QList<AnnouncementLog::Entry>& heard = AnnouncementLog::entries();
    QTRY_VERIFY(std::any_of(heard.cbegin(), heard.cend(), [&](const AnnouncementLog::Entry& a) {
        return a.object == f.xb && a.type == QAccessible::ValueChanged && a.value.toDouble() == changes;
    }));
    QTRY_COMPARE(count->text(QAccessible::Name), QString::number(changes));
    const qsizetype names = AnnouncementLog::count(f.l1, QAccessible::NameChanged);
    QTest::qWait(2 * AccessibleAnnouncer::IntervalMs);
    QCOMPARE(AnnouncementLog::count(f.l1, QAccessible::NameChanged), names);

    // Only a control a reader has asked about announces its changes.
    QVERIFY(iface(f.command1));
    QTest::qWait(AccessibleAnnouncer::IntervalMs);
    AnnouncementLog::clear();
    f.command1->setEnabled(false);
    QCOMPARE(AnnouncementLog::count(f.command1, QAccessible::StateChanged), 1);
    QVERIFY(iface(f.command1)->state().disabled);
}

void TestAccessibility::nothingIsAnnouncedWithoutListeners()
{
    AnnouncementLog::stop();
    FrmMain& f = h->form();
    h->importWords({"кот", "ток"});
    f.l1->setCaption(QStringLiteral("7"));
    f.l->setCurrentRow(1);
    QCoreApplication::processEvents();
    QVERIFY(AnnouncementLog::entries().isEmpty());
    // Not even the machinery is made.
    QVERIFY(!f.l->findChild<AccessibleAnnouncer*>());
}








void TestAccessibility::buttonFocusFrameInTheWindow_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("import") << "command2";
    QTest::newRow("search") << "command1";
    QTest::newRow("save") << "bsave";
}

void TestAccessibility::buttonFocusFrameInTheWindow()
{
    QFETCH(QString, name);
    FrmMain& f = h->form();
    f.show();
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    auto* button = f.findChild<XPButton*>(name);
    QVERIFY(button);
    button->setFocus(Qt::TabFocusReason);
    QVERIFY(button->hasFocus());
    QVERIFY(button->gf.isVisible());
    QVERIFY(iface(button)->state().focused);
    // The window's focus colour 0x0080C0FF, 25 twips in from the top left, one pixel in from the right.
    const QImage image = button->grab().toImage();
    QCOMPARE(image.pixelColor(2, 3), QColor(0xFF, 0xC0, 0x80));
    QCOMPARE(image.pixelColor(10, 2), QColor(0xFF, 0xC0, 0x80));
    QCOMPARE(image.pixelColor(button->width() - 2, 10), QColor(0xFF, 0xC0, 0x80));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
