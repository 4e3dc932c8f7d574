#include "qt_document_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace zelta {

bool QtDocumentOpener::open(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace zelta
