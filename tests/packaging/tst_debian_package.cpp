#include "desktop_metadata.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

class TestDebianPackage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void controlFields_data();
    void controlFields();
    void dependencies_data();
    void dependencies();
    void description();
    void installedWhereTheEntriesSay_data();
    void installedWhereTheEntriesSay();
    void nothingElseInstalled();
    void lintian();
    void convert_data();
    void convert();

private:
    QString run(const QString& program, const QStringList& arguments);
    QStringList expectedFiles() const;
    QString installed(const QString& path) const { return root_ + QLatin1Char('/') + path; }

    QTemporaryDir work_;
    QString deb_;
    QString changes_;
    QString root_;
    QString desktopFile_;
    QString metainfoFile_;
};

QString TestDebianPackage::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(work_.path());
    process.start(program, arguments);
    const bool finished = process.waitForFinished(-1);
    const QString output = QString::fromUtf8(process.readAllStandardOutput());
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        qWarning().noquote() << program << arguments.join(QLatin1Char(' ')) << "failed:" << process.errorString()
                             << output << errors;
    return output;
}

void TestDebianPackage::initTestCase()
{
    QVERIFY(work_.isValid());
    run(QStringLiteral(PACKAGE_SCRIPT), {work_.path()});
    const QDir out(work_.path());
    const QStringList debs = out.entryList({QStringLiteral("quorvane_*.deb")}, QDir::Files);
    const QStringList changes = out.entryList({QStringLiteral("*.changes")}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    QCOMPARE(changes.size(), 1);
    deb_ = work_.filePath(debs.first());
    changes_ = work_.filePath(changes.first());
    root_ = work_.filePath(QStringLiteral("root"));
    run(QStringLiteral(DPKG_DEB), {QStringLiteral("-x"), deb_, root_});

    const QStringList entries = QDir(installed(QStringLiteral("usr/share/applications")))
                                    .entryList({QStringLiteral("*.desktop")}, QDir::Files);
    QCOMPARE(entries.size(), 1);
    desktopFile_ = QStringLiteral("usr/share/applications/") + entries.first();
    const QString id = QFileInfo(entries.first()).completeBaseName();
    metainfoFile_ = QStringLiteral("usr/share/metainfo/%1.metainfo.xml").arg(id);
}

void TestDebianPackage::controlFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Package") << "Package" << "quorvane";
    QTest::newRow("Version") << "Version" << QUORVANE_VERSION;
    QTest::newRow("Section") << "Section" << "games";
    QTest::newRow("Priority") << "Priority" << "optional";
    QTest::newRow("Architecture") << "Architecture" << run(QStringLiteral("dpkg"), {"--print-architecture"}).trimmed();
}

void TestDebianPackage::controlFields()
{
    QFETCH(QString, field);
    QFETCH(QString, expected);
    QCOMPARE(run(QStringLiteral(DPKG_DEB), {QStringLiteral("-f"), deb_, field}).trimmed(), expected);
}

void TestDebianPackage::dependencies_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("package");
    // Found by the shared-library scan of the program.
    QTest::newRow("C library") << "Depends" << "libc6";
    QTest::newRow("Qt widgets") << "Depends" << "libqt6widgets6";
    QTest::newRow("Qt GUI") << "Depends" << "libqt6gui6";
    QTest::newRow("Qt core") << "Depends" << "libqt6core6";
    // Loaded at run time, invisible to that scan.
    QTest::newRow("Wayland platform plugin") << "Recommends" << "qt6-wayland";
    QTest::newRow("Qt's Russian texts") << "Depends" << "qt6-translations-l10n";
    QTest::newRow("Liberation faces") << "Depends" << "fonts-liberation";
    QTest::newRow("DejaVu faces") << "Depends" << "fonts-dejavu-core";
    QTest::newRow("the converter's interpreter") << "Depends" << "python3";
}

void TestDebianPackage::dependencies()
{
    QFETCH(QString, field);
    QFETCH(QString, package);
    QStringList names;
    const QString depends = run(QStringLiteral(DPKG_DEB), {QStringLiteral("-f"), deb_, field});
    for (const QString& item : depends.split(QLatin1Char(','), Qt::SkipEmptyParts))
        names.append(item.trimmed().section(QLatin1Char(' '), 0, 0));
    QVERIFY2(names.contains(package), qPrintable(depends));
}

