#include "support/Window.h"

#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

using namespace tram;
using testwindow::Window;

namespace {

// The panel's boxes in the order of the panel table.
const char* const PanelBoxes[] = {"txtRedniBroj",  "txtNaSegmentu",    "txtPozicija",
                                  "txtVrijeme1",   "txtVrijeme2",      "txtPocetnoStanje",
                                  "txtNazivStanice"};

StationName nameOf(const QString& thirtyCharacters)
{
    Q_ASSERT(thirtyCharacters.size() == NameLength);
    StationName name{};
    for (int i = 0; i < NameLength; ++i)
        name[i] = thirtyCharacters[i].unicode();
    return name;
}

QStringList panel(Window& w)
{
    QStringList texts;
    for (const char* name : PanelBoxes)
        texts << w.text(name);
    return texts;
}

// Shift+left on the canvas, as the user picks an object. Objects on a
// segment without vertices lie at the origin; (1, 1) is within reach of it
// (QTest would take (0, 0) as "the widget's centre").
void pickAtOrigin(Window& w)
{
    QTest::mouseClick(w.canvas, Qt::LeftButton, Qt::ShiftModifier, QPoint(1, 1));
}

} // namespace

class StationsTest : public QObject {
    Q_OBJECT
private slots:
    void newStationInFreshScheme();
    void newLightInFreshScheme();
    void stationsAndLightsAreNumberedApart();
    void showingOverwritesEveryBox();
    void applyStation();
    void segmentBoxRounding_data();
    void segmentBoxRounding();
    void nameRules_data();
    void nameRules();
    void nameOfCodeZeroCharactersShowsTrimmed();
    void applyLightRestartsCounter();
    void stationIgnoresLightBoxes();
    void applyWithNothingSelected();
    void creationReusesElementsBeyondCount();
    void hundredFirstStationIsRefused();
    void hundredFirstLightIsRefused();
    void valueOutsideItsFieldIsRefused_data();
    void valueOutsideItsFieldIsRefused();
    void valuesAtFieldLimitsAreTaken();
    void positionShownWithPointInAnyLocale_data();
    void positionShownWithPointInAnyLocale();
};

void StationsTest::newStationInFreshScheme()
{
    Window w;
    w.click("cmdNovaStanica");
    QCOMPARE(panel(w), (QStringList{"1", "0", "0", "10", "", "", ""}));
    QCOMPARE(w.scheme().StationCount, 1);
    QCOMPARE(w.scheme().Stations[1].Time1, 10);
    QCOMPARE(w.edit().CurrentStation, 1);
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Station);
    QCOMPARE(w.window.redrawCount(), 0);
}

void StationsTest::newLightInFreshScheme()
{
    Window w;
    w.click("cmdNoviSemafor");
    QCOMPARE(panel(w), (QStringList{"1", "0", "0", "10", "10", "0", ""}));
    QCOMPARE(w.scheme().LightCount, 1);
    const TrafficLight& light = w.scheme().Lights[1];
    QCOMPARE(light.Time1, 10);
    QCOMPARE(light.Time2, 10);
    QCOMPARE(light.InitialState, 0);
    QCOMPARE(w.edit().CurrentLight, 1);
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Light);
    QCOMPARE(w.window.redrawCount(), 0);
}

void StationsTest::stationsAndLightsAreNumberedApart()
{
    Window w;
    w.click("cmdNovaStanica");
    w.click("cmdNovaStanica");
    QCOMPARE(w.box("txtRedniBroj")->text(), QStringLiteral("2"));
    w.click("cmdNoviSemafor");
    QCOMPARE(w.box("txtRedniBroj")->text(), QStringLiteral("1"));
    QCOMPARE(w.edit().CurrentStation, 2);
    QCOMPARE(w.edit().CurrentLight, 1);
}

