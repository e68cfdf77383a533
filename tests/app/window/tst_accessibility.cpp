#include "accessibility/accessible_announcer.h"
#include "form_harness.h"
#include "progress_bar/xp_progress_bar.h"
#include "push_button/xp_button.h"
#include "shadow_label/xp_shadow.h"
#include "top_buttons/xp_top_buttons.h"
#include "widgets/word_list_box.h"
#include "widgets/word_list_box_accessible.h"
#include "window/accessibility.h"
#include "window_canvas/xp_canvas2.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtTest>

namespace {

struct Announced {
    QAccessible::Event type;
    QObject* object;
    int child;
    QVariant value;
};

QList<Announced> announced;

void recordEvent(QAccessibleEvent* event)
{
    QVariant value;
    if (event->type() == QAccessible::ValueChanged)
        value = static_cast<QAccessibleValueChangeEvent*>(event)->value();
    announced.append({event->type(), event->object(), event->child(), value});
}

qsizetype countAnnounced(QObject* object, QAccessible::Event type)
{
    return std::count_if(announced.cbegin(), announced.cend(),
                         [&](const Announced& a) { return a.object == object && a.type == type; });
}

QAccessibleInterface* iface(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

// Every interface reachable from `root`, by the object it stands for; rows of lists are
// walked separately.
void walk(QAccessibleInterface* root, QHash<QObject*, QAccessibleInterface*>& found)
{
    if (root->object())
        found.insert(root->object(), root);
    if (root->role() == QAccessible::List)
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

// A shown, active window holding a list box, so it can take the focus.
struct ListWindow {
    WordArray words;
    QWidget window;
    WordListBox* list = new WordListBox;
    QLineEdit* other = new QLineEdit;

    ListWindow(int rows)
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(list);
        layout->addWidget(other);
        list->setFixedSize(190, 150);
        list->showRowsOf(words, 0);
        for (int i = 0; i < rows; ++i) {
            words.append(QStringLiteral("слово %1").arg(i));
            list->appendRow();
        }
    }
    bool activate()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
};

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
    void listRowsAreMadeOnDemand();
    void listAnnouncesSelectionAndFocus();
    void listKeys_data();
    void listKeys();
    void listShowsWhereTheFocusIs();
    void hugeEntryPaintsAsItsStart_data();
    void hugeEntryPaintsAsItsStart();
    void buttonFocusFrameInTheWindow_data();
    void buttonFocusFrameInTheWindow();

private:
    std::unique_ptr<FormHarness> h;
};

void TestAccessibility::initTestCase()
{
    Accessibility::install();
    AccessibleAnnouncer::setSink(recordEvent);
}

void TestAccessibility::init()
{
    AccessibleAnnouncer::setSink(recordEvent);
    announced.clear();
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
        {"l", QAccessible::List, "Словарь:", false},
        {"r", QAccessible::List, "Подходящие слова:", false},
        {"XPLine1", QAccessible::Separator, "", false},
        {"command2", QAccessible::Button, "Импорт слов", true},
        {"command1", QAccessible::Button, "Начать поиск", true},
        {"bsave", QAccessible::Button, "Сохранить", true},
        {"xb", QAccessible::ProgressBar, "", false},
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
    QCOMPARE(clicks.size(), 1);
    button.setEnabled(false);
    QVERIFY(node->state().disabled);
    node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicks.size(), 1);
}

void TestAccessibility::pressActionActsAsSpace_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::newRow("enabled") << true;
    QTest::newRow("disabled") << false;
}

