// The property panel's commands: creating stations and lights, what the panel
// shows of the selected one, and writing the typed boxes into it.

#include "editing/StationsPanel.h"
#include "support/Schemes.h"

#include <QLocale>
#include <QScopeGuard>
#include <QTest>

using namespace tram;
using testschemes::PaddedName;

Q_DECLARE_METATYPE(Station)
Q_DECLARE_METATYPE(TrafficLight)

namespace {

// The panel's boxes in their order: "Redni broj:", "Na segmentu:", "Pozicija:",
// "Vrijeme1:", "Vrijeme2:", "Pocetno stanje:", "Naziv stanice:".
PropertyTexts panelOf(const QStringList& boxes)
{
    return {boxes[0], boxes[1], boxes[2], boxes[3], boxes[4], boxes[5], boxes[6]};
}

QStringList shown(const EditorModel& model)
{
    const std::optional<PropertyTexts> t = ShowSelectedObject(model);
    if (!t)
        return {};
    return {t->number, t->segment, t->position, t->time1, t->time2, t->initialState, t->name};
}

// Adds a station or a light and selects it; false when that was refused.
[[nodiscard]] bool addNew(EditorModel& model, bool light)
{
    return !(light ? NewLight(model) : NewStation(model));
}

const QStringList NewStationPanel{"1", "0", "0", "10", "", "", ""};
const QStringList NewLightPanel{"1", "0", "0", "10", "10", "0", ""};

} // namespace

class StationsTest : public QObject {
    Q_OBJECT
private slots:
    void newObjectIsSelectedAndShown_data();
    void newObjectIsSelectedAndShown();
    void stationsAndLightsAreNumberedApart();
    void creationReusesElementsBeyondCount();
    void applyStoresTheTypedBoxes_data();
    void applyStoresTheTypedBoxes();
    void valueOutsideItsFieldIsRefused_data();
    void valueOutsideItsFieldIsRefused();
    void applyWithNothingSelected();
    void nameRules_data();
    void nameRules();
    void codeZeroPaddingIsNotShown();
    void positionShownWithPointInAnyLocale_data();
    void positionShownWithPointInAnyLocale();
};

void StationsTest::newObjectIsSelectedAndShown_data()
{
    QTest::addColumn<bool>("light");
    QTest::addColumn<QStringList>("panel");
    QTest::newRow("station") << false << NewStationPanel;
    QTest::newRow("light") << true << NewLightPanel;
}

void StationsTest::newObjectIsSelectedAndShown()
{
    QFETCH(bool, light);
    QFETCH(QStringList, panel);
    EditorModel model;
    QVERIFY(addNew(model, light));
    QCOMPARE(shown(model), panel);
    QCOMPARE(model.edit.SelectedKind, light ? ObjectKind::Light : ObjectKind::Station);
    QCOMPARE(light ? model.edit.CurrentLight : model.edit.CurrentStation, 1);
    QCOMPARE(light ? model.scheme.LightCount : model.scheme.StationCount, 1);
    QCOMPARE(light ? model.scheme.StationCount : model.scheme.LightCount, 0);
}

void StationsTest::stationsAndLightsAreNumberedApart()
{
    EditorModel model;
    QVERIFY(!NewStation(model));
    QVERIFY(!NewStation(model));
    QCOMPARE(shown(model).first(), QStringLiteral("2"));
    QVERIFY(!NewLight(model));
    QCOMPARE(shown(model).first(), QStringLiteral("1"));
    QCOMPARE(model.edit.CurrentStation, 2);
    QCOMPARE(model.edit.CurrentLight, 1);

    // A full table of stations leaves the lights' table open.
    model.scheme.StationCount = MaxStations;
    QVERIFY(NewStation(model));
    QVERIFY(!NewLight(model));
    QCOMPARE(model.scheme.LightCount, 2);
}

void StationsTest::creationReusesElementsBeyondCount()
{
    // As after opening a scheme of one station and one light over a larger one.
    EditorModel model;
    model.scheme.Stations[2] = Station{5, 17.5, 33, PaddedName(QStringLiteral("Otoka"))};
    model.scheme.Lights[2] = TrafficLight{6, 8, 1, 50, 40, 9};
    model.scheme.StationCount = 1;
    model.scheme.LightCount = 1;

    QVERIFY(!NewStation(model));
    QCOMPARE(model.scheme.StationCount, 2);
    QCOMPARE(shown(model), (QStringList{"2", "5", "17.5", "10", "", "", "Otoka"}));
    QCOMPARE(model.scheme.Stations[2], (Station{5, 17.5, 10, PaddedName(QStringLiteral("Otoka"))}));

    QVERIFY(!NewLight(model));
    QCOMPARE(model.scheme.LightCount, 2);
    QCOMPARE(shown(model), (QStringList{"2", "6", "8", "10", "10", "0", ""}));
    QCOMPARE(model.scheme.Lights[2], (TrafficLight{6, 8, 0, 10, 10, 9}));
}

