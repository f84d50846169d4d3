// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real torvane-convert the way scripts do: exit codes, messages,
// and the promise that a failed run leaves no output behind.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace torvane {
namespace {

namespace fs = std::filesystem;

class ConverterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "torvane-cli-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
    fs::copy(std::string(EXAMPLES_DIR) + "/worked-arc/settings", dir_ + "/settings");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(Path(name), std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream file(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

  // Runs the converter in the test folder with `arguments` (shell words) and
  // `input` on standard input; returns the exit code.
  int Run(const std::string& arguments, const std::string& input = "",
          const std::string& program = CONVERTER) {
    Write("stdin", input);
    const std::string command = "cd '" + dir_ + "' && '" + program + "' " + arguments +
                                " < stdin > stdout 2> stderr";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string dir_;
};

TEST_F(ConverterTest, ConvertsStandardInputToStandardOutput) {
  EXPECT_EQ(Run("-s settings", "G1 X10 Y0\nG2 X0 Y-10 R10\n"), 0);
  EXPECT_EQ(Read("stdout"),
            "G01 Z10.000 C0.000 M15\r\nG01 Z8.660 C365.730\r\n"
            "G01 Z5.000 C369.924\r\nG01 Z0.000 C371.459\r\n");
  EXPECT_EQ(Read("stderr"), "");
}

TEST_F(ConverterTest, ReportsProblemsWithExitCodeAndGermanMessage) {
  struct Case {
    const char* name;
    std::string arguments;
    std::string input;
    int exitCode;
    std::string message;
  };
  const Case cases[] = {
      {"radius 0 names the line", "-s settings", "G1 X10 Y0\nG2 X0 Y-10 R0\n", 1,
       "torvane-convert: Zeile 2: Kreisbogen mit Radius 0 (R0)\n"},
      {"refused construct", "-s settings", "G1 X10 Y0\nG84 X10 Y10 Z-5 R2\n", 1,
       "torvane-convert: Zeile 2: Zyklus G84 wird nicht unterst\xC3\xBCtzt\n"},
      {"coincident arc", "--settings=settings", "G1 X1 Y1\nG3 X1 Y1 R4\n", 1,
       "torvane-convert: Zeile 2: Start- und Endpunkt des Kreisbogens fallen zusammen\n"},
      {"diameter 0", "-s settings -d 0", "", 2,
       "torvane-convert: Der Durchmesser muss gr\xC3\xB6\xC3\x9F" "er als 0 sein (0)\n"},
      {"negative diameter", "-s settings -d -5", "", 2,
       "torvane-convert: Der Durchmesser muss gr\xC3\xB6\xC3\x9F" "er als 0 sein (-5)\n"},
      {"circumference overflows", "-s settings -d 1.1e4932", "", 2,
       "torvane-convert: Der Durchmesser ist zu gro\xC3\x9F (1.1e4932)\n"},
      {"degrees per unit overflow", "-s settings -d 1e-4940", "", 2,
       "torvane-convert: Der Durchmesser ist zu klein (1e-4940)\n"},
      {"diameter not a number", "-s settings -d 1.2.3", "", 2,
       "torvane-convert: '1.2.3' ist kein g\xC3\xBCltiger Gleitkommawert\n"},
      {"missing input", "-s settings missing.nc", "", 2,
       "torvane-convert: Datei missing.nc kann nicht ge\xC3\xB6" "ffnet werden\n"},
      {"unknown option", "-s settings --fast", "", 2, "torvane-convert: Unbekannte Option --fast\n"},
      {"option without value", "-s", "", 2, "torvane-convert: Option -s erwartet einen Wert\n"},
      {"missing settings folder", "-s nowhere", "", 2,
       "torvane-convert: Einstellungsordner nowhere nicht gefunden\n"},
      {"unknown --set key", "-s settings --set feed=2", "", 2,
       "torvane-convert: Unbekannter Schl\xC3\xBCssel \"feed\" f\xC3\xBCr --set"},
      {"bad --set value", "-s settings --set efeed=1 --set=erot=5", "", 2,
       "torvane-convert: Ung\xC3\xBCltiger Wert \"5\" f\xC3\xBCr erot: erlaubt ist 0 oder 1\n"},
      {"--set without value", "-s settings --set", "", 2,
       "torvane-convert: Option --set erwartet einen Wert\n"},
      {"output folder missing", "-s settings -o no/such/dir/out.min", "G1 X1\n", 2,
       "torvane-convert: Datei no/such/dir/out.min kann nicht erstellt werden\n"},
      {"output onto a folder", "-s settings -o settings", "G1 X1\n", 2,
       "torvane-convert: Datei settings kann nicht erstellt werden: dort steht keine "
       "gew\xC3\xB6hnliche Datei, sondern ein Ordner\n"},
      {"output onto a pipe", "-s settings -o pipe", "G1 X1\n", 2,
       "torvane-convert: Datei pipe kann nicht erstellt werden: dort steht keine "
       "gew\xC3\xB6hnliche Datei, sondern eine benannte Pipe (FIFO)\n"},
  };
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Run(c.arguments, c.input), c.exitCode);
    EXPECT_EQ(Read("stdout"), "");
    EXPECT_EQ(Read("stderr").substr(0, c.message.size()), c.message);
  }
  EXPECT_TRUE(fs::is_fifo(Path("pipe")));
}

TEST_F(ConverterTest, PrintsWarningsAndSucceeds) {
  EXPECT_EQ(Run("-s settings", "G20\nG1 X0 Y0\nG28 Z0\n"), 0);
  EXPECT_EQ(Read("stdout"), "G01 Z0.000 C0.000 M15\r\n");
  EXPECT_EQ(Read("stderr"),
            "torvane-convert: Warnung: Zeile 1: Programm in Zoll: Durchmesser in Zoll angeben\n"
            "torvane-convert: Warnung: Zeile 3: G28 (Maschinenposition) weggelassen\n");
}

TEST_F(ConverterTest, FailedRunLeavesAnExistingOutputUntouched) {
  Write("out.min", "precious");
  EXPECT_EQ(Run("-s settings -o out.min", "G1 X10 Y0\nG2 X0 Y-10\n"), 1);
  EXPECT_EQ(Read("out.min"), "precious");
  // No temporary file is left behind either.
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir_)) files += entry.is_regular_file();
  EXPECT_EQ(files, 4);  // stdin, stdout, stderr, out.min
}

