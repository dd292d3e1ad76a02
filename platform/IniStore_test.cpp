#include "platform/IniStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using platform::IniStore;

class IniStoreTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.path() + "/lilywade/settings.ini";
    IniStore store{path};

    QByteArray contents() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(IniStoreTest, MissingNamesGiveTheDefault)
{
    EXPECT_EQ(store.read("Lilywade", "startup", "hole", "0"), "0");
    ASSERT_TRUE(store.write("Lilywade", "Startup", "Hole", "1"));
    EXPECT_EQ(store.read("Lilywade", "startup", "sound", "dflt"), "dflt");
    EXPECT_EQ(store.read("Other", "startup", "hole", "dflt"), "dflt");
}

TEST_F(IniStoreTest, NamesMatchWithoutCaseAndKeepTheirFirstSpelling)
{
    ASSERT_TRUE(store.write("Lilywade", "Startup", "blank", "1"));
    EXPECT_EQ(store.read("LILYWADE", "startup", "Blank", "0"), "1");
    ASSERT_TRUE(store.write("lilywade", "STARTUP", "BLANK", "0"));
    EXPECT_EQ(store.read("Lilywade", "startup", "blank", "x"), "0");
    const QByteArray text = contents();
    EXPECT_TRUE(text.contains("[Lilywade]")) << text.constData();
    EXPECT_TRUE(text.contains("Startup\\blank=0")) << text.constData();
    EXPECT_FALSE(text.contains("BLANK")) << text.constData();
}

TEST_F(IniStoreTest, NewFileIsPrivate)
{
    ASSERT_TRUE(store.write("Lilywade", "Startup", "Speed", "50"));
    struct stat info {};
    ASSERT_EQ(::stat(path.toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

class MalformedFile : public IniStoreTest, public testing::WithParamInterface<QByteArray> {};

TEST_P(MalformedFile, ReadsAsDefaultsAndIsKeptOnWrite)
{
    QDir().mkpath(dir.path() + "/lilywade");
    const QByteArray garbage = GetParam();
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    EXPECT_EQ(store.read("Lilywade", "startup", "hole", "0"), "0");
    ASSERT_TRUE(store.write("Lilywade", "Startup", "Hole", "1"));
    EXPECT_EQ(store.read("Lilywade", "startup", "hole", "0"), "1");
    const QStringList aside = QDir(dir.path() + "/lilywade")
                                  .entryList({"settings.ini.unreadable-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    QFile kept(dir.path() + "/lilywade/" + aside.front());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), garbage);
}

// Each holds a line that is none of blank, comment, [section] or key=value.
INSTANTIATE_TEST_SUITE_P(
    Contents, MalformedFile,
    testing::Values(QByteArray("[Lilywade\n\xff\xfe garbage = = \n[", 28),
                    QByteArray("[Lilywade]\nStartup\\hole=1\n=junk\n")),
    [](const auto& info) { return info.index == 0 ? "Garbage" : "EmptyKey"; });

TEST_F(IniStoreTest, DirectoryInPlaceOfTheFileReadsAsDefaults)
{
    QDir().mkpath(path);
    EXPECT_EQ(store.read("Lilywade", "startup", "hole", "0"), "0");
}

// Another process tells whether the file changed since it read it by its size
// and its time to the millisecond. The clock that stamps files moves in steps
// of a few milliseconds on many systems, and may be set back: a save must
// still leave a file later than the one it replaced, here one stamped a
// minute ahead.
TEST_F(IniStoreTest, EachSaveIsLaterThanTheFileItReplaced)
{
    ASSERT_TRUE(store.write("Lilywade", "Startup", "Sound", "0"));
    const QDateTime ahead = QDateTime::currentDateTime().addSecs(60);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        ASSERT_TRUE(file.setFileTime(ahead, QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(store.write("Lilywade", "Startup", "Sound", "1"));
    EXPECT_GT(QFileInfo(path).lastModified(), ahead);
    EXPECT_EQ(store.read("Lilywade", "Startup", "Sound", "x"), "1");
}

TEST_F(IniStoreTest, TwoProcessesWritingDifferentKeysKeepBoth)
{
    const QString writer = QString::fromLocal8Bit(STORE_WRITER_PATH);
    QProcess first, second;
    first.start(writer, {path, "a", "200"});
    second.start(writer, {path, "b", "200"});
    ASSERT_TRUE(first.waitForFinished(60000));
    ASSERT_TRUE(second.waitForFinished(60000));
    ASSERT_EQ(first.exitCode(), 0);
    ASSERT_EQ(second.exitCode(), 0);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(store.read("Lilywade", "Startup", "a" + std::to_string(i), "lost"),
                  std::to_string(i));
        EXPECT_EQ(store.read("Lilywade", "Startup", "b" + std::to_string(i), "lost"),
                  std::to_string(i));
    }
}

} // namespace
