#include "scripted_dialogs.h"

QString describe(const ScriptedDialogs::Box& box)
{
    return QStringLiteral("\"%1\" / \"%2\" / icon %3 / buttons %4")
        .arg(box.text, box.title)
        .arg(int(box.icon))
        .arg(int(box.buttons));
}

void ScriptedDialogs::expectMessage(const Box& box, Answer answer, std::function<void()> whileShown)
{
    script_.append({Kind::Message, box, answer, {}, std::move(whileShown)});
}

void ScriptedDialogs::expectOpen(const QString& fileName)
{
    script_.append({Kind::Open, {}, Answer::Ok, fileName, {}});
}

void ScriptedDialogs::expectSave(const QString& fileName)
{
    script_.append({Kind::Save, {}, Answer::Ok, fileName, {}});
}

Dialogs::Answer ScriptedDialogs::message(const QString& text, const QString& title, Icon icon, Buttons buttons)
{
    const Box box{text, title, icon, buttons};
    shown_.append(box);
    if (script_.isEmpty() || script_.first().kind != Kind::Message || !(script_.first().box == box)) {
        failures_.append(QStringLiteral("unexpected message box ") + describe(box)
                         + (script_.isEmpty() || script_.first().kind != Kind::Message
                                ? QString()
                                : QStringLiteral(", expected ") + describe(script_.first().box)));
        return buttons == Buttons::Ok ? Answer::Ok : buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
    Step step = script_.takeFirst();
    if (step.whileShown)
        step.whileShown();
    return step.answer;
}

QString ScriptedDialogs::fileName(Kind kind, const QString& filter)
{
    filters_.append(filter);
    const char* what = kind == Kind::Open ? "open" : "save";
    if (script_.isEmpty() || script_.first().kind != kind) {
        failures_.append(QStringLiteral("unexpected %1 dialog").arg(QLatin1String(what)));
        return {};
    }
    return script_.takeFirst().fileName;
}

QString ScriptedDialogs::openFileName(const QString& filter) { return fileName(Kind::Open, filter); }

QString ScriptedDialogs::saveFileName(const QString& filter) { return fileName(Kind::Save, filter); }

void ScriptedDialogs::clear()
{
    script_.clear();
    shown_.clear();
    failures_.clear();
    filters_.clear();
}
