#pragma once

#include <QString>

// Modal message boxes and file dialogs, behind one interface so that the program's
// logic never calls exec() itself and tests can script every box.
class Dialogs {
public:
    enum class Icon { Information, Question, Error };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Dialogs() = default;

    virtual Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) = 0;
    // The chosen file name; empty when the user cancelled. Filters are "text|pattern|...".
    virtual QString openFileName(const QString& filter) = 0;
    virtual QString saveFileName(const QString& filter) = 0;

    // The dialogs in use; the program installs the Qt ones, tests their scripted ones.
    static Dialogs& current();
    static void install(Dialogs* dialogs);
};

// "Текстовые файлы|*.txt|Все файлы|*.*" in Qt's form "Текстовые файлы (*.txt);;Все файлы (*.*)".
QString toQtFileFilter(const QString& filter);