void TestAccessibility::pressActionActsAsSpace()
{
    QFETCH(bool, enabled);
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
    const QList<qsizetype> both{clicks.size(), downs, presses, ups};
    QCOMPARE(both, (QList<qsizetype>{byKey[0] * 2, byKey[1] * 2, byKey[2] * 2, byKey[3] * 2}));
    QCOMPARE(clicks.size(), enabled ? 2 : 0);
    QCOMPARE(pressedDuringClick, (enabled ? QList<bool>{false, false} : QList<bool>{}));
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
    QCOMPARE(nodes.value(f.l)->childCount(), 5);
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
    QCOMPARE(rowNames(nodes.value(f.r)), (QStringList{"кот", "ток", "кто"}));
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
    announced.clear();
    const int changes = 2000;
    f.xb->setMax(QString::number(changes));
    for (int i = 1; i <= changes; ++i) {
        f.l1->setCaption(QString::number(i));
        f.xb->setValue(QString::number(i));
    }
    // The first change goes out at once; the rest wait for the interval.
    QVERIFY(countAnnounced(f.l1, QAccessible::NameChanged) >= 1);
    QVERIFY(countAnnounced(f.l1, QAccessible::NameChanged) < changes / 10);
    QVERIFY(countAnnounced(f.xb, QAccessible::ValueChanged) < changes / 10);
    // The last state is always told.
    QTRY_VERIFY(std::any_of(announced.cbegin(), announced.cend(), [&](const Announced& a) {
        return a.object == f.xb && a.type == QAccessible::ValueChanged && a.value.toDouble() == changes;
    }));
    QTRY_COMPARE(count->text(QAccessible::Name), QString::number(changes));
    const qsizetype names = countAnnounced(f.l1, QAccessible::NameChanged);
    QTest::qWait(2 * AccessibleAnnouncer::IntervalMs);
    QCOMPARE(countAnnounced(f.l1, QAccessible::NameChanged), names);

    // Only a control a reader has asked about announces its changes.
    QVERIFY(iface(f.command1));
    QTest::qWait(AccessibleAnnouncer::IntervalMs);
    announced.clear();
    f.command1->setEnabled(false);
    QCOMPARE(countAnnounced(f.command1, QAccessible::StateChanged), 1);
    QVERIFY(iface(f.command1)->state().disabled);
}

void TestAccessibility::nothingIsAnnouncedWithoutListeners()
{
    AccessibleAnnouncer::setSink(nullptr);
    FrmMain& f = h->form();
    h->importWords({"кот", "ток"});
    f.l1->setCaption(QStringLiteral("7"));
    f.l->setCurrentRow(1);
    QCoreApplication::processEvents();
    QVERIFY(announced.isEmpty());
    // Not even the machinery is made.
    QVERIFY(!f.l->findChild<AccessibleAnnouncer*>());
}

void TestAccessibility::listRowsAreMadeOnDemand()
{
    WordArray words;
    WordListBox list;
    list.showRowsOf(words, 0);
    const int rows = 200000;
    for (int i = 0; i < rows; ++i) {
        words.append(QString::number(i));
        list.appendRow();
    }
    auto* node = dynamic_cast<WordListBoxAccessible*>(iface(&list));
    QVERIFY(node);
    QCOMPARE(node->childCount(), rows);
    for (int i = 0; i < rows; i += 97) {
        QAccessibleInterface* row = node->child(i);
        QCOMPARE(row->text(QAccessible::Name), QString::number(i));
        QCOMPARE(node->indexOfChild(row), i);
        QCOMPARE(row->parent(), static_cast<QAccessibleInterface*>(node));
        QVERIFY(node->keptRows() <= WordListBoxAccessible::KeptRows);
    }
    QVERIFY(!node->child(rows));
    QVERIFY(!node->child(-1));
    // A row asked for again is the same one while it is kept.
    QCOMPARE(node->child(rows - 1), node->child(rows - 1));

    list.setCurrentRow(5);
    QVERIFY(node->child(5)->state().selected);
    QVERIFY(!node->child(6)->state().selected);
    node->child(9)->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    QCOMPARE(list.currentRow(), 9);

    QAccessibleInterface* row = node->child(3);
    list.clear();
    QVERIFY(!row->isValid());
    QCOMPARE(node->childCount(), 0);
}

void TestAccessibility::listAnnouncesSelectionAndFocus()
{
    ListWindow w(50);
    QVERIFY(w.activate());
    QAccessibleInterface* node = iface(w.list);
    w.other->setFocus();
    announced.clear();
    w.list->setCurrentRow(3);
    QCOMPARE(countAnnounced(w.list, QAccessible::Selection), 1);
    QCOMPARE(announced.last().child, 3);
    QCOMPARE(countAnnounced(w.list, QAccessible::Focus), 0);

    w.list->setFocus(Qt::TabFocusReason);
    announced.clear();
    QTest::keyClick(w.list, Qt::Key_Down);
    QCOMPARE(countAnnounced(w.list, QAccessible::Focus), 1);
    QCOMPARE(announced.last().child, 4);
    QCOMPARE(node->focusChild(), node->child(4));
    QVERIFY(node->child(4)->state().focused);
}

