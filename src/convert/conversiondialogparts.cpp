#include "convert/conversiondialogparts.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessaly {

void AddSymbolAndOutputRows(QGridLayout& layout, QLabel* symbolsLabel, QLineEdit* symbols,
                            QLabel* outputLabel, QLineEdit* output, QPushButton* browse) {
    symbolsLabel->setBuddy(symbols);
    outputLabel->setBuddy(output);
    layout.addWidget(symbolsLabel, 0, 0, 1, 2);
    layout.addWidget(symbols, 1, 0, 1, 2);
    layout.addWidget(outputLabel, 2, 0, 1, 2);
    layout.addWidget(output, 3, 0);
    layout.addWidget(browse, 3, 1);
    layout.setColumnStretch(0, 1);
}

void BrowseOutputFolder(QWidget* parent, const FolderPicker& pick, QLineEdit& output) {
    const QString folder =
        pick(parent, QCoreApplication::translate("tessaly", "Select a directory for converted files."),
             output.text());
    if (!folder.isEmpty())
        output.setText(folder);
}

} // namespace tessaly