void StationsTest::showingOverwritesEveryBox()
{
    Window w;
    for (const char* name : PanelBoxes)
        w.box(name)->setText(QStringLiteral("typed"));
    w.click("cmdNovaStanica");
    QCOMPARE(panel(w), (QStringList{"1", "0", "0", "10", "", "", ""}));

    for (const char* name : PanelBoxes)
        w.box(name)->setText(QStringLiteral("typed"));
    w.click("cmdNoviSemafor");
    QCOMPARE(panel(w), (QStringList{"1", "0", "0", "10", "10", "0", ""}));
}

void StationsTest::applyStation()
{
    Window w;
    w.click("cmdNovaStanica");
    w.type("txtNaSegmentu", "3");
    w.type("txtPozicija", "12.25");
    w.type("txtVrijeme1", "-7");
    w.type("txtNazivStanice", "Ilidza");
    const QStringList typed = panel(w);
    w.click("cmdSacuvaj");

    const Station& station = w.scheme().Stations[1];
    QCOMPARE(station.Segment, 3);
    QCOMPARE(station.Position, 12.25);
    QCOMPARE(station.Time1, -7);
    QVERIFY(station.Name == nameOf(QStringLiteral("Ilidza").leftJustified(NameLength)));
    QVERIFY(w.prompts.warnings.isEmpty());
    QCOMPARE(panel(w), typed);
    QCOMPARE(w.window.redrawCount(), 0);
}

void StationsTest::segmentBoxRounding_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("half down to even") << "2.5" << 2;
    QTest::newRow("half up to even") << "3.5" << 4;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("number then letters") << "7abc" << 7;
    QTest::newRow("hexadecimal") << "&HFF" << 255;
    QTest::newRow("minus a half rounds to zero") << "-0.5" << 0;
    QTest::newRow("no such segment") << "41" << 41;
}

void StationsTest::segmentBoxRounding()
{
    QFETCH(QString, typed);
    QFETCH(int, stored);
    Window w;
    w.click("cmdNovaStanica");
    w.type("txtNaSegmentu", typed);
    w.click("cmdSacuvaj");
    QCOMPARE(int(w.scheme().Stations[1].Segment), stored);
    QCOMPARE(w.box("txtNaSegmentu")->text(), typed);
    QVERIFY(w.prompts.warnings.isEmpty());
}

void StationsTest::nameRules_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    const QString thirty = QStringLiteral("Trg Alije Izetbegovica Sarajev");
    QTest::newRow("leading blanks kept") << "  Ilidza" << QString("  Ilidza").leftJustified(30)
                                         << "Ilidza";
    QTest::newRow("trailing blanks") << "Bascarsija  " << QString("Bascarsija").leftJustified(30)
                                     << "Bascarsija";
    QTest::newRow("inner blanks") << " Marijin  Dvor " << QString(" Marijin  Dvor").leftJustified(30)
                                  << "Marijin  Dvor";
    QTest::newRow("exactly 30") << thirty << thirty << thirty;
    QTest::newRow("35 cut to 30") << thirty + "o 12" << thirty << thirty;
    QTest::newRow("empty") << "" << QString(30, u' ') << "";
}

void StationsTest::nameRules()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    Window w;
    w.click("cmdNovaStanica");
    w.type("txtNazivStanice", typed);
    w.click("cmdSacuvaj");
    QVERIFY(w.scheme().Stations[1].Name == nameOf(stored));

    // Show it again: select another station, then pick the first one back.
    w.click("cmdNovaStanica");
    QCOMPARE(w.box("txtNazivStanice")->text(), QString());
    pickAtOrigin(w);
    QCOMPARE(w.box("txtRedniBroj")->text(), QStringLiteral("1"));
    QCOMPARE(w.box("txtNazivStanice")->text(), shown);
    // Showing trims only the copy in the box.
    QVERIFY(w.scheme().Stations[1].Name == nameOf(stored));
}

void StationsTest::nameOfCodeZeroCharactersShowsTrimmed()
{
    Window w;
    // As read from a file whose name bytes end in zeros.
    w.scheme().StationCount = 1;
    w.scheme().Stations[1].Name = StationName{u'A', u'B'};
    pickAtOrigin(w);
    QCOMPARE(w.edit().SelectedKind, ObjectKind::Station);
    QCOMPARE(w.box("txtNazivStanice")->text(), QStringLiteral("AB"));
}

