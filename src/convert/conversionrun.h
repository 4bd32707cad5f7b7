#pragma once

#include "convert/skippedsymbol.h"
#include "engine/messagebox.h"

#include <QApplication>

namespace tessaly {

// Runs `convert` (which returns the symbols it skipped) under the wait cursor, then names every
// skipped symbol in one message; nothing is shown when none was skipped.
template <typename Conversion>
void RunConversion(MessageBoxes& messages, Conversion&& convert) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const SkippedSymbols skipped = convert();
    QApplication::restoreOverrideCursor();
    if (!skipped.empty())
        messages.Show(SkippedSymbolsMessage(skipped), "", MessageButtons::Ok, MessageIcon::Warning);
}

} // namespace tessaly
