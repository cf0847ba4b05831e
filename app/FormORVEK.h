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
    // Builds the window and runs Form_Load (the catalogue from the current directory) before it
    // is shown. Messages go to `messages`, which must outlive the window.
    explicit Form_ORVEK(MessagePresenter& messages, QWidget* parent = nullptr);
    ~Form_ORVEK() override;

    const orvek::CaseState& caseState() const { return state_; }
    Form_About* aboutWindow() const { return about_.get(); }

    // Draws the profile and the 1-Cp distribution of points 1..N1.
    void grafik(double N1, const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& Cu);

signals:
    // After every calculation that succeeded (the plot menus and the polar window follow it).
    void caseCalculated();

private:
    void buildControls();
    void Form_Load();
    void Combo1_Click();
    void Command1_Click();
    void Command2_Click();
    void Mn_About_Click();
    void Calculate();
    // Runs an event handler so that no error escapes it: anything unexpected becomes a message.
    void handle(const std::function<void()>& handler);

    MessagePresenter& messages_;
    orvek::CaseState state_;
    std::unique_ptr<Form_About> about_;  // created at the first use of "About", kept for the run

    QComboBox* Combo1 = nullptr;
    QLineEdit* Text_N1 = nullptr;
    QLineEdit* Text_AlfaD = nullptr;
    QLineEdit* Text_CL = nullptr;
    QLineEdit* Text_CMc4 = nullptr;
    QLineEdit* Text_Alfa0 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    PlotArea* pressure = nullptr;
    PlotArea* profil = nullptr;
    QAction* Mn_About = nullptr;
};
