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
  return platform.boxes.show(&form, BoxRequest{text, boxTitle, icon, buttons});
}

void ProgrammerContext::wakeUp(Timer& next) const {
  timer(5).stop();
  title(QStringLiteral("Wake up"), QStringLiteral("Module"));
  link.send(request::collective(cmd::WakeUpAddress));
  next.start();
}

void ProgrammerContext::beep() const { platform.tone.play(500, 500); }

}  // namespace zelta::programmer
