#pragma once

#include "app/mainframe.h"

#include <QIcon>
#include <QString>

namespace tessaly {

// The image of a command in the menus (16 by 16) and, for the toolbar's commands, on the toolbar
// (34 by 32); a null icon for a command without an image. The disabled look is derived from it.
QIcon CommandIcon(CMainFrame::Command command);
// The name of the command's image file under ":/icons/" (and ":/icons/toolbar/" for a toolbar
// image), for example "download"; empty for a command without an image.
QString CommandIconName(CMainFrame::Command command);

} // namespace tessaly
