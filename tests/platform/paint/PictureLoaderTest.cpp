// Picture loading by extension: JPEG, GIF, metafiles and hostile files.
#include "platform/paint/PictureLoader.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <gif_lib.h>

namespace {

class PictureLoaderTest : public ::testing::Test
{
protected:
    QString pathOf(const QString& name) const { return m_dir.path() + u'/' + name; }

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(pathOf(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray jpegBytes() const
    {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(QColor(200, 30, 30));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpg");
        writer.write(image);
        return bytes;
    }

    QTemporaryDir m_dir;
};

// A 3 x 2 GIF: palette red, green, blue, white; index 3 transparent through a control block.
QByteArray gifBytes(bool interlaced)
{
    QByteArray out;
    auto writer = [](GifFileType* gif, const GifByteType* data, int length) {
        static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
        return length;
    };
    int error = 0;
    GifFileType* gif = EGifOpen(&out, writer, &error);
    GifColorType colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colors);
    EGifPutScreenDesc(gif, 3, 2, 2, 0, map);
    GraphicsControlBlock gcb{0, false, 0, 3};
    GifByteType ext[4];
    const size_t n = EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(n), ext);
    EGifPutImageDesc(gif, 0, 0, 3, 2, interlaced, nullptr);
    GifPixelType row0[] = {0, 1, 2};
    GifPixelType row1[] = {3, 2, 1};
    EGifPutLine(gif, row0, 3);
    EGifPutLine(gif, row1, 3);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

TEST_F(PictureLoaderTest, JpegDecodesThroughLibjpeg)
{
    write(QStringLiteral("a.JPG"), jpegBytes());
    const QImage image = paint::loadPicture(pathOf(QStringLiteral("A.jpg")));
    ASSERT_EQ(image.size(), QSize(40, 20));
    const QColor c = image.pixelColor(10, 10);
    EXPECT_NEAR(c.red(), 200, 8);
    EXPECT_NEAR(c.green(), 30, 8);
}

TEST_F(PictureLoaderTest, GifDecodesTheFirstFrameWithTransparency)
{
    write(QStringLiteral("b.gif"), gifBytes(false));
    const QImage image = paint::loadPicture(pathOf(QStringLiteral("b.GIF")));
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(image.pixel(0, 1)), 0);
    EXPECT_EQ(image.pixel(2, 1), qRgb(0, 255, 0));
}

TEST_F(PictureLoaderTest, MetafilesAndUnreadableFilesGiveAnEmptyPicture)
{
    write(QStringLiteral("c.wmf"), jpegBytes());
    write(QStringLiteral("d.emf"), jpegBytes());
    write(QStringLiteral("e.jpg"), QByteArray("not a picture"));
    write(QStringLiteral("f.gif"), QByteArray("GIF89a"));
    write(QStringLiteral("g.bmp"), QByteArray("BM"));
    for (const char* name : {"c.wmf", "d.emf", "e.jpg", "f.gif", "g.bmp", "missing.jpg"})
        EXPECT_TRUE(paint::loadPicture(pathOf(QString::fromLatin1(name))).isNull()) << name;
}

TEST(PictureDecoders, HugeClaimedSizesAreRefused)
{
    QByteArray gif = gifBytes(false);
    gif[6] = char(0xFF);   // screen width 65535
    gif[7] = char(0xFF);
    gif[8] = char(0xFF);
    gif[9] = char(0xFF);
    EXPECT_TRUE(paint::decodeGif(gif).isNull());
}

// Flips, cuts and insertions in valid files never crash and never answer a picture larger
// than the bound.
TEST(PictureDecoders, MutatedFilesNeverCrash)
{
    QImage source(16, 16, QImage::Format_RGB32);
    source.fill(Qt::darkGreen);
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "jpg").write(source);
    }
    const QByteArray seeds[] = {jpeg, gifBytes(false), gifBytes(true)};
    QRandomGenerator rng(1234);
    for (int round = 0; round < 1500; ++round) {
        QByteArray bytes = seeds[round % 3];
        switch (rng.bounded(3)) {
        case 0:
            for (int k = 0; k < 4; ++k) bytes[rng.bounded(int(bytes.size()))] = char(rng.bounded(256));
            break;
        case 1: bytes.truncate(rng.bounded(int(bytes.size()))); break;
        default: bytes.insert(rng.bounded(int(bytes.size())), QByteArray(rng.bounded(1, 20), char(rng.bounded(256))));
        }
        const QImage image = round % 3 == 0 ? paint::decodeJpeg(bytes) : paint::decodeGif(bytes);
        EXPECT_LE(qint64(image.width()) * image.height(), paint::maxPicturePixels);
    }
}

} // namespace
