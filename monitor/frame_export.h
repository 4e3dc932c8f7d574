// The frame monitor's rows as a file: plain text in aligned columns for
// reading, or CSV (";" between fields, quoted where needed, UTF-8 with a byte
// order mark so that spreadsheets show "°" and "→") for working on. Lines end
// in CR LF.
#pragma once

#include <QByteArray>
#include <QString>

#include "monitor/event_text.h"

namespace zelta::monitor {

class EventTableModel;

enum class ExportFormat { Text, Csv };

QString exportHeader(ExportFormat format);
QString exportLine(const EventText& text, ExportFormat format);

// The header and every kept row of the model, as the file holds them.
QByteArray exportContents(ExportFormat format, const EventTableModel& rows);

}  // namespace zelta::monitor
