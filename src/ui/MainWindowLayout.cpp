// The controls of the main window at their designed places. Positions are
// designed in twips, 15 to a pixel, measured in the client area (the central
// widget under the menu bar).
#include "ui/CanvasWidget.h"
#include "ui/ControlHelp.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <map>

namespace tram {

namespace {

constexpr int TwipsPerPixel = 15;

// The lowest control ends at 10095 twips and the rightmost at 15135.
constexpr QSize ClientSize(15240 / TwipsPerPixel, 10200 / TwipsPerPixel);

void place(QWidget* w, const char* name, int left, int top, int width, int height)
{
    w->setObjectName(QLatin1String(name));
    w->setGeometry(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel);
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, int l, int t, bool enabled = true)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    place(b, name, l, t, 1335, 375);
    b->setEnabled(enabled);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const char* caption, int l, int t, int w = 1335)
{
    auto* lbl = new QLabel(QString::fromLatin1(caption), parent);
    place(lbl, name, l, t, w, 255);
    return lbl;
}

// A text box under its label; the label's text is its accessible name.
QLineEdit* textBox(QWidget* parent, const char* name, QLabel* caption, int l, int t, int w = 1335)
{
    auto* box = new QLineEdit(parent);
    place(box, name, l, t, w, 285);
    if (caption) {
        caption->setBuddy(box);
        box->setAccessibleName(caption->text());
    }
    return box;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const char* caption, int t, bool checked)
{
    auto* c = new QCheckBox(QString::fromLatin1(caption), parent);
    place(c, name, 13320, t, 1695, 255);
    c->setChecked(checked);
    return c;
}

} // namespace