// Ctrl-C or a kill while the input still flows: the process ends by the
// signal, the output file stays as it was and no temporary file is left.
TEST_F(ConverterTest, StopSignalWritesNothing) {
  struct Case {
    const char* signal;
    int number;
  };
  for (const Case c : {Case{"INT", SIGINT}, Case{"TERM", SIGTERM}}) {
    SCOPED_TRACE(c.signal);
    Write("out.min", "alt\n");
    const std::string command =
        "cd '" + dir_ + "' && { (printf 'G1 X1 Y0\\n'; sleep 1) | '" + CONVERTER +
        "' -s settings -o out.min 2> stderr & pid=$!; sleep 0.3; kill -" + c.signal +
        " $pid; wait $pid; echo $? > code; } 2> /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(Read("code"), std::to_string(128 + c.number) + "\n");
    EXPECT_EQ(Read("stderr"),
              std::string("torvane-convert: Abgebrochen (SIG") + c.signal + "), nichts geschrieben\n");
    EXPECT_EQ(Read("out.min"), "alt\n");
    for (const auto& entry : fs::directory_iterator(dir_))
      EXPECT_EQ(entry.path().filename().string().find(".out.min.tmp"), std::string::npos);
  }
}

TEST_F(ConverterTest, SuccessfulRunReplacesTheOutput) {
  Write("source.nc", "G1 X10 Y0\n");
  Write("out.min", "old");
  EXPECT_EQ(Run("--diameter 100 --settings settings --output out.min source.nc"), 0);
  EXPECT_EQ(Read("out.min"), "G01 Z10.000 C0.000 M15\r\n");
}

TEST_F(ConverterTest, OutputThroughALinkKeepsTheLinkAndThePermissions) {
  Write("real.min", "old");
  fs::permissions(Path("real.min"), fs::perms(0640));
  fs::create_symlink("real.min", Path("link.min"));
  EXPECT_EQ(Run("-s settings -o link.min", "G1 X10 Y0\n"), 0);
  EXPECT_TRUE(fs::is_symlink(Path("link.min")));
  EXPECT_EQ(Read("real.min"), "G01 Z10.000 C0.000 M15\r\n");
  EXPECT_EQ(fs::status(Path("real.min")).permissions(), fs::perms(0640));
}

