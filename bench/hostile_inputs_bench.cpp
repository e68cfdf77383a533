// Drives the real window offscreen, with the real event pump, through inputs that used
// to freeze it: devices and FIFOs chosen as the dictionary, a 100 MB single line, an
// LF-only word list (one huge entry), the normal sample's import, 2,100 long lines, short
// lines that turn into long ones, a 1 GB single line imported whole and cancelled inside,
// and an import that runs out of memory. Prints figures; passes or fails nothing.
//
//   quorvane_hostile_bench [SAMPLE]   the sample defaults to samples/ru_full_forms.txt

#include "bench_support.h"
#include "push_button/xp_button.h"
#include "widgets/word_list_box.h"
#include "window/quorvane_application.h"

#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// The "Vm..." line of /proc/self/status, in MB.
long statusMb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLong() / 1024;
    }
    return -1;
}

struct Bench {
    BenchWindow window;
    BenchDialogs& dialogs = window.dialogs;
    HeldClickPump& pump = window.pump;
    FrmMain* form = window.form.get();

    // One click on "Импорт слов" for the file; the figures of that import.
    void import(const char* label, const QString& path)
    {
        const double total = window.import(path);
        const QtEventPump::Statistics& s = pump.statistics();
        std::printf("%-28s %9.1f ms  first box %8.2f ms  words %lld  deliveries %5d (%d without input)  "
                    "longest gap %7.1f ms  longest input wait %7.1f ms  longest delivery %6.1f ms\n",
                    label, total, dialogs.firstBoxNs < 0 ? -1.0 : ms(dialogs.firstBoxNs),
                    static_cast<long long>(form->WordCount), s.deliveries, s.deliveriesExceptInput,
                    ms(s.longestGapNs), ms(s.longestInputGapNs), ms(s.longestDeliveryNs));
        std::printf("%-28s box: %s\n", label,
                    qPrintable(dialogs.messages.value(0).replace(QLatin1Char('\n'), QLatin1Char(' '))));
        std::fflush(stdout);
    }

    // Repaint, selection and scrolling of `l` as it stands.
    void listFigures(const char* label)
    {
        WordListBox& l = *form->l;
        QCoreApplication::processEvents(); // the list catches up with its appends
        const double repaint = milliseconds([&] { l.viewport()->repaint(); });
        const double select = milliseconds([&] {
            l.setCurrentRow(0);
            l.viewport()->repaint();
        });
        QScrollBar* across = l.horizontalScrollBar();
        const double scrollAcross = milliseconds([&] {
            across->setValue(across->maximum() / 2);
            l.viewport()->repaint();
        });
        QScrollBar* down = l.verticalScrollBar();
        const double scrollDown = milliseconds([&] {
            down->setValue(down->maximum());
            l.viewport()->repaint();
        });
        std::printf("%-28s repaint of l %7.2f ms  select row %7.2f ms  scroll across %7.2f ms  "
                    "scroll down %7.2f ms\n",
                    label, repaint, select, scrollAcross, scrollDown);
        std::fflush(stdout);
    }
};

