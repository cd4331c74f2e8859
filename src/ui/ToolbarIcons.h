#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

class QStyle;

namespace slidesmith::ui {

// The toolbar image of a button key ("New", "Open", "Save", "Template", "Report", "Cut", "Copy",
// "Paste", "Undo", "Find", "Goto", "Start", "Help"). The style's own icons serve where it has
// one; the rest are drawn here, so no button is ever blank and no image files need shipping.
QIcon ToolbarIcon(const QString& key, const QStyle* style);

// The program's logo: a slide with a bar chart, for the about box and the window icon.
QPixmap ApplicationLogo(int size);

} // namespace slidesmith::ui