void MainWindow::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(ClientSize);
    // The controls are laid out in fixed pixels; a compact font lets every
    // caption fit its control.
    QFont compact = client->font();
    compact.setPixelSize(11);
    client->setFont(compact);
    setCentralWidget(client);

    // Canvas area
    fraOkvir = new QFrame(client);
    fraOkvir->setFrameShape(QFrame::NoFrame);
    place(fraOkvir, "fraOkvir", 120, 120, 15000, 6000);
    picCanvas = new CanvasWidget(canvas_, fraOkvir);
    picCanvas->setObjectName(QStringLiteral("picCanvas"));
    picCanvas->move(0, 120 / TwipsPerPixel);
    picCanvas->setAccessibleName(QStringLiteral("Platno"));

    hscScroll = new QScrollBar(Qt::Horizontal, client);
    place(hscScroll, "hscScroll", 120, 6120, 15015, 255);
    hscScroll->setRange(0, 1000);
    hscScroll->setSingleStep(10);
    hscScroll->setPageStep(100);
    // The canvas moves when the thumb is released, not while it is dragged.
    hscScroll->setTracking(false);
    hscScroll->setFocusPolicy(Qt::StrongFocus); // reachable and movable from the keyboard
    hscScroll->setAccessibleName(QStringLiteral("Pomak platna"));

    lblLeft = label(client, "lblLeft", "0", 120, 6360, 615);
    lblLeft->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblMiddle = label(client, "lblMiddle", "500", 7440, 6360, 615);
    lblMiddle->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    lblRight = label(client, "lblRight", "1000", 14520, 6360, 615);
    lblRight->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // Station and light panel
    cmdNoviSemafor = button(client, "cmdNoviSemafor", "Novi semafor", 360, 6720);
    cmdNovaStanica = button(client, "cmdNovaStanica", "Nova stanica", 1800, 6720);
    txtRedniBroj = textBox(client, "txtRedniBroj", label(client, "Label3", "Redni broj:", 360, 7200), 360, 7440);
    txtRedniBroj->setEnabled(false);
    txtNaSegmentu = textBox(client, "txtNaSegmentu", label(client, "Label4", "Na segmentu:", 1800, 7200), 1800, 7440);
    txtPozicija = textBox(client, "txtPozicija", label(client, "Label5", "Pozicija:", 360, 7800), 360, 8040);
    txtVrijeme1 = textBox(client, "txtVrijeme1", label(client, "Label9", "Vrijeme1:", 1800, 7800), 1800, 8040);
    txtPocetnoStanje = textBox(client, "txtPocetnoStanje",
                               label(client, "lblPocetnoStanje", "Pocetno stanje:", 360, 8400), 360, 8640);
    txtVrijeme2 = textBox(client, "txtVrijeme2", label(client, "Label10", "Vrijeme2:", 1800, 8400), 1800, 8640);
    txtNazivStanice = textBox(client, "txtNazivStanice", label(client, "Label6", "Naziv stanice:", 360, 9000), 360,
                              9240, 2775);
    cmdSacuvaj = button(client, "cmdSacuvaj", "Sacuvaj", 360, 9720);
    cmdCrtaj = button(client, "cmdCrtaj", "Crtaj", 1800, 9720);

    // Segment and drawing panel
    cmdNoviSegment = button(client, "cmdNoviSegment", "Novi segment", 3600, 6720);
    cmdObrisiSegment = button(client, "cmdObrisiSegment", "Obrisi segment", 5040, 6720, false);
    txtDrawWidth = textBox(client, "txtDrawWidth", label(client, "Label1", "Debljina linije:", 3600, 7200), 3600, 7440);
    txtDrawWidth->setText(QStringLiteral("20"));
    txtCircleSize = textBox(client, "txtCircleSize", label(client, "Label2", "Velicina kruga:", 5040, 7200), 5040,
                            7440);
    txtCircleSize->setText(QStringLiteral("10"));
    txtBrojSegmenta = textBox(client, "txtBrojSegmenta", label(client, "Label11", "Broj segmenta:", 4320, 7800), 4320,
                              8040);
    txtBrojSegmenta->setEnabled(false);
    cmdProsliSegment = button(client, "cmdProsliSegment", "<", 3600, 8520);
    cmdProsliSegment->setAccessibleName(QStringLiteral("Prethodni segment"));
    cmdSlijedeciSegment = button(client, "cmdSlijedeciSegment", ">", 5040, 8520);
    cmdSlijedeciSegment->setAccessibleName(QStringLiteral("Slijedeci segment"));

    // Route panel
    cmdNovaRuta = button(client, "cmdNovaRuta", "Nova ruta", 6840, 6720);
    cmdObrisiRutu = button(client, "cmdObrisiRutu", "Obrisi rutu", 8280, 6720, false);
    txtBrojRute = textBox(client, "txtBrojRute", label(client, "Label12", "Broj rute:", 6840, 7200), 6840, 7440);
    txtBrojSegmenataURuti = textBox(client, "txtBrojSegmenataURuti",
                                    label(client, "Label13", "Broj segmenata:", 8280, 7200), 8280, 7440);
    for (int i = 1; i <= MaxRouteSlots; ++i) {
        auto* box = new QLineEdit(client);
        const int row = (i - 1) / 6;
        const int column = (i - 1) % 6;
        const QByteArray name = "txtRutaSegment_" + QByteArray::number(i);
        place(box, name.constData(), 6840 + 480 * column, 7920 + 360 * row, 375, 285);
        box->setAccessibleName(QStringLiteral("Segment %1").arg(i));
        txtRutaSegment[i] = box;
    }
    cmdProslaRuta = button(client, "cmdProslaRuta", "<", 6840, 9120);
    cmdProslaRuta->setAccessibleName(QStringLiteral("Prethodna ruta"));
    cmdSlijedecaRuta = button(client, "cmdSlijedecaRuta", ">", 8280, 9120);
    cmdSlijedecaRuta->setAccessibleName(QStringLiteral("Slijedeca ruta"));

    // Tram panel
    cmdNoviVlakon = button(client, "cmdNoviVlakon", "Novi vlakon", 10080, 6720);
    cmdObrisiVlakon = button(client, "cmdObrisiVlakon", "Obrisi vlakon", 11520, 6720, false);
    txtSerijskiBroj = textBox(client, "txtSerijskiBroj", label(client, "Label8", "Serijski broj:", 10080, 7200), 10080,
                              7440);
    txtRuta = textBox(client, "txtRuta", label(client, "Label7", "Ruta:", 11520, 7200), 11520, 7440);
    cmdProsli = button(client, "cmdProsli", "<", 10080, 7920);
    cmdProsli->setAccessibleName(QStringLiteral("Prethodni vlakon"));
    cmdSlijedeci = button(client, "cmdSlijedeci", ">", 11520, 7920);
    cmdSlijedeci->setAccessibleName(QStringLiteral("Slijedeci vlakon"));

    // Display switches and rescaling
    chkShowCircles = checkBox(client, "chkShowCircles", "Prikazi krugove", 6720, true);
    chkShowSpec1 = checkBox(client, "chkShowSpec1", "Prikazi stanice", 7080, true);
    chkShowSpec2 = checkBox(client, "chkShowSpec2", "Prikazi semafore", 7440, true);
    chkPrikaziRutu = checkBox(client, "chkPrikaziRutu", "Prikazi rutu", 7800, false);
    chkOznaciTrenutniSegment = checkBox(client, "chkOznaciTrenutniSegment", "Oznaci segment", 8160, true);
    txtResize = textBox(client, "txtResize", label(client, "Label14", "Koeficijent:", 13320, 8880), 13320, 9120);
    cmdResize = button(client, "cmdResize", "Promijeni velicinu", 13320, 9600);
    QFont narrow = cmdResize->font(); // the longest caption on a standard-width button
    narrow.setPixelSize(10);
    narrow.setStretch(QFont::SemiCondensed);
    cmdResize->setFont(narrow);

    ExplainControls(*client);
}

