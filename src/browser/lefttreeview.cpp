#include "browser/lefttreeview.h"

#include <QDir>
#include <QFileInfo>

namespace tessaly {

CLeftTreeView::CLeftTreeView(QWidget* parent)
    : QTreeView(parent) {
    model_.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_.setRootPath(QStringLiteral("/"));
    setModel(&model_);
    setHeaderHidden(true);
    for (int column = 1; column < model_.columnCount(); ++column)
        hideColumn(column);
    connect(this, &QTreeView::clicked, this, &CLeftTreeView::SelectFolder);
}

QString CLeftTreeView::RestoreLastFolder(const QString& path) {
    QString folder = QDir::cleanPath(path);
    while (!folder.isEmpty() && folder != QLatin1String("/") && !QFileInfo(folder).isDir())
        folder = QFileInfo(folder).path();
    if (path.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QModelIndex index = model_.index(folder);
    setCurrentIndex(index);
    scrollTo(index);
    SelectFolder(index);
    return current_;
}

void CLeftTreeView::SelectFolder(const QModelIndex& index) {
    if (!index.isValid())
        return;
    QString folder = model_.filePath(index);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (!QDir::setCurrent(folder))
        return;
    current_ = folder;
    Q_EMIT FolderSelected(current_);
}

} // namespace tessaly
