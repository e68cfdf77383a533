#include "frm_main.h"

#include "accessibility.h"
#include "form_loader.h"
#include "operations/dictionary_import.h"
#include "operations/found_words_save.h"
#include "operations/progress_protocol.h"
#include "operations/word_search.h"
#include "progress_bar/xp_progress_bar.h"
#include "push_button/xp_button.h"
#include "separator_line/xp_line.h"
#include "shadow_label/xp_shadow.h"
#include "top_buttons/xp_top_buttons.h"
#include "widgets/word_list_box.h"
#include "window_canvas/xp_canvas2.h"
#include "words/module1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QRadioButton>

FrmMain::FrmMain(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    loadDesign();
    progress_ = std::make_unique<ProgressProtocol>(*xb, StepCounter);
    import_ = std::make_unique<DictionaryImport>(
        operationContext(), DictionaryImport::Controls{*command2, *command1, *bsave, *l, *l1, cd1});
    search_ = std::make_unique<WordSearch>(
        operationContext(), WordSearch::Controls{*command1, *command2, *bsave, *t1, *f1, *o1, *c1, *l, *r, *l2});
    save_ = std::make_unique<FoundWordsSave>(
        operationContext(), FoundWordsSave::Controls{*bsave, *command1, *command2, *f1, *t1, *r, cd1});

    connect(command2, &XPButton::Click, this, [this] { import_->click(); });
    connect(command1, &XPButton::Click, this, [this] { search_->click(); });
    connect(bsave, &XPButton::Click, this, [this] { save_->click(); });
    connect(XPTopButtons1, &XPTopButtons::Click, this, &FrmMain::endProgram);
    connect(XPTopButtons2, &XPTopButtons::Click, this, &QWidget::showMinimized);
    load();
}

FrmMain::~FrmMain() = default;

void FrmMain::loadDesign()
{
    FormLoader design(QStringLiteral(":/design/frm_main.json"));
    setWindowTitle(design.caption());
    QIcon icon;
    for (const QFileInfo& size : QDir(QStringLiteral(":/icon/sizes")).entryInfoList())
        icon.addFile(size.filePath());
    setWindowIcon(icon);
    setFont(design.font().toQFont());
    design.load(this);

    canvas = design.control<XPCanvas2>(QStringLiteral("canvas"));
    XPTopButtons1 = design.control<XPTopButtons>(QStringLiteral("XPTopButtons1"));
    XPTopButtons2 = design.control<XPTopButtons>(QStringLiteral("XPTopButtons2"));
    XPShadow1 = design.control<XPShadow>(QStringLiteral("XPShadow1"));
    XPShadow2 = design.control<XPShadow>(QStringLiteral("XPShadow2"));
    XPShadow3 = design.control<XPShadow>(QStringLiteral("XPShadow3"));
    XPShadow4 = design.control<XPShadow>(QStringLiteral("XPShadow4"));
    XPShadow5 = design.control<XPShadow>(QStringLiteral("XPShadow5"));
    l1 = design.control<XPShadow>(QStringLiteral("l1"));
    l2 = design.control<XPShadow>(QStringLiteral("l2"));
    t1 = design.control<QLineEdit>(QStringLiteral("t1"));
    f1 = design.control<QGroupBox>(QStringLiteral("f1"));
    o1 = design.control<QRadioButton>(QStringLiteral("o1"));
    o2 = design.control<QRadioButton>(QStringLiteral("o2"));
    c1 = design.control<QCheckBox>(QStringLiteral("c1"));
    l = design.control<WordListBox>(QStringLiteral("l"));
    r = design.control<WordListBox>(QStringLiteral("r"));
    // Each list shows what the store holds: the dictionary from index 1, the found words
    // from 0. The store's text is the one copy.
    l->showRowsOf(Module1::DictionaryWords, 1);
    r->showRowsOf(Module1::FoundWords, 0);
    XPLine1 = design.control<XPLine>(QStringLiteral("XPLine1"));
    command2 = design.control<XPButton>(QStringLiteral("command2"));
    command1 = design.control<XPButton>(QStringLiteral("command1"));
    bsave = design.control<XPButton>(QStringLiteral("bsave"));
    xb = design.control<XPProgressBar>(QStringLiteral("xb"));
    for (int i = 0; i < int(tp.size()); ++i) {
        tp[i] = design.control<QLineEdit>(QStringLiteral("tp"), i);
        // Scratch buffers below the visible area: Tab must not wander into them.
        tp[i]->setFocusPolicy(Qt::NoFocus);
    }
    cd1.Filter = design.settings(QStringLiteral("cd1")).read(QStringLiteral("filter"), QString()).toString();
    const std::pair<XPShadow*, QWidget*> labels[] = {
        {XPShadow1, t1}, {XPShadow2, l}, {XPShadow3, r}, {XPShadow4, l1}, {XPShadow5, l2}};
    for (const auto& [label, field] : labels)
        Accessibility::linkLabel(label, field);
}

void FrmMain::load()
{
    // Outer height, then width, from the canvas.
    resize(width(), canvas->height());
    resize(canvas->width(), height());
    // Anything larger would uncover the scratch boxes beneath the canvas.
    setFixedSize(size());
    CancelFlag = false;
}

OperationContext FrmMain::operationContext() { return {WordCount, FoundCount, CancelFlag, ending_, *progress_}; }

void FrmMain::endProgram()
{
    ending_ = true;
    hide();
    QCoreApplication::quit();
}

void FrmMain::closeEvent(QCloseEvent* event)
{
    event->accept();
    endProgram();
}
