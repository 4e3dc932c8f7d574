// What the two programs say about themselves outside their windows: the
// answers to --help and --version (and that nothing else is taken from the
// programs' own command lines), and the icon their windows carry.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QWidget>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "programmer/programmer_identity.h"
#include "reader/reader_identity.h"

namespace zelta {
namespace {

struct Answer {
  std::optional<int> status;
  std::string printed;
};

Answer ask(const ProgramIdentity& program, std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "program");
  std::FILE* out = std::tmpfile();
  Answer answer{answerHelpOrVersion(program, static_cast<int>(arguments.size()), arguments.data(), out), {}};
  std::rewind(out);
  char buffer[4096];
  answer.printed.assign(buffer, std::fread(buffer, 1, sizeof buffer, out));
  std::fclose(out);
  return answer;
}

TEST(ProgramIdentity, OnlyAWholeHelpOrVersionCommandLineIsAnswered) {
  const ProgramIdentity reader = readerIdentity();
  const ProgramIdentity programmer = programmer::programmerIdentity();
  struct Case {
    const ProgramIdentity& program;
    std::vector<const char*> arguments;
    const char* printedStart;  // nullptr: left to the program, nothing printed
  };
  const Case cases[] = {
      {reader, {"--version"}, "ZELTA_Reader 3.9.9\n"},
      {programmer, {"--version"}, "ZELTA_Programmer 1.18\n"},
      {reader, {"--help"}, "Usage: ZELTA_Reader [--help | --version]\n"},
      {programmer, {"--help"}, "Usage: ZELTA_Programmer [-e | -E | -se | -SE | -? | --help | --version]\n"},
      {reader, {}, nullptr},           {programmer, {"-e"}, nullptr},
      {programmer, {"-?"}, nullptr},   {programmer, {"--help", "-e"}, nullptr},
      {reader, {"--HELP"}, nullptr},   {programmer, {"-se", "--version"}, nullptr},
      {reader, {"-h"}, nullptr},       {reader, {"--version "}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program.name.toStdString() + ::testing::PrintToString(c.arguments));
    const Answer answer = ask(c.program, c.arguments);
    if (!c.printedStart) {
      EXPECT_FALSE(answer.status.has_value());
      EXPECT_EQ(answer.printed, "");
      continue;
    }
    EXPECT_EQ(answer.status, std::optional<int>(0));
    EXPECT_EQ(answer.printed.rfind(c.printedStart, 0), 0u) << answer.printed;
    EXPECT_EQ(answer.printed.back(), '\n');
  }
}

TEST(ProgramIdentity, EachProgramsWindowsCarryItsOwnIcon) {
  std::vector<QImage> seen;
  for (const ProgramIdentity& program : {readerIdentity(), programmer::programmerIdentity()}) {
    SCOPED_TRACE(program.name.toStdString());
    applyIdentity(program);
    EXPECT_EQ(QApplication::applicationName(), program.name);
    EXPECT_EQ(QGuiApplication::desktopFileName(), program.desktopId);
    const QIcon icon = QApplication::windowIcon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{48, 48}, {256, 256}}));
    QWidget window;
    EXPECT_EQ(window.windowIcon().pixmap(48).toImage(), icon.pixmap(48).toImage());
    seen.push_back(icon.pixmap(48).toImage());
  }
  EXPECT_NE(seen[0], seen[1]);
}

}  // namespace
}  // namespace zelta
