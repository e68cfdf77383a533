#pragma once

#include "services/dialogs.h"

#include <QList>
#include <QStringList>

#include <functional>

// Dialogs for headless runs: each box must have been announced with its exact text,
// title, icon and buttons, and gets the scripted answer. Anything else is recorded
// in failures() (and answered as cancelled) so the caller can fail.
class ScriptedDialogs : public Dialogs {
public:
    struct Box {
        QString text;
        QString title;
        Icon icon = Icon::Information;
        Buttons buttons = Buttons::Ok;
        friend bool operator==(const Box&, const Box&) = default;
    };

    // `whileShown` runs as if the user acted while the box was up (before it is answered).
    void expectMessage(const Box& box, Answer answer, std::function<void()> whileShown = {});
    void expectOpen(const QString& fileName);
    void expectSave(const QString& fileName);

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    QString openFileName(const QString& filter) override;
    QString saveFileName(const QString& filter) override;

    const QList<Box>& shown() const { return shown_; }
    const QStringList& failures() const { return failures_; }
    // The filter passed to each file dialog, in order.
    const QStringList& filters() const { return filters_; }
    // Expectations not met yet.
    qsizetype pending() const { return script_.size(); }
    void clear();

private:
    enum class Kind { Message, Open, Save };
    struct Step {
        Kind kind;
        Box box;
        Answer answer = Answer::Ok;
        QString fileName;
        std::function<void()> whileShown;
    };
    QString fileName(Kind kind, const QString& filter);

    QList<Step> script_;
    QList<Box> shown_;
    QStringList failures_;
    QStringList filters_;
};

QString describe(const ScriptedDialogs::Box& box);
