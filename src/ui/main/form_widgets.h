#pragma once
// The Qt widget of each kind of the main window's design table.
#include <QColor>
#include <QLabel>
#include <QWidget>

#include "ui/logic/form_design.h"

namespace pellion::ui {

// Creates the widget for a design entry, with its fixed properties (text
// format, alignment, focus policy, pictures).
QWidget* CreateFormWidget(const WidgetState& w, QWidget* parent, const TwipScale& scale);

// Sets the caption the way the widget's kind shows it.
void SetWidgetCaption(QWidget* widget, const std::string& caption);

// The design's twips on this desktop: its font and the primary screen's
// logical size and dpi.
TwipScale DesktopTwipScale();
// Screen pixels per twip, for the platform's services (which count the
// screen's own pixels, not Qt's scaled ones).
double ScreenPixelsPerTwip(const TwipScale& scale);

void SetBold(QWidget* widget, bool bold);

// Background and text colour of the widget's kind.
void SetWidgetColours(QWidget* widget, Kind kind, QColor background, QColor text);

// A desktop colour (0x800000nn) from the application's palette.
Rgb DesktopColour(int index);

inline QColor ToQColor(Colour c) {
    const Rgb rgb = ToRgb(c, DesktopColour);
    return QColor(rgb.r, rgb.g, rgb.b);
}

}  // namespace pellion::ui
