#include "Fonts.h"
#include "Glyphs.h"
#include "QtRegionalSettings.h"
#include "QtTextMeasure.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLocale>

#include <gtest/gtest.h>

using namespace kwizmar;

TEST(QtRegionalSettings, LongTimeFormatLosesItsTimeZone) {
    EXPECT_EQ(WithoutTimeZone("HH:mm:ss t"), "HH:mm:ss");
    EXPECT_EQ(WithoutTimeZone("h:mm:ss AP t"), "h:mm:ss AP");
    EXPECT_EQ(WithoutTimeZone("t HH:mm"), "HH:mm");
    EXPECT_EQ(WithoutTimeZone("HH 'o''clock' mm"), "HH 'o''clock' mm");
    EXPECT_EQ(WithoutTimeZone("HH:mm:ss"), "HH:mm:ss");
}

TEST(QtRegionalSettings, PlainCLocaleReadsAsPolish) {
    if (QLocale::system().language() != QLocale::C)
        GTEST_SKIP() << "the tests run under a regional setting of their own";
    const TQtRegionalSettings regional;
    EXPECT_EQ(regional.ShortDateFormat(), "dd.MM.yyyy");
    EXPECT_EQ(regional.LongTimeFormat(), "HH:mm:ss");
}

TEST(Fonts, NamedFontsMapOntoWhatTheSystemHas) {
    if (!QFontDatabase::families().contains("Liberation Serif"))
        GTEST_SKIP() << "fonts-liberation is not installed";
    EXPECT_EQ(QFontInfo(UiFont("Times New Roman", 16)).family(), "Liberation Serif");
    EXPECT_EQ(QFontInfo(UiFont("MS Sans Serif", 13)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(UiFont("MS Sans Serif", 13)).pixelSize(), 13); // at 96 dots per inch
    const TQtTextMeasure measure;
    const TFontSpec plain{"MS Sans Serif", 13, false};
    const TFontSpec bold{"MS Sans Serif", 13, true};
    EXPECT_GT(measure.TextWidth("Zażółć gęślą jaźń", plain), measure.TextWidth("Zazolc", plain));
    EXPECT_GE(measure.TextWidth("Zażółć gęślą jaźń", bold),
              measure.TextWidth("Zażółć gęślą jaźń", plain));
}

TEST(Glyphs, EveryPictureIsThereAtEverySizeAndScale) {
    for (int g = int(TGlyph::Options); g <= int(TGlyph::Download); ++g)
        for (int size : {16, 20, 30})
            for (qreal scale : {1.0, 2.0}) {
                const QImage picture = Glyph(TGlyph(g)).pixmap(QSize(size, size), scale).toImage();
                EXPECT_EQ(picture.size(), QSize(size, size) * scale) << g << " at " << size;
                QImage blank(picture.size(), picture.format());
                blank.fill(Qt::transparent);
                EXPECT_NE(picture, blank) << g << " at " << size << " x" << scale;
            }
}
