// Measures import, search and save in the real window (offscreen, real event pump)
// against plain loops doing the same work, on generated dictionaries and on a real one.
// The plain loops share no code with the program: they map the file, split it and keep
// per word its bytes, offset, length and signature without decoding the text, or scan
// the signatures and lengths as flat arrays and test letters only for the few words that
// pass, so a ratio says how far the window is from what the machine can do.
// Prints figures; passes or fails nothing.
//
//   quorvane_bench                          all data sets, each in a fresh process
//   quorvane_bench FILE [LABEL]             one dictionary file
//   quorvane_bench --replaced BIG SMALL     memory after BIG is replaced by SMALL
//   quorvane_bench --replaced SMALL         the same for SMALL alone

#include "bench_support.h"
#include "files/ansi_text_reader.h"
#include "push_button/xp_button.h"
#include "widgets/word_list_box.h"
#include "window/frm_main.h"
#include "window/quorvane_application.h"
#include "words/block_allocator.h"
#include "words/dictionary_line.h"
#include "words/module1.h"
#include "words/word_array.h"
#include "words/word_matcher.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace {

double statusMegabytes(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qsizetype(strlen(key))).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}
double peakMegabytes() { return statusMegabytes("VmHWM:"); }
double residentMegabytes() { return statusMegabytes("VmRSS:"); }

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// ---- generated dictionaries ----

QString generateDictionary(const QString& folder, int lines)
{
    const QString path = QStringLiteral("%1/generated_%2.txt").arg(folder).arg(lines);
    const QString alphabet = QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    const QByteArray lower = QStringEncoder("windows-1251").encode(alphabet);
    const QByteArray upper = QStringEncoder("windows-1251").encode(alphabet.toUpper());
    QRandomGenerator random(lines);
    QByteArray bytes;
    bytes.reserve(qsizetype(lines) * 10);
    for (int i = 0; i < lines; ++i) {
        const int length = 3 + random.bounded(10);
        for (int k = 0; k < length; ++k) {
            const int letter = random.bounded(int(alphabet.size()));
            bytes += (k == 0 && random.bounded(20) == 0 ? upper : lower).at(letter);
        }
        bytes += "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// ---- the plain loops ----

// Per-byte tables of the plain loops, for Windows-1251 where one byte is one character
// both ways: a byte's lower-case form as a byte, and the signature bit of that form.
struct PlainTables {
    std::array<unsigned char, 256> lower;
    std::array<quint64, 256> bit;

    PlainTables()
    {
        QStringDecoder decoder("windows-1251");
        QStringEncoder encoder("windows-1251");
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString one = decoder.decode(QByteArrayView(&byte, 1));
            const QByteArray lowered = encoder.encode(one.toLower());
            lower[b] = lowered.size() == 1 ? uchar(lowered.at(0)) : uchar(b);
            const int l = lower[b];
            // а..я are E0..FF, ё is B8.
            const int n = l >= 0xE0 ? l - 0xE0 : l == 0xB8 ? 32 : l >= 'a' && l <= 'z' ? 33 + l - 'a' : 59 + l % 5;
            bit[b] = quint64(1) << n;
        }
    }
};

const PlainTables& plainTables()
{
    static const PlainTables tables;
    return tables;
}

// Memory taken from the system in one piece and populated at once, as the program's
// word store does, so neither side pays a page fault per 4 KB.
template <class T>
class Mapped {
public:
    Mapped() = default;
    explicit Mapped(size_t count) : bytes_(std::max<size_t>(1, count) * sizeof(T))
    {
        data_ = static_cast<T*>(
            mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0));
    }
    ~Mapped()
    {
        if (data_)
            munmap(data_, bytes_);
    }
    Mapped(Mapped&& other) noexcept : data_(std::exchange(other.data_, nullptr)), bytes_(other.bytes_) {}
    Mapped& operator=(Mapped&& other) noexcept
    {
        std::swap(data_, other.data_);
        std::swap(bytes_, other.bytes_);
        return *this;
    }
    T& operator[](size_t i) { return data_[i]; }
    const T& operator[](size_t i) const { return data_[i]; }
    T* data() { return data_; }

private:
    T* data_ = nullptr;
    size_t bytes_ = 0;
};

// The words' bytes as in the file, one after another, and per word its offset, length and
// letter signature; the text is never decoded.
struct PlainWords {
    Mapped<unsigned char> text;
    Mapped<quint32> start;
    Mapped<quint32> length;
    Mapped<quint64> signature;
    size_t count = 0;
};

