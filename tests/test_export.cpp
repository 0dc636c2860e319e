#include "support/Schemes.h"
#include "support/Window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace tram;
using testwindow::Window;

namespace {

// "Datoteka" > "Sacuvaj sliku", answering the dialog with the name.
void exportAs(Window& w, const QString& fileName)
{
    w.prompts.fileAnswers = QStringList{fileName};
    w.trigger("mnuExportPicture");
}

QImage readBitmap(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("BM"))
        return {};
    return QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

class ExportTest : public QObject {
    Q_OBJECT
private slots:
    void cancelWritesNothing();
    void blankCanvasAfterStartUp();
    void nameIsUsedAsTyped_data();
    void nameIsUsedAsTyped();
    void wholeCanvasAfterPan();
    void pictureAsItStandsWithoutRedraw();
    void replacesAnExistingFile();
    void unwritablePlace_data();
    void unwritablePlace();
};

void ExportTest::cancelWritesNothing()
{
    // A cancelled dialog must not write a file of an empty name anywhere, not
    // even in the working directory.
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
    Window w;
    exportAs(w, QString());
    QCOMPARE(w.prompts.fileQuestions.size(), 1);
    QVERIFY(w.prompts.fileQuestions[0].save);
    QCOMPARE(w.prompts.fileQuestions[0].title, QStringLiteral("Save"));
    QCOMPARE(w.prompts.fileQuestions[0].filter, QStringLiteral("Bitmap files (*.bmp)"));
    QVERIFY(entries(dir.path()).isEmpty());
    QVERIFY(w.prompts.warnings.isEmpty());
}

void ExportTest::blankCanvasAfterStartUp()
{
    QTemporaryDir dir;
    Window w;
    const QString path = dir.filePath(QStringLiteral("blank.bmp"));
    exportAs(w, path);

    const QImage image = readBitmap(path);
    QCOMPARE(image.size(), QSize(1000, 392));
    QImage white(image.size(), QImage::Format_RGB32);
    white.fill(qRgb(255, 255, 255));
    QVERIFY(image == white);
    QVERIFY(w.prompts.warnings.isEmpty());
    QCOMPARE(w.window.redrawCount(), 0);
}

void ExportTest::nameIsUsedAsTyped_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("with .bmp") << "map.bmp";
    QTest::newRow("without extension") << "map";
    QTest::newRow("another extension") << "map.png";
    QTest::newRow("capitals and blanks") << "Karta Grada.BMP";
    QTest::newRow("ends in a dot") << "map.";
}

void ExportTest::nameIsUsedAsTyped()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    Window w;
    testschemes::AddSegment(w.scheme(), {{100, 100}, {400, 100}});
    w.click("cmdCrtaj");
    exportAs(w, dir.filePath(name));

    QCOMPARE(entries(dir.path()), QStringList{name});
    const QImage image = readBitmap(dir.filePath(name));
    QCOMPARE(image.size(), QSize(1000, 392));
    QCOMPARE(image.pixel(250, 100), qRgb(190, 190, 190));
    QCOMPARE(image.pixel(250, 90), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(250, 80), qRgb(255, 255, 255));
}

void ExportTest::wholeCanvasAfterPan()
{
    QTemporaryDir dir;
    Window w;
    testschemes::AddSegment(w.scheme(), {{10, 20}, {990, 380}});
    testschemes::AddSegment(w.scheme(), {{900, 30}, {50, 300}});
    w.window.model().edit.CurrentSegment = 2;
    w.click("cmdCrtaj");
    w.window.findChild<QScrollBar*>(QStringLiteral("hscScroll"))->setValue(1000);
    const QString path = dir.filePath(QStringLiteral("panned.bmp"));
    exportAs(w, path);

    const QImage image = readBitmap(path);
    QCOMPARE(image.size(), QSize(1000, 392));
    QVERIFY(image == w.window.canvas().image().convertToFormat(QImage::Format_RGB32));
    QCOMPARE(image.pixel(10, 20), qRgb(190, 190, 190)); // scrolled out of the frame
}

void ExportTest::pictureAsItStandsWithoutRedraw()
{
    QTemporaryDir dir;
    Window w;
    testschemes::AddSegment(w.scheme(), {{100, 100}, {400, 100}});
    w.click("cmdCrtaj");
    const QImage drawn = w.window.canvas().image().convertToFormat(QImage::Format_RGB32);
    // A change the canvas has not shown yet.
    testschemes::AddSegment(w.scheme(), {{100, 300}, {400, 300}});
    const QString path = dir.filePath(QStringLiteral("stale.bmp"));
    exportAs(w, path);

    QCOMPARE(w.window.redrawCount(), 1);
    QVERIFY(readBitmap(path) == drawn);
}

void ExportTest::replacesAnExistingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.bmp"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000000, 'x'));
    old.close();

    Window w;
    exportAs(w, path);
    QVERIFY(w.prompts.warnings.isEmpty());
    QCOMPARE(w.prompts.informations.size(), 0);
    QCOMPARE(readBitmap(path).size(), QSize(1000, 392));
    QVERIFY(QFileInfo(path).size() < 5000000);
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("old.bmp")});
}

void ExportTest::unwritablePlace_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing directory") << "nowhere/map.bmp";
    QTest::newRow("name of a directory") << "taken";
}

void ExportTest::unwritablePlace()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken")));
    Window w;
    testschemes::AddSegment(w.scheme(), {{100, 100}, {400, 100}});
    w.click("cmdCrtaj");
    const QString path = dir.filePath(name);
    exportAs(w, path);

    QCOMPARE(w.prompts.warnings.size(), 1);
    QVERIFY2(w.prompts.warnings[0].contains(path), qPrintable(w.prompts.warnings[0]));
    // No partial or temporary file anywhere.
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("taken")});
    QVERIFY(entries(dir.filePath(QStringLiteral("taken"))).isEmpty());
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("taken"))).isDir());
}

QTEST_MAIN(ExportTest)
#include "test_export.moc"
