// The window: its frame, the Help page, the About box, and the one place
// where the handlers run.

#include "ui/form1.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <exception>

#include "numeric_locale/decimal_separator.h"
#include "program_info/program_info.h"
#include "ui/artwork.h"
#include "ui/clickable_label.h"
#include "ui/control_text.h"
#include "ui/form2.h"
#include "ui/help_text.h"
#include "ui/look.h"

namespace tervela {
namespace {

const QString kTextFilter = QStringLiteral("Text file (*.txt)");
const QString kSettingsFilter = QStringLiteral("Settings File (*.set)");

// A page is filled with the window's colour, as the form it holds: some
// styles (Windows' own) draw a tab's page white, where the white edits,
// which have no frame, would vanish.
QWidget* MakePage(QTabWidget* pages, const char* name, const QString& caption) {
  auto* page = new QWidget(pages);
  page->setObjectName(QString::fromLatin1(name));
  page->setAutoFillBackground(true);
  pages->addTab(page, caption);
  return page;
}

}  // namespace

// Decided as tervela-convert decides it, so both read the same ini file alike.
char SystemDecimalSeparator() { return EnvironmentDecimalSeparator(); }

TForm1::TForm1(TPlatform& platform, char decimal_separator)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      platform_(platform),
      decimal_separator_(decimal_separator),
      OpenDialog1(TFileDialog::TKind::Open, kTextFilter, QStringLiteral("txt"), QStringLiteral("321")),
      SaveDialog1(TFileDialog::TKind::Save, kTextFilter, QStringLiteral("txt")),
      OpenDialog2(TFileDialog::TKind::Open, kSettingsFilter, QStringLiteral("set")),
      SaveDialog2(TFileDialog::TKind::Save, kSettingsFilter, QStringLiteral("set")) {
  BuildWindow();
  BuildConversionPage();
  BuildSettingsPage();
  BuildControlCheck();
  BuildHelpPage();
  SetConversionTabOrder();
  ConnectHandlers();
  // The creation handler: the ini file fills the Settings page before the
  // window is shown; an error is reported and the start goes on.
  Run(&TForm1::Button6Click);
}

void TForm1::BuildWindow() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Tervela ") + QLatin1String(kProgramVersion));
  setWindowIcon(ProgramIcon());
  setFont(WindowFont());
  setFixedSize(401, 543);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->setGeometry(0, 0, 401, 513);
  TabSheet1 = MakePage(PageControl1, "TabSheet1", QStringLiteral("Conversion"));
  TabSheet2 = MakePage(PageControl1, "TabSheet2", QStringLiteral("Settings"));
  TabSheet3 = MakePage(PageControl1, "TabSheet3", QStringLiteral("Help"));
  PageControl1->setCurrentWidget(TabSheet1);

  Label1 = new TClickableLabel(QStringLiteral("About ..."), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(24, 520, 57, 16);
  QFont about_font = Label1->font();
  about_font.setPixelSize(13);
  about_font.setBold(true);
  about_font.setStretch(85);  // the larger bold caption still fits its 57 pixels
  Label1->setFont(about_font);
  Label1->setCursor(Qt::PointingHandCursor);

  Button5 = MakeButton(this, "Button5", {309, 516, 86, 25}, QStringLiteral("Exit"), kBlack,
                       TWeight::Bold);
}

void TForm1::BuildHelpPage() {
  Memo1 = new QPlainTextEdit(TabSheet3);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setGeometry(0, 16, 393, 457);
  Memo1->setFrameShape(QFrame::NoFrame);
  Memo1->setReadOnly(true);
  Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  SetBackground(Memo1, palette().color(QPalette::ToolTipBase));
  SetTextColour(Memo1, kBlack);
  Memo1->setPlainText(HelpText());
  Memo1->setAccessibleName(QStringLiteral("Help text"));
}

void TForm1::ConnectHandlers() {
  const auto bind = [this](QAbstractButton* button, THandler handler) {
    connect(button, &QAbstractButton::clicked, this, [this, handler] { Run(handler); });
  };
  bind(BitBtn1, &TForm1::BitBtn1Click);
  bind(BitBtn2, &TForm1::BitBtn2Click);
  bind(BitBtn3, &TForm1::BitBtn3Click);
  bind(BitBtn4, &TForm1::BitBtn4Click);
  bind(Button1, &TForm1::Button1Click);
  bind(Button2, &TForm1::Button2Click);
  bind(Button3, &TForm1::Button3Click);
  bind(Button4, &TForm1::Button4Click);
  bind(Button5, &TForm1::Button5Click);
  bind(Button6, &TForm1::Button6Click);
  bind(Button7, &TForm1::Button7Click);
  bind(Button8, &TForm1::Button8Click);
  // A direction counts as chosen whenever its button becomes checked: by a
  // click, the arrow keys, or a screen reader's toggle action, which checks
  // the button without a click.
  const auto bind_direction = [this](QAbstractButton* button, THandler handler) {
    connect(button, &QAbstractButton::toggled, this, [this, handler](bool checked) {
      if (checked) Run(handler);
    });
  };
  bind_direction(RadioButton1, &TForm1::RadioButton1Click);
  bind_direction(RadioButton2, &TForm1::RadioButton2Click);
  bind_direction(RadioButton8, &TForm1::RadioButton8Click);
  bind_direction(RadioButton9, &TForm1::RadioButton9Click);
  bind_direction(RadioButton3, &TForm1::RadioButton3Click);
  bind_direction(RadioButton4, &TForm1::RadioButton4Click);
  connect(Label1, &TClickableLabel::clicked, this, [this] { Run(&TForm1::Label1Click); });
}

void TForm1::Run(THandler handler) {
  // Nothing starts during a file run, not even what bypasses input events
  // (an action of assistive technology).
  if (file_run_) return;
  Status status;
  try {
    status = (this->*handler)();
  } catch (const std::exception& exception) {  // a failed allocation, above all
    status = Error::FromException(exception);
  }
  ReportError(status);
}

void TForm1::ReportError(const Status& status) {
  if (!status.ok()) platform_.ShowError(Text(status.error().BoxText()));
}

Status TForm1::Label1Click() {
  TForm2 about(this);
  about.exec();
  return {};
}

}  // namespace tervela