void StationsTest::applyLightRestartsCounter()
{
    Window w;
    w.click("cmdNoviSemafor");
    w.scheme().Lights[1].Counter = 77;
    w.click("cmdSacuvaj");
    QCOMPARE(w.scheme().Lights[1].Counter, 0);

    w.type("txtNaSegmentu", "4");
    w.type("txtPozicija", "-3.5");
    w.type("txtVrijeme1", "30");
    w.type("txtVrijeme2", "45.5");
    w.type("txtPocetnoStanje", "2");
    w.type("txtNazivStanice", "not read");
    w.click("cmdSacuvaj");
    const TrafficLight& light = w.scheme().Lights[1];
    QCOMPARE(light.Segment, 4);
    QCOMPARE(light.Position, -3.5);
    QCOMPARE(light.Time1, 30);
    QCOMPARE(light.Time2, 46);
    QCOMPARE(light.InitialState, 2);
    QCOMPARE(light.Counter, 0);
    QCOMPARE(w.scheme().Stations[1], Station{});
    QVERIFY(w.prompts.warnings.isEmpty());
    QCOMPARE(w.window.redrawCount(), 0);
}

void StationsTest::stationIgnoresLightBoxes()
{
    Window w;
    w.click("cmdNovaStanica");
    w.type("txtVrijeme2", "99999999");
    w.type("txtPocetnoStanje", "-5");
    w.type("txtVrijeme1", "20");
    w.click("cmdSacuvaj");
    QVERIFY(w.prompts.warnings.isEmpty());
    QCOMPARE(w.scheme().Stations[1].Time1, 20);
    QCOMPARE(w.scheme().Lights[1], TrafficLight{});

    w.click("cmdNovaStanica");
    QCOMPARE(w.box("txtVrijeme2")->text(), QString());
    QCOMPARE(w.box("txtPocetnoStanje")->text(), QString());
}

void StationsTest::applyWithNothingSelected()
{
    Window w;
    w.type("txtNaSegmentu", "300");
    w.type("txtVrijeme1", "5");
    w.click("cmdSacuvaj");
    QVERIFY(w.scheme() == Scheme{});
    QVERIFY(w.edit() == EditState{});
    QVERIFY(w.prompts.warnings.isEmpty());
    QCOMPARE(w.box("txtNaSegmentu")->text(), QStringLiteral("300"));
}

void StationsTest::creationReusesElementsBeyondCount()
{
    Window w;
    for (int i = 1; i <= 2; ++i) {
        w.click("cmdNovaStanica");
        w.click("cmdNoviSemafor");
    }
    // Give station 2 and light 2 values of their own.
    w.click("cmdNovaStanica");
    w.edit().CurrentStation = 2;
    w.type("txtNaSegmentu", "5");
    w.type("txtPozicija", "17.5");
    w.type("txtVrijeme1", "33");
    w.type("txtNazivStanice", "Otoka");
    w.click("cmdSacuvaj");
    w.click("cmdNoviSemafor");
    w.edit().CurrentLight = 2;
    w.type("txtNaSegmentu", "6");
    w.type("txtPozicija", "8");
    w.type("txtVrijeme1", "40");
    w.type("txtVrijeme2", "50");
    w.type("txtPocetnoStanje", "1");
    w.click("cmdSacuvaj");
    w.scheme().Lights[2].Counter = 9;

    // As after opening a scheme of one station and one light.
    w.scheme().StationCount = 1;
    w.scheme().LightCount = 1;

    w.click("cmdNovaStanica");
    QCOMPARE(w.scheme().StationCount, 2);
    QCOMPARE(panel(w), (QStringList{"2", "5", "17.5", "10", "", "", "Otoka"}));
    const Station& station = w.scheme().Stations[2];
    QCOMPARE(station.Segment, 5);
    QCOMPARE(station.Position, 17.5);
    QCOMPARE(station.Time1, 10);
    QVERIFY(station.Name == nameOf(QStringLiteral("Otoka").leftJustified(NameLength)));

    w.click("cmdNoviSemafor");
    QCOMPARE(w.scheme().LightCount, 2);
    QCOMPARE(panel(w), (QStringList{"2", "6", "8", "10", "10", "0", ""}));
    const TrafficLight& light = w.scheme().Lights[2];
    QCOMPARE(light.Segment, 6);
    QCOMPARE(light.Position, 8.0);
    QCOMPARE(light.Counter, 9);
    QCOMPARE(light.InitialState, 0);
    QCOMPARE(light.Time1, 10);
    QCOMPARE(light.Time2, 10);
}

