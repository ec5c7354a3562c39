// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>

#include "app/ui/JpegImage.h"

namespace {

TEST(JpegImage, DecodesTheStartupPicturesAtTheirDesignSize) {
    for (const char* name :
         {":/images/StartupFrench.jpg", ":/images/StartupDeutsch.jpg", ":/images/StartupEnglish.jpg"}) {
        const QImage image = LoadJpeg(name);
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(972, 603));
        // Sky at the top, sea at the bottom: blue dominates, not a black or empty frame.
        const QColor sky = image.pixelColor(10, 10);
        EXPECT_GT(sky.blue(), sky.red()) << name;
    }
}

TEST(JpegImage, GarbageTruncatedAndEmptyDataGiveANullImage) {
    QFile file(":/images/StartupFrench.jpg");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray("not a picture at all")).isNull());
    EXPECT_TRUE(DecodeJpeg(whole.left(2)).isNull());
    // A cut-off picture must not crash; libjpeg fills what is missing.
    const QImage cut = DecodeJpeg(whole.left(whole.size() / 2));
    if (!cut.isNull()) {
        EXPECT_EQ(cut.size(), QSize(972, 603));
    }
    EXPECT_TRUE(LoadJpeg("/nonexistent/picture.jpg").isNull());
}

}  // namespace