// Maps the file, splits it at CR LF or lone CR and drops the spaces.
PlainWords plainImport(const QString& path)
{
    const PlainTables& t = plainTables();
    PlainWords words;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    const size_t size = size_t(std::max<off_t>(0, lseek(fd, 0, SEEK_END)));
    const auto* bytes = static_cast<const unsigned char*>(
        size > 0 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0) : nullptr);
    const size_t lines = size_t(std::count(bytes, bytes + size, '\r')) + 1;
    words.text = Mapped<unsigned char>(size);
    words.start = Mapped<quint32>(lines);
    words.length = Mapped<quint32>(lines);
    words.signature = Mapped<quint64>(lines);
    unsigned char* out = words.text.data();
    size_t used = 0;
    size_t i = 0;
    while (i < size) {
        const size_t wordStart = used;
        quint64 signature = 0;
        for (; i < size && bytes[i] != '\r'; ++i) {
            const unsigned char b = bytes[i];
            out[used] = b;
            used += b != ' ';
            signature |= b != ' ' ? t.bit[b] : 0;
        }
        words.start[words.count] = quint32(wordStart);
        words.length[words.count] = quint32(used - wordStart);
        words.signature[words.count] = signature;
        ++words.count;
        i += 1 + (i + 1 < size && bytes[i + 1] == '\n');
    }
    if (bytes)
        munmap(const_cast<unsigned char*>(bytes), size);
    ::close(fd);
    return words;
}

// Lists the words found for the letters, as the window does, and counts them: the
// signature first, then the length, then letter counts, all on bytes. The letters are the
// bench's own Cyrillic ones, so each has its byte.
template <bool Exact>
qint64 plainScan(const PlainWords& words, const QByteArray& typed)
{
    const PlainTables& t = plainTables();
    const size_t n = size_t(typed.size());
    quint64 letters = 0;
    std::array<int, 256> available{};
    std::array<bool, 256> isTyped{};
    for (char c : typed) {
        isTyped[uchar(c)] = true;
        letters |= t.bit[uchar(c)];
        ++available[t.lower[uchar(c)]];
    }
    std::vector<quint32> found;
    std::array<int, 256> used{};
    for (size_t i = 0; i < words.count; ++i) {
        const quint64 signature = words.signature[i];
        if (Exact ? signature != letters : (signature & ~letters) != 0)
            continue;
        const size_t length = words.length[i];
        if (Exact ? length != n : length > n)
            continue;
        const unsigned char* word = &words.text[words.start[i]];
        bool ok = length == 0 || isTyped[t.lower[word[0]]];
        bool identical = length == n;
        size_t k = 0;
        for (; k < length && ok; ++k) {
            const unsigned char c = t.lower[word[k]];
            identical = identical && c == uchar(typed[qsizetype(k)]);
            ok = used[c]++ < available[c];
        }
        while (k > 0)
            --used[t.lower[word[--k]]];
        if (ok && (Exact || !identical))
            found.push_back(quint32(i));
    }
    return qint64(found.size());
}

qint64 plainScan(const PlainWords& words, const QString& letters, bool exact)
{
    const QByteArray typed = QStringEncoder("windows-1251").encode(letters);
    if (typed.isEmpty())
        return 0;
    return exact ? plainScan<true>(words, typed) : plainScan<false>(words, typed);
}

// ---- the window ----

struct Measurement {
    QString operation;
    qint64 items;
    qint64 found;
    double windowMs;
    QtEventPump::Statistics pump;
    double peakMb; // right after the window's run, before any plain loop
    std::function<double()> plain;
};

void report(const QString& label, const Measurement& m, double plainMs)
{
    std::printf("%-18s %-28s %8lld items  window %8.1f ms  plain %7.1f ms  ratio %5.2f  "
                "longest gap %5.1f ms  longest delivery %5.1f ms  peak %6.1f MB\n",
                qPrintable(label), qPrintable(m.operation), static_cast<long long>(m.items), m.windowMs, plainMs,
                m.windowMs / plainMs, double(m.pump.longestGapNs) / 1e6, double(m.pump.longestDeliveryNs) / 1e6,
                m.peakMb);
    std::fflush(stdout);
}

struct Query {
    QString letters;
    bool exact;
    bool ordinary; // one of the ordinary words the targets speak of
};

