#include "programmer/programmer_context.h"

#include <QLabel>

#include "programmer/programmer_link.h"
#include "protocol/commands.h"
#include "protocol/requests.h"

namespace zelta::programmer {

void ProgrammerContext::title(const QString& first, const QString& second) const {
  ui.label1->setText(first);
  ui.label2->setText(second);
}

void ProgrammerContext::startText() const {
  title(QStringLiteral("KESTRIN ZELTA II"), QStringLiteral("Programmer"));
}

BoxAnswer ProgrammerContext::box(const QString& text, BoxIcon icon, BoxButtons buttons,
                                 const QString& boxTitle) const {
  return box(BoxRequest{text, boxTitle, icon, buttons});
}

BoxAnswer ProgrammerContext::box(BoxRequest request) const {
  if (request.title.isEmpty()) request.title = kProgramName;
  return platform.boxes.show(&form, request);
}

BoxAnswer ProgrammerContext::askBeforeChanging(const QString& text, const QString& title) const {
  return box(BoxRequest{.text = text,
                        .title = title,
                        .buttons = BoxButtons::YesNo,
                        .defaultButton = BoxAnswer::No});
}

void ProgrammerContext::wakeUp(Timer& next) const {
  timer(5).stop();
  title(QStringLiteral("Wake up"), QStringLiteral("Module"));
  link.send(request::collective(cmd::WakeUpAddress));
  next.start();
}

void ProgrammerContext::cancelWakeUps() const {
  for (int n : {11, 12, 15, 16}) timer(n).stop();
}

void ProgrammerContext::beep() const { platform.tone.play(500, 500); }

}  // namespace zelta::programmer