// --set changes one run only: the settings file stays as it was.
TEST_F(ConverterTest, SetOverridesForOneRun) {
  const std::string ini = Read("settings/main.ini");
  // -4 * 360 / (100 pi) = -4.584 degrees; 100 / 5 for the 3-4-5 move.
  EXPECT_EQ(Run("-s settings --set erot=1 --set=EFEED=2", "G1 X3 Y4 F100\n"), 0);
  EXPECT_EQ(Read("stdout"), "G93\r\nG01 Z3.000 C-4.584 F20.000\r\nG94\r\n");
  EXPECT_EQ(Read("settings/main.ini"), ini);
  EXPECT_EQ(Run("-s settings", "G1 X3 Y4 F100\n"), 0);
  EXPECT_EQ(Read("stdout"), "G01 Z3.000 C355.416 M15\r\n");
}

// The check as scripts use it: 0 with the largest deviation, 1 off the
// path, 2 for what keeps it from checking; --check hands nothing over when
// the check fails (here: arcs left out by a settings file).
TEST_F(ConverterTest, ChecksResults) {
  Write("part.nc", "G1 X10 Y0\nG2 X0 Y-10 R10\n");
  Write("refused.nc", "G1 X10 Y0\nG81 X10 Y10 Z-5 R2\n");
  ASSERT_EQ(Run("-s settings --check -o good.min part.nc"), 0);
  EXPECT_EQ(Read("stderr"),
            "torvane-convert: gepr\u00fcft: Abweichung h\u00f6chstens 0,0001 mm (Zeile 4)\n");
  std::string bad = Read("good.min");
  bad.replace(bad.find("C369.924"), 8, "C369.934");
  Write("bad.min", bad);
  struct Case {
    const char* name;
    const char* arguments;
    int exit;
    const char* says;
  };
  const Case cases[] = {
      {"on the path", "part.nc good.min", 0, "Abweichung h\u00f6chstens 0,0001 mm (Zeile 4)\n"},
      {"angle off", "part.nc bad.min", 1,
       "torvane-check: Zeile 3 des Ergebnisses liegt 0,0076 mm neben der Bahn der Quelle "
       "(Quellzeile 2)\n"},
      {"within a wider tolerance", "--tol 0.01 part.nc bad.min", 0, "0,0076 mm (Zeile 3)"},
      {"another diameter", "-d 90 part.nc good.min", 1, "neben der Bahn"},
      {"result missing", "part.nc none.min", 2, "none.min"},
      {"one file", "part.nc", 2, "Erwartet werden QUELLE und ERGEBNIS"},
      {"source refused", "refused.nc good.min", 2, "Quelle refused.nc: Zeile 2: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Run("-s settings " + std::string(c.arguments), "", CHECKER), c.exit);
    EXPECT_NE((Read("stdout") + Read("stderr")).find(c.says), std::string::npos)
        << Read("stdout") << Read("stderr");
  }
  fs::copy(Path("settings"), Path("no-arcs"), fs::copy_options::recursive);
  std::string ini = Read("no-arcs/main.ini");
  ini.replace(ini.find("type=1"), 6, "type=0");
  Write("no-arcs/main.ini", ini);
  EXPECT_EQ(Run("-s no-arcs --check -o out.min part.nc"), 3);
  EXPECT_NE(Read("stderr").find("nichts geschrieben: Das Ergebnis endet, bevor das Ende von "
                                "Quellzeile 2"),
            std::string::npos)
      << Read("stderr");
  EXPECT_FALSE(fs::exists(Path("out.min")));
}

TEST_F(ConverterTest, HelpAndVersion) {
  EXPECT_EQ(Run("--help"), 0);
  EXPECT_EQ(Read("stdout").rfind("Aufruf: torvane-convert", 0), 0u);
  EXPECT_EQ(Run("--version"), 0);
  EXPECT_EQ(Read("stdout"), "torvane-convert " TORVANE_VERSION "\n");
}

}  // namespace
}  // namespace torvane
