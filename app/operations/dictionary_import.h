#pragma once

#include "operation_button.h"
#include "operation_context.h"

struct CommonDialog;
class WordListBox;
class XPShadow;

// "Импорт слов": reads a dictionary file into the word store and the list `l`.
class DictionaryImport {
public:
    struct Controls {
        XPButton& command2;
        XPButton& command1;
        XPButton& bsave;
        WordListBox& l;
        XPShadow& l1; // the imported-word count
        CommonDialog& cd1;
    };
    DictionaryImport(const OperationContext& context, const Controls& controls);
    void click();

private:
    void run();
    void ranOutOfMemory();

    OperationContext context_;
    Controls controls_;
    OperationButton button_;
};
