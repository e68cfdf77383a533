#pragma once

#include "operation_button.h"

class FrmMain;

// "Импорт слов": reads a dictionary file into the word store and the list `l`.
class DictionaryImport {
public:
    explicit DictionaryImport(FrmMain& form);
    void click();

private:
    void run();

    FrmMain& form_;
    OperationButton button_;
};
