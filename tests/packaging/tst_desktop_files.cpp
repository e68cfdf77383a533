#include "desktop_metadata.h"
#include "window/frm_main.h"
#include "window/quorvane_application.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QtTest>

namespace {

const QString appId = QStringLiteral(QUORVANE_APP_ID);

QString sourceFile(const QString& suffix)
{
    return QStringLiteral(QUORVANE_SOURCE_DIR "/") + appId + suffix;
}

QString metainfoValue(const QString& element, const QString& attribute = QString())
{
    return xmlValue(sourceFile(QStringLiteral(".metainfo.xml")), element, attribute);
}

enum class Hue { Red, Blue, Silver, Other };

Hue hueOf(QRgb pixel)
{
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    if (qAlpha(pixel) < 200)
        return Hue::Other;
    if (r > 150 && g < 90 && b < 90)
        return Hue::Red;
    if (b > 120 && r < 90 && g < 90)
        return Hue::Blue;
    if (r > 150 && qAbs(r - g) < 16 && qAbs(r - b) < 16)
        return Hue::Silver;
    return Hue::Other;
}

} // namespace

class TestDesktopFiles : public QObject {
    Q_OBJECT
private slots:
    void validators_data();
    void validators();
    void pngIcons_data();
    void pngIcons();
    void scalableIcon();
    void namesAgree_data();
    void namesAgree();
};

void TestDesktopFiles::validators_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("desktop entry") << QStringLiteral(DESKTOP_FILE_VALIDATE)
                                   << QStringList{sourceFile(QStringLiteral(".desktop"))};
    QTest::newRow("metainfo") << QStringLiteral(APPSTREAMCLI)
                              << QStringList{QStringLiteral("validate"), QStringLiteral("--no-net"),
                                             QStringLiteral("--pedantic"),
                                             sourceFile(QStringLiteral(".metainfo.xml"))};
}

void TestDesktopFiles::validators()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(program, arguments);
    QVERIFY2(tool.waitForFinished(60000), qPrintable(tool.errorString()));
    const QString output = QString::fromUtf8(tool.readAll());
    QVERIFY2(tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0, qPrintable(output));
    // Hints and warnings count as failures too; the one pedantic note allowed is the upper-case
    // letter of the id, which the desktop file name has to match.
    for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const bool verdict = line.contains(QLatin1String("Validation was successful"));
        const bool idCase = line.contains(QLatin1String("cid-contains-uppercase-letter"));
        QVERIFY2(verdict || idCase, qPrintable(line));
    }
}

void TestDesktopFiles::pngIcons_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("window");
    for (const QString& size : QStringLiteral(QUORVANE_ICON_SIZES).split(QLatin1Char(','))) {
        QTest::newRow(qPrintable(size + QLatin1String(" px"))) << size.toInt() << false;
        QTest::newRow(qPrintable(size + QLatin1String(" px, the window's"))) << size.toInt() << true;
    }
}

void TestDesktopFiles::pngIcons()
{
    QFETCH(int, size);
    QFETCH(bool, window);
    QImage icon;
    if (window) {
        // Task bars ask the window for the size they show; a size it lacks would be scaled.
        FrmMain form;
        QVERIFY(form.windowIcon().availableSizes().contains(QSize(size, size)));
        icon = form.windowIcon().pixmap(QSize(size, size)).toImage();
    } else {
        const QString path = QStringLiteral("%1/%2x%2/apps/%3.png").arg(QStringLiteral(QUORVANE_ICON_DIR)).arg(size).arg(appId);
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("png"));
        icon = reader.read();
        QVERIFY2(!icon.isNull(), qPrintable(reader.errorString()));
    }
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(icon.hasAlphaChannel());
    for (const QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size / 4)})
        QCOMPARE(qAlpha(icon.pixel(corner)), 0);

    // The picture: red letter at the lower left, blue at the top, silver at the lower right,
    // each with a grey shadow.
    QHash<QString, int> found;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QString place = y < size / 2 ? QStringLiteral("top")
                                  : x < size / 2 ? QStringLiteral("lower left")
                                                 : QStringLiteral("lower right");
            const QRgb pixel = icon.pixel(x, y);
            switch (hueOf(pixel)) {
            case Hue::Red: ++found[place + QLatin1String(" red")]; break;
            case Hue::Blue: ++found[place + QLatin1String(" blue")]; break;
            case Hue::Silver: ++found[place + QLatin1String(" silver")]; break;
            case Hue::Other:
                if (qAlpha(pixel) > 100 && qAbs(qRed(pixel) - 0x80) < 16 && qRed(pixel) == qGreen(pixel)
                    && qRed(pixel) == qBlue(pixel))
                    ++found[QStringLiteral("shadow")];
                break;
            }
        }
    }
    const int letter = size * size / 100;
    QVERIFY2(found.value(QStringLiteral("lower left red")) >= letter, "no red letter at the lower left");
    QVERIFY2(found.value(QStringLiteral("top blue")) >= letter, "no blue letter at the top");
    QVERIFY2(found.value(QStringLiteral("lower right silver")) >= letter, "no silver letter at the lower right");
    QVERIFY2(found.value(QStringLiteral("shadow")) >= letter / 2, "no grey shadow");
    for (const char* stray : {"lower right red", "lower left blue", "lower right blue", "lower left silver"})
        QVERIFY2(found.value(QLatin1String(stray)) == 0, stray);
}

void TestDesktopFiles::scalableIcon()
{
    QFile file(sourceFile(QStringLiteral(".svg")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name(), QLatin1String("svg"));
    QCOMPARE(xml.namespaceUri(), QLatin1String("http://www.w3.org/2000/svg"));
    const QStringList box = xml.attributes().value(QLatin1String("viewBox")).toString().split(QLatin1Char(' '));
    QCOMPARE(box.size(), 4);
    QCOMPARE(box.at(2), box.at(3));
    while (!xml.atEnd())
        xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
}

void TestDesktopFiles::namesAgree_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    const QHash<QString, QString> entry = desktopEntry(sourceFile(QStringLiteral(".desktop")));
    QTest::newRow("program's desktop file name") << QGuiApplication::desktopFileName() << appId;
    QTest::newRow("entry's icon") << entry.value(QStringLiteral("Icon")) << appId;
    QTest::newRow("entry's program") << entry.value(QStringLiteral("Exec")) << QStringLiteral("quorvane");
    QTest::newRow("metainfo id") << metainfoValue(QStringLiteral("id")) << appId;
    QTest::newRow("metainfo launchable") << metainfoValue(QStringLiteral("launchable"))
                                         << appId + QLatin1String(".desktop");
    QTest::newRow("metainfo icon") << metainfoValue(QStringLiteral("icon")) << appId;
    QTest::newRow("metainfo binary") << metainfoValue(QStringLiteral("binary")) << QStringLiteral("quorvane");
    QTest::newRow("metainfo release") << metainfoValue(QStringLiteral("release"), QStringLiteral("version"))
                                      << QCoreApplication::applicationVersion();
}

void TestDesktopFiles::namesAgree()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

int main(int argc, char** argv)
{
    QuorvaneApplication app(argc, argv);
    TestDesktopFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop_files.moc"
