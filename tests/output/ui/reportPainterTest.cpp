// The painter on an image: what is clipped stays inside its box.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "output/qt/TReportPainter.h"

namespace norvale {
namespace {

constexpr double kDpi = 200.0;
int Px(double mm) {
    return static_cast<int>(mm * kDpi / 25.4);
}

// Dark pixels in the rectangle between the two x and the two y, in millimetres.
int Ink(const QImage& image, double x0, double x1, double y0, double y1) {
    int dark = 0;
    for (int y = Px(y0); y < Px(y1); ++y)
        for (int x = Px(x0); x < Px(x1); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++dark;
    return dark;
}

TEST(TReportPainterTest, ClipsLongValuesToTheirBoxesAndAlignsTheRest) {
    QImage image(Px(210), Px(297), QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(kDpi / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(kDpi / 0.0254));
    image.fill(Qt::white);

    TDomainTable table;
    table.Open();
    table.AppendRecord(std::string(255, 'W'), "com", "123456789012345", 123456);
    const TReportPainter painter(&image);
    const TReportLayout layout(table, "date", painter);
    {
        QPainter p(&image);
        painter.PaintPage(p, layout.Page(0));
    }

    // Row 1 spans 37.5 to 42.3 mm. The name fills its box up to 115.9 and no further,
    // though 255 W would run far across the page.
    EXPECT_GT(Ink(image, 112.0, 115.9, 37.5, 42.3), 0);
    EXPECT_EQ(Ink(image, 116.0, 122.0, 37.5, 42.3), 0);
    // The date (too wide for its box) keeps to the box from 148.6 to 168.7.
    EXPECT_GT(Ink(image, 149.0, 152.0, 37.5, 42.3), 0);
    EXPECT_EQ(Ink(image, 136.0, 148.5, 37.5, 42.3), 0);
    // The length ends at 196.8.
    EXPECT_GT(Ink(image, 194.0, 196.8, 37.5, 42.3), 0);
    EXPECT_EQ(Ink(image, 197.0, 205.0, 37.5, 42.3), 0);
    // The rules along the title and header bands run from 10 to 200 mm.
    EXPECT_GT(Ink(image, 10.0, 200.0, 27.9, 28.1), Px(180));
    EXPECT_EQ(Ink(image, 200.5, 209.0, 27.5, 28.5), 0);
}

}  // namespace
}  // namespace norvale