void StationsTest::applyStoresTheTypedBoxes_data()
{
    QTest::addColumn<bool>("light");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<Station>("station");
    QTest::addColumn<TrafficLight>("trafficLight");
    auto station = [&](const char* name, const QString& segment, int stored) {
        QTest::newRow(name) << false << QStringList{"1", segment, "0", "10", "", "", ""}
                            << Station{uint8_t(stored), 0, 10, PaddedName({})} << TrafficLight{};
    };

    QTest::newRow("station") << false << QStringList{"1", "3", "12.25", "-7", "", "", "Ilidza"}
                             << Station{3, 12.25, -7, PaddedName(QStringLiteral("Ilidza"))} << TrafficLight{};
    // A station reads neither "Vrijeme2:" nor "Pocetno stanje:", whatever they hold.
    QTest::newRow("station ignores light boxes") << false << QStringList{"1", "0", "0", "20", "99999999", "-5", ""}
                                                 << Station{0, 0, 20, PaddedName({})} << TrafficLight{};
    station("segment half down to even", "2.5", 2);
    station("segment half up to even", "3.5", 4);
    station("segment letters", "abc", 0);
    station("segment empty", "", 0);
    station("segment number then letters", "7abc", 7);
    station("segment hexadecimal", "&HFF", 255);
    station("segment minus a half rounds to zero", "-0.5", 0);
    station("no such segment", "41", 41);
    // A light reads every box but the name, and its counter starts again.
    QTest::newRow("light") << true << QStringList{"1", "4", "-3.5", "30", "45.5", "2", "not read"} << Station{}
                           << TrafficLight{4, -3.5, 2, 46, 30, 0};
    QTest::newRow("light at the field limits")
        << true << QStringList{"1", "255.4", "-1E300", "-32768.5", "32767", "-0.5", ""} << Station{}
        << TrafficLight{255, -1e300, 0, 32767, -32768, 0};
}

void StationsTest::applyStoresTheTypedBoxes()
{
    QFETCH(bool, light);
    QFETCH(QStringList, typed);
    QFETCH(Station, station);
    QFETCH(TrafficLight, trafficLight);
    EditorModel model;
    QVERIFY(addNew(model, light));
    model.scheme.Lights[1].Counter = 77;
    const EditState edit = model.edit;

    const std::optional<Refusal> refusal = ApplyProperties(panelOf(typed), model);
    QVERIFY2(!refusal, qPrintable(refusal.value_or(QString())));
    if (light) {
        QCOMPARE(model.scheme.Lights[1], trafficLight);
        QCOMPARE(model.scheme.Stations[1], Station{});
    } else {
        QCOMPARE(model.scheme.Stations[1], station);
        QCOMPARE(model.scheme.Lights[1].Counter, 77);
    }
    QVERIFY(model.edit == edit);
}

void StationsTest::valueOutsideItsFieldIsRefused_data()
{
    QTest::addColumn<bool>("light");
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, bool light, int box, const char* typed, const char* caption,
                        const char* allowed) {
        QTest::newRow(name) << light << box << typed
                            << QStringLiteral("Vrijednost u polju \"%1\" mora biti %2.").arg(caption, allowed);
    };
    row("station segment 256", false, 1, "256", "Na segmentu:", "izmedju 0 i 255");
    row("station segment -1", false, 1, "-1", "Na segmentu:", "izmedju 0 i 255");
    row("station segment 255.5", false, 1, "255.5", "Na segmentu:", "izmedju 0 i 255");
    row("station position overflow", false, 2, "1E999", "Pozicija:", "konacan broj");
    row("station position -overflow", false, 2, "-1E400", "Pozicija:", "konacan broj");
    row("station time 32768", false, 3, "32768", "Vrijeme1:", "izmedju -32768 i 32767");
    row("station time 32767.5", false, 3, "32767.5", "Vrijeme1:", "izmedju -32768 i 32767");
    row("station time -32769", false, 3, "-32769", "Vrijeme1:", "izmedju -32768 i 32767");
    row("light segment 300", true, 1, "300", "Na segmentu:", "izmedju 0 i 255");
    row("light position overflow", true, 2, "1E999", "Pozicija:", "konacan broj");
    row("light time1 40000", true, 3, "40000", "Vrijeme1:", "izmedju -32768 i 32767");
    row("light time2 -32769", true, 4, "-32769", "Vrijeme2:", "izmedju -32768 i 32767");
    row("light time2 huge", true, 4, "1E10", "Vrijeme2:", "izmedju -32768 i 32767");
    row("light state 256", true, 5, "256", "Pocetno stanje:", "izmedju 0 i 255");
    row("light state -0.6", true, 5, "-0.6", "Pocetno stanje:", "izmedju 0 i 255");
}

