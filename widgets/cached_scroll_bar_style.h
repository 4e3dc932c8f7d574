// Draws scroll bars as the application's style does, from a cached picture.
// A list that grows at every refresh (the frame monitor following its newest
// row) has its scroll bar drawn again each time although it rarely looks
// different: the handle sits at the bottom at its shortest. Drawing a tall
// scroll bar anew is not cheap with the raster engine, which hands every fill
// of more than about a hundred lines to a thread pool, so a bar redrawn four
// times a second costs hundreds of thread hand-offs a second. The picture is
// keyed on everything that changes its look: size, state, the places of the
// handle and the pages, and the palette.
#pragma once

#include <QProxyStyle>

class QAbstractScrollArea;

namespace zelta {

class CachedScrollBarStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget = nullptr) const override;
};

// Has both scroll bars of the area drawn from cached pictures.
void cacheScrollBarPictures(QAbstractScrollArea& area);

}  // namespace zelta
