// Measures import, search and save in the real window (offscreen, real event pump)
// against bare loops doing the same work without the window, on generated
// dictionaries and on a real one. Prints figures; passes or fails nothing.
//
//   quorvane_bench                 all data sets, each in a fresh process
//   quorvane_bench FILE [LABEL]    one dictionary file

#include "ansi_text_reader.h"
#include "ansi_text_writer.h"
#include "dictionary_line.h"
#include "frm_main.h"
#include "module1.h"
#include "push_button/xp_button.h"
#include "quorvane_application.h"
#include "word_matcher.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Answers every message with OK and every file dialog with the next scripted name.
class BenchDialogs : public Dialogs {
public:
    QString nextFile;
    QStringList messages;
    Answer message(const QString& text, const QString&, Icon, Buttons) override
    {
        messages.append(text);
        return Answer::Ok;
    }
    QString openFileName(const QString&) override { return nextFile; }
    QString saveFileName(const QString&) override { return nextFile; }
};

double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

double milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

QString generateDictionary(const QString& folder, int lines)
{
    const QString path = QStringLiteral("%1/generated_%2.txt").arg(folder).arg(lines);
    const QString alphabet = QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    QRandomGenerator random(lines);
    QStringEncoder encoder("windows-1251");
    QByteArray bytes;
    for (int i = 0; i < lines; ++i) {
        QString word;
        const int length = 3 + random.bounded(10);
        for (int k = 0; k < length; ++k)
            word += alphabet.at(random.bounded(int(alphabet.size())));
        if (random.bounded(20) == 0)
            word[0] = word[0].toUpper();
        bytes += encoder.encode(word) + "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// One operation in the window, and the bare loop doing the same work.
struct Measurement {
    const char* operation;
    qint64 items;
    double windowMs;
    QtEventPump::Statistics pump;
    double peakMb; // right after the window's run, before any bare loop
    std::function<double()> bare;
};

void report(const QString& label, const Measurement& m, double bareMs)
{
    std::printf("%-20s %-14s %8lld items  window %7.1f ms  bare %7.1f ms  ratio %5.2f  "
                "deliveries %4d  longest gap %5.1f ms  longest delivery %5.1f ms  peak %6.1f MB\n",
                qPrintable(label), m.operation, static_cast<long long>(m.items), m.windowMs, bareMs,
                m.windowMs / bareMs, m.pump.deliveries, double(m.pump.longestGapNs) / 1e6,
                double(m.pump.longestDeliveryNs) / 1e6, m.peakMb);
    std::fflush(stdout);
}

double bareImport(const QString& path)
{
    return milliseconds([&] {
        QList<QString> words{QString()};
        AnsiTextReader file;
        file.open(path);
        while (!file.atEnd())
            words.append(DictionaryLine::withoutSpaces(file.readLine()));
        file.close();
    });
}

double bareSearch(const QString& letters, WordMatcher::Mode mode, qint64 wordCount)
{
    return milliseconds([&] {
        WordMatcher matcher(letters, mode);
        QList<QString> found;
        for (qint64 i = 1; i <= wordCount; ++i) {
            const QString& word = Module1::DictionaryWords.at(i);
            if (matcher.matches(word))
                found.append(word);
        }
    });
}

double bareSave(const QString& path, qint64 foundCount)
{
    return milliseconds([&] {
        AnsiTextWriter file;
        file.open(path);
        for (qint64 i = 0; i < foundCount; ++i)
            file.writeLine(Module1::FoundWords.at(i));
        file.close();
    });
}

int benchOne(const QString& path, const QString& label)
{
    BenchDialogs dialogs;
    Dialogs::install(&dialogs);
    QtEventPump pump;
    EventPump::install(&pump);

    FrmMain form;
    form.show();
    QCoreApplication::processEvents();

    QList<Measurement> measurements;
    auto measure = [&](const char* operation, const std::function<void()>& click, const std::function<qint64()>& items,
                       std::function<double()> bare) {
        pump.resetStatistics();
        const double window = milliseconds(click);
        measurements.append({operation, items(), window, pump.statistics(), peakMegabytes(), std::move(bare)});
    };

    dialogs.nextFile = path;
    measure("import", [&] { form.command2->Click(); }, [&] { return form.WordCount; },
            [&] { return bareImport(path); });

    // Letters for an exact search: a dictionary word's letters reversed.
    QString reversed = Module1::DictionaryWords.at(std::min<qint64>(1000, form.WordCount));
    std::reverse(reversed.begin(), reversed.end());
    const struct {
        const char* name;
        QString letters;
        WordMatcher::Mode mode;
    } searches[] = {
        {"search exact", reversed, WordMatcher::Mode::Exact},
        {"search compose", QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщыьэюя"), WordMatcher::Mode::Compose},
    };
    for (const auto& search : searches) {
        form.t1->setText(search.letters);
        (search.mode == WordMatcher::Mode::Exact ? form.o1 : form.o2)->setChecked(true);
        measure(search.name, [&] { form.command1->Click(); }, [&] { return form.WordCount; },
                [&form, search] { return bareSearch(search.letters, search.mode, form.WordCount); });
    }

    QTemporaryDir out;
    dialogs.nextFile = out.filePath(QStringLiteral("found.txt"));
    measure("save", [&] { form.bsave->Click(); }, [&] { return form.FoundCount; },
            [&] { return bareSave(out.filePath(QStringLiteral("bare.txt")), form.FoundCount); });

    // Replacing a loaded dictionary lets go of the old one on the way.
    dialogs.nextFile = path;
    measure("import again", [&] { form.command2->Click(); }, [&] { return form.WordCount; },
            [&] { return bareImport(path); });

    // The bare loops run last, so they add nothing to the window's peak memory.
    for (const Measurement& m : measurements)
        report(label, m, m.bare());
    std::printf("%-20s messages: %s\n", qPrintable(label), qPrintable(dialogs.messages.join(QStringLiteral(" | "))));
    return 0;
}

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

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QuorvaneApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 2)
        return benchOne(args.at(1), args.value(2, QFileInfo(args.at(1)).fileName()));

    QTemporaryDir dir;
    QList<QPair<QString, QString>> sets;
    for (int lines : {10000, 100000, 1000000})
        sets.append({generateDictionary(dir.path(), lines), QStringLiteral("generated %1").arg(lines)});
    if (const QString sample = findSample(); !sample.isEmpty())
        sets.append({sample, QStringLiteral("real ru_full_forms")});
    else
        std::printf("no samples/ru_full_forms.txt: run scripts/make_sample_dictionary.sh for the real dictionary\n");
    for (const auto& [path, label] : sets) {
        // A process per data set, so the peak memory is that data set's own.
        QProcess::execute(args.at(0), {path, label});
    }
    return 0;
}
