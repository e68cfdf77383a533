#include "bench_support.h"

#include "push_button/xp_button.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>

#include <utility>

Dialogs::Answer BenchDialogs::message(const QString& text, const QString&, Icon, Buttons)
{
    if (firstBoxNs < 0)
        firstBoxNs = sinceClick.nsecsElapsed();
    messages.append(text);
    return Answer::Ok;
}

void HeldClickPump::checkPendingEvents()
{
    const auto withInput = [this] { return statistics().deliveries - statistics().deliveriesExceptInput; };
    const auto before = withInput();
    QtEventPump::checkPendingEvents();
    if (heldClick && withInput() > before)
        std::exchange(heldClick, nullptr)();
}

BenchWindow::BenchWindow()
{
    Dialogs::install(&dialogs);
    EventPump::install(&pump);
    form = std::make_unique<FrmMain>();
    form->show();
    QCoreApplication::processEvents();
}

double BenchWindow::import(const QString& path)
{
    dialogs.nextFile = path;
    dialogs.messages.clear();
    dialogs.firstBoxNs = -1;
    pump.resetStatistics();
    dialogs.sinceClick.start();
    return milliseconds([&] { form->command2->Click(); });
}

double BenchWindow::search(const QString& letters, bool exact)
{
    form->t1->setText(letters);
    (exact ? form->o1 : form->o2)->setChecked(true);
    pump.resetStatistics();
    return milliseconds([&] { form->command1->Click(); });
}

void useOffscreenPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

double milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

double ms(qint64 ns) { return double(ns) / 1e6; }

QString findSample()
{
    QDir dir(QCoreApplication::applicationDirPath());
    for (int up = 0; up < 4; ++up, dir.cdUp()) {
        const QString candidate = dir.filePath(QStringLiteral("samples/ru_full_forms.txt"));
        if (QFile::exists(candidate))
            return candidate;
    }
    return {};
}
