#include "browser/lefttreeview.h"

#include "support/foldertext.h"
#include "support/tempfolder.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>

using namespace Qt::StringLiterals;
using namespace tessaly;
using tessaly::test::Folder;
using tessaly::test::TempFolder;

namespace {

QStringList Children(CLeftTreeView& tree, const QModelIndex& parent) {
    QStringList names;
    for (int row = 0; row < tree.Model().rowCount(parent); ++row)
        names << tree.Model().index(row, 0, parent).data().toString();
    return names;
}

} // namespace

class LeftTreeViewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void FoldersSortedHiddenLeftOutUnlessRemembered() {
        TempFolder disk;
        for (const char* name : {"b", "A", "a", ".hidden/inner", "c"})
            std::filesystem::create_directories(disk / name);
        disk.Write("x.csv", "");
        CLeftTreeView tree(
            {{disk.Path().string(), "Local Disk (" + disk.Path().string() + ")", VolumeKind::Fixed}});
        QAbstractItemModelTester tester(&tree.Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy selected(&tree, &CLeftTreeView::FolderSelected);

        QCOMPARE(tree.RestoreLastFolder(Folder(disk.Path())), Folder(disk.Path()));
        const QModelIndex root = tree.Model().index(0, 0);
        QCOMPARE(Children(tree, root), (QStringList{u"A"_s, u"a"_s, u"b"_s, u"c"_s}));
        QCOMPARE(selected.count(), 1);
        QCOMPARE(tree.CurrentTitle(), QDir::cleanPath(Folder(disk.Path())));

        // The walk opens a hidden folder on the remembered path.
        CLeftTreeView again({{disk.Path().string(), "Local Disk", VolumeKind::Fixed}});
        QCOMPARE(again.RestoreLastFolder(Folder(disk / ".hidden")), Folder(disk / ".hidden"));
        QCOMPARE(again.CurrentTitle(), u".hidden"_s);
        QCOMPARE(Children(again, again.currentIndex()), QStringList{u"inner"_s});
    }

    void ExpandButtonReadsAFolderOnceAndUnreadableFoldersStayEmpty() {
        TempFolder disk;
        std::filesystem::create_directories(disk / "data/inner");
        CLeftTreeView tree({{disk.Path().string(), "Local Disk", VolumeKind::Fixed}});
        tree.RestoreLastFolder(Folder(disk.Path()));
        const QModelIndex data = tree.IndexOfFolder(Folder(disk / "data"));
        QVERIFY(tree.Model().hasChildren(data));
        tree.expand(data);
        QCOMPARE(Children(tree, data), QStringList{u"inner"_s});
        // The current folder is what was clicked, not what was expanded.
        QCOMPARE(tree.CurrentFolder(), Folder(disk.Path()));

        const QModelIndex inner = tree.IndexOfFolder(Folder(disk / "data/inner"));
        std::filesystem::remove(disk / "data/inner");
        tree.expand(inner);
        QCOMPARE(tree.Model().rowCount(inner), 0);
        QVERIFY(!tree.Model().hasChildren(inner));
    }

    void VolumesComeAndGoButTheCurrentOneStays() {
        TempFolder disk;
        TempFolder stick;
        TempFolder card;
        const VolumeRoot root{disk.Path().string(), "Local Disk", VolumeKind::Fixed};
        const VolumeRoot stickRoot{stick.Path().string(), "Floppy Drive", VolumeKind::Removable};
        const VolumeRoot cardRoot{card.Path().string(), "Floppy Drive (card)", VolumeKind::Removable};
        CLeftTreeView tree({root, stickRoot});
        tree.RestoreLastFolder(Folder(stick.Path()));
        tree.RefreshVolumes({root, cardRoot});
        // The stick holds the current folder, so it stays until another folder is chosen.
        QCOMPARE(Children(tree, {}),
                 (QStringList{u"Local Disk"_s, u"Floppy Drive"_s, u"Floppy Drive (card)"_s}));
        tree.SelectFolder(tree.Model().index(0, 0));
        QCOMPARE(Children(tree, {}), (QStringList{u"Local Disk"_s, u"Floppy Drive (card)"_s}));
        QCOMPARE(tree.IndexOfFolder(Folder(card.Path())), tree.Model().index(1, 0));
    }

    void APathOnNoVolumeOpensNothing() {
        TempFolder disk;
        TempFolder elsewhere;
        CLeftTreeView tree({{(disk / "volume").string(), "Local Disk", VolumeKind::Fixed}});
        QSignalSpy selected(&tree, &CLeftTreeView::FolderSelected);
        QCOMPARE(tree.RestoreLastFolder(Folder(elsewhere.Path())), QString());
        QCOMPARE(selected.count(), 0);
        QVERIFY(!tree.currentIndex().isValid());
    }
};

QTEST_MAIN(LeftTreeViewTest)
#include "lefttreeview_test.moc"
