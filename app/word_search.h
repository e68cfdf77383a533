#pragma once

#include "operation_button.h"

class FrmMain;

// "Начать поиск": tests every dictionary word against the typed letters and lists the
// words found in `r` and the word store.
class WordSearch {
public:
    explicit WordSearch(FrmMain& form);
    void click();

private:
    // The two checks every click passes first; false when one refused.
    bool inputsReady();
    void run();

    FrmMain& form_;
    OperationButton button_;
};
