#include "widgets/program_identity.h"

#include <QApplication>
#include <QIcon>
#include <cstring>

namespace zelta {

std::optional<int> answerHelpOrVersion(const ProgramIdentity& program, int argc, const char* const* argv,
                                       std::FILE* out) {
  if (argc != 2) return std::nullopt;
  QString text;
  if (std::strcmp(argv[1], "--help") == 0) {
    text = program.usage;
  } else if (std::strcmp(argv[1], "--version") == 0) {
    text = program.name + ' ' + program.version + '\n';
  } else {
    return std::nullopt;
  }
  std::fputs(text.toLocal8Bit().constData(), out);
  return std::fflush(out) == 0 ? 0 : 1;
}

void applyIdentity(const ProgramIdentity& program) {
  QApplication::setApplicationName(program.name);
  QApplication::setApplicationVersion(program.version);
  QGuiApplication::setDesktopFileName(program.desktopId);
  QIcon icon;
  for (const int size : {48, 256}) icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(program.desktopId).arg(size));
  QApplication::setWindowIcon(icon);
}

}  // namespace zelta
