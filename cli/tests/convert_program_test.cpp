// Runs the built tervela-convert and checks exit codes, messages and files.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support/scratch_folder.h"
#include "batch/tests/test_settings.h"
#include "cli/options.h"
#include "program_info/program_info.h"
#include "systems/system_texts.h"
#include "test_support/system.h"

namespace tervela {
namespace {

using testing::ProgramRun;
using testing::ReadBytes;
using testing::WriteBytes;

class ConvertProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteSettings(settings_, testing::WorkedExampleSettings());
    WriteBytes(in_, "45.22568 13.58477 free text\r\n");
  }

  static void WriteSettings(const std::string& path, const TSettingsTexts& texts) {
    std::string record;
    for (const std::string& line : texts) record += line + "\r\n";
    WriteBytes(path, record);
  }

  // Runs the program with `arguments`, standard input from `input_bytes`,
  // in the C locale unless `locale` names another.
  ProgramRun Run(std::vector<std::string> arguments, const std::string& input_bytes = "",
                 const std::string& locale = "C") {
    WriteBytes(folder_ / "stdin", input_bytes);
    arguments.insert(arguments.begin(), TERVELA_CONVERT_PATH);
    arguments.insert(arguments.begin(), launcher_.begin(), launcher_.end());
    return testing::RunProgram(arguments, folder_ / "stdin", folder_.path(), locale, closed_pipe_output_);
  }

  std::vector<std::string> Arguments(const std::string& direction, const std::string& input,
                                     const std::string& output) {
    return {"--settings", settings_, "--direction", direction, input, output};
  }

  // Run before the program, which it then runs with the arguments ("$0" "$@").
  std::vector<std::string> launcher_;
  bool closed_pipe_output_ = false;
  testing::ScratchFolder folder_;
  std::string settings_ = folder_ / "site.set";
  std::string in_ = folder_ / "in.txt";
  std::string out_ = folder_ / "out.txt";
};

TEST_F(ConvertProgram, SuccessIsSilent) {
  std::vector<std::string> arguments = Arguments("wgs-b", in_, out_);
  arguments.push_back("--seven");
  arguments.push_back("--scripts");
  const ProgramRun run = Run(arguments);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadBytes(out_), "5009854.659 388748.192 free text\r\n");
  EXPECT_EQ(ReadBytes(out_ + " point.scr"), "point 388748.2,5009854.7\r\n");
}

TEST_F(ConvertProgram, DashIsStandardInputAndOutput) {
  const ProgramRun run = Run(Arguments("a-wgs", "-", "-"), "5010498.551 388863.697 p\n");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "45.22568000 13.58477000  p\r\n");
  EXPECT_EQ(run.err, "");

  closed_pipe_output_ = true;  // the reader went away: end quietly, as SIGPIPE would
  const ProgramRun closed = Run(Arguments("a-wgs", "-", "-"), "5010498.551 388863.697 p\n");
  EXPECT_EQ(closed.exit_code, 141);
  EXPECT_EQ(closed.err, "");
}

TEST_F(ConvertProgram, ConversionErrorPrintsTheErrorBoxText) {
  const ProgramRun run = Run(Arguments("wgs-a", "-", out_), "45.22568 13.58477 a\nN E\n");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "tervela-convert: -: line 2: Invalid numeric input.\n");
  EXPECT_EQ(ReadBytes(out_), "5010498.551 388863.697 a\r\n");
  EXPECT_EQ(Run(Arguments("wgs-a", "-", out_), "91 15\n").err, "tervela-convert: -: line 1: Latitude out of range.\n");

  EXPECT_EQ(Run(Arguments("wgs-a", folder_ / "none.txt", out_)).err, "File not found.\n");
  EXPECT_EQ(Run(Arguments("wgs-a", in_, in_)).err, "I/O error 32.\n");
  // A map file's error names it; the run changed nothing.
  std::vector<std::string> arguments = Arguments("wgs-a", in_, folder_ / "new.txt");
  arguments.insert(arguments.begin(), {"--kml", folder_ / "none/x.kml"});
  EXPECT_EQ(Run(arguments).err,
            "tervela-convert: " + folder_ / "none/x.kml" + ": Invalid filename.\n");
  EXPECT_FALSE(testing::Exists(folder_ / "new.txt"));
  TERVELA_SKIP_WITHOUT(FullDevice);
  EXPECT_EQ(Run(Arguments("wgs-a", in_, "/dev/full")).err, "Disk full.\n");
}

