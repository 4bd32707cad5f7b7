#include <QDirIterator>
#include <QSvgRenderer>
#include <QTest>

namespace tessaly {

// Every drawing of the program's resource must be a whole SVG document: a damaged one shows as an
// empty button or menu image without any other sign.
class IconsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyIconIsAValidDrawing() {
        int count = 0;
        QDirIterator icons(QStringLiteral(":/icons"), {QStringLiteral("*.svg")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (icons.hasNext()) {
            const QString path = icons.next();
            QSvgRenderer renderer(path);
            QVERIFY2(renderer.isValid(), qPrintable(path));
            ++count;
        }
        QVERIFY(count > 20);
    }
};

} // namespace tessaly

QTEST_MAIN(tessaly::IconsTest)
#include "icons_test.moc"
