#include "app/mainframe.h"
#include "app/qtmessageboxes.h"
#include "app/settings/qsettingsprofile.h"
#include "engine/version.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Norvane"));
    QApplication::setApplicationName(QStringLiteral("Tessaly"));
    QApplication::setApplicationVersion(QString::fromUtf8(tessaly::kVersionText.data()));
    // The name of the installed desktop entry, by which the desktop matches windows to it.
    QApplication::setDesktopFileName(QStringLiteral("com.norvane.Tessaly"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tessaly.svg")));

    tessaly::QSettingsProfile profile;
    tessaly::QtMessageBoxes messages;
    tessaly::CMainFrame frame(profile, messages, profile.IsReadable());
    messages.SetParent(&frame);
    frame.show();
    const int result = QApplication::exec();
    if (profile.IsReadable())
        profile.Sync();
    return result;
}