// Points more than 6 degrees from the central meridian (15 E) are converted
// as ever; the run ends with a warning, whether it succeeds or fails.
TEST_F(ConvertProgram, FarPointsEndTheRunWithAWarning) {
  const std::string warning =
      "tervela-convert: warning: 2 points lie beyond 6\u00B0 of the central meridian, where the "
      "projection is accurate to about 3.3 cm at 7\u00B0, 40 cm at 10\u00B0 and 6.9 m at "
      "15\u00B0\n";
  const std::string input = "45 13.58477 a\n45 21.5 b\n45 8 c\n";
  ProgramRun run = Run(Arguments("wgs-a", "-", out_), input);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err, warning);
  EXPECT_EQ(ReadBytes(out_).find("a\r\n"), 23u);
  run = Run(Arguments("wgs-a", "-", out_), input + "x y\n");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, warning + "tervela-convert: -: line 4: Invalid numeric input.\n");
}

// The worked example's point 0.3 m north of its grid A image, three times.
TEST_F(ConvertProgram, CheckCalibratesAndWritesOnlyFromAWholeControlFile) {
  const std::string control = folder_ / "control.txt", calibrated = folder_ / "calibrated.set";
  WriteBytes(control, "# lat lon N E\n45.22568 13.58477 5010498.851 388863.697 a\n"
                      "45.22568\t13.58477\t5010498.851\t388863.697\n45.22568 13.58477 5010498.851 388863.697\n");
  const std::vector<std::string> check = {"--settings", settings_, "--check", control, "--grid", "a"};
  std::vector<std::string> strict = check, calibrate = check;
  strict.insert(strict.end(), {"--tolerance", "0.1"});
  EXPECT_EQ(Run(strict).exit_code, 3);
  strict.back() = "0.5";
  const ProgramRun loose = Run(strict);
  EXPECT_EQ(loose.exit_code, 0);
  EXPECT_TRUE(loose.out.starts_with("a\t0.3")) << loose.out;
  EXPECT_TRUE(loose.out.find("\n3\t0.3") != std::string::npos) << loose.out;  // named by its line

  const std::string settings_bytes = ReadBytes(settings_);
  calibrate.insert(calibrate.end(), {"--calibrate", "--write-settings", calibrated});
  EXPECT_EQ(Run(calibrate).exit_code, 0);
  EXPECT_EQ(ReadBytes(settings_), settings_bytes);
  const ProgramRun again = Run({"--settings", calibrated, "--check", control, "--grid", "a"});
  EXPECT_TRUE(again.out.ends_with("points 3\trms 0.000\tmax 0.000\toutliers 0\n")) << again.out;

  // OUT is never the control file, by name or through a link.
  const std::string control_bytes = ReadBytes(control);
  std::vector<std::string> names = {control, folder_ / "hard-link.txt"};
  std::filesystem::create_hard_link(control, names[1]);
  if (testing::WhyLacking(testing::Facility::SymbolicLinks).empty()) {
    std::filesystem::create_symlink(control, names.emplace_back(folder_ / "link.txt"));
  }
  for (const std::string& out : names) {
    std::vector<std::string> onto = check;
    onto.insert(onto.end(), {"--calibrate", "--write-settings", out});
    EXPECT_EQ(Run(onto).err, "I/O error 32.\n");
  }
  EXPECT_EQ(ReadBytes(control), control_bytes);

  // Nor written when a residual exceeds --tolerance (3) or no one shift fits (1).
  std::remove(calibrated.c_str());
  for (const auto& [northing, status] : {std::pair{"5010499.051", 3}, std::pair{"5015498.851", 1}}) {
    WriteBytes(control, "45.22568 13.58477 5010498.851 388863.697\n45.22568 13.58477 " + std::string(northing) +
                            " 388863.697\n");
    std::vector<std::string> tolerant = calibrate;
    tolerant.insert(tolerant.end(), {"--tolerance", "0.05"});
    const ProgramRun run = Run(tolerant);
    EXPECT_EQ(run.exit_code, status);
    EXPECT_TRUE(run.err.ends_with("'" + calibrated + "' not written.\n")) << run.err;
    EXPECT_FALSE(testing::Exists(calibrated));
  }

  WriteBytes(control, "45.22568 13.58477 5010498.851 388863.697\n45.22568 13.58477 5010498.851\n");
  const ProgramRun broken = Run(calibrate);
  EXPECT_EQ(broken.exit_code, 1);
  EXPECT_EQ(broken.err, "Control file line 2: four numbers expected, easting missing.\n");
  EXPECT_EQ(broken.out, "");
  EXPECT_FALSE(testing::Exists(calibrated));
}

