#include "form_harness.h"

#include "push_button/xp_button.h"
#include "settings/font_value.h"
#include "words/module1.h"

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QCheckBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QtTest>

FormHarness::FormHarness()
{
    Fonts::installSubstitutions();
    Dialogs::install(&dialogs);
    EventPump::install(&pump);
    Module1::DictionaryWords.resize(0);
    Module1::FoundWords.resize(0);
    form_ = std::make_unique<FrmMain>();
}

FormHarness::~FormHarness()
{
    form_.reset();
    Dialogs::install(nullptr);
    EventPump::install(nullptr);
}

QString FormHarness::writeBytes(const QByteArray& bytes, const QString& name)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString FormHarness::writeWords(const QStringList& words, const QString& name)
{
    QStringEncoder encoder("windows-1251");
    QByteArray bytes;
    for (const QString& word : words)
        bytes += encoder.encode(word) + "\r\n";
    return writeBytes(bytes, name);
}

QByteArray FormHarness::readBytes(const QString& path) const
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

void FormHarness::importWords(const QStringList& words)
{
    dialogs.expectOpen(writeWords(words, QStringLiteral("dictionary.txt")));
    dialogs.expectMessage(importDone(words.size()), Dialogs::Answer::Ok);
    form().command2->Click();
}

void FormHarness::search(const QString& letters, bool exact, qint64 expectedFound)
{
    form().t1->setText(letters);
    (exact ? form().o1 : form().o2)->setChecked(true);
    dialogs.expectMessage(searchDone(expectedFound), Dialogs::Answer::Ok);
    form().command1->Click();
}

ScriptedDialogs::Box FormHarness::error(const QString& text)
{
    return {text, QStringLiteral("Ошибка"), Dialogs::Icon::Error, Dialogs::Buttons::Ok};
}

ScriptedDialogs::Box FormHarness::done(const QString& text, const QString& title)
{
    return {text, title, Dialogs::Icon::Information, Dialogs::Buttons::Ok};
}

ScriptedDialogs::Box FormHarness::question(const QString& text, Dialogs::Buttons buttons)
{
    return {text, QStringLiteral("Операция прервана пользователем"), Dialogs::Icon::Question, buttons};
}

ScriptedDialogs::Box FormHarness::importDone(qint64 words)
{
    return done(QStringLiteral("Импорт завершён. В базе слов:  ") + QString::number(words));
}

ScriptedDialogs::Box FormHarness::searchDone(qint64 found)
{
    return done(QStringLiteral("Поиск завершён. Найдено слов:  ") + QString::number(found));
}

ScriptedDialogs::Box FormHarness::saveDone() { return done(QStringLiteral("Сохранение завершено"), QStringLiteral("Сохранение")); }

ScriptedDialogs::Box FormHarness::importQuestion()
{
    return question(QStringLiteral("Сохранить импортированные слова в списке?"), Dialogs::Buttons::YesNoCancel);
}

ScriptedDialogs::Box FormHarness::searchQuestion()
{
    return question(QStringLiteral("Сохранить найденные слова в списке?"), Dialogs::Buttons::YesNoCancel);
}

ScriptedDialogs::Box FormHarness::saveQuestion()
{
    return question(QStringLiteral("Вы уверены, что хотите остановить сохранение?"), Dialogs::Buttons::YesNo);
}

void closeHarness(std::unique_ptr<FormHarness>& harness)
{
    const QStringList failures = harness->dialogs.failures();
    const qsizetype pending = harness->dialogs.pending();
    harness.reset();
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
    QCOMPARE(pending, 0);
}

bool isIdle(FrmMain& form)
{
    return form.command2->Caption() == QStringLiteral("Импорт слов")
        && form.command1->Caption() == QStringLiteral("Начать поиск")
        && form.bsave->Caption() == QStringLiteral("Сохранить") && form.command1->Enabled()
        && form.command2->Enabled() && form.bsave->Enabled() && form.f1->isEnabled()
        && form.t1->isEnabled() && form.c1->isEnabled();
}

bool hasNoEnglish(QString text, const QString& path)
{
    text.remove(path);
    return !text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")));
}

QStringList rowsOf(const WordListBox& list)
{
    QStringList rows;
    for (qsizetype row = 0; row < list.count(); ++row)
        rows.append(list.item(row).toString());
    return rows;
}
