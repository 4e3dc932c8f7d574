// The frame monitor's rows as a file: plain text in aligned columns for
// reading, or CSV (";" between fields, quoted where needed, UTF-8 with a byte
// order mark so that spreadsheets show "°" and "→") for working on. Lines end
// in CR LF.
#pragma once

#include <QString>

#include "monitor/event_text.h"

namespace zelta::monitor {

class EventTableModel;

enum class ExportFormat { Text, Csv };

QString exportHeader(ExportFormat format);
QString exportLine(const EventText& text, ExportFormat format);

// Writes the header and every kept row of the model to path, replacing the file
// only once all of it is written. On failure returns false and says why.
bool writeExport(const QString& path, ExportFormat format, const EventTableModel& rows,
                 QString* error);

}  // namespace zelta::monitor
