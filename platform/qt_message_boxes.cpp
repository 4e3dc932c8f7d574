#include "qt_message_boxes.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace zelta {
namespace {

QMessageBox::Icon iconOf(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information: return QMessageBox::Information;
    case BoxIcon::Critical: return QMessageBox::Critical;
    case BoxIcon::Question: return QMessageBox::Question;
    case BoxIcon::Exclamation: return QMessageBox::Warning;
    case BoxIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

BoxAnswer QtMessageBoxes::present(QWidget* owner, const BoxRequest& request) {
  const QString title =
      request.title.isEmpty() ? QCoreApplication::applicationName() : request.title;
  const bool yesNo = request.buttons == BoxButtons::YesNo;
  QMessageBox box(iconOf(request.icon), title, request.text,
                  yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
  if (!request.detail.isEmpty()) box.setInformativeText(request.detail);
  box.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
  const int result = box.exec();
  if (!yesNo) return BoxAnswer::Ok;
  return result == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
}

}  // namespace zelta
