#pragma once

#include "operation_button.h"
#include "operation_context.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class WordListBox;
class XPShadow;

// "Начать поиск": tests every dictionary word against the typed letters and lists the
// words found in `r` and the word store.
class WordSearch {
public:
    struct Controls {
        XPButton& command1;
        XPButton& command2;
        XPButton& bsave;
        QLineEdit& t1;    // the letters
        QGroupBox& f1;    // the mode's frame
        QRadioButton& o1; // "Точно"
        QCheckBox& c1;
        WordListBox& l;
        WordListBox& r;
        XPShadow& l2; // the examined-word count
    };
    WordSearch(const OperationContext& context, const Controls& controls);
    void click();

private:
    void run();
    void ranOutOfMemory();

    OperationContext context_;
    Controls controls_;
    OperationButton button_;
};
