#pragma once

#include "editing/RoutesPanel.h"
#include "editing/SegmentCommands.h"
#include "editing/TramsPanel.h"
#include "model/EditorModel.h"
#include "view/Canvas.h"

#include <QMainWindow>
#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;

namespace tram {

class CanvasWidget;
class Prompts;

// The editor's one window. It owns the model and the controls and wires each
// control's event to a handler named after it; what a command does to the
// model lives in the editing, view and files code.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static const QString Caption;

    // prompts answers the window's dialogs; null means the real dialogs.
    explicit MainWindow(Prompts* prompts = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    const EditorModel& model() const { return model_; }
    EditorModel& model() { return model_; }
    const Canvas& canvas() const { return *canvas_; }
    Canvas& canvas() { return *canvas_; }
    // How many times the map was drawn since start-up.
    int redrawCount() const { return redrawCount_; }

    // Opens a scheme named on the command line as "Otvori" does; with no old
    // picture to keep, a scheme that was read is drawn at once.
    void openAtStart(const QString& path);

private slots:
    // Window
    void mnuAbout_Click();
    void mnuExit_Click();

    // View controls and picture export
    void cmdCrtaj_Click();
    void chkShowCircles_Click();
    void chkShowSpec1_Click();
    void chkShowSpec2_Click();
    void chkPrikaziRutu_Click();
    void chkOznaciTrenutniSegment_Click();
    void cmdResize_Click();
    void hscScroll_Change();
    void mnuExportPicture_Click();

    // Canvas editing
    void picCanvas_MouseDown(int button, int shift, float x, float y);
    void picCanvas_MouseMove(int button, int shift, float x, float y);
    void picCanvas_MouseUp(int button, int shift, float x, float y);
    void picCanvas_KeyUp(int keyCode, int shift);

    // Stations and lights
    void cmdNoviSemafor_Click();
    void cmdNovaStanica_Click();
    void cmdSacuvaj_Click();

    // Routes and trams
    void cmdNovaRuta_Click();
    void cmdProslaRuta_Click();
    void cmdSlijedecaRuta_Click();
    void cmdNoviVlakon_Click();
    void cmdProsli_Click();
    void cmdSlijedeci_Click();

    // Segments
    void cmdNoviSegment_Click();
    void cmdProsliSegment_Click();
    void cmdSlijedeciSegment_Click();

    // Scheme files
    void mnuOpen_Click();
    void mnuSave_Click();

private:
    void buildControls();
    void buildMenus();
    void setTabOrder();
    void connectHandlers();
    void Form_Load();

    void Redraw();
    void ShowSelectedObject();
    void ShowRoutePanel();
    void ShowTramPanel();
    RoutePanelTexts typedRoutePanel() const;
    TramPanelTexts typedTramPanel() const;
    void runRoutePanel(RouteCommand command);
    void runTramPanel(TramCommand command);
    void showSteppedSegment(bool stepped);
    void applyDisplaySwitch(const QCheckBox* box, bool DisplaySettings::*setting);
    bool openSchemeFile(const QString& path);

    EditorModel model_;
    SegmentCoordinateGenerator segmentCoordinates_;
    // Shared with picCanvas: QWidget deletes the child widgets only after
    // these members are gone, and the picture must last as long as its widget.
    std::shared_ptr<Canvas> canvas_ = std::make_shared<Canvas>();
    std::unique_ptr<Prompts> ownPrompts_;
    Prompts* prompts_ = nullptr;
    int redrawCount_ = 0;

    // Canvas area
    QFrame* fraOkvir = nullptr;
    CanvasWidget* picCanvas = nullptr;
    QScrollBar* hscScroll = nullptr;
    QLabel* lblLeft = nullptr;
    QLabel* lblMiddle = nullptr;
    QLabel* lblRight = nullptr;

    // Station and light panel
    QPushButton* cmdNoviSemafor = nullptr;
    QPushButton* cmdNovaStanica = nullptr;
    QLineEdit* txtRedniBroj = nullptr;
    QLineEdit* txtNaSegmentu = nullptr;
    QLineEdit* txtPozicija = nullptr;
    QLineEdit* txtVrijeme1 = nullptr;
    QLineEdit* txtPocetnoStanje = nullptr;
    QLineEdit* txtVrijeme2 = nullptr;
    QLineEdit* txtNazivStanice = nullptr;
    QPushButton* cmdSacuvaj = nullptr;
    QPushButton* cmdCrtaj = nullptr;

    // Segment and drawing panel
    QPushButton* cmdNoviSegment = nullptr;
    QPushButton* cmdObrisiSegment = nullptr;
    QLineEdit* txtDrawWidth = nullptr;
    QLineEdit* txtCircleSize = nullptr;
    QLineEdit* txtBrojSegmenta = nullptr;
    QPushButton* cmdProsliSegment = nullptr;
    QPushButton* cmdSlijedeciSegment = nullptr;

    // Route panel; txtRutaSegment[1..18], element 0 unused
    QPushButton* cmdNovaRuta = nullptr;
    QPushButton* cmdObrisiRutu = nullptr;
    QLineEdit* txtBrojRute = nullptr;
    QLineEdit* txtBrojSegmenataURuti = nullptr;
    std::array<QLineEdit*, MaxRouteSlots + 1> txtRutaSegment{};
    QPushButton* cmdProslaRuta = nullptr;
    QPushButton* cmdSlijedecaRuta = nullptr;

    // Tram panel
    QPushButton* cmdNoviVlakon = nullptr;
    QPushButton* cmdObrisiVlakon = nullptr;
    QLineEdit* txtSerijskiBroj = nullptr;
    QLineEdit* txtRuta = nullptr;
    QPushButton* cmdProsli = nullptr;
    QPushButton* cmdSlijedeci = nullptr;

    // Display switches and rescaling
    QCheckBox* chkShowCircles = nullptr;
    QCheckBox* chkShowSpec1 = nullptr;
    QCheckBox* chkShowSpec2 = nullptr;
    QCheckBox* chkPrikaziRutu = nullptr;
    QCheckBox* chkOznaciTrenutniSegment = nullptr;
    QLineEdit* txtResize = nullptr;
    QPushButton* cmdResize = nullptr;

    // Menus
    QMenu* mnuFile = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuExportPicture = nullptr;
    QAction* mnuBreak = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;
};

} // namespace tram