void MainWindow::buildMenus()
{
    // No access keys and no shortcuts.
    mnuFile = menuBar()->addMenu(QStringLiteral("Datoteka"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuOpen = mnuFile->addAction(QStringLiteral("Otvori"));
    mnuOpen->setObjectName(QStringLiteral("mnuOpen"));
    mnuSave = mnuFile->addAction(QStringLiteral("Sacuvaj"));
    mnuSave->setObjectName(QStringLiteral("mnuSave"));
    mnuExportPicture = mnuFile->addAction(QStringLiteral("Sacuvaj sliku"));
    mnuExportPicture->setObjectName(QStringLiteral("mnuExportPicture"));
    mnuBreak = mnuFile->addSeparator();
    mnuBreak->setObjectName(QStringLiteral("mnuBreak"));
    mnuExit = mnuFile->addAction(QStringLiteral("Izlaz"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));

    mnuHelp = menuBar()->addMenu(QStringLiteral("Pomoc"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuAbout = mnuHelp->addAction(QStringLiteral("O programu"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
}

void MainWindow::setTabOrder()
{
    const std::map<int, QWidget*> order = {
        {0, cmdNoviSegment},
        {1, cmdObrisiSegment},
        {2, txtDrawWidth},
        {4, chkShowCircles},
        {5, cmdCrtaj},
        {6, txtCircleSize},
        {8, txtRedniBroj},
        {10, txtNaSegmentu},
        {12, txtPozicija},
        {14, cmdNoviSemafor},
        {15, cmdSacuvaj},
        {16, chkShowSpec1},
        {17, chkShowSpec2},
        {18, txtPocetnoStanje},
        {20, txtVrijeme1},
        {22, txtVrijeme2},
        {24, cmdNovaStanica},
        {25, txtNazivStanice},
        {27, cmdObrisiVlakon},
        {28, cmdNoviVlakon},
        {29, txtRuta},
        {30, txtSerijskiBroj},
        {33, cmdProsli},
        {34, cmdSlijedeci},
        {35, txtBrojSegmenta},
        {37, cmdSlijedecaRuta},
        {38, cmdProslaRuta},
        {39, txtBrojRute},
        {40, txtBrojSegmenataURuti},
        {41, cmdNovaRuta},
        {42, cmdObrisiRutu},
        {45, txtRutaSegment[1]},
        {46, txtRutaSegment[2]},
        {47, txtRutaSegment[3]},
        {48, txtRutaSegment[4]},
        {49, txtRutaSegment[5]},
        {50, txtRutaSegment[6]},
        {51, txtRutaSegment[7]},
        {52, txtRutaSegment[8]},
        {53, txtRutaSegment[9]},
        {54, txtRutaSegment[10]},
        {55, txtRutaSegment[11]},
        {56, txtRutaSegment[12]},
        {57, txtRutaSegment[13]},
        {58, txtRutaSegment[14]},
        {59, txtRutaSegment[15]},
        {60, txtRutaSegment[16]},
        {61, txtRutaSegment[17]},
        {62, txtRutaSegment[18]},
        {63, chkPrikaziRutu},
        {64, chkOznaciTrenutniSegment},
        {65, cmdProsliSegment},
        {66, cmdSlijedeciSegment},
        {68, picCanvas},
        {69, hscScroll},
        {73, cmdResize},
        {74, txtResize},
    };
    QWidget* previous = nullptr;
    for (const auto& [index, widget] : order) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace tram
