#include "../words/word_array_contents.h"
#include "announcement_log.h"
#include "form_harness.h"
#include "widgets/word_list_box.h"
#include "widgets/word_list_box_accessible.h"
#include "window/accessibility.h"

#include <QAccessible>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

namespace {

QAccessibleInterface* iface(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

// A shown, active window holding a list box, so it can take the focus.
struct ListWindow {
    TextArray words;
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

class TestWordListBox : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void showsTheStoreItIsGiven();
    void rowsAreMadeOnDemand();
    void announcesSelectionAndFocus();
    void announcesRowsInFewEvents();
    void keys_data();
    void keys();
    void showsWhereTheFocusIs();
    void hugeEntryPaintsAsItsStart_data();
    void hugeEntryPaintsAsItsStart();
};

void TestWordListBox::initTestCase() { Accessibility::install(); }

void TestWordListBox::init() { AnnouncementLog::start(); }

void TestWordListBox::cleanupTestCase() { AnnouncementLog::stop(); }

void TestWordListBox::showsTheStoreItIsGiven()
{
    TextArray words;
    WordListBox list;
    list.showRowsOf(words, 1);
    words.resize(1);
    // A row appended before its owner writes the element reads as empty, never past the end.
    list.appendRow();
    QCOMPARE(list.item(0).toString(), QString());
    words.resize(2);
    words.set(1, QStringView(u"кот"));
    QCOMPARE(rowsOf(list), QStringList{QStringLiteral("кот")});
    // Emptying the list leaves the store alone, as a No to the cancel question must.
    list.clear();
    QCOMPARE(list.count(), qsizetype(0));
    QCOMPARE(list.item(0).toString(), QString());
    QCOMPARE(words.at(1), QStringLiteral("кот"));
}

void TestWordListBox::rowsAreMadeOnDemand()
{
    TextArray words;
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
    QAccessibleTableInterface* table = node->tableInterface();
    QCOMPARE(table->rowCount(), rows);
    QCOMPARE(table->cellAt(rows - 1, 0), node->child(rows - 1));
    QCOMPARE(table->cellAt(rows - 1, 0)->tableCellInterface()->rowIndex(), rows - 1);

    list.setCurrentRow(5);
    QCOMPARE(table->selectedRows(), QList<int>{5});
    QVERIFY(node->child(5)->state().selected);
    QVERIFY(!node->child(6)->state().selected);
    node->child(9)->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    QCOMPARE(list.currentRow(), 9);

    QAccessibleInterface* row = node->child(3);
    list.clear();
    QVERIFY(!row->isValid());
    QCOMPARE(node->childCount(), 0);
}

void TestWordListBox::announcesSelectionAndFocus()
{
    ListWindow w(50);
    QVERIFY(w.activate());
    QAccessibleInterface* node = iface(w.list);
    w.other->setFocus();
    AnnouncementLog::clear();
    w.list->setCurrentRow(3);
    QCOMPARE(AnnouncementLog::count(w.list, QAccessible::Selection), 1);
    QCOMPARE(AnnouncementLog::entries().last().child, 3);
    QCOMPARE(AnnouncementLog::count(w.list, QAccessible::Focus), 0);

    w.list->setFocus(Qt::TabFocusReason);
    AnnouncementLog::clear();
    QTest::keyClick(w.list, Qt::Key_Down);
    // The row left is told unselected, or readers keep it selected.
    QCOMPARE(AnnouncementLog::count(w.list, QAccessible::SelectionRemove), 1);
    QCOMPARE(AnnouncementLog::entries().first().child, 3);
    QCOMPARE(AnnouncementLog::count(w.list, QAccessible::Focus), 1);
    QCOMPARE(AnnouncementLog::entries().last().child, 4);
    QCOMPARE(node->focusChild(), node->child(4));
    QVERIFY(node->child(4)->state().focused);
}

void TestWordListBox::announcesRowsInFewEvents()
{
    TextArray words;
    WordListBox list;
    list.showRowsOf(words, 0);
    QVERIFY(iface(&list));
    const int batches = 3, rowsPerBatch = 20000;
    for (int batch = 0; batch < batches; ++batch) {
        for (int i = 0; i < rowsPerBatch; ++i) {
            words.append(QStringLiteral("слово"));
            list.appendRow();
        }
        QCoreApplication::processEvents();
    }
    // However many rows came, each announcement is one event, naming the newest row.
    const QList<AnnouncementLog::Entry>& heard = AnnouncementLog::entries();
    QTRY_VERIFY(!heard.isEmpty() && heard.last().child == batches * rowsPerBatch - 1);
    QVERIFY(AnnouncementLog::count(&list, QAccessible::ObjectCreated) <= batches);
    QCOMPARE(AnnouncementLog::count(&list, QAccessible::ObjectCreated), heard.size());

    AnnouncementLog::clear();
    list.clear();
    QCOMPARE(AnnouncementLog::count(&list, QAccessible::ObjectDestroyed), 1);
    QCOMPARE(heard.size(), 1);
    list.clear();
    QCOMPARE(heard.size(), 1);
}

void TestWordListBox::keys_data()
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

void TestWordListBox::keys()
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

void TestWordListBox::showsWhereTheFocusIs()
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

void TestWordListBox::hugeEntryPaintsAsItsStart_data()
{
    QTest::addColumn<int>("prefix");
    QTest::addColumn<bool>("current");
    // All of these are far wider than the row.
    for (int prefix : {120, int(WordListBox::ShownLength), int(WordListBox::ShownLength) + 1, 5000}) {
        QTest::addRow("%d characters", prefix) << prefix << false;
        QTest::addRow("%d characters, current", prefix) << prefix << true;
    }
}

void TestWordListBox::hugeEntryPaintsAsItsStart()
{
    QFETCH(int, prefix);
    QFETCH(bool, current);
    QString huge;
    while (huge.size() < 3'000'000)
        huge += QStringLiteral("длинная строка без конца ");
    TextArray entries[2];
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
        const QString shown(WordListBox::ShownLength, QLatin1Char(narrow));
        QVERIFY(lists[0]->fontMetrics().horizontalAdvance(shown) > 2 * lists[0]->viewport()->width());
    }

    const QString name = iface(lists[0])->child(0)->text(QAccessible::Name);
    QVERIFY(name.size() <= WordListBox::ShownLength + 1);
    QVERIFY(huge.startsWith(name.chopped(1)));
}

QTEST_MAIN(TestWordListBox)
#include "tst_word_list_box.moc"
