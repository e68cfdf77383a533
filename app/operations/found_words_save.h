#pragma once

#include "operation_button.h"
#include "operation_context.h"

struct CommonDialog;
class QWidget;
class WordListBox;

// "Сохранить": writes the words of the last search to a text file, one per line.
class FoundWordsSave {
public:
    struct Controls {
        XPButton& bsave;
        XPButton& command1;
        XPButton& command2;
        QWidget& f1;
        QWidget& t1;
        WordListBox& r;
        CommonDialog& cd1;
    };
    FoundWordsSave(const OperationContext& context, const Controls& controls);
    void click();

private:
    void run();
    void ranOutOfMemory();

    OperationContext context_;
    Controls controls_;
    OperationButton button_;
};