QString writeFile(const QString& path, const std::function<void(QFile&)>& fill)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    fill(file);
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    useOffscreenPlatform();
    QuorvaneApplication app(argc, argv);
    Bench bench;
    QTemporaryDir dir;

    bench.import("/dev/zero", QStringLiteral("/dev/zero"));
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    if (::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0)
        bench.import("FIFO without a writer", fifo);

    const QString sample = app.arguments().size() >= 2 ? app.arguments().at(1) : findSample();
    if (!sample.isEmpty()) {
        bench.import("sample, normal import", sample);
        bench.listFigures("sample, normal import");

        QFile in(sample);
        if (!in.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(sample));
        const QString lfOnly = writeFile(dir.filePath(QStringLiteral("lf_only.txt")),
                                         [&](QFile& out) { out.write(in.readAll().replace('\r', QByteArray())); });
        bench.import("sample, LF only", lfOnly);
        bench.listFigures("sample, LF only");
    } else {
        std::printf("no samples/ru_full_forms.txt: run scripts/make_sample_dictionary.sh for the sample figures\n");
    }

    const QString single = writeFile(dir.filePath(QStringLiteral("single_line.txt")), [](QFile& out) {
        const QByteArray block = QByteArray("\xEA\xEE\xF2 \xF2\xEE\xEA\n").repeated(1 << 17); // 1 MiB
        for (int i = 0; i < 100; ++i)
            out.write(block);
    });
    bench.import("100 MB single line", single);
    bench.listFigures("100 MB single line");

    // More lines too long to share a block with many others than a store once had blocks.
    const QString longLines = writeFile(dir.filePath(QStringLiteral("long_lines.txt")), [](QFile& out) {
        const QByteArray line = QByteArray("\xEA\xEE\xF2").repeated(48 * 1024) + "\r\n"; // 144 KB
        for (int i = 0; i < 2100; ++i)
            out.write(line);
    });
    bench.import("2,100 lines of 144 KB", longLines);
    QFile::remove(longLines);

    // Short lines, which let the pump look at its clock rarely, then lines of 60 KB, each
    // read within one chunk of the file.
    const QString shortThenLong = writeFile(dir.filePath(QStringLiteral("short_then_long.txt")), [](QFile& out) {
        out.write(QByteArray("\xEA\xEE\xF2\r\n").repeated(100000));
        out.write((QByteArray("\xEA\xEE\xF2").repeated(20 * 1024) + "\r\n").repeated(5000)); // 300 MB
    });
    bench.import("short lines, then 60 KB", shortThenLong);
    QFile::remove(shortThenLong);

    // The same for a search: short words, then 5,000 words of 20,000 letters that all match.
    const QByteArray longWord = QByteArray("\xEA\xEE\xF2").repeated(20000 / 3);
    const QString shortThenLongWords = writeFile(dir.filePath(QStringLiteral("long_words.txt")), [&](QFile& out) {
        out.write(QByteArray("\xEA\xEE\xF2\r\n").repeated(100000));
        out.write((longWord + "\r\n").repeated(5000));
    });
    bench.window.import(shortThenLongWords);
    bench.dialogs.messages.clear();
    const double searchMs = bench.window.search(QStringLiteral("кот").repeated(20000 / 3), true);
    std::printf("%-28s %9.1f ms  words found %lld  longest gap %7.1f ms\n", "search, short then long words",
                searchMs, static_cast<long long>(bench.form->FoundCount), ms(bench.pump.statistics().longestGapNs));
    QFile::remove(shortThenLongWords);

    // A 1 GB line imported whole, then a cancel clicked 50 ms into it: the time from the
    // click to the question.
    const QString huge = writeFile(dir.filePath(QStringLiteral("huge_line.txt")), [](QFile& out) {
        const QByteArray block = QByteArray("\xEA\xEE\xF2 \xF2\xEE\xEA\n").repeated(1 << 17);
        for (int i = 0; i < 1024; ++i)
            out.write(block);
    });
    // Counted from a small store: a new import cuts the last one only when it stores its first line.
    const QString one = writeFile(dir.filePath(QStringLiteral("one.txt")),
                                  [](QFile& out) { out.write("\xEA\xEE\xF2"); });
    bench.import("one word", one);
    QCoreApplication::processEvents();
    const long idle = statusMb("VmRSS:");
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5"); // the peak starts again from here
    bench.import("1 GB single line", huge);
    std::printf("%-28s memory: peak RSS %ld MB (%ld MB before)\n", "1 GB single line", statusMb("VmHWM:"), idle);
    QTimer::singleShot(50, [&] {
        bench.pump.heldClick = [&] { bench.form->command2->Click(); };
        bench.dialogs.sinceClick.start(); // the first box is the question
    });
    bench.import("cancel in a 1 GB line", huge);
    std::printf("%-28s memory after: RSS %ld MB\n", "cancel in a 1 GB line", statusMb("VmRSS:"));
    QFile::remove(huge);

    // 10 M lines with the address space capped 100 MB above the idle window's: too little
    // for the list, so the import runs out of memory part way.
    const QString tenMillion = writeFile(dir.filePath(QStringLiteral("ten_million.txt")), [](QFile& out) {
        QByteArray lines;
        for (int i = 0; i < 10'000'000; ++i)
            lines += "\xF1\xEB\xEE\xE2\xEE" + QByteArray::number(i) + "\r\n"; // "слово" and a number
        out.write(lines);
    });
    QCoreApplication::processEvents();
    rlimit previous{};
    getrlimit(RLIMIT_AS, &previous);
    const long before = statusMb("VmSize:");
    constexpr long headroomMb = 100;
    const rlimit capped{rlim_t((before + headroomMb) << 20), previous.rlim_max};
    setrlimit(RLIMIT_AS, &capped);
    bench.import("10 M lines, memory capped", tenMillion);
    std::printf("%-28s address space %ld MB before, capped at %ld MB; after: RSS %ld MB, address space %ld MB\n",
                "10 M lines, memory capped", before, before + headroomMb, statusMb("VmRSS:"), statusMb("VmSize:"));
    setrlimit(RLIMIT_AS, &previous);
    return 0;
}
