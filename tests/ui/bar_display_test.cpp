#include "ui/controls/bar_scale.h"
#include "ui/controls/caption_wrap.h"
#include "ui/controls/number_format.h"
#include "ui/controls/transparent_bar_display.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace torva {
namespace {

TEST(formatNumber, FillsTheGaugeFormats) {
    EXPECT_EQ(formatNumber("%i RPM", 2500.0), "2500 RPM");
    EXPECT_EQ(formatNumber("%.2f ms", 3.14159), "3.14 ms");
    EXPECT_EQ(formatNumber("%.1f bar", 0.95), "0.9 bar"); // 0.95 is a little below in binary
    EXPECT_EQ(formatNumber("%i °C", 87.0), "87 °C");
    EXPECT_EQ(formatNumber("%.2f L", 0.001), "0.00 L");
    EXPECT_EQ(formatNumber("%5.1f|%-4i|%+d", 2.25), "  2.2|%-4i|%+d");
}

TEST(formatNumber, IntegerConversionsTruncateTowardZero) {
    EXPECT_EQ(formatNumber("%i", 2999.99), "2999");
    EXPECT_EQ(formatNumber("%d", -7.9), "-7");
    EXPECT_EQ(formatNumber("%i", -0.5), "0");
    EXPECT_EQ(formatNumber("%u", -3.0), "-3");
    EXPECT_EQ(formatNumber("%04x", 255.7), "00ff");
    EXPECT_EQ(formatNumber("%li", 12.0), "12"); // a length modifier follows the value's type
}

TEST(formatNumber, ValuesThatDoNotFitStayReadable) {
    EXPECT_EQ(formatNumber("%i", std::nan("")), "0");
    EXPECT_EQ(formatNumber("%i", 1e300), "9223372036854775807");
    EXPECT_EQ(formatNumber("%i", -1e300), "-9223372036854775808");
    EXPECT_EQ(formatNumber("%.1f", std::numeric_limits<double>::infinity()), "inf");
}

TEST(formatNumber, FormatsCannotReachBeyondTheValue) {
    EXPECT_EQ(formatNumber("%s and %n", 1.0), "%s and %n");
    EXPECT_EQ(formatNumber("%i of %i", 3.0), "3 of %i");
    EXPECT_EQ(formatNumber("%*d", 5.0), "%*d");
    EXPECT_EQ(formatNumber("100%% %i", 5.0), "100% 5");
    EXPECT_EQ(formatNumber("trailing %", 5.0), "trailing %");
    EXPECT_EQ(formatNumber("no value", 5.0), "no value");
    // Widths and precisions are limited, so no field can grow without bound.
    EXPECT_EQ(formatNumber("%99999999999i", 1.0).size(), 64u);
    EXPECT_EQ(formatNumber("%.500f", 1.0).size(), 66u);
}

TEST(barFraction, IsTheValuesPlaceInTheScaleWithinItsEnds) {
    EXPECT_DOUBLE_EQ(barFraction(2500, 0, 5000), 0.5);
    EXPECT_DOUBLE_EQ(barFraction(6000, 0, 5000), 1.0);
    EXPECT_DOUBLE_EQ(barFraction(-10, 0, 100), 0.0);
    EXPECT_DOUBLE_EQ(barFraction(15, 10, 20), 0.5);
    EXPECT_DOUBLE_EQ(barFraction(5, 10, 10), 0.0);
    EXPECT_DOUBLE_EQ(barFraction(5, 10, 0), 0.0);
    EXPECT_DOUBLE_EQ(barFraction(std::nan(""), 0, 10), 0.0);
    EXPECT_DOUBLE_EQ(barFraction(INFINITY, 0, 10), 1.0);
    EXPECT_DOUBLE_EQ(barFraction(5, -INFINITY, INFINITY), 0.0);
}

TEST(scaleMarks, MarkBothEndsAndEveryDivision) {
    const std::vector<double> marks = scaleMarks(4);
    EXPECT_EQ(marks, (std::vector<double>{0.0, 0.25, 0.5, 0.75, 1.0}));
    EXPECT_EQ(scaleMarks(15).size(), 16u);
    EXPECT_TRUE(scaleMarks(0).empty());
    EXPECT_TRUE(scaleMarks(-3).empty());
}

// Share of the gauge's width that wears the bar colour, on the row where most of it does.
double paintedShare(CTransparentBarDisplay& gauge) {
    const QImage image = gauge.grab().toImage();
    const QColor bar = gauge.barColor();
    int most = 0;
    for (int y = 0; y < image.height(); ++y) {
        int painted = 0;
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            painted += std::abs(pixel.red() - bar.red()) < 40 &&
                               std::abs(pixel.green() - bar.green()) < 40 &&
                               std::abs(pixel.blue() - bar.blue()) < 40
                           ? 1
                           : 0;
        }
        most = std::max(most, painted);
    }
    return double(most) / image.width();
}

