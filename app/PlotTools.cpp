#include "PlotTools.h"

#include "ExplorerWindow.h"
#include "MessagePresenter.h"
#include "plot/PlotArea.h"
#include "plot/PlotPicture.h"
#include "PolarWindow.h"
#include "case/CaseState.h"
#include "export/AirfoilCoordinates.h"
#include "export/SaveFile.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>

namespace {

const QStringList PictureFilters = {"PNG image (*.png)", "SVG drawing (*.svg)"};
const QStringList CoordinateFilters = {"Selig coordinates (*.dat)", "Lednicer coordinates (*.dat)",
                                       "CSV with 1-Cp (*.csv)"};

}  // namespace

PlotTools::PlotTools(QWidget& window, PlotArea& pressure, PlotArea& profil, const orvek::CaseState& state,
                     MessagePresenter& messages)
    : QObject(&window), window_(window), state_(state), messages_(messages), pressure_(pressure), profil_(profil) {
    setObjectName("PlotTools");

    auto action = [this](const QString& text, const QKeySequence& keys, const char* name, void (PlotTools::*slot)()) {
        auto* a = new QAction(text, &window_);
        a->setObjectName(name);
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        window_.addAction(a);  // a shortcut of the window only: the menu bar stays as designed
        return a;
    };
    copyPicture_ = action("Copy picture", QKeySequence("Ctrl+Shift+C"), "copyPicture", &PlotTools::copyPicture);
    savePicture_ = action(QString::fromUtf8("Save picture as…"), QKeySequence("Ctrl+Shift+S"), "savePicture",
                          &PlotTools::savePicture);
    exportCoordinates_ = action(QString::fromUtf8("Export coordinates…"), QKeySequence("Ctrl+Shift+E"),
                                "exportCoordinates", &PlotTools::exportCoordinates);
    polar_ = action(QString::fromUtf8("Polar…"), QKeySequence("Ctrl+Shift+P"), "polar", &PlotTools::showPolar);
    explore_ = action(QString::fromUtf8("Explore airfoil…"), QKeySequence("Ctrl+Shift+A"), "exploreAirfoil",
                      &PlotTools::showExplorer);
    for (QAction* a : {copyPicture_, savePicture_, exportCoordinates_, polar_}) a->setEnabled(false);

    menu_ = new QMenu(&window_);
    menu_->setObjectName("plotMenu");
    menu_->addAction(copyPicture_);
    menu_->addAction(savePicture_);
    menu_->addSeparator();
    menu_->addAction(exportCoordinates_);
    menu_->addSeparator();
    menu_->addAction(polar_);
    menu_->addAction(explore_);

    pressure_.installEventFilter(this);
    profil_.installEventFilter(this);
}

PlotTools::~PlotTools() = default;

void PlotTools::setFileNameAsker(FileNameAsker& files) {
    files_ = &files;
    if (polarWindow_) polarWindow_->setFileNameAsker(files);
}

bool PlotTools::eventFilter(QObject* watched, QEvent* event) {
    auto* plot = qobject_cast<PlotArea*>(watched);
    if (!plot) return false;
    if (event->type() == QEvent::ContextMenu) {
        openMenu(plot, static_cast<QContextMenuEvent*>(event)->pos());
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
        if (key->key() == Qt::Key_Menu || shiftF10) {
            openMenu(plot, plot->rect().center());
            return true;
        }
    }
    return false;
}

void PlotTools::openMenu(PlotArea* plot, const QPoint& localPos) {
    // The plot takes the focus, so the items act on it whichever way they are chosen.
    plot->setFocus(Qt::PopupFocusReason);
    menu_->popup(plot->mapToGlobal(localPos));
}

PlotArea* PlotTools::targetPlot() const { return window_.focusWidget() == &profil_ ? &profil_ : &pressure_; }

void PlotTools::caseCalculated() {
    const orvek::CaseState& s = state_;
    if (!s.NP || !s.AlfaD) return;
    const auto k = static_cast<std::size_t>(s.SelIndex);
    last_ = LastCase{s.AirfoilRow[k].airfoil, *s.AlfaD, *s.NP};
    for (QAction* a : {copyPicture_, savePicture_, exportCoordinates_, polar_}) a->setEnabled(true);
    if (polarWindow_) polarWindow_->setAirfoil(last_->airfoil);
}

void PlotTools::copyPicture() {
    PlotArea* plot = targetPlot();
    if (!plot || !last_) return;
    QApplication::clipboard()->setImage(plotImage(*plot, 2.0 * plot->devicePixelRatioF()));
}

void PlotTools::savePicture() {
    PlotArea* plot = targetPlot();
    if (!plot || !last_) return;
    const QString base = plot == &profil_ ? "profile" : "pressure";
    const std::optional<FileNameAsker::Choice> choice =
        files_->askSaveFile(&window_, QString::fromUtf8("Save picture"), base + ".png", PictureFilters);
    if (!choice || choice->path.isEmpty()) return;
    const QString suffix = QFileInfo(choice->path).suffix().toLower();
    const bool svg = suffix == "svg" || (suffix != "png" && choice->filter == 1);
    const QByteArray bytes = svg ? plotSvg(*plot, base == "profile" ? "Profile" : "1-Cp")
                                 : pngBytes(plotImage(*plot, 2.0 * plot->devicePixelRatioF()));
    const orvek::Status saved = orvek::saveFileAtomically(
        choice->path.toStdString(), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!saved) messages_.show(&window_, QString::fromStdString(saved.error()), MessagePresenter::Kind::Warning);
}

void PlotTools::exportCoordinates() {
    if (!last_) return;
    const std::optional<FileNameAsker::Choice> choice =
        files_->askSaveFile(&window_, QString::fromUtf8("Export coordinates"), "airfoil.dat", CoordinateFilters);
    if (!choice || choice->path.isEmpty()) return;
    const QString suffix = QFileInfo(choice->path).suffix().toLower();
    orvek::CoordinateFormat format = orvek::CoordinateFormat::Selig;
    if (suffix == "csv" || (suffix != "dat" && choice->filter == 2)) format = orvek::CoordinateFormat::Csv;
    else if (choice->filter == 1) format = orvek::CoordinateFormat::Lednicer;
    const orvek::Expected<std::string> text =
        orvek::airfoilCoordinatesText(state_.points, format, orvek::defaultAirfoilName(last_->F, last_->G, last_->m));
    if (!text) {
        messages_.show(&window_, QString::fromStdString(text.error()), MessagePresenter::Kind::Warning);
        return;
    }
    const orvek::Status saved = orvek::saveFileAtomically(choice->path.toStdString(), *text);
    if (!saved) messages_.show(&window_, QString::fromStdString(saved.error()), MessagePresenter::Kind::Warning);
}

void PlotTools::showPolar() {
    if (!last_) return;
    if (!polarWindow_) {
        polarWindow_ = std::make_unique<PolarWindow>(messages_, *files_);
        polarWindow_->setAirfoil(last_->airfoil);
    }
    polarWindow_->show();
    polarWindow_->raise();
    polarWindow_->activateWindow();
}

void PlotTools::showExplorer() {
    if (!explorerWindow_) {
        explorerWindow_ = std::make_unique<ExplorerWindow>();
        if (last_) explorerWindow_->setAirfoil(last_->airfoil, last_->AlfaD);
    }
    explorerWindow_->show();
    explorerWindow_->raise();
    explorerWindow_->activateWindow();
}
