// SPDX-License-Identifier: MIT
// The show file type: the MIME rule that the desktop reads recognises exactly the files that the show
// reader accepts, by their first bytes, so a show renamed without its extension is still a show.
// Qt's own reader of the freedesktop MIME files plays the desktop here.

#include "show_file.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString ShowMimeType = QStringLiteral("application/x-verasco-show");

class ShowType : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Before the first look-up: the MIME database then also reads the program's type file.
        data = new QTemporaryDir;
        QDir().mkpath(data->filePath(QStringLiteral("mime/packages")));
        QFile::copy(QStringLiteral(VERASCO_SOURCE_DIR "/packaging/mime/verasco.xml"),
                    data->filePath(QStringLiteral("mime/packages/verasco.xml")));
        qputenv("XDG_DATA_HOME", data->path().toLocal8Bit());
    }
    static void TearDownTestSuite() { delete data; }

    static QString typeOfContent(const QByteArray& bytes) {
        return QMimeDatabase().mimeTypeForData(bytes).name();
    }
    static bool readerAcceptsSignature(const QByteArray& bytes) {
        return ShowFile::decode(bytes).status != ShowFile::ReadStatus::InvalidSignature;
    }
    static QByteArray sampleShow() {
        QFile file(QStringLiteral(VERASCO_SOURCE_DIR "/packaging/samples/sample.vrs"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static inline QTemporaryDir* data = nullptr;
};

TEST_F(ShowType, RuleAndReaderAgreeOnTheFirstBytes) {
    ShowDocument twoSlides;
    twoSlides.load(std::vector<TSlideRecord>(2, twoSlides.freshRecord()));
    const QByteArray written = ShowFile::encode(twoSlides);
    const QByteArray sample = sampleShow();
    ASSERT_FALSE(sample.isEmpty());
    const auto withHeader = [&](const QByteArray& head) { return head + written.mid(head.size()); };

    const struct {
        const char* what;
        QByteArray bytes;
        bool show;
    } rows[] = {
        {"the sample show", sample, true},
        {"a show the program wrote", written, true},
        {"another version text", withHeader("MORVANT rev2.10"), true},
        {"the maker's name further in", withHeader("\x01\x02\x03\x04\x05\x06\x07\x08MORVANT"), true},
        {"the name in lower case", withHeader("morvant rev1.00"), false},
        {"the name cut by the 15th byte", withHeader("\x01\x02\x03\x04\x05\x06\x07\x08\x09MORVANT"), false},
        {"a shortened name", withHeader("MORVAN rev1.000"), false},
        {"a JPEG picture", QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000"), false},
        {"an empty file", QByteArray(), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(readerAcceptsSignature(row.bytes), row.show);
        EXPECT_EQ(typeOfContent(row.bytes) == ShowMimeType, row.show)
            << typeOfContent(row.bytes).toStdString();
    }
}

TEST_F(ShowType, ShowIsRecognisedByNameAndWithoutItsExtension) {
    QTemporaryDir folder;
    const QByteArray sample = sampleShow();
    for (const QString& name :
         {QStringLiteral("holiday.vrs"), QStringLiteral("holiday"), QStringLiteral("holiday (copy)")}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(sample);
        file.close();
        EXPECT_EQ(QMimeDatabase().mimeTypeForFile(file.fileName()).name().toStdString(),
                  ShowMimeType.toStdString())
            << name.toStdString();
    }
    EXPECT_EQ(QMimeDatabase()
                  .mimeTypeForFile(QStringLiteral("/nowhere/holiday.vrs"), QMimeDatabase::MatchExtension)
                  .name()
                  .toStdString(),
              ShowMimeType.toStdString());
}

} // namespace