void StationsTest::hundredFirstStationIsRefused()
{
    Window w;
    for (int i = 1; i <= MaxStations; ++i)
        w.click("cmdNovaStanica");
    QCOMPARE(w.scheme().StationCount, MaxStations);
    QVERIFY(w.prompts.warnings.isEmpty());
    w.type("txtNazivStanice", "typed");

    const Scheme before = w.scheme();
    const EditState editBefore = w.edit();
    const QStringList panelBefore = panel(w);
    w.click("cmdNovaStanica");
    QCOMPARE(w.prompts.warnings.size(), 1);
    QVERIFY(w.prompts.warnings.first().contains(QStringLiteral("100")));
    QVERIFY(w.scheme() == before);
    QVERIFY(w.edit() == editBefore);
    QCOMPARE(panel(w), panelBefore);

    // Lights have a table of their own.
    w.click("cmdNoviSemafor");
    QCOMPARE(w.scheme().LightCount, 1);
    QCOMPARE(w.prompts.warnings.size(), 1);
}

void StationsTest::hundredFirstLightIsRefused()
{
    Window w;
    for (int i = 1; i <= MaxLights; ++i)
        w.click("cmdNoviSemafor");
    QCOMPARE(w.scheme().LightCount, MaxLights);

    const Scheme before = w.scheme();
    const EditState editBefore = w.edit();
    const QStringList panelBefore = panel(w);
    w.click("cmdNoviSemafor");
    QCOMPARE(w.prompts.warnings.size(), 1);
    QVERIFY(w.prompts.warnings.first().contains(QStringLiteral("semafor")));
    QVERIFY(w.scheme() == before);
    QVERIFY(w.edit() == editBefore);
    QCOMPARE(panel(w), panelBefore);
}

void StationsTest::valueOutsideItsFieldIsRefused_data()
{
    QTest::addColumn<bool>("light");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("caption");
    QTest::newRow("station segment 256") << false << "txtNaSegmentu" << "256" << "Na segmentu:";
    QTest::newRow("station segment -1") << false << "txtNaSegmentu" << "-1" << "Na segmentu:";
    QTest::newRow("station segment 255.5") << false << "txtNaSegmentu" << "255.5" << "Na segmentu:";
    QTest::newRow("station position overflow") << false << "txtPozicija" << "1E999" << "Pozicija:";
    QTest::newRow("station position -overflow") << false << "txtPozicija" << "-1E400" << "Pozicija:";
    QTest::newRow("station time 32768") << false << "txtVrijeme1" << "32768" << "Vrijeme1:";
    QTest::newRow("station time 32767.5") << false << "txtVrijeme1" << "32767.5" << "Vrijeme1:";
    QTest::newRow("station time -32769") << false << "txtVrijeme1" << "-32769" << "Vrijeme1:";
    QTest::newRow("light segment 300") << true << "txtNaSegmentu" << "300" << "Na segmentu:";
    QTest::newRow("light position overflow") << true << "txtPozicija" << "1E999" << "Pozicija:";
    QTest::newRow("light state 256") << true << "txtPocetnoStanje" << "256" << "Pocetno stanje:";
    QTest::newRow("light state -0.6") << true << "txtPocetnoStanje" << "-0.6" << "Pocetno stanje:";
    QTest::newRow("light time1 40000") << true << "txtVrijeme1" << "40000" << "Vrijeme1:";
    QTest::newRow("light time2 -32769") << true << "txtVrijeme2" << "-32769" << "Vrijeme2:";
    QTest::newRow("light time2 huge") << true << "txtVrijeme2" << "1E10" << "Vrijeme2:";
}

