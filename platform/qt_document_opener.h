// The desktop's document viewer, through Qt's desktop services.
#pragma once

#include "platform/document_opener.h"

namespace zelta {

class QtDocumentOpener final : public DocumentOpener {
 public:
  bool open(const QString& path) override;
};

}  // namespace zelta