void TestDebianPackage::description()
{
    const QStringList lines = run(QStringLiteral(DPKG_DEB), {QStringLiteral("-f"), deb_, QStringLiteral("Description")})
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(lines.size() > 1);
    const QString synopsis = lines.first().trimmed();
    QVERIFY(!synopsis.isEmpty());
    for (const QString& line : lines.mid(1)) {
        // Package managers show the long text as written: one leading space, no stray
        // indentation, no second copy of the synopsis, lines that fit a terminal.
        QVERIFY2(line.startsWith(QLatin1Char(' ')) && !line.startsWith(QLatin1String("  ")), qPrintable(line));
        QVERIFY2(line.trimmed() != synopsis, qPrintable(line));
        QVERIFY2(line.size() <= 80, qPrintable(line));
    }
}

// Every file the package should hold, found from what its desktop entry and metainfo name.
QStringList TestDebianPackage::expectedFiles() const
{
    const QHash<QString, QString> entry = desktopEntry(installed(desktopFile_));
    const QString metainfo = installed(metainfoFile_);
    // The entry names the program by its full path, so the package must hold that path.
    const QString exec = entry.value(QStringLiteral("Exec")).section(QLatin1Char(' '), 0, 0);
    const QString program = QFileInfo(exec).fileName();
    const QString icon = entry.value(QStringLiteral("Icon"));
    QStringList files{desktopFile_, metainfoFile_,
                      exec.startsWith(QLatin1Char('/')) ? exec.mid(1) : QStringLiteral("(relative) ") + exec,
                      QStringLiteral("usr/games/") + xmlValue(metainfo, QStringLiteral("binary")),
                      QStringLiteral("usr/share/applications/") + xmlValue(metainfo, QStringLiteral("launchable")),
                      QStringLiteral("usr/share/icons/hicolor/scalable/apps/%1.svg").arg(icon),
                      QStringLiteral("usr/share/man/man6/%1.6.gz").arg(program),
                      QStringLiteral("usr/share/man/ru/man6/%1.6.gz").arg(program),
                      QStringLiteral("usr/games/quorvane-convert"),
                      QStringLiteral("usr/share/man/man6/quorvane-convert.6.gz"),
                      QStringLiteral("usr/share/man/ru/man6/quorvane-convert.6.gz"),
                      QStringLiteral("usr/share/doc/quorvane/copyright"),
                      QStringLiteral("usr/share/doc/quorvane/changelog.gz")};
    for (const QString& size : QStringLiteral(QUORVANE_ICON_SIZES).split(QLatin1Char(',')))
        files.append(QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/%2.png").arg(size, icon));
    files.removeDuplicates();
    files.sort();
    return files;
}

void TestDebianPackage::installedWhereTheEntriesSay_data()
{
    QTest::addColumn<QString>("path");
    for (const QString& path : expectedFiles())
        QTest::newRow(qPrintable(path)) << path;
}

void TestDebianPackage::installedWhereTheEntriesSay()
{
    QFETCH(QString, path);
    const QFileInfo file(installed(path));
    QVERIFY2(file.isFile(), "missing from the package");
    QVERIFY(file.size() > 0);
    QFile content(file.filePath());
    QVERIFY(content.open(QIODevice::ReadOnly));
    const QByteArray head = content.read(4);
    if (path.startsWith(QLatin1String("usr/games/"))) {
        QVERIFY(file.isExecutable());
        QVERIFY2(head == QByteArray("\x7f" "ELF") || head.startsWith("#!/"), head.constData());
    } else {
        QVERIFY(!file.isExecutable());
    }
    if (path.endsWith(QLatin1String(".gz")))
        QCOMPARE(head.left(2), QByteArray("\x1f\x8b"));
    if (path.endsWith(QLatin1String(".png")))
        QCOMPARE(head, QByteArray("\x89PNG"));
}

void TestDebianPackage::nothingElseInstalled()
{
    QStringList files;
    QDirIterator it(root_, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(root_).relativeFilePath(it.next()));
    files.sort();
    QCOMPARE(files, expectedFiles());
}

// The source package and the binary ones, as the archive would check an upload.
void TestDebianPackage::lintian()
{
    QProcess lintian;
    lintian.start(QStringLiteral(LINTIAN), {QStringLiteral("--display-info"), QStringLiteral("--pedantic"), changes_});
    QVERIFY(lintian.waitForFinished(300000));
    const QStringList tags = QString::fromUtf8(lintian.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& tag : tags) {
        if (tag.startsWith(QLatin1String("E: ")) || tag.startsWith(QLatin1String("W: ")))
            QFAIL(qPrintable(tag));
        qInfo().noquote() << tag;
    }
    QVERIFY2(lintian.exitStatus() == QProcess::NormalExit && lintian.exitCode() == 0,
             lintian.readAllStandardError().constData());
}

static QByteArray cp1251(const QString& text)
{
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

void TestDebianPackage::convert_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("report");
    const QByteArray old = "old\r\n";
    const QStringList files{"words.txt", "words-cp1251.txt"};
    QTest::newRow("Cyrillic, LF") << files << QByteArray("ёлка\nЁж\n") << cp1251(u"ёлка\r\nЁж\r\n"_qs) << 0 << "2 lines written";
    QTest::newRow("CR LF kept single, last line unended") << files << QByteArray("кот\r\nпёс") << cp1251(u"кот\r\nпёс\r\n"_qs) << 0
                                                         << "2 lines";
    QTest::newRow("empty line in the middle") << files << QByteArray("а\n\nб\n") << cp1251(u"а\r\n\r\nб\r\n"_qs) << 0 << "3 lines";
    QTest::newRow("byte-order mark") << files << QByteArray("\xEF\xBB\xBFслово\n") << cp1251(u"слово\r\n"_qs) << 0 << "1 line written";
    // iconv stopped at the first of these, cutting the list short without an error.
    QTest::newRow("accents taken off, the lines after kept")
        << files << QByteArray("Ardèche\nçà\nмир\n") << cp1251(u"Ardeche\r\nca\r\nмир\r\n"_qs) << 0
        << "2 lines had characters outside Windows-1251: 3 written without accents, 0 dropped (first at line 1: Ardèche)";
    QTest::newRow("no spelling: dropped, line kept")
        << files << QByteArray("日本x\nœ\nя\n") << cp1251(u"x\r\n\r\nя\r\n"_qs) << 0 << "3 dropped";
    QTest::newRow("not UTF-8: fails, old file left") << files << QByteArray("ок\n\xFF\xFE\n") << old << 1
                                                   << "not UTF-8 text (line 2";
    QTest::newRow("decomposed й and ё composed first")
        << files << QByteArray("и\xCC\x86од\nе\xCC\x88ж\n") << cp1251(u"йод\r\nёж\r\n"_qs) << 0 << "2 lines";
    QTest::newRow("through a link") << QStringList{"words.txt", "link.txt"} << QByteArray("кот\n")
                                    << cp1251(u"кот\r\n"_qs) << 0 << "1 line";
    QTest::newRow("--help") << QStringList{"--help"} << QByteArray() << old << 0 << "usage: quorvane-convert";
    QTest::newRow("unknown option refused") << QStringList{"-x", "words.txt", "words-cp1251.txt"} << QByteArray()
                                            << old << 2 << "unknown option -x";
    QTest::newRow("-- ends options") << QStringList{"--", "-x", "words-cp1251.txt"} << QByteArray() << old << 1
                                     << "cannot read -x";
}

void TestDebianPackage::convert()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, written);
    QFETCH(int, exitCode);
    QFETCH(QString, report);
    QTemporaryDir dir;
    QFile source(dir.filePath(QStringLiteral("words.txt")));
    QVERIFY(source.open(QIODevice::WriteOnly) && source.write(input) == input.size());
    source.close();
    QFile target(dir.filePath(QStringLiteral("words-cp1251.txt")));
    QVERIFY(target.open(QIODevice::WriteOnly) && target.write("old\r\n") == 5);
    target.close();
    const QFile::Permissions privateFile = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    QVERIFY(target.setPermissions(privateFile));
    const QString link = dir.filePath(QStringLiteral("link.txt"));
    QVERIFY(QFile::link(QStringLiteral("words-cp1251.txt"), link));

    QProcess convert;
    convert.setWorkingDirectory(dir.path());
    convert.setProcessChannelMode(QProcess::MergedChannels);
    convert.start(installed(QStringLiteral("usr/games/quorvane-convert")), arguments);
    QVERIFY(convert.waitForFinished(60000));
    const QString output = QString::fromUtf8(convert.readAll());
    QCOMPARE(convert.exitCode(), exitCode);
    QVERIFY2(output.contains(report), qPrintable(output));
    QVERIFY(target.open(QIODevice::ReadOnly));
    QCOMPARE(target.readAll(), written);
    // Replaced in place: still private, still reached through the link, no temporary file left.
    QCOMPARE(target.permissions(), privateFile);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

QTEST_GUILESS_MAIN(TestDebianPackage)
#include "tst_debian_package.moc"
