#pragma once

#include "convert/folderpicker.h"
#include "convert/skippedsymbol.h"
#include "engine/messagebox.h"

#include <QApplication>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tessaly {

// What the ASCII and the MetaStock conversion dialogs share.

// The first four rows of both: the symbols' label and field, the output folder's label, then its
// field beside the browse button.
void AddSymbolAndOutputRows(QGridLayout& layout, QLabel* symbolsLabel, QLineEdit* symbols,
                            QLabel* outputLabel, QLineEdit* output, QPushButton* browse);
// Asks for the folder of the converted files, starting at the one in `output`, and puts the choice
// there; a cancel leaves it as it was.
void BrowseOutputFolder(QWidget* parent, const FolderPicker& pick, QLineEdit& output);

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
