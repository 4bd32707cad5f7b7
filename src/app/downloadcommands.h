#pragma once

#include "engine/messagebox.h"
#include "engine/profile.h"

class QWidget;

namespace tessaly {

class CRightListView;

// Tools > Download: the Download Historical Quotes dialog over the selected rows of the list, with
// the quote servers of the settings; the list's rows are refreshed as the run writes their files.
// When the settings file could not be read (`settingsReadable` false) the default servers are used
// and nothing is written into it.
void OpenDownloadDialog(QWidget* parent, CRightListView& list, Profile& profile, bool settingsReadable,
                        MessageBoxes& messages);
// View > Last Collection Report: the report of the last download run.
void OpenLastDownloadReport(QWidget* parent);

} // namespace tessaly
