#include "twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace Twips {

namespace {

qreal logicalDpi(const QWidget *widget)
{
    if (widget)
        return widget->logicalDpiX();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        return screen->logicalDotsPerInchX();
    return 96.0;
}

} // namespace

int toPixels(int twips, const QWidget *widget)
{
    return qRound(twips * logicalDpi(widget) / 1440.0);
}

QRect toPixels(int left, int top, int width, int height, const QWidget *widget)
{
    return QRect(toPixels(left, widget), toPixels(top, widget), toPixels(width, widget),
                 toPixels(height, widget));
}

} // namespace Twips
