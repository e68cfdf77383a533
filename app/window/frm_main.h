#pragma once

#include "operations/operation_context.h"
#include "widgets/common_dialog.h"

#include <QWidget>

#include <array>
#include <memory>

class DictionaryImport;
class FoundWordsSave;
class ProgressProtocol;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class WordListBox;
class XPButton;
class XPCanvas2;
class XPLine;
class XPProgressBar;
class XPShadow;
class XPTopButtons;
class WordSearch;

// The program's one window: a frameless window skinned by its canvas, holding the
// controls, the counters the three long operations share and the progress protocol,
// and handing each button's click to its operation.
class FrmMain : public QWidget {
    Q_OBJECT
public:
    explicit FrmMain(QWidget* parent = nullptr);
    ~FrmMain() override;

    // Controls, as the stored design names them.
    XPCanvas2* canvas = nullptr;
    XPTopButtons* XPTopButtons1 = nullptr;
    XPTopButtons* XPTopButtons2 = nullptr;
    XPShadow* XPShadow1 = nullptr;
    XPShadow* XPShadow2 = nullptr;
    XPShadow* XPShadow3 = nullptr;
    XPShadow* XPShadow4 = nullptr;
    XPShadow* XPShadow5 = nullptr;
    XPShadow* l1 = nullptr;
    XPShadow* l2 = nullptr;
    QLineEdit* t1 = nullptr;
    QGroupBox* f1 = nullptr;
    QRadioButton* o1 = nullptr;
    QRadioButton* o2 = nullptr;
    QCheckBox* c1 = nullptr;
    WordListBox* l = nullptr;
    WordListBox* r = nullptr;
    XPLine* XPLine1 = nullptr;
    XPButton* command2 = nullptr;
    XPButton* command1 = nullptr;
    XPButton* bsave = nullptr;
    XPProgressBar* xb = nullptr;
    std::array<QLineEdit*, 5> tp{};
    CommonDialog cd1;

    // Shared state of the operations.
    // (The search's letter count and matched count are the matcher's own working values.)
    qint64 WordCount = 0;
    qint64 FoundCount = 0;
    qint64 StepCounter = 0;
    bool CancelFlag = false;

    // Ends the program at once. A running operation leaves its loop at the next item,
    // closing its file, before the program ends.
    void endProgram();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void loadDesign();
    void load();
    OperationContext operationContext();

    std::unique_ptr<ProgressProtocol> progress_;
    std::unique_ptr<DictionaryImport> import_;
    std::unique_ptr<WordSearch> search_;
    std::unique_ptr<FoundWordsSave> save_;
    bool ending_ = false;
};
