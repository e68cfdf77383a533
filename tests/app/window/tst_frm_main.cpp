#include "form_harness.h"
#include "progress_bar/xp_progress_bar.h"
#include "push_button/xp_button.h"
#include "separator_line/xp_line.h"
#include "shadow_label/xp_shadow.h"
#include "skin/twips.h"
#include "top_buttons/xp_top_buttons.h"
#include "widgets/word_list_box.h"
#include "window_canvas/xp_canvas2.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void geometry_data();
    void geometry();
    void windowTakesTheCanvasSize();
    void scratchBoxesStayOutOfReach_data();
    void scratchBoxesStayOutOfReach();
    void frameFilledFlat();
    void initialSettings();
    void shadowLabelSettings_data();
    void shadowLabelSettings();
    void topButtons();
    void endingDuringAnImportStopsIt();

private:
    std::unique_ptr<FormHarness> h;
};

void TestFrmMain::init() { h = std::make_unique<FormHarness>(); }

void TestFrmMain::cleanup()
{
    closeHarness(h);
}

void TestFrmMain::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("twips");

    const QList<std::tuple<const char*, const char*, QRect>> rows{
        {"canvas", "FrmMain", {0, 0, 6135, 7455}},
        {"XPTopButtons2", "canvas", {5160, 120, 315, 315}},
        {"XPTopButtons1", "canvas", {5520, 120, 315, 315}},
        {"XPShadow1", "canvas", {120, 600, 4080, 240}},
        {"t1", "canvas", {120, 840, 3855, 285}},
        {"f1", "canvas", {4080, 525, 1935, 855}},
        {"o1", "f1", {120, 240, 975, 255}},
        {"o2", "f1", {120, 500, 1695, 255}},
        {"c1", "canvas", {2280, 1200, 1815, 195}},
        {"XPShadow2", "canvas", {1080, 1440, 870, 240}},
        {"XPShadow3", "canvas", {3600, 1440, 1815, 240}},
        {"l", "canvas", {120, 1680, 2895, 4350}},
        {"r", "canvas", {3120, 1680, 2895, 4350}},
        {"XPShadow4", "canvas", {120, 6120, 1530, 240}},
        {"l1", "canvas", {1680, 6120, 165, 240}},
        {"XPShadow5", "canvas", {3120, 6120, 1185, 240}},
        {"l2", "canvas", {4320, 6120, 165, 240}},
        {"XPLine1", "canvas", {120, 6360, 5895, 15}},
        {"command2", "canvas", {120, 6480, 1935, 495}},
        {"command1", "canvas", {2160, 6480, 1815, 495}},
        {"bsave", "canvas", {4080, 6480, 1935, 495}},
        {"xb", "canvas", {120, 7080, 5895, 255}},
        {"tp(0)", "FrmMain", {480, 9120, 855, 285}},
        {"tp(1)", "FrmMain", {1440, 8760, 855, 285}},
        {"tp(2)", "FrmMain", {1440, 9120, 855, 285}},
        {"tp(3)", "FrmMain", {2400, 8760, 855, 285}},
        {"tp(4)", "FrmMain", {3840, 8760, 855, 285}},
    };
    for (const auto& [name, parent, twips] : rows)
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent) << twips;
}

void TestFrmMain::geometry()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, twips);
    FrmMain& f = h->form();
    QWidget* control = f.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->parentWidget() == &f ? QStringLiteral("FrmMain") : control->parentWidget()->objectName(),
             parent);
    QCOMPARE(control->geometry(), Twips::toPixels(QRectF(twips)));
}

void TestFrmMain::windowTakesTheCanvasSize()
{
    FrmMain& f = h->form();
    QCOMPARE(f.size(), QSize(409, 497));
    QVERIFY(f.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(f.windowTitle(), QStringLiteral("Quorvane"));
    for (QLineEdit* scratch : f.tp)
        QVERIFY(scratch->geometry().top() >= f.height());
    QVERIFY(!f.CancelFlag);
}

void TestFrmMain::scratchBoxesStayOutOfReach_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("window resized") << "resize";
    QTest::newRow("Tab through the window") << "tab";
}

void TestFrmMain::scratchBoxesStayOutOfReach()
{
    QFETCH(QString, how);
    FrmMain& f = h->form();
    f.show();
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    if (how == "resize") {
        f.resize(700, 800);
        QCOMPARE(f.size(), QSize(409, 497));
        QCOMPARE(f.minimumSize(), f.maximumSize());
        return;
    }
    f.t1->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        for (QLineEdit* scratch : f.tp)
            QVERIFY(QApplication::focusWidget() != scratch);
    }
}

void TestFrmMain::frameFilledFlat()
{
    FrmMain& f = h->form();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QImage image = f.grab().toImage();
    const QColor option = image.pixelColor(f.o2->geometry().translated(f.f1->pos()).bottomRight() - QPoint(3, 3));
    QCOMPARE(option, QColor(0xE0, 0xE0, 0xE0));
    // Inside the frame, clear of its edge and of the option buttons.
    const QRect frame = f.f1->geometry();
    for (const QPoint at : {frame.topLeft() + QPoint(4, 4), frame.bottomRight() - QPoint(4, 4)})
        QCOMPARE(image.pixelColor(at), option);
}

