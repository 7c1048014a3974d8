// SPDX-License-Identifier: MIT
// The desktop's list of recently used files, as other programs share it: their entries and their
// own markup stay, this program's entry is kept up to date, and a list that is no list is left alone.

#include "guarded_child.h"
#include "recently_used.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QByteArray OtherProgramsList = R"(<?xml version="1.0" encoding="UTF-8"?>
<xbel version="1.0"
      xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks"
      xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info"
>
  <bookmark href="file:///home/u/letter.odt" added="2026-01-02T10:00:00.000000Z" modified="2026-01-02T10:00:00.000000Z" visited="2026-01-02T10:00:00.000000Z">
    <info>
      <metadata owner="http://freedesktop.org">
        <mime:mime-type type="application/vnd.oasis.opendocument.text"/>
        <bookmark:groups><bookmark:group>Office</bookmark:group></bookmark:groups>
        <bookmark:applications>
          <bookmark:application name="Writer" exec="&apos;writer %u&apos;" modified="2026-01-02T10:00:00Z" count="4"/>
        </bookmark:applications>
      </metadata>
    </info>
  </bookmark>
</xbel>
)";

class RecentlyUsed : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", saved); }
    void writeList(const QByteArray& bytes) {
        QFile file(recentlyUsedListPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray list() {
        QFile file(recentlyUsedListPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir data;
    QByteArray saved;
};

TEST_F(RecentlyUsed, EntriesAreAddedBesideOtherProgramsAndCountedOnce) {
    EXPECT_EQ(recentlyUsedListPath(), QDir(data.path()).filePath("recently-used.xbel"));
    writeList(OtherProgramsList);
    const QString show = data.filePath("my show & more.vrs");
    ASSERT_TRUE(addRecentlyUsedFile(show, "application/x-verasco-show"));
    ASSERT_TRUE(addRecentlyUsedFile(show, "application/x-verasco-show"));
    const QByteArray after = list();
    EXPECT_TRUE(after.contains("href=\"file:///home/u/letter.odt\""));
    EXPECT_TRUE(after.contains("<bookmark:group>Office</bookmark:group>"));
    EXPECT_TRUE(after.contains("count=\"4\""));
    EXPECT_EQ(after.count("href=\"" + QUrl::fromLocalFile(show).toEncoded().replace("&", "&amp;") + "\""), 1);
    EXPECT_TRUE(after.contains("<mime:mime-type type=\"application/x-verasco-show\"/>"));
    EXPECT_TRUE(after.contains("name=\"Verasco\""));
    EXPECT_TRUE(after.contains("count=\"2\""));
}

TEST_F(RecentlyUsed, AListThatIsNoListIsLeftAlone) {
    for (const QByteArray& bytes : {QByteArray("<xbel><bookmark href="), QByteArray("<html></html>")}) {
        writeList(bytes);
        EXPECT_FALSE(addRecentlyUsedFile(data.filePath("a.vrs"), "application/x-verasco-show"));
        EXPECT_EQ(list(), bytes);
    }
    // A folder in its place is no list either.
    ASSERT_TRUE(QFile::remove(recentlyUsedListPath()));
    ASSERT_TRUE(QDir().mkdir(recentlyUsedListPath()));
    EXPECT_FALSE(addRecentlyUsedFile(data.filePath("a.vrs"), "application/x-verasco-show"));
    // Nor is a system file that reports size 0 and goes on for hundreds of GB: it is not read whole.
    ASSERT_TRUE(QDir().rmdir(recentlyUsedListPath()));
    ASSERT_TRUE(QFile::link("/proc/self/pagemap", recentlyUsedListPath()));
    EXPECT_EQ(inGuardedChild(
                  [&] { return !addRecentlyUsedFile(data.filePath("a.vrs"), "application/x-verasco-show"); }),
              "");
    EXPECT_TRUE(QFileInfo(recentlyUsedListPath()).isSymLink());
}

} // namespace
