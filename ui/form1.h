#pragma once

#include <array>
#include <optional>

#include <QWidget>

#include "common/result.h"
#include "conversion/direction.h"
#include "engine/engine.h"
#include "settings/record_systems.h"
#include "ui/file_dialog.h"
#include "ui/file_run.h"
#include "ui/input_block.h"
#include "ui/platform.h"
#include "ui/progress_box.h"

class QCheckBox;
class QCloseEvent;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tervela {

class TClickableLabel;
class TMapControls;
class TRecordFileControls;

// The decimal separator of the user's locale, as the window parses and writes numbers.
char SystemDecimalSeparator();

// The main window: the Conversion, Settings and Help pages, "About ..." and
// "Exit". Its controls hold the program's state; every handler reads them,
// calls the Qt-free modules and writes them back. Creating it reads the ini
// file into the Settings page.
class TForm1 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm1(TPlatform& platform, char decimal_separator = SystemDecimalSeparator());

  // The window and its bottom strip.
  QTabWidget* PageControl1;
  QWidget* TabSheet1;
  QWidget* TabSheet2;
  QWidget* TabSheet3;
  TClickableLabel* Label1;
  QPushButton* Button5;

  // Conversion page.
  QLabel* Label29;
  QLineEdit* Edit11;
  QPushButton* Button1;
  QLabel* Label25;
  QLabel* Label21;
  QLineEdit* Edit39;
  QLabel* Label22;
  QLineEdit* Edit40;
  QGroupBox* GroupBox3;
  QRadioButton* RadioButton1;
  QRadioButton* RadioButton2;
  QRadioButton* RadioButton8;
  QRadioButton* RadioButton9;
  QRadioButton* RadioButton3;
  QRadioButton* RadioButton4;
  QCheckBox* CheckBox1;
  QLabel* Label30;
  QLineEdit* Edit12;
  QPushButton* Button2;
  QPushButton* BitBtn1;
  QCheckBox* CheckBox2;
  QLabel* Label26;
  QLabel* Label37;
  QLineEdit* Edit45;
  QLabel* Label38;
  QLineEdit* Edit46;
  QComboBox* ComboBox1;
  QLabel* Label27;
  QLabel* Label23;
  QLineEdit* Edit41;
  QLabel* Label28;
  QLabel* Label24;
  QLineEdit* Edit42;
  QPushButton* BitBtn2;
  QPushButton* BitBtn4;
  QPushButton* BitBtn3;
  QPushButton* Button6;
  // The map file check box and the picture button below the Convert File row.
  TMapControls* map_controls;
  // Grid convergence and point scale factor of Convert Data's grid point,
  // between the Convert File row and the map row.
  QLabel* Label39;
  QLineEdit* Edit47;
  QLabel* Label40;
  QLineEdit* Edit48;
  // The DXF and CSV check boxes beside "Write map files".
  TRecordFileControls* record_file_controls;

  // Settings page: row captions, the two columns of edits, section captions.
  QLabel *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10;
  QLabel *Label11, *Label12, *Label13, *Label14, *Label15, *Label16, *Label17, *Label18;
  QLabel *Label19, *Label20, *Label32, *Label33, *Label34, *Label35;
  QGroupBox* GroupBox1;
  QGroupBox* GroupBox2;
  QLineEdit *Edit43, *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9;
  QLineEdit *Edit10, *Edit13, *Edit14, *Edit15, *Edit16, *Edit17, *Edit18, *Edit19, *Edit20;
  QLineEdit *Edit44, *Edit21, *Edit22, *Edit23, *Edit24, *Edit25, *Edit26, *Edit27, *Edit28;
  QLineEdit *Edit29, *Edit30, *Edit31, *Edit32, *Edit33, *Edit34, *Edit35, *Edit36, *Edit37;
  QLineEdit* Edit38;
  QPushButton* Button4;
  QPushButton* Button3;
  // Fill system A or B from PROJ's database.
  QPushButton* Button7;
  QPushButton* Button8;
  // The control-point check of system A and B (form1_control_check.cpp).
  QLabel* Label36;
  QPushButton* ButtonCheckA;
  QPushButton* ButtonCheckB;

  // Help page.
  QPlainTextEdit* Memo1;

  // A "Convert File" run outlasted its click: it goes on, the progress box
  // is open and the window takes no input.
  bool FileRunActive() const { return file_run_.has_value(); }

 protected:
  // Closing ends the program without writing the ini file. During a file run
  // the window stays until the run, cancelled, has ended.
  void closeEvent(QCloseEvent* event) override;

 private:
  using THandler = Status (TForm1::*)();

  void BuildWindow();
  void BuildConversionPage();
  void BuildSettingsPage();
  void BuildHelpPage();
  void BuildControlCheck();
  void SetConversionTabOrder();
  void ConnectHandlers();

  // What a screen reader calls the Conversion page's controls. The names of
  // the coordinate fields follow their unit labels, those of the change
  // readouts carry the value shown; each is called again when these change.
  void NameConversionControls();
  void NameCoordinateFields();
  void NameChangeReadouts();

  // Runs a handler and reports its error.
  void Run(THandler handler);
  // The one place where an error becomes the error box: a handler's, or that
  // of a file run which ends after its handler has returned.
  void ReportError(const Status& status);

  TConversionDirection CurrentDirection() const;
  TShiftMethod CurrentMethod() const;
  TSettingsTexts SettingsTexts() const;
  // Both systems as the Settings page's edits hold them, read anew for each
  // request.
  TRecordSystems RecordSystems() const;
  void SetSettingsText(int index, const std::string& text);
  Status ShowUnits(TConversionDirection direction);

  // The end of a long file run, on its worker's signal.
  void FileRunFinished();
  // Closes the progress box, gives the window its input back, beeps on a
  // success not cancelled and returns the finished run's outcome.
  Status EndFileRun();

  Status BitBtn1Click();
  Status BitBtn2Click();
  Status BitBtn3Click();
  Status BitBtn4Click();
  Status Button1Click();
  Status Button2Click();
  Status Button3Click();
  Status Button4Click();
  Status Button5Click();
  Status Button6Click();
  Status Button7Click();
  Status Button8Click();
  void BuildSystemButtons();
  Status FillSystem(TLocalSystem target);
  Status Label1Click();
  Status RadioButton1Click();
  Status RadioButton2Click();
  Status RadioButton8Click();
  Status RadioButton9Click();
  Status RadioButton3Click();
  Status RadioButton4Click();
  Status ButtonCheckAClick();
  Status ButtonCheckBClick();
  Status CheckControlPoints(TLocalSystem system);

  TPlatform& platform_;
  const char decimal_separator_;
  // The file run going on, if any; while it outlasts its click, the window
  // takes no input (so no handler runs in the middle of it) and the progress
  // box is open. The box, destroyed first, follows the run.
  std::optional<TFileRun> file_run_;
  std::optional<TInputBlock> input_block_;
  std::optional<TProgressBox> progress_box_;
  // The window was closed during the run: it closes once the run has ended.
  bool close_after_run_ = false;
  // The settings edits in the line order of the settings record.
  std::array<QLineEdit*, kSettingsLineCount> settings_edits_{};

  TFileDialog OpenDialog1;
  TFileDialog SaveDialog1;
  TFileDialog OpenDialog2;
  TFileDialog SaveDialog2;
  TFileDialog OpenDialog3{TFileDialog::TKind::Open, QStringLiteral("Text file (*.txt)"), QStringLiteral("txt")};
};

}  // namespace tervela
