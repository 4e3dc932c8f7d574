#include "qt_message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QTimer>
#include <QWindow>
#include <memory>

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

// Lines kept as written: preformatted rich text, which the box cannot wrap.
QString unwrappedLines(const QString& text) {
  QString lines = text;
  lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return QStringLiteral("<p style=\"white-space:pre\">") + lines.toHtmlEscaped() +
         QStringLiteral("</p>");
}

// Room for the title in the window frame: the text in a generous title font,
// with the frame's icon and buttons beside it.
int titleWidth(const QString& title) {
  QFont font = QApplication::font();
  font.setBold(true);
  return QFontMetrics(font).horizontalAdvance(title) * 5 / 4 + 150;
}

// A box is a window of its own; this puts it over the owner's window.
void standOver(QMessageBox& box, QWidget* owner) {
  QWidget* window = owner ? owner->window() : nullptr;
  if (!window || !window->isVisible()) return;
  box.winId();
  if (box.windowHandle() && window->windowHandle())
    box.windowHandle()->setTransientParent(window->windowHandle());
}

}  // namespace

BoxAnswer QtMessageBoxes::present(QWidget* owner, const BoxRequest& request) {
  const QString title =
      request.title.isEmpty() ? QCoreApplication::applicationName() : request.title;
  const bool yesNo = request.buttons == BoxButtons::YesNo;
  const auto box = std::make_unique<QMessageBox>(
      iconOf(request.icon), title, request.keepLines ? unwrappedLines(request.text) : request.text,
      yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
  if (request.keepLines) box->setTextFormat(Qt::RichText);
  if (!request.detail.isEmpty()) box->setInformativeText(request.detail);
  if (yesNo) {
    box->setDefaultButton(request.defaultButton == BoxAnswer::No ? QMessageBox::No
                                                                 : QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
  }
  if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
    grid->addItem(new QSpacerItem(titleWidth(title), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  box->setWindowModality(Qt::ApplicationModal);
  standOver(*box, owner);
  QObject::connect(box.get(), &QDialog::finished, box.get(), [this] { closed(); });
  QTimer::singleShot(0, box.get(), [b = box.get()] { b->activateWindow(); });
  current_ = box.get();
  const int result = box->exec();
  if (!yesNo) return BoxAnswer::Ok;
  return result == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
}

void QtMessageBoxes::waitForClose(const BoxRequest&) {
  if (!current_ || !current_->isVisible()) {
    closed();
    return;
  }
  QEventLoop wait;
  QObject::connect(current_, &QDialog::finished, &wait, &QEventLoop::quit);
  wait.exec();
  // Closed, or the program is ending and its event loops return at once.
  closed();
}

}  // namespace zelta