TEST(CTransparentBarDisplay, ShowsTheValueThroughItsFormatAndClampsTheBar) {
    CTransparentBarDisplay gauge("Obroty", "%i RPM", 5000, 15);
    gauge.resize(300, 44);
    gauge.setBarColor(QColor(0, 160, 0));
    EXPECT_EQ(gauge.valueText(), "0 RPM");
    EXPECT_NEAR(paintedShare(gauge), 0.0, 0.02);

    gauge.setPos(2500.7);
    EXPECT_EQ(gauge.valueText(), "2500 RPM");
    EXPECT_DOUBLE_EQ(gauge.fraction(), 2500.7 / 5000);
    EXPECT_NEAR(paintedShare(gauge), 0.5, 0.05);

    // Beyond the scale the bar stops at its end, while the text tells the true value.
    gauge.setPos(7200);
    EXPECT_EQ(gauge.valueText(), "7200 RPM");
    EXPECT_DOUBLE_EQ(gauge.fraction(), 1.0);
    EXPECT_GT(paintedShare(gauge), 0.9);
}

TEST(CTransparentBarDisplay, ScaleSettingsChangeTheFraction) {
    CTransparentBarDisplay gauge;
    gauge.setCaption("Ciśnienie (reduktor)");
    gauge.setFormat("%.1f bar");
    gauge.setMaximum(3);
    gauge.setDivisions(15);
    gauge.setPos(1.5);
    EXPECT_EQ(gauge.caption(), "Ciśnienie (reduktor)");
    EXPECT_EQ(gauge.divisions(), 15);
    EXPECT_EQ(gauge.valueText(), "1.5 bar");
    EXPECT_DOUBLE_EQ(gauge.fraction(), 0.5);
    gauge.setRange(1, 2);
    EXPECT_DOUBLE_EQ(gauge.minimum(), 1);
    EXPECT_DOUBLE_EQ(gauge.fraction(), 0.5);
    gauge.setPos(0.5);
    EXPECT_DOUBLE_EQ(gauge.fraction(), 0.0);
}

TEST(wrapCaption, LongCaptionGoesOnBesideTheValueInsteadOfLosingItsEnd) {
    const QFontMetrics metrics{QFont()};
    const QString caption = QStringLiteral("Температура на изгорелите газове");
    const int width = metrics.horizontalAdvance(QStringLiteral("Температура на изгорелите"));
    const SCaptionLines lines = wrapCaption(metrics, caption, width + 2, width);
    EXPECT_EQ(lines.first, QStringLiteral("Температура на изгорелите"));
    EXPECT_EQ(lines.second, QStringLiteral("газове"));
    EXPECT_EQ(wrapCaption(metrics, caption, 10 * width, width).second, QString());
    // One word too long for the first line is elided there; nothing moves to the second.
    const SCaptionLines word =
        wrapCaption(metrics, QStringLiteral("Температура"), width / 4, width);
    EXPECT_TRUE(word.first.endsWith(QChar(0x2026))) << word.first.toStdString();
    EXPECT_EQ(word.second, QString());
}

} // namespace
} // namespace torva