void StationsTest::valueOutsideItsFieldIsRefused()
{
    QFETCH(bool, light);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, caption);
    Window w;
    w.click(light ? "cmdNoviSemafor" : "cmdNovaStanica");
    w.scheme().Lights[1].Counter = 5;
    // Every other box holds a good value that differs from the stored one, so
    // a partly applied edit would show.
    w.type("txtNaSegmentu", "9");
    w.type("txtPozicija", "44.5");
    w.type("txtVrijeme1", "-12");
    w.type("txtVrijeme2", "13");
    w.type("txtPocetnoStanje", "1");
    w.type("txtNazivStanice", "Skenderija");
    w.type(box.toLatin1().constData(), typed);
    const QStringList panelBefore = panel(w);
    const Scheme before = w.scheme();

    w.click("cmdSacuvaj");
    QCOMPARE(w.prompts.warnings.size(), 1);
    QVERIFY2(w.prompts.warnings.first().contains('"' + caption + '"'),
             qPrintable(w.prompts.warnings.first()));
    QVERIFY(w.scheme() == before);
    QCOMPARE(w.scheme().Lights[1].Counter, 5);
    QCOMPARE(panel(w), panelBefore);

    // Mended, the same edit goes through whole.
    w.type(box.toLatin1().constData(), "2");
    w.click("cmdSacuvaj");
    QCOMPARE(w.prompts.warnings.size(), 1);
    QVERIFY(!(w.scheme() == before));
}

void StationsTest::valuesAtFieldLimitsAreTaken()
{
    Window w;
    w.click("cmdNoviSemafor");
    w.type("txtNaSegmentu", "255.4");
    w.type("txtPozicija", "-1E300");
    w.type("txtVrijeme1", "-32768.5");
    w.type("txtVrijeme2", "32767");
    w.type("txtPocetnoStanje", "-0.5");
    w.click("cmdSacuvaj");
    QVERIFY(w.prompts.warnings.isEmpty());
    const TrafficLight& light = w.scheme().Lights[1];
    QCOMPARE(light.Segment, 255);
    QCOMPARE(light.Position, -1e300);
    QCOMPARE(light.Time1, -32768);
    QCOMPARE(light.Time2, 32767);
    QCOMPARE(light.InitialState, 0);
}

void StationsTest::positionShownWithPointInAnyLocale_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("fraction") << "2.75" << 2.75 << "2.75";
    QTest::newRow("whole") << "3.0" << 3.0 << "3";
    QTest::newRow("a tenth") << "0.1" << 0.1 << "0.1";
    QTest::newRow("negative") << "-1234.5" << -1234.5 << "-1234.5";
    QTest::newRow("large") << "1E20" << 1e20 << "1E+20";
}

void StationsTest::positionShownWithPointInAnyLocale()
{
    QFETCH(QString, typed);
    QFETCH(double, stored);
    QFETCH(QString, shown);
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    Window w;
    w.click("cmdNoviSemafor");
    w.type("txtPozicija", typed);
    w.click("cmdSacuvaj");
    QCOMPARE(w.scheme().Lights[1].Position, stored);

    // Shown again and saved again unchanged: the position survives whole.
    w.click("cmdNoviSemafor");
    w.edit().CurrentLight = 1;
    w.scheme().LightCount = 1;
    w.scheme().Lights[1].Segment = 0; // unplaced, so it lies at the origin
    pickAtOrigin(w);
    QCOMPARE(w.box("txtRedniBroj")->text(), QStringLiteral("1"));
    QCOMPARE(w.box("txtPozicija")->text(), shown);
    w.click("cmdSacuvaj");
    QCOMPARE(w.scheme().Lights[1].Position, stored);

    QLocale::setDefault(previous);
}

QTEST_MAIN(StationsTest)
#include "test_stations.moc"
