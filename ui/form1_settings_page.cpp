// The Settings page: its controls, its texts as the settings record holds
// them, loading and saving them, and the ini file read at the start and
// written on Exit.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "settings/line_reader.h"
#include "settings/startup_settings.h"
#include "ui/control_text.h"
#include "ui/form1.h"
#include "ui/look.h"
#include "ui/settings_record_edits.h"

namespace tervela {
namespace {

const std::string kIniFileName = "Tervela.ini";

// The eighteen parameter rows, top to bottom: caption label, caption, colour,
// and what the row holds, in words, for a screen reader's description.
struct TRowCaption {
  QLabel* TForm1::*label;
  const char* name;
  const char* caption;
  QColor colour;
  const char* meaning;
};

const QColor kWindowText = kBlack;

const TRowCaption kRowCaptions[kSystemTextCount] = {
    {&TForm1::Label3, "Label3", "dx [m]", kPurple, "Three-parameter shift along X, metres"},
    {&TForm1::Label4, "Label4", "dy [m]", kPurple, "Three-parameter shift along Y, metres"},
    {&TForm1::Label5, "Label5", "dz [m]", kPurple, "Three-parameter shift along Z, metres"},
    {&TForm1::Label6, "Label6", "da [m]", kGreen,
     "Semi-major axis of WGS84 minus that of the local ellipsoid, metres"},
    {&TForm1::Label7, "Label7", "df", kGreen,
     "Flattening of WGS84 minus that of the local ellipsoid, times 10000"},
    {&TForm1::Label12, "Label12", "corr.N [\"]", kPurple,
     "Correction to the latitude before the three-parameter shift, arc-seconds"},
    {&TForm1::Label13, "Label13", "corr.E [\"]", kPurple,
     "Correction to the longitude before the three-parameter shift, arc-seconds"},
    {&TForm1::Label8, "Label8", "Scale Factor", kWindowText,
     "Scale factor on the central meridian"},
    {&TForm1::Label9, "Label9", "False Easting [m]", kWindowText,
     "Easting added to every projected point, metres"},
    {&TForm1::Label10, "Label10", "False Northing [m]", kWindowText,
     "Northing added to every projected point, metres"},
    {&TForm1::Label11, "Label11", "Central Meridian", kWindowText,
     "Longitude of the central meridian, decimal degrees east"},
    {&TForm1::Label14, "Label14", "Tx [m]", kMaroon, "Seven-parameter shift along X, metres"},
    {&TForm1::Label15, "Label15", "Ty [m]", kMaroon, "Seven-parameter shift along Y, metres"},
    {&TForm1::Label16, "Label16", "Tz [m]", kMaroon, "Seven-parameter shift along Z, metres"},
    {&TForm1::Label17, "Label17", "Rx [\"]", kMaroon,
     "Seven-parameter rotation about X, arc-seconds"},
    {&TForm1::Label18, "Label18", "Ry [\"]", kMaroon,
     "Seven-parameter rotation about Y, arc-seconds"},
    {&TForm1::Label19, "Label19", "Rz [\"]", kMaroon,
     "Seven-parameter rotation about Z, arc-seconds"},
    {&TForm1::Label20, "Label20", "k [ppm]", kMaroon,
     "Seven-parameter scale change, parts per million"},
};

// One column of the Settings page: its name box and its eighteen edits, top
// to bottom, which is also their order in the settings record.
struct TColumn {
  QGroupBox* TForm1::*group;
  const char* group_name;
  const char* caption;
  const char* system;  // as a screen reader names the column's edits
  int left;
  QLineEdit* TForm1::*name_box;
  std::array<QLineEdit* TForm1::*, kSystemTextCount> edits;
};

const TColumn kColumns[2] = {
    {&TForm1::GroupBox1, "GroupBox1", "WGS84 to A", "system A", 96, &TForm1::Edit43,
     {&TForm1::Edit1, &TForm1::Edit2, &TForm1::Edit3, &TForm1::Edit4, &TForm1::Edit5,
      &TForm1::Edit6, &TForm1::Edit7, &TForm1::Edit8, &TForm1::Edit9, &TForm1::Edit10,
      &TForm1::Edit13, &TForm1::Edit14, &TForm1::Edit15, &TForm1::Edit16, &TForm1::Edit17,
      &TForm1::Edit18, &TForm1::Edit19, &TForm1::Edit20}},
    {&TForm1::GroupBox2, "GroupBox2", "WGS84 to B", "system B", 192, &TForm1::Edit44,
     {&TForm1::Edit21, &TForm1::Edit22, &TForm1::Edit23, &TForm1::Edit24, &TForm1::Edit25,
      &TForm1::Edit26, &TForm1::Edit27, &TForm1::Edit28, &TForm1::Edit29, &TForm1::Edit30,
      &TForm1::Edit31, &TForm1::Edit32, &TForm1::Edit33, &TForm1::Edit34, &TForm1::Edit35,
      &TForm1::Edit36, &TForm1::Edit37, &TForm1::Edit38}},
};

QByteArray EditName(int number) { return "Edit" + QByteArray::number(number); }

// The longest text a settings load accepts. A loaded text has at most as many
// characters as bytes, so no loaded text is cut, as QLineEdit's default
// maximum of 32767 characters would.
constexpr int kMaxSettingsTextLength = static_cast<int>(LineReader::kMaxLineLength);

// Properties of a settings edit: the bytes it was loaded with and the text it
// showed then. While it still shows that text, those bytes are its text in the
// record, so bytes the local encoding cannot show are saved as they came.
constexpr char kLoadedBytes[] = "tervelaLoadedBytes";
constexpr char kLoadedText[] = "tervelaLoadedText";

}  // namespace

void TForm1::BuildSettingsPage() {
  QWidget* page = TabSheet2;
  Label2 = MakeLabel(page, "Label2", {8, 22}, QStringLiteral("Variables"));
  for (int row = 0; row < kSystemTextCount; ++row) {
    const TRowCaption& caption = kRowCaptions[row];
    this->*caption.label = MakeLabel(page, caption.name, {8, 48 + 24 * row},
                                     QString::fromLatin1(caption.caption), caption.colour);
  }

  // Created column by column, name box first, so the focus chain runs the same way.
  for (int c = 0; c < 2; ++c) {
    const TColumn& column = kColumns[c];
    const TLocalSystem local_system = c == 0 ? TLocalSystem::A : TLocalSystem::B;
    auto* group = new QGroupBox(QString::fromLatin1(column.caption), page);
    group->setObjectName(QString::fromLatin1(column.group_name));
    group->setGeometry(column.left, 6, 89, 473);
    this->*column.group = group;

    const std::size_t name_line = NameIndex(local_system);
    QLineEdit* name_box =
        MakeEdit(group, EditName(kSettingsRecordEdits[name_line]).constData(), {8, 16, 73, 19});
    SetBackground(name_box, kInactiveCaptionTextColour);
    const QString system = QString::fromLatin1(column.system);
    name_box->setAccessibleName(QStringLiteral("Name of ") + system);
    this->*column.name_box = name_box;
    settings_edits_[name_line] = name_box;

    for (int row = 0; row < kSystemTextCount; ++row) {
      const std::size_t line = FirstParameterIndex(local_system) + static_cast<std::size_t>(row);
      QLineEdit* edit = MakeEdit(group, EditName(kSettingsRecordEdits[line]).constData(),
                                 {8, 40 + 24 * row, 73, 19});
      // "dx [m], system A": unique on the page, unlike the column's caption.
      edit->setAccessibleName(QString::fromLatin1(kRowCaptions[row].caption) + ", " + system);
      edit->setAccessibleDescription(QString::fromLatin1(kRowCaptions[row].meaning));
      this->*column.edits[row] = edit;
      settings_edits_[line] = edit;
    }
  }
  for (QLineEdit* edit : settings_edits_) edit->setMaxLength(kMaxSettingsTextLength);

  Label33 = MakeLabel(page, "Label33", {288, 72}, QStringLiteral("3p Conversion Data"), kPurple);
  Label34 = MakeLabel(page, "Label34", {288, 128}, QStringLiteral("Common 3p 7p Data"), kGreen);
  Label32 = MakeLabel(page, "Label32", {288, 248}, QStringLiteral("TM Projection Data"), kWindowText);
  Label35 = MakeLabel(page, "Label35", {288, 384}, QStringLiteral("7p Conversion Data"), kMaroon);

  Button4 = MakeButton(page, "Button4", {304, 424, 86, 25}, QStringLiteral("Load settings"), kBlack,
                       TWeight::Bold);
  Button3 = MakeButton(page, "Button3", {304, 456, 86, 25}, QStringLiteral("Save settings"), kBlack,
                       TWeight::Bold);
  BuildSystemButtons();
}

TSettingsTexts TForm1::SettingsTexts() const {
  TSettingsTexts texts;
  for (int line = 0; line < kSettingsLineCount; ++line) {
    const QLineEdit* edit = settings_edits_[line];
    const QString text = edit->text();
    texts[line] = text == edit->property(kLoadedText).toString()
                      ? edit->property(kLoadedBytes).toByteArray().toStdString()
                      : Bytes(text);
  }
  return texts;
}

TRecordSystems TForm1::RecordSystems() const {
  return ReadRecordSystems(SettingsTexts(), decimal_separator_);
}

void TForm1::SetSettingsText(int line, const std::string& text) {
  QLineEdit* edit = settings_edits_[line];
  edit->setText(Text(text));
  edit->setProperty(kLoadedBytes, QByteArray(text.data(), qsizetype(text.size())));
  edit->setProperty(kLoadedText, edit->text());
}


// Save settings.
Status TForm1::Button3Click() {
  const auto name = SaveDialog2.Execute(platform_);
  if (!name) return {};
  return WriteSettingsRecord(FileName(*name), SettingsTexts());
}

// Load settings: each edit is set as soon as its line is read. A FIFO or
// device is refused, so the window never waits on one.
Status TForm1::Button4Click() {
  const auto name = OpenDialog2.Execute(platform_);
  if (!name) return {};
  return ReadSettingsRecord(
      FileName(*name), [this](int line, const std::string& text) { SetSettingsText(line, text); },
      TSettingsSource::RegularFileOnly);
}

// Exit: the program ends only once the ini file is written.
Status TForm1::Button5Click() {
  if (Status status = WriteSettingsRecord(kIniFileName, SettingsTexts()); !status.ok()) {
    return status;
  }
  platform_.Quit();
  return {};
}

// Loads the ini file from the working directory; one whose load stops early
// is copied aside first, so that Exit cannot lose its lines.
Status TForm1::Button6Click() {
  return ReadStartupSettings(kIniFileName,
                             [this](int line, const std::string& text) { SetSettingsText(line, text); });
}

}  // namespace tervela
