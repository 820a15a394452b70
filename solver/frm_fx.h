// The input panel: f(x), initial value, tolerance, loop limit, the step mode,
// and the Calculate, Clear and End buttons; a click on "initial value=" shows
// the translated expression and f, f' at the initial value.
#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "common/user_dialogs.h"
#include "solver/driver.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorel {

class Engine;

inline constexpr const char* kExampleFunctions[] = {
    "sin(3)*X^2-2*cos(X+8)", "3X^3-2X^2-8",        "X^3-3X-10",
    "(3x^2)*exp(2x-1)",      "sin(x)-cos(x)+0.2x", "log(x^9-x^7+x^5)/log(9)-x-8",
};
inline constexpr const char* kInitialFunction = "3X^2-2X+1";

class FrmFx : public QWidget {
    Q_OBJECT
  public:
    // The driver runs the calculations the panel asks for; the main window owns it.
    FrmFx(Engine& engine, UserDialogs& dialogs, IterationDriver& driver, QWidget* parent = nullptr);
    ~FrmFx() override;

    // Runs one whole calculation (ignored while one runs).
    void CmdCal_Click();
    // Clear: OffX from floor(initial value), graph frame, empty table.
    // Failures reach the caller.
    void CmdClr_Click();
    // What a calculation reads: the four texts and the step box.
    CalculationInputs inputs() const;
    IterationDriver& driver() { return driver_; }
    // Ends the program.
    void Command1_Click();
    // Diagnostic view of the translated expression.
    void LabDFT_Click();

    // The Clear button: Clear, with a failure reported to the user.
    void clearPressed();
    // Writes the initial-value box (the graph click does this).
    void setInitialValueText(const std::string& text);
    bool calculating() const;
    // Locks the inputs a running calculation reads (and unlocks them).
    void lockInputs(bool running) { setInputsEnabled(!running); }
    // A running calculation stops at its next pass (the program is ending).
    void abandonCalculation();

    // Controls, for the driver's reads and for tests.
    QLabel& Label1() { return *label1_; }
    QLabel& LabFx() { return *labFx_; }
    QComboBox& CmbFx() { return *cmbFx_; }
    QLabel& LabDFT() { return *labDFT_; }
    QLineEdit& TexDFT() { return *texDFT_; }
    QLabel& Label3() { return *label3_; }
    QLineEdit& TexLoops() { return *texLoops_; }
    QLabel& Label2() { return *label2_; }
    QLineEdit& TexError() { return *texError_; }
    QPushButton& CmdClr() { return *cmdClr_; }
    QPushButton& CmdCal() { return *cmdCal_; }
    QCheckBox& ChkStep() { return *chkStep_; }
    QLabel& LabSel1() { return *labSel1_; }
    QPushButton& Command1() { return *command1_; }

  signals:
    // "End" was pressed: the program is to end (the main window ends it).
    void endRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void setInputsEnabled(bool enabled);

    Engine& engine_;
    UserDialogs& dialogs_;
    IterationDriver& driver_;

    QLabel* label1_;
    QLabel* labFx_;
    QComboBox* cmbFx_;
    QLabel* labDFT_;
    QLineEdit* texDFT_;
    QLabel* label3_;
    QLineEdit* texLoops_;
    QLabel* label2_;
    QLineEdit* texError_;
    QPushButton* cmdClr_;
    QPushButton* cmdCal_;
    QCheckBox* chkStep_;
    QLabel* labSel1_;
    QPushButton* command1_;
};

}  // namespace quorel
