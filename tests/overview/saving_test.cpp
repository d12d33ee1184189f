// SPDX-License-Identifier: MIT
// Saving the rows as CSV and the chart as a picture.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "core/engine/scan_csv.h"
#include "tests/overview/overview_fixture.h"
#include "ui/overview/overview_chart.h"

namespace {

class SavingTest : public OverviewTest {
protected:
    // Answers the save dialog with `path`.
    void answer(const QString& path)
    {
        window->setPathQuestion([path](const QString&, const QString&, const QString&) { return path; });
    }

    QTemporaryDir dir;
};

TEST_F(SavingTest, TheCsvIsTheCoresCsvOfTheSameRows)
{
    open();
    const QString path = dir.filePath(QStringLiteral("moduln.csv"));
    answer(path);
    window->saveCsv();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    EXPECT_EQ(written.toStdString(), fibmod::ScanCsv(expectedRows()));
    EXPECT_TRUE(messages.empty());
}

TEST_F(SavingTest, ThePictureIsAPng)
{
    open();
    const QString path = dir.filePath(QStringLiteral("diagramm.png"));
    answer(path);
    window->savePng();
    QImage picture;
    ASSERT_TRUE(picture.load(path, "PNG"));
    EXPECT_EQ(picture.size(), window->chart()->grab().size());
    EXPECT_TRUE(messages.empty());
}

TEST_F(SavingTest, AFailedWriteIsReportedNeverLost)
{
    open();
    const QString missing = dir.filePath(QStringLiteral("fehlt/moduln.csv"));
    answer(missing);
    window->saveCsv();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: ").arg(missing)))
        << messages[0].toStdString();

    answer(dir.filePath(QStringLiteral("fehlt/diagramm.png")));
    window->savePng();
    EXPECT_EQ(messages.size(), 2);
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(SavingTest, ACancelledDialogWritesNothing)
{
    open();
    answer(QString());
    window->saveCsv();
    window->savePng();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

} // namespace