TEST_F(ConvertProgram, UnreadableSettingsFail) {
  const ProgramRun run = Run({"--settings", folder_ / "none.set", "--direction", "a-b", in_, out_});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "File not found.\n");
  EXPECT_FALSE(testing::Exists(out_));
  // An endless line ends the read at the limit, quickly and in bounded memory.
  if (testing::WhyLacking(testing::Facility::FullDevice).empty()) {
    EXPECT_EQ(Run({"--settings", "/dev/zero", "--direction", "a-b", in_, out_}).err,
              "tervela-convert: /dev/zero: line 1: Settings line longer than 16 MiB.\n");
  }
  // The settings record is guarded like the input: as the output or a script.
  const std::string script = out_ + " text.scr";
  WriteBytes(script, ReadBytes(settings_));
  EXPECT_EQ(Run(Arguments("wgs-a", in_, settings_)).err, "I/O error 32.\n");
  EXPECT_EQ(Run({"--settings", script, "--direction", "wgs-a", "--scripts", in_, out_}).err, "I/O error 32.\n");
  EXPECT_EQ(ReadBytes(script), ReadBytes(settings_));
  EXPECT_FALSE(testing::Exists(out_));
  // So are the map files, and the input by them.
  const std::string input = ReadBytes(in_);
  for (const char* option : {"--geojson", "--kml", "--plot", "--dxf", "--csv"}) {
    for (const std::string& kept : {settings_, in_}) {
      std::vector<std::string> arguments = Arguments("wgs-a", in_, out_);
      arguments.insert(arguments.begin(), {option, kept});
      EXPECT_EQ(Run(arguments).err, "I/O error 32.\n") << option << " " << kept;
    }
  }
  EXPECT_EQ(ReadBytes(settings_), ReadBytes(script));
  EXPECT_EQ(ReadBytes(in_), input);
  EXPECT_FALSE(testing::Exists(out_));
}

TEST_F(ConvertProgram, FileSizeLimitIsAWriteErrorKeepingTheBytesWritten) {
  TERVELA_SKIP_WITHOUT(FileSizeLimit);
  const std::string line = "5010498.551 388863.697 free text\r\n";
  std::string input;
  for (int i = 0; i < 200; ++i) input += "45.22568 13.58477 free text\n";
  WriteBytes(in_, input);
  launcher_ = {"/bin/sh", "-c", "ulimit -f 2 && exec \"$0\" \"$@\""};
  EXPECT_EQ(Run(Arguments("wgs-a", in_, out_)).err, "I/O error 27.\n");
  const std::string written = ReadBytes(out_);
  EXPECT_TRUE(written.size() >= line.size() && written.starts_with(line)) << written.size();
}

