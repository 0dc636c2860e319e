#include "ui/ControlHelp.h"

#include "editing/SegmentCommands.h"
#include "editing/TramsPanel.h"
#include "model/Scheme.h"

#include <QRegularExpression>
#include <QWidget>
#include <limits>

namespace tram {

namespace {

struct ControlHelp {
    const char* name;
    QString text;
};

// "od 0 do 255": what a field holds, as the help says it.
template <typename Field>
QString fromTo()
{
    return QStringLiteral("od %1 do %2").arg(std::numeric_limits<Field>::min()).arg(std::numeric_limits<Field>::max());
}

const QString ByteRange = fromTo<uint8_t>();
const QString TimeRange = fromTo<int16_t>();

// Tooltips show plain text unwrapped, so every text brings its own line breaks.
// The limits come from the model, so the help says what the commands enforce.
const ControlHelp Help[] = {
    // Canvas
    {"picCanvas",
     "Lijevi klik i vucenje: pomjera prvu tacku (po broju segmenta, pa tacke)\n"
     "udaljenu od kursora najvise \"Velicina kruga:\" piksela.\n"
     "Shift + lijevi klik: bira semafor, a ako ga nema stanicu, u istom dosegu\n"
     "i prikazuje podatke u panelu lijevo dolje; bez pogotka vuce tacku.\n"
     "Desni klik: bira prvi segment ciji dio prolazi manje od 0.9 piksela\n"
     "iznad ili ispod kursora (vazi cijela prava kroz dvije tacke dijela).\n"
     "Shift + desni klik: uz to umece tacku klika iza prve tacke tog dijela."},

    // Station and light panel
    {"cmdNoviSemafor",
     QStringLiteral("Dodaje semafor i prikazuje ga u panelu: upisite segment, poziciju,\n"
                    "vremena i pocetno stanje pa pritisnite \"Sacuvaj\".\n"
                    "Na mapi se vidi poslije \"Crtaj\". Najvise %1 semafora.")
         .arg(MaxLights)},
    {"cmdNovaStanica",
     QStringLiteral("Dodaje stanicu i prikazuje je u panelu: upisite segment, poziciju\n"
                    "i naziv pa pritisnite \"Sacuvaj\".\n"
                    "Na mapi se vidi poslije \"Crtaj\". Najvise %1 stanica.")
         .arg(MaxStations)},
    {"txtNaSegmentu",
     QStringLiteral("Broj segmenta na kojem stoji stanica ili semafor, %1.\n"
                    "Ne provjerava se da li segment postoji (to nalazi \"tram-map-tool check\").")
         .arg(ByteRange)},
    {"txtPozicija",
     "Udaljenost u pikselima od prve tacke segmenta, mjerena duz segmenta\n"
     "(nije postotak). Veca od duzine segmenta stavlja objekat u gornji lijevi\n"
     "ugao platna. Decimalni znak je tacka (12.5)."},
    {"txtVrijeme1", QStringLiteral("Cijeli broj %1.").arg(TimeRange)},
    {"txtPocetnoStanje", QStringLiteral("Samo za semafor: %1; 0 je crveno, ostalo zeleno.").arg(ByteRange)},
    {"txtVrijeme2", QStringLiteral("Samo za semafor: cijeli broj %1.").arg(TimeRange)},
    {"txtNazivStanice", QStringLiteral("Samo za stanicu: najvise %1 znakova, duzi naziv se skracuje.").arg(NameLength)},
    {"cmdSacuvaj",
     "Upisuje polja ovog panela u izabranu stanicu ili semafor\n"
     "(stanica: segment, pozicija, Vrijeme1 i naziv; semafor: sve osim naziva).\n"
     "Vrijednost izvan opsega se odbija porukom i nista se ne mijenja.\n"
     "Ne cuva datoteku i ne crta: promjena se vidi poslije \"Crtaj\"."},
    {"cmdCrtaj",
     "Primjenjuje \"Debljina linije:\" i \"Velicina kruga:\" i crta mapu iznova.\n"
     "Poslije \"Otvori\" platno pokazuje staru sliku dok se ne pritisne \"Crtaj\"."},

    // Segment and drawing panel
    {"cmdNoviSegment",
     QStringLiteral("Dodaje segment s dvije tacke na slucajnim mjestima izmedju %1 i %2\n"
                    "piksela i cini ga trenutnim. Najvise %3 segmenata.")
         .arg(NewVertexLowest)
         .arg(NewVertexHighest)
         .arg(MaxSegments)},
    {"txtDrawWidth",
     QStringLiteral("Sirina traka na mapi u pikselima, cijeli broj do %1.\n"
                    "Vrijedi tek poslije \"Crtaj\"; manje od 1 ostavlja dosadasnju sirinu.")
         .arg(std::numeric_limits<decltype(DisplaySettings::DrawWidth)>::max())},
    {"txtCircleSize",
     "Poluprecnik krugova oko tacaka u pikselima, ujedno doseg misa: lijevi klik\n"
     "hvata tacku, a Shift + lijevi klik semafor ili stanicu udaljenu najvise\n"
     "toliko. Vrijedi tek poslije \"Crtaj\". 0: samo tacno na tacki; ispod 0: nista."},
    {"cmdProsliSegment",
     "Prethodni segment: trenutni postaje segment s brojem manjim za 1\n"
     "(na segmentu 1 ne radi nista). Uz \"Oznaci segment\" mapa se crta iznova."},
    {"cmdSlijedeciSegment",
     "Slijedeci segment: trenutni postaje segment s brojem vecim za 1\n"
     "(na zadnjem ne radi nista). Uz \"Oznaci segment\" mapa se crta iznova."},

    // Route panel
    {"cmdNovaRuta",
     QStringLiteral("Najprije sacuva panel rute u prikazanu rutu, pa dodaje novu rutu\n"
                    "i prikazuje je. Najvise %1 ruta.")
         .arg(MaxRoutes)},
    {"txtBrojRute", "Broj prikazane rute. Samo za prikaz: upis ovdje nista ne mijenja."},
    {"txtBrojSegmenataURuti",
     QStringLiteral("Koliko segmenata ima ruta, od 0 do %1: cita se toliko prvih polja ispod.\n"
                    "Cuva se tek sa \"<\", \">\" ili \"Nova ruta\".")
         .arg(MaxRouteSlots)},
    {"txtRutaSegment",
     QStringLiteral("Brojevi segmenata rute po redu, %1; cita se onoliko prvih polja\n"
                    "koliko kaze \"Broj segmenata:\". Ruta se cuva tek sa \"<\", \">\" ili\n"
                    "\"Nova ruta\"; \"Datoteka\" > \"Sacuvaj\" ne cita ova polja.")
         .arg(ByteRange)},
    {"cmdProslaRuta",
     "Prethodna ruta: najprije sacuva panel rute u prikazanu rutu,\n"
     "pa prikazuje prethodnu. Samo \"<\", \">\" i \"Nova ruta\" cuvaju panel."},
    {"cmdSlijedecaRuta",
     "Slijedeca ruta: najprije sacuva panel rute u prikazanu rutu,\n"
     "pa prikazuje slijedecu. Samo \"<\", \">\" i \"Nova ruta\" cuvaju panel."},

    // Tram panel
    {"cmdNoviVlakon",
     QStringLiteral("Najprije sacuva \"Ruta:\" u prikazani vlakon, pa dodaje novi vlakon\n"
                    "sa serijskim brojem (redni broj + %1) i rutom %2. Najvise %3 vlakona.")
         .arg(TramSerialOffset)
         .arg(NewTramRoute)
         .arg(MaxTrams)},
    {"txtSerijskiBroj",
     QStringLiteral("Serijski broj prikazanog vlakona (redni broj + %1).\n"
                    "Samo za prikaz: upis ovdje nista ne mijenja.")
         .arg(TramSerialOffset)},
    {"txtRuta",
     QStringLiteral("Broj rute prikazanog vlakona, %1 (ne provjerava se da li ruta\n"
                    "postoji). Cuva se tek sa \"<\", \">\" ili \"Novi vlakon\".")
         .arg(ByteRange)},
    {"cmdProsli",
     "Prethodni vlakon: najprije sacuva \"Ruta:\" u prikazani vlakon,\n"
     "pa prikazuje prethodni. Samo \"<\", \">\" i \"Novi vlakon\" cuvaju panel."},
    {"cmdSlijedeci",
     "Slijedeci vlakon: najprije sacuva \"Ruta:\" u prikazani vlakon,\n"
     "pa prikazuje slijedeci. Samo \"<\", \">\" i \"Novi vlakon\" cuvaju panel."},

    // Display switches and rescaling
    {"chkShowCircles",
     "Krugovi oko tacaka: prva tacka segmenta zelena, zadnja crvena, ostale\n"
     "bijele; poluprecnik je \"Velicina kruga:\". Tacke se hvataju i bez krugova."},
    {"chkShowSpec1",
     "Stanice kao plavi krugovi. Skrivena stanica se i dalje bira\n"
     "sa Shift + lijevi klik."},
    {"chkShowSpec2",
     "Semafori kao mali krugovi: crveni za pocetno stanje 0, inace zeleni.\n"
     "Skriveni semafor se i dalje bira sa Shift + lijevi klik."},
    {"chkPrikaziRutu", "Boji ljubicasto segmente rute prikazane u panelu rute."},
    {"chkOznaciTrenutniSegment",
     "Boji svijetloplavo trenutni segment (\"Broj segmenta:\"); tada \"<\" i \">\"\n"
     "ispod tog polja odmah crtaju mapu iznova."},
    {"txtResize",
     "Koeficijent za \"Promijeni velicinu\": veci od 0, decimalni znak je tacka\n"
     "(1.5). Svaki pritisak ponovo mnozi X svih tacaka."},
    {"cmdResize",
     "Mnozi X koordinatu svih tacaka brojem iz \"Koeficijent:\" i crta mapu.\n"
     "Y ostaje, a pozicije stanica i semafora se ne mijenjaju.\n"
     "Koeficijent 0, negativan ili prazan ne mijenja nista."},
};

} // namespace

void ExplainControls(QWidget& root)
{
    for (const ControlHelp& help : Help) {
        const QRegularExpression name(QStringLiteral("^%1(_\\d+)?$").arg(QLatin1String(help.name)));
        for (QWidget* control : root.findChildren<QWidget*>(name)) {
            control->setToolTip(help.text);
            control->setAccessibleDescription(help.text);
        }
    }
}

} // namespace tram
