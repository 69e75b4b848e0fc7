// Where shipped data is found: beside the program, in the user's data folder, in a build
// tree, in the installed data folder; never in whatever folder the program was started from.
#include "state/data_files.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zorva {
namespace {

class DataFiles : public ::testing::Test {
protected:
    void SetUp() override {
        // The machine's own ~/.local/share/zorva or /usr/share/zorva must not answer.
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(root.isValid());
        for (const char* d : {"bin", "bin/data", "share/zorva", "user", "started-here"}) QDir(root.path()).mkpath(d);
    }
    void TearDown() override { QStandardPaths::setTestModeEnabled(false); }
    QString at(const QString& dir) const { return QDir::cleanPath(root.filePath(dir) + "/coastZor.dat"); }
    void put(const QString& dir) const {
        QFile f(at(dir));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#\n   9.550  47.250\n");
    }
    QString find() const { return FindDataFile("coastZor.dat", root.filePath("bin"), root.filePath("user")); }

    QTemporaryDir root;
};

TEST_F(DataFiles, TheNearestFolderWinsFromInstalledUpToBesideTheProgram) {
    EXPECT_TRUE(find().isEmpty());
    put("share/zorva");  // installed: <prefix>/bin/zorva finds <prefix>/share/zorva
    EXPECT_EQ(find(), at("share/zorva"));
    put("bin/data");  // the build tree
    EXPECT_EQ(find(), at("bin/data"));
    put("user");  // the user's own map replaces what was installed
    EXPECT_EQ(find(), at("user"));
    put("bin");  // beside the program, as it always was
    EXPECT_EQ(find(), at("bin"));
}

TEST_F(DataFiles, TheCurrentFolderAndFoldersOfTheNameAreNotTaken) {
    put("started-here");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root.filePath("started-here")));
    const QString found = find();
    QDir::setCurrent(before);
    EXPECT_TRUE(found.isEmpty()) << found.toStdString();
    // A folder that happens to carry the file's name is no file.
    QDir(root.path()).mkpath("bin/data/coastZor.dat");
    EXPECT_TRUE(find().isEmpty());
    // The search list ends with the system's data folders; each folder once.
    QStringList folders = DataSearchFolders(root.filePath("bin"), root.filePath("user"));
    EXPECT_EQ(folders.first(), QDir::cleanPath(root.filePath("bin")) + "/");
    EXPECT_EQ(folders.removeDuplicates(), 0);
    EXPECT_FALSE(folders.contains(QDir::cleanPath(root.filePath("started-here")) + "/"));
}

}  // namespace
}  // namespace zorva
