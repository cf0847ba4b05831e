#pragma once
// The main window: the airfoil list, the inputs, the output-format options, the buttons, the
// result fields and the two plots. It holds the case state and wires each control's event to
// the plain functions of the core.

#include "case/CaseState.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class Form_About;
class MessagePresenter;
class PlotArea;
class QAction;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class Form_ORVEK : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and loads the catalogue from the current directory before it is shown.
    // Messages go to `messages`, which must outlive the window.
    explicit Form_ORVEK(MessagePresenter& messages, QWidget* parent = nullptr);
    ~Form_ORVEK() override;

    const orvek::CaseState& caseState() const { return state_; }
    Form_About* aboutWindow() const { return about_.get(); }

signals:
    // After every calculation that succeeded (the plot menus and the polar window follow it).
    void caseCalculated();

private:
    void buildControls();
    void loadCatalogue();
    // F5, or an airfoil added by the explorer: the catalogue read again. The previous list stays
    // when the file cannot be read.
    void reloadCatalogue();
    void fillList();
    void chooseAirfoil();
    // Runs the case from the typed point count and angle; false (with the reason shown) when it
    // cannot be calculated.
    bool calculate();
    void saveResult();
    void showAbout();
    // Runs an event handler so that no error escapes it: anything unexpected becomes a message.
    void handle(const std::function<void()>& handler);

    MessagePresenter& messages_;
    orvek::CaseState state_;
    std::unique_ptr<Form_About> about_;  // created at the first use of "About", kept for the run

    // The designed controls; their object names are those of the design (Combo1, Text_N1, ...).
    QComboBox* airfoilList_ = nullptr;
    QLineEdit* pointCountBox_ = nullptr;
    QLineEdit* angleBox_ = nullptr;
    QLineEdit* liftBox_ = nullptr;
    QLineEdit* momentBox_ = nullptr;
    QLineEdit* zeroLiftAngleBox_ = nullptr;
    QRadioButton* layoutXY_ = nullptr;
    QRadioButton* layoutXYCu_ = nullptr;
    QRadioButton* layoutSplit_ = nullptr;
    QRadioButton* layoutSplitCu_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* calculateButton_ = nullptr;
    PlotArea* pressurePlot_ = nullptr;
    PlotArea* profilePlot_ = nullptr;
    QAction* aboutAction_ = nullptr;
};
