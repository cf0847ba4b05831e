#include "FormORVEK.h"

#include "FormAbout.h"
#include "CasePlots.h"
#include "Handler.h"
#include "MessagePresenter.h"
#include "DisplayText.h"
#include "PlotTools.h"
#include "WindowUnits.h"
#include "plot/PlotArea.h"
#include "case/Catalogue.h"
#include "case/Driver.h"
#include "export/ResultFile.h"
#include "export/SaveFile.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>

#include <new>

namespace {

// "MS Sans Serif" where the system has it, otherwise a sans-serif face of the same size.
QFont windowFont(double points) {
    QFont font;
    font.setFamilies(
        {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans", "sans-serif"});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

// &H80000000&, the scroll-bar grey of the result boxes: the classic scroll-bar grey, visibly
// lighter than the window's own grey.
const QColor ScrollBarGrey(200, 200, 200);

// The text of the disabled result boxes: a dark grey, still apart from the black of the typed
// inputs, with a contrast of 5.8:1 on the scroll-bar grey (4.5:1 is the least for reading).
const QColor ResultText(68, 68, 68);

// Option buttons with the indicator of the desktop the window was designed for: a 13-pixel circle
// with its caption 4 pixels beside it. Fusion's 14 + 6 pixels leave the longest caption too
// little room in its designed width.
class OptionButtonStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        switch (metric) {
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight: return 13;
        case PM_RadioButtonLabelSpacing: return 4;
        default: return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

constexpr const char* NothingToSave =
    "There is nothing to save yet: choose an airfoil and calculate a case first. No file was written.";

template <typename W>
W* place(W* widget, const char* name, QRect geometry) {
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QGroupBox* frame(QWidget* parent, const char* name, QRect geometry) {
    return place(new QGroupBox(parent), name, geometry);
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    QLabel* l = place(new QLabel(caption, parent), name, geometry);
    l->setAccessibleName(caption.trimmed());
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

// A text box; `spoken` is what a screen reader announces for it.
QLineEdit* textBox(QWidget* parent, const char* name, const QString& text, QRect geometry, const QString& spoken) {
    QLineEdit* t = place(new QLineEdit(text, parent), name, geometry);
    t->setAccessibleName(spoken);
    return t;
}

// A result box: disabled (no focus, no selection, no editing) on the scroll-bar grey, its text in
// a dark grey that stays readable.
QLineEdit* resultBox(QWidget* parent, const char* name, QRect geometry, const QString& spoken) {
    QLineEdit* t = textBox(parent, name, QString(), geometry, spoken);
    t->setEnabled(false);
    t->setFocusPolicy(Qt::NoFocus);
    QPalette p = t->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(g, QPalette::Base, ScrollBarGrey);
        p.setColor(g, QPalette::Text, ResultText);
    }
    t->setPalette(p);
    return t;
}

// Keeps Return and Enter in the airfoil list's edit field from choosing an entry: only picking
// from the list does that; typing runs nothing.
class SwallowReturn : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// The wait cursor for the length of a calculation, restored however the calculation ends.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

Form_ORVEK::Form_ORVEK(MessagePresenter& messages, QWidget* parent) : QMainWindow(parent), messages_(messages) {
    buildControls();
    // Context menus and shortcuts of the plots, the polar and explorer windows.
    auto* tools = new PlotTools(*this, *pressurePlot_, *profilePlot_, state_, messages_);
    connect(this, &Form_ORVEK::caseCalculated, tools, &PlotTools::caseCalculated);
    connect(tools, &PlotTools::reloadCatalogueRequested, this, [this] { handle([this] { reloadCatalogue(); }); });
    handle([this] { loadCatalogue(); });
}

Form_ORVEK::~Form_ORVEK() = default;

void Form_ORVEK::buildControls() {
    setObjectName("Form_ORVEK");
    setWindowTitle("Karman-Trefftz Airfoil Coordinates and Velocities");
    setFont(windowFont(8.25));

    aboutAction_ = menuBar()->addAction("About");
    aboutAction_->setObjectName("Mn_About");
    connect(aboutAction_, &QAction::triggered, this, [this] { handle([this] { showAbout(); }); });

    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(twips(9435), twips(5655));
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);  // the layout neither moves nor resizes

    // Column headings over the airfoil list: delta, gamma, x with subscript delta, tau, F, G, m.
    // All stand on the frame's own face. The Greek ones were designed on the scroll-bar colour,
    // which the classic desktop schemes made the same grey as a frame; drawn in a grey of their
    // own they became patches that cut the strip apart (delta and gamma on one, the subscript's
    // hanging below the line and over the x), so they take the frame's colour as the rest do.
    QGroupBox* Frame2 = frame(client, "Frame2", twipsRect(120, 240, 4335, 615));
    label(Frame2, "Label1", QString::fromUtf8("δ        γ "), twipsRect(120, 240, 855, 255))->setFont(windowFont(9.75));
    label(Frame2, "Label2", "x", twipsRect(1080, 240, 255, 255))->setFont(windowFont(9.75));
    label(Frame2, "Label9", QString::fromUtf8("δ"), twipsRect(1200, 360, 135, 255))->setFont(windowFont(8.25));
    label(Frame2, "Label3", QString::fromUtf8(" τ "), twipsRect(1680, 240, 255, 255))->setFont(windowFont(9.75));
    label(Frame2, "Label6", " F              G             m", twipsRect(2280, 240, 1815, 255));

    airfoilList_ = place(new QComboBox(client), "Combo1", twipsRect(120, 840, 4335, 315));
    airfoilList_->setAccessibleName("Airfoil");
    // Where a list with an edit field is announced by its text, screen readers name it after its
    // label: an unseen one, since the headings above the list are its only caption.
    QLabel* spokenLabel = label(client, "Combo1Name", "Airfoil", airfoilList_->geometry());
    spokenLabel->setBuddy(airfoilList_);
    spokenLabel->hide();
    airfoilList_->setEditable(true);
    airfoilList_->setInsertPolicy(QComboBox::NoInsert);
    airfoilList_->setCompleter(nullptr);
    airfoilList_->setEditText(" ");
    // The keyboard focus of an editable list is the list itself, which hands keys straight to
    // its edit field: Return is stopped at both.
    // Nor does leaving the field choose an entry whose text was typed: the list would pick it
    // when its editing finishes.
    QObject::disconnect(airfoilList_->lineEdit(), &QLineEdit::editingFinished, airfoilList_, nullptr);
    auto* swallowReturn = new SwallowReturn(airfoilList_);
    airfoilList_->installEventFilter(swallowReturn);
    airfoilList_->lineEdit()->installEventFilter(swallowReturn);
    // A chosen entry is shown from its start, so its columns stand under their headings even
    // when the line is wider than the field.
    // (The list itself is captured, not the window: the list still changes its entry while the
    // window is being destroyed.)
    connect(airfoilList_, &QComboBox::currentIndexChanged, airfoilList_,
            [combo = airfoilList_] { combo->lineEdit()->setCursorPosition(0); });
    connect(airfoilList_, &QComboBox::activated, this, [this] { handle([this] { chooseAirfoil(); }); });

    QGroupBox* Frame1 = frame(client, "Frame1", twipsRect(120, 1200, 4335, 4095));
    QGroupBox* Frame3 = frame(Frame1, "Frame3", twipsRect(240, 120, 2655, 975));
    // 75 twips wider than designed, so the "=" shows whole; it still ends before Text_N1.
    label(Frame3, "Label4", "Number of Points  NP =", twipsRect(120, 240, 1770, 255));
    pointCountBox_ = textBox(Frame3, "Text_N1", "51", twipsRect(1920, 240, 495, 285), "Number of points");
    label(Frame3, "Label10", "Angle of attack", twipsRect(120, 600, 1095, 255));
    label(Frame3, "Label5", QString::fromUtf8("α ="), twipsRect(1560, 600, 255, 255));
    angleBox_ = textBox(Frame3, "Text_AlfaD", "0", twipsRect(1920, 600, 495, 285), "Angle of attack in degrees");

    calculateButton_ = place(new QPushButton("Calculate", Frame1), "Command2", twipsRect(3045, 315, 1065, 330));
    saveButton_ = place(new QPushButton("Save result", Frame1), "Command1", twipsRect(3000, 735, 1095, 330));
    // Return and Enter press the focused button, as Space does.
    calculateButton_->setAutoDefault(true);
    saveButton_->setAutoDefault(true);
    connect(calculateButton_, &QPushButton::clicked, this, [this] { handle([this] { calculate(); }); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { handle([this] { saveResult(); }); });
    // Return or Enter in the point count or the angle calculates, as in a dialog.
    for (QLineEdit* box : {pointCountBox_, angleBox_}) {
        connect(box, &QLineEdit::returnPressed, this, [this] { handle([this] { calculate(); }); });
    }

    QGroupBox* Frame4 = frame(Frame1, "Frame4", twipsRect(240, 1080, 3855, 2055));
    QLabel* Label11 = label(Frame4, "Label11", "Output format options", twipsRect(120, 240, 1815, 255));
    QFont underlined = windowFont(8.25);
    underlined.setUnderline(true);
    Label11->setFont(underlined);
    layoutXY_ = place(new QRadioButton("i    x(i)     y(i)", Frame4), "Option1", twipsRect(120, 600, 1215, 255));
    layoutXYCu_ =
        place(new QRadioButton("i    x(i)     y(i)  1-Cp", Frame4), "Option2", twipsRect(120, 960, 1935, 255));
    layoutSplit_ = place(new QRadioButton("i    xU(i)     yU(i)   xL(i)   yL(i)", Frame4), "Option3",
                         twipsRect(120, 1320, 2775, 255));
    // 120 twips wider than designed: even with the narrower indicator the longest caption needs
    // 225 pixels; the button still ends well inside its frame.
    layoutSplitCu_ = place(new QRadioButton("i    xU(i)     yU(i)   1-Cp    xL(i)   yL(i)   1-Cp", Frame4), "Option4",
                           twipsRect(120, 1680, 3375, 255));
    auto* optionStyle = new OptionButtonStyle(QStyleFactory::create(QApplication::style()->name()));
    optionStyle->setParent(this);
    // The tab key enters the option group at its selected button; the arrow keys move within it.
    for (QRadioButton* option : {layoutXY_, layoutXYCu_, layoutSplit_, layoutSplitCu_}) {
        option->setStyle(optionStyle);
        connect(option, &QRadioButton::toggled, option,
                [option](bool checked) { option->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus); });
        option->setFocusPolicy(Qt::ClickFocus);
    }
    layoutSplitCu_->setChecked(true);

    QGroupBox* Frame5 = frame(Frame1, "Frame5", twipsRect(240, 3120, 3855, 855));
    label(Frame5, "Label12", "CL =", twipsRect(120, 360, 375, 255));
    liftBox_ = resultBox(Frame5, "Text_CL", twipsRect(480, 360, 615, 285), "Lift coefficient");
    label(Frame5, "Label13", "CMc/4 =", twipsRect(1200, 360, 735, 255));
    momentBox_ =
        resultBox(Frame5, "Text_CMc4", twipsRect(1920, 360, 615, 285), "Moment coefficient about the quarter chord");
    label(Frame5, "Label14", QString::fromUtf8("α 0 ="), twipsRect(2640, 360, 375, 255));
    zeroLiftAngleBox_ = resultBox(Frame5, "Text_Alfa0", twipsRect(3000, 360, 615, 285), "Zero-lift angle in degrees");

    pressurePlot_ = place(new PlotArea(LightYellow, client), "pressure", twipsRect(4560, 120, 4800, 3015));
    profilePlot_ = place(new PlotArea(LightYellow, client), "profil", twipsRect(4560, 3240, 4800, 2200));
    pressurePlot_->setAccessibleName("Pressure distribution 1-Cp");
    profilePlot_->setAccessibleName("Airfoil profile");
    for (PlotArea* plot : {pressurePlot_, profilePlot_}) {
        plot->setAccessibleDescription(NothingDrawn);
        plot->setFocusPolicy(Qt::StrongFocus);
    }
    // Axis captions of the 1-Cp plot, laid over it and so drawn above its curves.
    for (QLabel* caption : {label(pressurePlot_, "Label7", "1-Cp", twipsRect(480, 120, 375, 255)),
                            label(pressurePlot_, "Label8", "x/c", twipsRect(1920, 2520, 375, 255))}) {
        QPalette p = caption->palette();
        p.setColor(QPalette::Window, LightYellow);
        caption->setPalette(p);
        caption->setAutoFillBackground(true);
    }

    // Keyboard focus order.
    QWidget* order[] = {pressurePlot_, profilePlot_, airfoilList_, saveButton_,    pointCountBox_,  angleBox_,
                        layoutXY_,     layoutXYCu_,  layoutSplit_, layoutSplitCu_, calculateButton_};
    for (std::size_t k = 1; k < std::size(order); ++k) setTabOrder(order[k - 1], order[k]);
}

void Form_ORVEK::handle(const std::function<void()>& handler) { runHandler(this, messages_, handler); }

void Form_ORVEK::loadCatalogue() {
    const orvek::Expected<orvek::Catalogue> catalogue = []() -> orvek::Expected<orvek::Catalogue> {
        try {
            return orvek::loadCatalogueFile(orvek::CatalogueFileName);
        } catch (const std::bad_alloc&) {
            return orvek::Failure{"Not enough memory to read ORVEK_Input.txt at start-up; no airfoils were loaded."};
        }
    }();
    if (catalogue) orvek::storeCatalogue(state_, *catalogue);
    fillList();
    if (!catalogue) {
        messages_.show(this, QString::fromStdString(catalogue.error()), MessagePresenter::Kind::Plain);
    } else if (catalogue->problem) {
        messages_.show(this, QString::fromStdString(catalogue->problem->message()), MessagePresenter::Kind::Warning);
    }
}

void Form_ORVEK::fillList() {
    airfoilList_->clear();
    for (int i = 1; i <= state_.AirfoilCount; ++i) {
        airfoilList_->addItem(QString::fromStdString(state_.AirfoilRow[static_cast<std::size_t>(i)].text));
    }
    // Filling the list chooses no entry: the edit field keeps its single space.
    airfoilList_->setCurrentIndex(-1);
    airfoilList_->setEditText(" ");
    // The drop-down list is as wide as its widest entry (the catalogue's lines are laid out in
    // columns and may be wider than the list's edit field), never narrower than the list.
    QAbstractItemView* view = airfoilList_->view();
    view->setMinimumWidth(view->sizeHintForColumn(0) + 2 * view->frameWidth() +
                          view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view));
}

void Form_ORVEK::reloadCatalogue() {
    const orvek::Expected<orvek::Catalogue> catalogue = orvek::loadCatalogueFile(orvek::CatalogueFileName);
    if (!catalogue) {  // the list stays as it was
        messages_.show(this, QString::fromStdString(catalogue.error()), MessagePresenter::Kind::Plain);
        return;
    }
    const std::string shown = state_.AirfoilRow[static_cast<std::size_t>(state_.SelIndex)].text;
    const bool calculated = state_.NP.has_value();
    // The catalogue tables start empty, as at start-up; the case shown stays.
    state_.AirfoilRow = orvek::CaseState().AirfoilRow;
    state_.AirfoilCount = 0;
    orvek::storeCatalogue(state_, *catalogue);
    fillList();
    // The selection stays with the airfoil whose results are shown, where the file still holds it.
    state_.SelIndex = calculated && state_.SelIndex > 0 ? orvek::matchSelection(state_, shown) : 0;
    if (state_.SelIndex > 0) {
        airfoilList_->setCurrentIndex(state_.SelIndex - 1);
    } else if (calculated) {
        // Its line is gone: no result may be saved under another airfoil's header.
        state_ = [&] {
            orvek::CaseState fresh;
            orvek::storeCatalogue(fresh, *catalogue);
            return fresh;
        }();
        for (QLineEdit* box : {liftBox_, momentBox_, zeroLiftAngleBox_}) box->clear();
        pressurePlot_->clear();
        profilePlot_->clear();
    }
    if (catalogue->problem) {
        messages_.show(this, QString::fromStdString(catalogue->problem->message()), MessagePresenter::Kind::Warning);
    }
}

void Form_ORVEK::chooseAirfoil() {
    // The selection stays with the results it describes: when the chosen airfoil cannot be
    // calculated, the selection and the list return to the airfoil shown (or to none).
    const int shown = state_.SelIndex;
    state_.SelIndex = orvek::matchSelection(state_, airfoilList_->currentText().toStdString());
    if (calculate()) return;
    state_.SelIndex = shown;
    airfoilList_->setCurrentIndex(shown - 1);
    if (shown == 0) airfoilList_->setEditText(" ");
}

bool Form_ORVEK::calculate() {
    const orvek::Expected<orvek::CoefficientTexts> texts = [this] {
        BusyCursor busy;
        return orvek::Calculate(state_, pointCountBox_->text().toStdString(), angleBox_->text().toStdString());
    }();
    if (!texts) {
        messages_.show(this, QString::fromStdString(texts.error()), MessagePresenter::Kind::Plain);
        return false;
    }
    // The list's field shows the entry calculated, whatever was typed into it meanwhile.
    const int entry = state_.SelIndex - 1;
    if (airfoilList_->currentIndex() != entry) airfoilList_->setCurrentIndex(entry);
    if (airfoilList_->currentText() != airfoilList_->itemText(entry)) {
        airfoilList_->setEditText(airfoilList_->itemText(entry));
        airfoilList_->lineEdit()->setCursorPosition(0);
    }
    liftBox_->setText(localeDisplayText(texts->CL));
    momentBox_->setText(localeDisplayText(texts->CMc4));
    zeroLiftAngleBox_->setText(localeDisplayText(texts->Alfa0));
    drawCase(*profilePlot_, *pressurePlot_, static_cast<std::size_t>(*state_.NP), state_.points.x, state_.points.y,
             state_.points.Cu);
    emit caseCalculated();
    return true;
}

void Form_ORVEK::saveResult() {
    // Before the first calculation there is no case: a file of an earlier session stays as it is.
    if (!state_.NP) {
        messages_.show(this, QString::fromUtf8(NothingToSave), MessagePresenter::Kind::Plain);
        return;
    }
    orvek::Layout layout = orvek::Layout::None;
    if (layoutXY_->isChecked()) layout = orvek::Layout::XY;
    else if (layoutXYCu_->isChecked()) layout = orvek::Layout::XYCp;
    else if (layoutSplit_->isChecked()) layout = orvek::Layout::Split;
    else if (layoutSplitCu_->isChecked()) layout = orvek::Layout::SplitCp;
    const orvek::ResultFileCase file = orvek::resultFileCase(state_);
    const char separator = localeDecimalSeparator();
    const orvek::Status saved = orvek::saveFile(
        orvek::ResultFileName, [&](orvek::TextOutput& out) { orvek::writeResultFile(out, file, layout, separator); });
    if (!saved) {
        messages_.show(this, QString::fromStdString(saved.error()), MessagePresenter::Kind::Warning);
    }
}

void Form_ORVEK::showAbout() {
    if (!about_) about_ = std::make_unique<Form_About>();
    about_->show();
    about_->raise();
    about_->activateWindow();
}