void TestAccessibility::listKeys_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("pages"); // the expected row is pages * rows shown + plus
    QTest::addColumn<int>("plus");
    QTest::newRow("down from no row") << -1 << int(Qt::Key_Down) << 0 << 0;
    QTest::newRow("down") << 5 << int(Qt::Key_Down) << 0 << 6;
    QTest::newRow("down at the end") << 99 << int(Qt::Key_Down) << 0 << 99;
    QTest::newRow("up") << 5 << int(Qt::Key_Up) << 0 << 4;
    QTest::newRow("up at the top") << 0 << int(Qt::Key_Up) << 0 << 0;
    QTest::newRow("home") << 50 << int(Qt::Key_Home) << 0 << 0;
    QTest::newRow("end") << 5 << int(Qt::Key_End) << 0 << 99;
    QTest::newRow("page down") << 0 << int(Qt::Key_PageDown) << 1 << 0;
    QTest::newRow("page down near the end") << 97 << int(Qt::Key_PageDown) << 0 << 99;
    QTest::newRow("page up") << 50 << int(Qt::Key_PageUp) << -1 << 50;
    QTest::newRow("page up near the top") << 2 << int(Qt::Key_PageUp) << 0 << 0;
}

void TestAccessibility::listKeys()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, pages);
    QFETCH(int, plus);
    ListWindow w(100);
    QVERIFY(w.activate());
    QCoreApplication::processEvents();
    w.list->setFocus(Qt::TabFocusReason);
    w.list->setCurrentRow(start);
    const int shown = w.list->viewport()->height() / w.list->fontMetrics().height();
    QVERIFY(shown > 1 && shown < 40);
    QTest::keyClick(w.list, Qt::Key(key));
    QCOMPARE(w.list->currentRow(), pages * shown + plus);
    // The current row is always scrolled into view.
    QVERIFY(!w.list->rowRect(w.list->currentRow()).isEmpty());
}

void TestAccessibility::listShowsWhereTheFocusIs()
{
    ListWindow w(20);
    QVERIFY(w.activate());
    QCoreApplication::processEvents();
    for (const qsizetype current : {qsizetype(-1), qsizetype(2)}) {
        w.list->setCurrentRow(current);
        w.other->setFocus();
        const QImage unfocused = w.list->viewport()->grab().toImage();
        w.list->setFocus(Qt::TabFocusReason);
        const QImage focused = w.list->viewport()->grab().toImage();
        QVERIFY2(unfocused != focused, qPrintable(QStringLiteral("row %1").arg(current)));
        // Only the current row (or the first, with none current) changes.
        const QRect row = w.list->rowRect(std::max<qsizetype>(0, current));
        for (int y = 0; y < focused.height(); y += 1) {
            if (y >= row.top() && y <= row.bottom())
                continue;
            for (int x = 0; x < focused.width(); ++x)
                QCOMPARE(focused.pixel(x, y), unfocused.pixel(x, y));
        }
    }
}

void TestAccessibility::hugeEntryPaintsAsItsStart_data()
{
    QTest::addColumn<int>("prefix");
    QTest::addColumn<bool>("current");
    // All of these are far wider than the row.
    for (int prefix : {120, int(WordListBox::ShownLength), int(WordListBox::ShownLength) + 1, 5000}) {
        QTest::addRow("%d characters", prefix) << prefix << false;
        QTest::addRow("%d characters, current", prefix) << prefix << true;
    }
}

void TestAccessibility::hugeEntryPaintsAsItsStart()
{
    QFETCH(int, prefix);
    QFETCH(bool, current);
    QString huge;
    while (huge.size() < 3'000'000)
        huge += QStringLiteral("длинная строка без конца ");
    WordArray entries[2];
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    WordListBox* lists[2] = {new WordListBox, new WordListBox};
    for (int k = 0; k < 2; ++k) {
        lists[k]->setFixedSize(190, 60);
        lists[k]->setFocusPolicy(Qt::NoFocus); // the same look for both
        layout->addWidget(lists[k]);
        lists[k]->showRowsOf(entries[k], 0);
    }
    entries[0].append(huge);
    entries[1].append(huge.left(prefix));
    for (WordListBox* list : lists)
        list->appendRow();
    window.show();
    QCoreApplication::processEvents();
    for (WordListBox* list : lists)
        list->setCurrentRow(current ? 0 : -1);
    QCOMPARE(lists[0]->viewport()->grab().toImage(), lists[1]->viewport()->grab().toImage());
    // What a row keeps of an entry overfills it even in the narrowest letters.
    for (const char narrow : {'i', '.', 'l'}) {
        const QString shown = WordListBox::shownText(QString(100000, QLatin1Char(narrow)));
        QVERIFY(lists[0]->fontMetrics().horizontalAdvance(shown) > 2 * lists[0]->viewport()->width());
    }

    const QString name = iface(lists[0])->child(0)->text(QAccessible::Name);
    QVERIFY(name.size() <= WordListBox::ShownLength + 1);
    QVERIFY(huge.startsWith(name.chopped(1)));
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