// All boxes or none: every other box holds a good value that differs from
// the stored one, so a partly applied edit would show.
void StationsTest::valueOutsideItsFieldIsRefused()
{
    QFETCH(bool, light);
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    EditorModel model;
    QVERIFY(addNew(model, light));
    model.scheme.Lights[1].Counter = 5;
    QStringList boxes{"1", "9", "44.5", "-12", "13", "1", "Skenderija"};
    boxes[box] = typed;
    const Scheme before = model.scheme;

    const std::optional<Refusal> refusal = ApplyProperties(panelOf(boxes), model);
    QVERIFY(refusal);
    QCOMPARE(*refusal, message);
    QVERIFY(model.scheme == before);

    // Mended, the same edit goes through whole.
    boxes[box] = QStringLiteral("2");
    QVERIFY(!ApplyProperties(panelOf(boxes), model));
    QVERIFY(!(model.scheme == before));
}

void StationsTest::applyWithNothingSelected()
{
    EditorModel model;
    QVERIFY(!ApplyProperties(panelOf({"", "300", "", "5", "", "", ""}), model));
    QVERIFY(model.scheme == Scheme{});
    QVERIFY(model.edit == EditState{});
    QVERIFY(!ShowSelectedObject(model));
}

void StationsTest::nameRules_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    const QString thirty = QStringLiteral("Trg Alije Izetbegovica Sarajev");
    QTest::newRow("leading blanks kept") << "  Ilidza" << QString("  Ilidza").leftJustified(30) << "Ilidza";
    QTest::newRow("trailing blanks") << "Bascarsija  " << QString("Bascarsija").leftJustified(30) << "Bascarsija";
    QTest::newRow("inner blanks") << " Marijin  Dvor " << QString(" Marijin  Dvor").leftJustified(30)
                                  << "Marijin  Dvor";
    QTest::newRow("exactly 30") << thirty << thirty << thirty;
    QTest::newRow("35 cut to 30") << thirty + "o 12" << thirty << thirty;
    QTest::newRow("empty") << "" << QString(30, u' ') << "";
}

// Showing trims only the copy in the box.
void StationsTest::nameRules()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    EditorModel model;
    QVERIFY(addNew(model, false));
    QVERIFY(!ApplyProperties(panelOf({"1", "0", "0", "10", "", "", typed}), model));
    QVERIFY(model.scheme.Stations[1].Name == PaddedName(stored));
    QCOMPARE(ShowSelectedObject(model)->name, shown);
    QVERIFY(model.scheme.Stations[1].Name == PaddedName(stored));
}

// As read from a file whose name bytes end in zeros.
void StationsTest::codeZeroPaddingIsNotShown()
{
    EditorModel model;
    QVERIFY(addNew(model, false));
    model.scheme.Stations[1].Name = StationName{u'A', u'B'};
    QCOMPARE(ShowSelectedObject(model)->name, QStringLiteral("AB"));
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

// Shown again and applied again unchanged: the position survives whole.
void StationsTest::positionShownWithPointInAnyLocale()
{
    QFETCH(QString, typed);
    QFETCH(double, stored);
    QFETCH(QString, shown);
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });

    EditorModel model;
    QVERIFY(addNew(model, true));
    QStringList boxes = NewLightPanel;
    boxes[2] = typed;
    QVERIFY(!ApplyProperties(panelOf(boxes), model));
    QCOMPARE(model.scheme.Lights[1].Position, stored);
    QCOMPARE(ShowSelectedObject(model)->position, shown);
    QVERIFY(!ApplyProperties(*ShowSelectedObject(model), model));
    QCOMPARE(model.scheme.Lights[1].Position, stored);
}

QTEST_GUILESS_MAIN(StationsTest)
#include "test_stations.moc"