TEST_F(ConvertProgram, UsageErrorsExitTwoWithTheUsage) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, std::vector<std::string>{"--direction", "x"}, Arguments("up", in_, out_)}) {
    const ProgramRun run = Run(arguments);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.err.rfind("tervela-convert: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("usage: tervela-convert --settings FILE"), std::string::npos);
    EXPECT_FALSE(testing::Exists(out_));
  }
}

TEST_F(ConvertProgram, HelpDocumentsTheOptions) {
  const ProgramRun run = Run({"--help"});
  EXPECT_EQ(run.exit_code, 0);
  for (const char* text : {"LC_NUMERIC", "Exit status", "example:"}) {
    EXPECT_NE(run.out.find(text), std::string::npos) << text;
  }
  // Every option the parser takes, with its argument, at the start of a line.
  for (const TOption& option : Options()) {
    const std::string head = "\n  " + std::string(option.name) + (option.argument.empty() ? "" : " ");
    EXPECT_NE(run.out.find(head + std::string(option.argument)), std::string::npos) << option.name;
  }
}

TEST_F(ConvertProgram, SystemFromProjReplacesOnlyItsLines) {
  const std::string written = folder_ / "written.set";
  ProgramRun run = Run({"--settings", settings_, "--system-b", "EPSG:2056", "--write-settings", written});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("EPSG:2056"), std::string::npos);
  EXPECT_FALSE(testing::Exists(written));
  // DHDN has no translation: its three-parameter shift is derived from its
  // Helmert transformation, which the unused system B needs no more than A.
  // A point outside the area of use of the operation applied is counted; an
  // operation that is no candidate of the system is refused.
  const std::string dhdn_area =
      "EPSG:1777 DHDN to WGS 84 (2): Germany - states of former West Germany onshore - Baden-Wurtemberg, "
      "Bayern, Bremen, Hamburg, Hessen, Niedersachsen, Nordrhein-Westfalen, Rheinland-Pfalz, Saarland, "
      "Schleswig-Holstein, 47.27N 5.86E to 55.09N 13.84E\n";
  const struct {
    std::vector<std::string> arguments;
    int exit_code;
    std::string err;
  } runs[] = {
      {{"--system-a", "EPSG:25832", "--system-b", "EPSG:31467", "--direction", "wgs-a", in_, out_}, 0, ""},
      {{"--system-a", "EPSG:31467", "--direction", "wgs-a", in_, out_}, 0,
       "tervela-convert: warning: 1 point lies outside the area of use of the datum operation of TM - A, " +
           dhdn_area},
      {{"--system-b", "EPSG:31467", "--near", "45.2,13.6", "--direction", "wgs-b", "--seven", in_, out_}, 0,
       "tervela-convert: warning: 1 point lies outside the area of use of the datum operation of TM - B, " +
           dhdn_area},
      {{"--system-a", "EPSG:31467", "--operation-7p", "EPSG:1612", "--direction", "wgs-a", in_, out_}, 1,
       "EPSG:31467 (DHDN / 3-degree Gauss-Kruger zone 3) has no datum operation EPSG:1612 to WGS 84 without "
       "a grid; --list-operations EPSG:31467 lists the candidates.\n"},
  };
  for (const auto& [arguments, exit_code, err] : runs) {
    std::remove(out_.c_str());
    run = Run(arguments);
    EXPECT_EQ(run.exit_code, exit_code) << arguments[1];
    EXPECT_EQ(run.err, err);
    EXPECT_EQ(testing::Exists(out_), exit_code == 0);
  }

  TSettingsTexts expected = testing::WorkedExampleSettings();
  for (int line = 0; line < 2 * kSystemTextCount; ++line) {
    std::replace(expected[line].begin(), expected[line].end(), '.', ',');
  }
  WriteSettings(settings_, expected);
  run = Run({"--settings", settings_, "--system-b", "EPSG:31467", "--decimal-separator", ",", "--write-settings", written});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  const Result<TProjectedSystem> system = FillFromProj("EPSG:31467");
  PutSystem(system.value(), TLocalSystem::B, ',', expected);
  TSettingsTexts texts;
  ASSERT_TRUE(ReadSettingsRecord(written, texts).ok());
  EXPECT_EQ(texts, expected);
  EXPECT_EQ(texts[kSystemTextCount + 4], "0,100374825652");  // Df of Bessel 1841
  EXPECT_EQ(texts[37], "DHDN / 3-degree Gauss-Kruger zone 3");
}

