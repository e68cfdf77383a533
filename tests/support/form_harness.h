#pragma once

#include "scripted_dialogs.h"
#include "scripted_event_pump.h"
#include "widgets/word_list_box.h"
#include "window/frm_main.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A fresh window with scripted dialogs and pump, an empty word store, and a
// temporary folder for word files.
class FormHarness {
public:
    FormHarness();
    ~FormHarness();

    FrmMain& form() { return *form_; }
    ScriptedDialogs dialogs;
    ScriptedEventPump pump;
    QTemporaryDir dir;

    // Writes lines, each ended by CR LF, in Windows-1251.
    QString writeWords(const QStringList& words, const QString& name = QStringLiteral("words.txt"));
    QString writeBytes(const QByteArray& bytes, const QString& name = QStringLiteral("words.txt"));
    QByteArray readBytes(const QString& path) const;

    // Imports the words through the open dialog, answering the completion message.
    void importWords(const QStringList& words);
    // Runs a search for the letters, answering its completion message.
    void search(const QString& letters, bool exact, qint64 expectedFound);

    // The boxes the operations show.
    static ScriptedDialogs::Box error(const QString& text);
    static ScriptedDialogs::Box done(const QString& text, const QString& title = QStringLiteral("Завершено"));
    static ScriptedDialogs::Box question(const QString& text, Dialogs::Buttons buttons);
    static ScriptedDialogs::Box importDone(qint64 words);
    static ScriptedDialogs::Box searchDone(qint64 found);
    static ScriptedDialogs::Box saveDone();
    static ScriptedDialogs::Box importQuestion();
    static ScriptedDialogs::Box searchQuestion();
    static ScriptedDialogs::Box saveQuestion();

private:
    std::unique_ptr<FrmMain> form_;
};

// Ends a test: the window goes first, so a failed check cannot leave it behind for the
// next test; then every box shown must have been expected, and every expected one shown.
void closeHarness(std::unique_ptr<FormHarness>& harness);

// True when every control of the idle window is usable again.
bool isIdle(FrmMain& form);

// A Russian box may name the file; apart from that it holds no Latin word, so no system
// phrase in English slipped in.
bool hasNoEnglish(QString text, const QString& path);

// The text of every row, in order.
QStringList rowsOf(const WordListBox& list);
