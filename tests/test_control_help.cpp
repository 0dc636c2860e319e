#include "support/FakePrompts.h"
#include "ui/MainWindow.h"

#include <QAccessible>
#include <QTest>

using namespace tram;

class ControlHelpTest : public QObject {
    Q_OBJECT
private slots:
    void explained_data();
    void explained();
};

void ControlHelpTest::explained_data()
{
    QTest::addColumn<QString>("name");
    // Facts the text must state in so many words.
    QTest::addColumn<QStringList>("facts");

    auto row = [](const char* name, QStringList facts = {}) {
        QTest::newRow(name) << QString::fromLatin1(name) << facts;
    };
    row("picCanvas",
        {"Lijevi klik", "Shift + lijevi klik", "Desni klik", "Shift + desni klik", "\"Velicina kruga:\"",
         "0.9 piksela"});

    row("cmdNoviSemafor", {"\"Sacuvaj\""});
    row("cmdNovaStanica", {"\"Sacuvaj\""});
    row("txtNaSegmentu", {"0 do 255"});
    row("txtPozicija", {"piksel", "duz segmenta"});
    row("txtVrijeme1", {"-32768 do 32767"});
    row("txtPocetnoStanje", {"0 do 255"});
    row("txtVrijeme2", {"-32768 do 32767"});
    row("txtNazivStanice", {"30 znakova"});
    row("cmdSacuvaj", {"izabranu stanicu ili semafor"});
    row("cmdCrtaj", {"\"Debljina linije:\"", "\"Velicina kruga:\"", "crta"});

    row("cmdNoviSegment");
    row("txtDrawWidth", {"piksel"});
    row("txtCircleSize", {"piksel"});
    row("cmdProsliSegment", {"Prethodni segment"});
    row("cmdSlijedeciSegment", {"Slijedeci segment"});

    row("cmdNovaRuta", {"Najprije sacuva panel"});
    row("txtBrojRute");
    row("txtBrojSegmenataURuti", {"0 do 18"});
    row("txtRutaSegment_1", {"0 do 255", "\"Broj segmenata:\""});
    row("txtRutaSegment_18", {"0 do 255", "\"Broj segmenata:\""});
    row("cmdProslaRuta", {"Prethodna ruta", "najprije sacuva panel"});
    row("cmdSlijedecaRuta", {"Slijedeca ruta", "najprije sacuva panel"});

    row("cmdNoviVlakon", {"Najprije sacuva \"Ruta:\""});
    row("txtSerijskiBroj");
    row("txtRuta", {"0 do 255"});
    row("cmdProsli", {"Prethodni vlakon", "najprije sacuva \"Ruta:\""});
    row("cmdSlijedeci", {"Slijedeci vlakon", "najprije sacuva \"Ruta:\""});

    row("chkShowCircles");
    row("chkShowSpec1");
    row("chkShowSpec2");
    row("chkPrikaziRutu");
    row("chkOznaciTrenutniSegment");
    row("txtResize", {"veci od 0"});
    row("cmdResize", {"\"Koeficijent:\""});
}

// The tooltip is the explanation; a screen reader must get the same text, and
// it must be in the window's language, written like every caption.
void ControlHelpTest::explained()
{
    QFETCH(QString, name);
    QFETCH(QStringList, facts);

    FakePrompts prompts;
    MainWindow window(&prompts);
    auto* control = window.findChild<QWidget*>(name);
    QVERIFY(control);

    const QString tip = control->toolTip();
    QVERIFY(!tip.trimmed().isEmpty());
    QCOMPARE(control->accessibleDescription(), tip);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Description), tip);

    for (const QChar c : tip)
        QVERIFY2(c == u'\n' || (c.unicode() >= 0x20 && c.unicode() < 0x7f), qPrintable(tip));
    // Plain tooltips are not wrapped: a long line would run across the screen.
    for (const QString& line : tip.split(u'\n'))
        QVERIFY2(line.size() <= 80, qPrintable(line));
    for (const QString& fact : facts)
        QVERIFY2(tip.contains(fact), qPrintable(fact));
}

QTEST_MAIN(ControlHelpTest)
#include "test_control_help.moc"