TEST_F(ConvertProgram, VersionNamesTheProgram) {
  const ProgramRun run = Run({"--version"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, std::string("tervela-convert ") + kProgramVersion + "\n");
  EXPECT_EQ(run.err, "");
}

// The locale's separator comes from ICU's data, whether the C library has
// the locale installed or not, as the window takes it.
TEST_F(ConvertProgram, LocaleNamedByTheEnvironmentGivesTheSeparator) {
  TERVELA_SKIP_WITHOUT(LocaleFromEnvironment);
  TSettingsTexts comma = testing::WorkedExampleSettings();
  comma[7] = "0,9999";
  WriteSettings(settings_, comma);
  for (const char* locale : {"hr_HR.UTF-8", "fr_FR.UTF-8", "de_AT.UTF-8"}) {
    EXPECT_EQ(Run(Arguments("wgs-a", in_, out_), "", locale).exit_code, 0) << locale;
  }
}

// On Windows the separator is the user's, from the regional settings.
TEST_F(ConvertProgram, RegionalSettingsGiveTheSeparator) {
  TERVELA_SKIP_WITHOUT(RegionalSettings);
  TSettingsTexts comma = testing::WorkedExampleSettings();
  comma[7] = "0,9999";
  WriteSettings(settings_, comma);
  const testing::RegionalDecimalSeparator regional(',');
  EXPECT_EQ(Run(Arguments("wgs-a", in_, out_)).exit_code, 0);
  EXPECT_EQ(ReadBytes(out_), "5010498.551 388863.697 free text\r\n");
}

TEST_F(ConvertProgram, ParameterTextsFollowTheSeparator) {
  TSettingsTexts comma = testing::WorkedExampleSettings();
  comma[7] = "0,9999";
  WriteSettings(settings_, comma);

  ProgramRun run = Run(Arguments("wgs-a", in_, out_));
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "tervela-convert: " + settings_ + ": line 8: '0,9999' is not a valid floating point value.\n");
  // A record that would mix separators is not written.
  run = Run({"--settings", settings_, "--system-b", "EPSG:31467", "--write-settings", out_});
  EXPECT_TRUE(run.err.starts_with("tervela-convert: " + settings_ + ": line 8: '0,9999' is not a valid "
                                  "floating point value. Nothing written")) << run.err;
  EXPECT_FALSE(testing::Exists(out_));

  std::vector<std::string> arguments = Arguments("wgs-a", in_, out_);
  arguments.insert(arguments.begin(), {"--decimal-separator", ","});
  run = Run(arguments);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(ReadBytes(out_), "5010498.551 388863.697 free text\r\n");

  // A quoted text reaches the terminal escaped and cut.
  comma[7] = std::string("\x1b]0;T\x07\x1b[2J\t\0", 12) + std::string(100, 'x');
  WriteSettings(settings_, comma);
  EXPECT_EQ(Run(Arguments("wgs-a", in_, out_)).err, "tervela-convert: " + settings_ +
                                                       ": line 8: '\\x1b]0;T\\x07\\x1b[2J\\t\\x00" +
                                                       std::string(68, 'x') +
                                                       "...' is not a valid floating point value.\n");
}

}  // namespace
}  // namespace tervela