void TestFrmMain::initialSettings()
{
    FrmMain& f = h->form();
    QCOMPARE(f.canvas->Caption(), QStringLiteral("Quorvane"));
    QCOMPARE(f.XPTopButtons1->Value(), QStringLiteral("1"));
    QCOMPARE(f.XPTopButtons2->Value(), QStringLiteral("4"));
    QCOMPARE(f.command2->Caption(), QStringLiteral("Импорт слов"));
    QCOMPARE(f.command1->Caption(), QStringLiteral("Начать поиск"));
    QCOMPARE(f.bsave->Caption(), QStringLiteral("Сохранить"));
    for (XPButton* button : {f.command1, f.command2, f.bsave}) {
        QCOMPARE(button->GetFocusColor(), OleColor(0x0080C0FF));
        QCOMPARE(button->Font().face, QStringLiteral("Times New Roman"));
        QCOMPARE(button->Font().size, 12.0f);
        QCOMPARE(button->Font().weight, 700);
    }
    QCOMPARE(f.xb->BackColor(), OleColor(0x00FFFFFF));
    QCOMPARE(f.xb->PBColor(), OleColor(0x0080FF80));
    QVERIFY(!f.xb->CaptionShow());
    QCOMPARE(f.XPLine1->BorderColor(), OleColor(0x00FF8080));
    QCOMPARE(f.t1->text(), QString());
    QVERIFY(f.o1->isChecked());
    QVERIFY(!f.o2->isChecked());
    QCOMPARE(f.o1->text(), QStringLiteral("Точно"));
    QCOMPARE(f.o2->text(), QStringLiteral("Можно составить"));
    QCOMPARE(f.o1->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(f.f1->title(), QString());
    QCOMPARE(f.c1->text(), QStringLiteral("С учётом регистра"));
    QVERIFY(f.c1->isHidden());
    QVERIFY(!f.c1->isChecked());
    QCOMPARE(f.l->count(), 0);
    QCOMPARE(f.r->count(), 0);
    QCOMPARE(f.cd1.Filter, QStringLiteral("Текстовые файлы|*.txt|Все файлы|*.*"));
}

void TestFrmMain::shadowLabelSettings_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("autoSize");
    QTest::addColumn<int>("alignment");
    QTest::newRow("XPShadow1") << "XPShadow1" << "Буквы в слове:" << false << 2;
    QTest::newRow("XPShadow2") << "XPShadow2" << "Словарь:" << true << 0;
    QTest::newRow("XPShadow3") << "XPShadow3" << "Подходящие слова:" << true << 0;
    QTest::newRow("XPShadow4") << "XPShadow4" << "Импортировано:" << true << 0;
    QTest::newRow("XPShadow5") << "XPShadow5" << "Обработано:" << true << 0;
    QTest::newRow("l1") << "l1" << "0" << true << 0;
    QTest::newRow("l2") << "l2" << "0" << true << 0;
}

void TestFrmMain::shadowLabelSettings()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, autoSize);
    QFETCH(int, alignment);
    auto* label = h->form().findChild<XPShadow*>(name);
    QVERIFY(label);
    QCOMPARE(label->Caption(), caption);
    QCOMPARE(label->AutoSize(), autoSize);
    QCOMPARE(int(label->Alignment()), alignment);
    QCOMPARE(int(label->Shadow_Alignment()), alignment);
    QCOMPARE(label->BackColor(), OleColor(0x00E0E0E0));
    for (const FontValue& font : {label->Font(), label->Shadow_Font()}) {
        QCOMPARE(font.face, QStringLiteral("MS Sans Serif"));
        QCOMPARE(font.size, 8.25f);
        QCOMPARE(font.weight, 700);
        QCOMPARE(font.charset, 204);
    }
}

void TestFrmMain::topButtons()
{
    FrmMain& f = h->form();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.XPTopButtons2->Click();
    QVERIFY(f.windowState() & Qt::WindowMinimized);
    QVERIFY(f.isVisible());
    f.XPTopButtons1->Click();
    QVERIFY(!f.isVisible());
}

void TestFrmMain::endingDuringAnImportStopsIt()
{
    FrmMain& f = h->form();
    h->dialogs.expectOpen(h->writeWords({"a", "b", "c", "d"}));
    h->pump.at(2, [&] { f.close(); });
    f.command2->Click();
    QCOMPARE(h->pump.passes(), 2);
    QCOMPARE(f.WordCount, 2);
    QCOMPARE(h->dialogs.shown().size(), 0); // no question, no completion message
}

// The lists show the word store's text; their own state is a row count.

QTEST_MAIN(TestFrmMain)
#include "tst_frm_main.moc"
