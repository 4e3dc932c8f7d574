// A label whose text changes with every request (the address being asked)
// without the whole window being laid out and drawn again each time: it keeps
// a fixed size, wide enough for its usual texts, and widens (never narrows)
// when a text would not fit. Once shown, it is opaque (filled with the colour
// behind it), so that a new text redraws the label alone.
#pragma once

class QLabel;
class QString;

namespace zelta {

// Fixes the label's size to fit widestUsualText in its font.
void holdLabelSize(QLabel& label, const QString& widestUsualText);
// Sets the text, widening the held size first when the text needs it.
void setHeldLabelText(QLabel& label, const QString& text);

}  // namespace zelta
