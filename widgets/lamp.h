// A lamp of the programs' windows: a filled circle whose colour is set by the
// program. Colours are given as 0x00BBGGRR values, as the windows' colour
// tables list them, and read back the same way.
#pragma once

#include <QWidget>
#include <cstdint>

namespace zelta {

namespace colour {
inline constexpr std::uint32_t Green = 0x00FF00;
inline constexpr std::uint32_t DarkGreen = 0x008000;
inline constexpr std::uint32_t Red = 0x0000FF;
inline constexpr std::uint32_t DarkRed = 0x000080;
}  // namespace colour

class Lamp : public QWidget {
  Q_OBJECT
 public:
  Lamp(const QString& name, std::uint32_t bgr, QWidget* parent = nullptr);

  void setColour(std::uint32_t bgr);
  std::uint32_t colour() const { return bgr_; }

  QSize sizeHint() const override { return {16, 16}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::uint32_t bgr_;
};

}  // namespace zelta
