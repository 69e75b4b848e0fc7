#include "ui/print_fit.h"

#include <gtest/gtest.h>

namespace zorva::test {
namespace {

// A printed window always lies wholly on the page, keeps its proportions and uses the
// page's full width or height, whatever its size against the page.
TEST(PrintFit, WindowPictureFillsThePageWithoutLeavingIt) {
    const QRect page(40, 60, 4000, 2800);
    for (const QSize picture : {QSize(1900, 1000), QSize(600, 1200), QSize(200, 100), QSize(8000, 300), QSize(300, 8000)}) {
        const QRect r = FitPictureOnPage(picture, page);
        EXPECT_TRUE(page.contains(r)) << picture.width() << "x" << picture.height();
        EXPECT_TRUE(r.width() == page.width() || r.height() == page.height()) << picture.width();
        EXPECT_NEAR(double(r.width()) / r.height(), double(picture.width()) / picture.height(),
                    0.01 * picture.width() / picture.height() + 2.0 / r.height());
        EXPECT_EQ(r.top(), page.top());
        EXPECT_LE(std::abs((r.left() - page.left()) - (page.right() - r.right())), 1);
    }
    EXPECT_TRUE(FitPictureOnPage(QSize(), page).isEmpty());
}

TEST(PrintFit, WideTablesShrinkNarrowOnesKeepTheirSize) {
    EXPECT_DOUBLE_EQ(TableFitScale(1000, 1900), 1.0);
    EXPECT_DOUBLE_EQ(TableFitScale(2500, 2000), 0.8);
    EXPECT_DOUBLE_EQ(TableFitScale(0, 2000), 1.0);
}

}  // namespace
}  // namespace zorva::test
