#include "ui/MainWindow.h"

#include "model/NumberText.h"
#include "ui/CanvasWidget.h"
#include "ui/Prompts.h"
#include "view/Renderer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

namespace tram {

const QString MainWindow::Caption = QStringLiteral("Editor mapa vlakonskog saobracaja");

MainWindow::MainWindow(Prompts* prompts, QWidget* parent)
    : QMainWindow(parent)
{
    if (!prompts) {
        ownPrompts_ = std::make_unique<DialogPrompts>();
        prompts = ownPrompts_.get();
    }
    prompts_ = prompts;

    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(Caption);
    buildControls();
    buildMenus();
    setTabOrder();
    connectHandlers();
    Form_Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectHandlers()
{
    connect(mnuAbout, &QAction::triggered, this, &MainWindow::mnuAbout_Click);
    connect(mnuExit, &QAction::triggered, this, &MainWindow::mnuExit_Click);
    connect(mnuOpen, &QAction::triggered, this, &MainWindow::mnuOpen_Click);
    connect(mnuSave, &QAction::triggered, this, &MainWindow::mnuSave_Click);
    connect(mnuExportPicture, &QAction::triggered, this, &MainWindow::mnuExportPicture_Click);

    connect(cmdCrtaj, &QPushButton::clicked, this, &MainWindow::cmdCrtaj_Click);
    connect(chkShowCircles, &QCheckBox::clicked, this, &MainWindow::chkShowCircles_Click);
    connect(chkShowSpec1, &QCheckBox::clicked, this, &MainWindow::chkShowSpec1_Click);
    connect(chkShowSpec2, &QCheckBox::clicked, this, &MainWindow::chkShowSpec2_Click);
    connect(chkPrikaziRutu, &QCheckBox::clicked, this, &MainWindow::chkPrikaziRutu_Click);
    connect(chkOznaciTrenutniSegment, &QCheckBox::clicked, this, &MainWindow::chkOznaciTrenutniSegment_Click);
    connect(cmdResize, &QPushButton::clicked, this, &MainWindow::cmdResize_Click);
    connect(hscScroll, &QScrollBar::valueChanged, this, &MainWindow::hscScroll_Change);

    connect(picCanvas, &CanvasWidget::mouseDown, this, &MainWindow::picCanvas_MouseDown);
    connect(picCanvas, &CanvasWidget::mouseMove, this, &MainWindow::picCanvas_MouseMove);
    connect(picCanvas, &CanvasWidget::mouseUp, this, &MainWindow::picCanvas_MouseUp);
    connect(picCanvas, &CanvasWidget::keyUp, this, &MainWindow::picCanvas_KeyUp);

    connect(cmdNoviSemafor, &QPushButton::clicked, this, &MainWindow::cmdNoviSemafor_Click);
    connect(cmdNovaStanica, &QPushButton::clicked, this, &MainWindow::cmdNovaStanica_Click);
    connect(cmdSacuvaj, &QPushButton::clicked, this, &MainWindow::cmdSacuvaj_Click);

    connect(cmdNovaRuta, &QPushButton::clicked, this, &MainWindow::cmdNovaRuta_Click);
    connect(cmdProslaRuta, &QPushButton::clicked, this, &MainWindow::cmdProslaRuta_Click);
    connect(cmdSlijedecaRuta, &QPushButton::clicked, this, &MainWindow::cmdSlijedecaRuta_Click);
    connect(cmdNoviVlakon, &QPushButton::clicked, this, &MainWindow::cmdNoviVlakon_Click);
    connect(cmdProsli, &QPushButton::clicked, this, &MainWindow::cmdProsli_Click);
    connect(cmdSlijedeci, &QPushButton::clicked, this, &MainWindow::cmdSlijedeci_Click);

    connect(cmdNoviSegment, &QPushButton::clicked, this, &MainWindow::cmdNoviSegment_Click);
    connect(cmdProsliSegment, &QPushButton::clicked, this, &MainWindow::cmdProsliSegment_Click);
    connect(cmdSlijedeciSegment, &QPushButton::clicked, this, &MainWindow::cmdSlijedeciSegment_Click);
}

void MainWindow::Form_Load()
{
    ApplyStartDisplay(model_.display);
}

void MainWindow::mnuAbout_Click()
{
    prompts_->information(this, Caption + QStringLiteral("\nbeta verzija\nIzradio: razvojni tim editora"));
}

void MainWindow::mnuExit_Click()
{
    QApplication::exit(0);
}

void MainWindow::Redraw()
{
    DrawScheme(*canvas_, model_.scheme, model_.edit, model_.display);
    ++redrawCount_;
    picCanvas->update();
}

} // namespace tram