QList<Query> queries()
{
    QList<Query> list;
    for (const char* word : {"апельсин", "колба", "стрела", "переподготовка"}) {
        list.append({QString::fromUtf8(word), true, true});
        list.append({QString::fromUtf8(word), false, true});
    }
    list.append({QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщыьэюя"), false, false});
    return list;
}

// Where the first import's time goes, with the program's own pieces and no window.
void importParts(const QString& label, const QString& path, double windowMs)
{
    QByteArray scratch;
    auto readAll = [&](const std::function<void(QByteArrayView)>& keep) {
        return milliseconds([&] {
            AnsiTextReader file;
            file.open(path);
            while (!file.atEnd())
                keep(DictionaryLine::withoutSpaces(file.readLine(), scratch));
        });
    };
    const double reader = readAll([](QByteArrayView) {});
    double store;
    {
        WordArray words(WordArray::Records::Yes);
        store = readAll([&](QByteArrayView entry) {
            words.resize(words.size() + 1);
            words.set(words.size() - 1, WordView(entry));
        });
    }
    double list;
    {
        WordArray words(WordArray::Records::Yes);
        WordListBox box;
        box.showRowsOf(words, 0);
        list = readAll([&](QByteArrayView entry) {
            box.appendRow();
            words.resize(words.size() + 1);
            words.set(words.size() - 1, WordView(entry));
        });
    }
    QCoreApplication::processEvents();
    std::printf("%-18s import parts: reader %.1f ms, store %.1f ms, list box %.1f ms, "
                "pump, progress and labels %.1f ms (of the window's %.1f ms)\n",
                qPrintable(label), reader, store - reader, list - store, windowMs - list, windowMs);
    std::fflush(stdout);
}

int benchOne(const QString& path, const QString& label)
{
    BenchWindow w;
    FrmMain& form = *w.form;
    QList<Measurement> measurements;
    const int repeats = 3;

    {
        const double ms = w.import(path);
        measurements.append({QStringLiteral("first import"), form.WordCount, form.WordCount, ms, w.pump.statistics(),
                             peakMegabytes(), [&] { return milliseconds([&] { plainImport(path); }); }});
    }
    const double firstImportMs = measurements.back().windowMs;

    std::shared_ptr<PlainWords> plain; // made after the window's runs, for the scans
    const QList<Query> searches = queries();
    for (const Query& q : searches) {
        double best = 1e300;
        QtEventPump::Statistics worst;
        for (int r = 0; r < repeats; ++r) {
            best = std::min(best, w.search(q.letters, q.exact));
            const QtEventPump::Statistics& s = w.pump.statistics();
            worst.longestGapNs = std::max(worst.longestGapNs, s.longestGapNs);
            worst.longestDeliveryNs = std::max(worst.longestDeliveryNs, s.longestDeliveryNs);
        }
        const QString name = QStringLiteral("%1 %2").arg(q.exact ? "exact" : "compose",
                                                         q.ordinary ? q.letters : "all");
        measurements.append({name, form.WordCount, form.FoundCount, best, worst, peakMegabytes(), [&plain, q] {
                                 double bestPlain = 1e300;
                                 for (int r = 0; r < repeats; ++r)
                                     bestPlain = std::min(
                                         bestPlain, milliseconds([&] { plainScan(*plain, q.letters, q.exact); }));
                                 return bestPlain;
                             }});
    }

    QTemporaryDir out;
    w.dialogs.nextFile = out.filePath(QStringLiteral("found.txt"));
    w.pump.resetStatistics();
    {
        const double ms = milliseconds([&] { form.bsave->Click(); });
        measurements.append({QStringLiteral("save"), form.FoundCount, form.FoundCount, ms, w.pump.statistics(),
                             peakMegabytes(), [&] {
                                 // The words' bytes as they are, each with CR LF, in one write.
                                 return milliseconds([&] {
                                     QByteArray bytes;
                                     for (qint64 i = 0; i < form.FoundCount; ++i) {
                                         const WordView word = Module1::FoundWords.view(i);
                                         bytes.append(reinterpret_cast<const char*>(word.bytes()), word.size());
                                         bytes.append("\r\n", 2);
                                     }
                                     QFile file(out.filePath(QStringLiteral("plain.txt")));
                                     if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                                         qFatal("cannot write the plain save");
                                 });
                             }});
    }
    {
        const double ms = w.import(path);
        measurements.append({QStringLiteral("import again"), form.WordCount, form.WordCount, ms, w.pump.statistics(),
                             peakMegabytes(), [&] { return milliseconds([&] { plainImport(path); }); }});
    }

    // The plain loops run last, so they add nothing to the window's peak memory.
    plain = std::make_shared<PlainWords>(plainImport(path));
    std::vector<double> ordinaryRatios;
    double ordinaryWorstMs = 0;
    double allRatio = 0;
    double importRatio = 0;
    double againRatio = 0;
    double longestGap = 0;
    for (int k = 0; k < measurements.size(); ++k) {
        const Measurement& m = measurements.at(k);
        const double plainMs = m.plain();
        report(label, m, plainMs);
        longestGap = std::max(longestGap, double(m.pump.longestGapNs) / 1e6);
        if (k >= 1 && k <= searches.size()) {
            const Query& q = searches.at(k - 1);
            const qint64 plainFound = plainScan(*plain, q.letters, q.exact);
            if (plainFound != m.found)
                std::printf("  !! the plain scan found %lld words, the window %lld\n",
                            static_cast<long long>(plainFound), static_cast<long long>(m.found));
            if (q.ordinary) {
                ordinaryRatios.push_back(m.windowMs / plainMs);
                ordinaryWorstMs = std::max(ordinaryWorstMs, m.windowMs);
            } else {
                allRatio = m.windowMs / plainMs;
            }
        } else if (m.operation == QStringLiteral("first import")) {
            importRatio = m.windowMs / plainMs;
        } else if (m.operation == QStringLiteral("import again")) {
            againRatio = m.windowMs / plainMs;
        }
    }
    importParts(label, path, firstImportMs);
    std::printf("%-18s SUMMARY first import %.2fx | import again %.2fx | ordinary search median %.2fx, worst %.1f ms"
                " | all-letters compose %.2fx | window's peak %.1f MB | longest gap %.1f ms\n",
                qPrintable(label), importRatio, againRatio, median(ordinaryRatios), ordinaryWorstMs, allRatio,
                measurements.back().peakMb, longestGap);
    std::printf("%-18s messages: %s\n", qPrintable(label),
                qPrintable(w.dialogs.messages.mid(0, 3).join(QStringLiteral(" | "))));
    std::fflush(stdout);
    return 0;
}

// Imports and searches each file in turn, the last one small, then lets the event loop
// run until the replaced data is given back, and prints the resident memory.
int replaced(const QStringList& paths)
{
    BenchWindow w;
    double slowest = 0;
    QStringList gaps;
    auto note = [&](const char* what) {
        const double gap = double(w.pump.statistics().longestGapNs) / 1e6;
        slowest = std::max(slowest, gap);
        gaps << QStringLiteral("%1 %2").arg(what).arg(gap, 0, 'f', 1);
    };
    for (const QString& path : paths) {
        w.import(path);
        note("import");
        w.search(QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщыьэюя"), false);
        note("search");
    }
    std::printf("longest gaps (ms): %s\n", qPrintable(gaps.join(QStringLiteral(", "))));
    QElapsedTimer settle;
    settle.start();
    while (BlockAllocator::pendingBytes() > 0 && settle.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const double settledMs = double(settle.nsecsElapsed()) / 1e6;
    std::printf("RSS %.1f MB after %d file(s), %lld words, %lld found; release settled in %.1f ms; "
                "longest gap %.1f ms; peak %.1f MB\n",
                residentMegabytes(), int(paths.size()), static_cast<long long>(w.form->WordCount),
                static_cast<long long>(w.form->FoundCount), settledMs, slowest, peakMegabytes());
    std::fflush(stdout);
    return 0;
}

QString firstLines(const QString& source, const QString& path, int count)
{
    QFile in(source);
    QFile out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        qFatal("cannot make %s", qPrintable(path));
    QByteArray head = in.read(4096);
    qsizetype end = 0;
    for (int i = 0; i < count; ++i)
        end = head.indexOf("\r\n", end) + 2;
    out.write(head.left(end));
    return path;
}

QString repeated(const QString& source, const QString& path, int times)
{
    QFile in(source);
    QFile out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        qFatal("cannot make %s", qPrintable(path));
    const QByteArray bytes = in.readAll();
    for (int i = 0; i < times; ++i)
        out.write(bytes);
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    useOffscreenPlatform();
    QuorvaneApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args.at(1) == QStringLiteral("--replaced"))
        return replaced(args.mid(2));
    if (args.size() >= 2)
        return benchOne(args.at(1), args.value(2, QFileInfo(args.at(1)).fileName()));

    QTemporaryDir dir;
    QList<QPair<QString, QString>> sets;
    for (int lines : {10000, 100000, 1000000})
        sets.append({generateDictionary(dir.path(), lines), QStringLiteral("generated %1").arg(lines)});
    const QString sample = findSample();
    if (!sample.isEmpty())
        sets.append({sample, QStringLiteral("real ru_full_forms")});
    else
        std::printf("no samples/ru_full_forms.txt: run scripts/make_sample_dictionary.sh for the real dictionary\n");
    sets.append({generateDictionary(dir.path(), 10000000), QStringLiteral("generated 10000000")});
    for (const auto& [path, label] : sets) {
        // A process per data set, so the peak memory is that data set's own.
        QProcess::execute(args.at(0), {path, label});
    }
    if (!sample.isEmpty()) {
        // A replaced dictionary (and replaced found words) gives its memory back.
        const QString big = repeated(sample, dir.filePath(QStringLiteral("sample_x3.txt")), 3);
        const QString small = firstLines(sample, dir.filePath(QStringLiteral("first15.txt")), 15);
        std::printf("memory of a replaced dictionary: 3 x sample then 15 lines, against 15 lines alone\n");
        std::fflush(stdout);
        QProcess::execute(args.at(0), {QStringLiteral("--replaced"), big, small});
        QProcess::execute(args.at(0), {QStringLiteral("--replaced"), small});
    }
    return 0;
}
