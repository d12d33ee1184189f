// SPDX-License-Identifier: MIT
// Thinning the chart's points to its pixels, and file icons that never
// read a file.
#include <algorithm>
#include <set>
#include <utility>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ui/overview/plain_icon_provider.h"
#include "ui/overview/point_thinning.h"

namespace {

using fibmod::overview::PixelGrid;
using fibmod::overview::PointThinner;

// A cloud of points that jumps like cycle lengths do: y = (x * 37) mod x-ish.
std::vector<QPointF> Cloud()
{
    std::vector<QPointF> points;
    for (int x = 2; x <= 100000; ++x) points.emplace_back(x, (static_cast<long long>(x) * 7919) % (3 * x) + 1);
    return points;
}

TEST(PointThinningTest, KeepsOnePointPerCellAndEveryCellAnyPointCovers)
{
    const PixelGrid grid{0, 100000, 0, 300000, 900, 400, 2, false};
    PointThinner thinner(grid);
    const std::vector<QPointF> all = Cloud();
    for (const QPointF& point : all) thinner.add(point.x(), point.y());
    const QList<QPointF> kept = thinner.take();

    const auto cell = [&](const QPointF& p) {
        return std::pair{std::min(449, static_cast<int>(p.x() / grid.xMax * 450)),
                         std::min(199, static_cast<int>(p.y() / grid.yMax * 200))};
    };
    std::set<std::pair<int, int>> covered;
    for (const QPointF& point : all) covered.insert(cell(point));
    std::set<std::pair<int, int>> keptCells;
    const std::set<std::pair<double, double>> given = [&] {
        std::set<std::pair<double, double>> set;
        for (const QPointF& point : all) set.insert({point.x(), point.y()});
        return set;
    }();
    for (const QPointF& point : kept) {
        EXPECT_TRUE(keptCells.insert(cell(point)).second) << "two points in one cell";
        EXPECT_TRUE(given.count({point.x(), point.y()})) << "a point that was never added";
    }
    EXPECT_EQ(keptCells, covered);
    EXPECT_LT(kept.size(), 450 * 200);
    EXPECT_TRUE(thinner.take().isEmpty()) << "taking starts afresh";
}

TEST(PointThinningTest, DropsPointsOutsideTheGridAndNonPositiveOnesOnALogHeight)
{
    PointThinner thinner(PixelGrid{10, 20, 1, 1000, 100, 100, 2, true});
    thinner.add(5, 10);
    thinner.add(15, 0);
    thinner.add(15, 5000);
    thinner.add(15, 10);
    thinner.add(15, 100);
    EXPECT_EQ(thinner.take(), (QList<QPointF>{QPointF(15, 10), QPointF(15, 100)}));
}

TEST(PlainIconProviderTest, TellsAFilesTypeByItsNameWithoutReadingIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ohne-endung"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\n");
    file.close();
    fibmod::overview::PlainIconProvider icons;
    EXPECT_FALSE(icons.type(QFileInfo(path)).contains(QStringLiteral("PDF"))) << "it would have read the file";
    EXPECT_EQ(icons.type(QFileInfo(dir.path())), QStringLiteral("Ordner"));
    EXPECT_FALSE(icons.icon(QFileInfo(path)).isNull());
}

} // namespace
