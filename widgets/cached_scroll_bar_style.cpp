#include "widgets/cached_scroll_bar_style.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QScrollBar>
#include <QStyleOptionSlider>

namespace zelta {
namespace {

QString rectKey(const QRect& r) {
  return QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

}  // namespace

void CachedScrollBarStyle::drawComplexControl(ComplexControl control,
                                              const QStyleOptionComplex* option, QPainter* painter,
                                              const QWidget* widget) const {
  const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
  if (control != CC_ScrollBar || !bar) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  QStyleOptionSlider atOrigin(*bar);
  atOrigin.rect.moveTo(0, 0);
  const qreal ratio = painter->device()->devicePixelRatio();
  QString key = QStringLiteral("zelta-scroll-bar %1 %2 %3 %4 %5 %6 %7 %8 %9")
                    .arg(rectKey(atOrigin.rect))
                    .arg(int(atOrigin.state))
                    .arg(int(atOrigin.subControls))
                    .arg(int(atOrigin.activeSubControls))
                    .arg(int(atOrigin.orientation))
                    .arg(int(atOrigin.direction))
                    .arg(atOrigin.minimum == atOrigin.maximum)
                    .arg(atOrigin.palette.cacheKey())
                    .arg(ratio);
  for (SubControl part : {SC_ScrollBarSlider, SC_ScrollBarSubPage, SC_ScrollBarAddPage})
    key += QLatin1Char(' ') + rectKey(subControlRect(CC_ScrollBar, &atOrigin, part, widget));

  QPixmap picture;
  if (!QPixmapCache::find(key, &picture)) {
    picture = QPixmap(atOrigin.rect.size() * ratio);
    picture.setDevicePixelRatio(ratio);
    // The style covers the whole bar; an opaque picture is copied, not blended.
    picture.fill(atOrigin.palette.color(QPalette::Window));
    QPainter onPicture(&picture);
    QProxyStyle::drawComplexControl(control, &atOrigin, &onPicture, widget);
    onPicture.end();
    QPixmapCache::insert(key, picture);
  }
  painter->drawPixmap(bar->rect.topLeft(), picture);
}

void cacheScrollBarPictures(QAbstractScrollArea& area) {
  auto* style = new CachedScrollBarStyle;
  style->setParent(&area);
  area.verticalScrollBar()->setStyle(style);
  area.horizontalScrollBar()->setStyle(style);
}

}  // namespace zelta
