#pragma once

#include "operation_button.h"

class FrmMain;

// "Сохранить": writes the words of the last search to a text file, one per line.
class FoundWordsSave {
public:
    explicit FoundWordsSave(FrmMain& form);
    void click();

private:
    void run();

    FrmMain& form_;
    OperationButton button_;
};
