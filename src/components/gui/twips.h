#pragma once

#include <QRect>

class QWidget;

// Window and control sizes are given in twips (1440 an inch) and shown at the
// screen's logical DPI: 15 twips a pixel at 96 DPI.
namespace Twips {

int toPixels(int twips, const QWidget *widget = nullptr);
QRect toPixels(int left, int top, int width, int height, const QWidget *widget = nullptr);

} // namespace Twips
