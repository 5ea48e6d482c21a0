// Picture decoding: JPEG through libjpeg, GIF through giflib, the rest through Qt.
#include "platform/paint/PictureLoader.h"

#include "platform/files/Files.h"

#include <QFile>
#include <QImageReader>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>

namespace paint {

namespace {

constexpr qint64 maxFileBytes = 256LL * 1024 * 1024;

bool sizeAcceptable(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= maxPictureSide && height <= maxPictureSide
        && width * height <= maxPicturePixels;
}

// libjpeg reports fatal errors through error_exit, which must not return: we jump back to the
// decoder. No object with a destructor lives between setjmp and the jump.
struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void jpegErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void jpegSilence(j_common_ptr, int) {}

// Decodes into `image` (already allocated by the caller once the header is known).
bool jpegDecode(const QByteArray& bytes, QImage& image)
{
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = jpegErrorExit;
    error.mgr.emit_message = jpegSilence;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    if (!sizeAcceptable(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || !sizeAcceptable(info.output_width, info.output_height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (image.isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

struct GifSource {
    const QByteArray* bytes;
    qsizetype pos = 0;
};

int gifRead(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* source = static_cast<GifSource*>(gif->UserData);
    const qsizetype n = std::min<qsizetype>(length, source->bytes->size() - source->pos);
    if (n <= 0) return 0;
    std::memcpy(buffer, source->bytes->constData() + source->pos, size_t(n));
    source->pos += n;
    return int(n);
}

// Rows of an interlaced GIF frame come in four passes.
std::vector<int> rowOrder(int height, bool interlaced)
{
    std::vector<int> rows;
    rows.reserve(size_t(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    constexpr int start[] = {0, 4, 2, 1};
    constexpr int step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < height; y += step[pass]) rows.push_back(y);
    return rows;
}

// Paints the frame whose descriptor giflib has just read onto the screen image.
bool readFrame(GifFileType* gif, QImage& image, int transparent)
{
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || !sizeAcceptable(desc.Width, desc.Height)) return false;
    std::vector<GifPixelType> line(size_t(desc.Width));
    for (const int y : rowOrder(desc.Height, desc.Interlace)) {
        if (DGifGetLine(gif, line.data(), desc.Width) != GIF_OK) return false;
        const int iy = desc.Top + y;
        if (iy < 0 || iy >= image.height()) continue;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(iy));
        for (int x = 0; x < desc.Width; ++x) {
            const int ix = desc.Left + x;
            const int index = line[size_t(x)];
            if (ix < 0 || ix >= image.width() || index == transparent || index >= map->ColorCount) continue;
            const GifColorType c = map->Colors[index];
            out[ix] = qRgb(c.Red, c.Green, c.Blue);
        }
    }
    return true;
}

// Walks the records up to the first frame; extensions before it may name a transparent index.
QImage gifFirstFrame(GifFileType* gif)
{
    QImage image(gif->SWidth, gif->SHeight, QImage::Format_ARGB32);
    if (image.isNull()) return {};
    image.fill(Qt::transparent);
    int transparent = NO_TRANSPARENT_COLOR;
    for (int records = 0; records < 4096; ++records) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) != GIF_OK) return {};
        if (type == IMAGE_DESC_RECORD_TYPE)
            return DGifGetImageDesc(gif) == GIF_OK && readFrame(gif, image, transparent) ? image : QImage();
        if (type == TERMINATE_RECORD_TYPE) return {};
        if (type != EXTENSION_RECORD_TYPE) continue;
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) != GIF_OK) return {};
        while (block) {
            GraphicsControlBlock gcb;
            if (code == GRAPHICS_EXT_FUNC_CODE && DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
                transparent = gcb.TransparentColor;
            if (DGifGetExtensionNext(gif, &block) != GIF_OK) return {};
        }
    }
    return {};
}

QImage decodeOther(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && !sizeAcceptable(size.width(), size.height())) return {};
    return reader.read();
}

} // namespace

QImage decodeJpeg(const QByteArray& bytes)
{
    QImage image;
    if (bytes.isEmpty() || !jpegDecode(bytes, image)) return {};
    return image;
}

QImage decodeGif(const QByteArray& bytes)
{
    GifSource source{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, gifRead, &error);
    if (!gif) return {};
    // Frames are read line by line, never slurped: giflib would allocate what a header claims.
    QImage image;
    if (sizeAcceptable(gif->SWidth, gif->SHeight)) image = gifFirstFrame(gif);
    DGifCloseFile(gif, &error);
    return image;
}

QImage loadPicture(const QString& path)
{
    const QString resolved = files::resolvePath(path);
    const QString ext = files::extractFileExt(resolved).toLower();
    if (ext == QLatin1String(".wmf") || ext == QLatin1String(".emf")) return {};
    if (ext != QLatin1String(".jpg") && ext != QLatin1String(".jpeg") && ext != QLatin1String(".gif"))
        return decodeOther(resolved);
    QFile file(resolved);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxFileBytes) return {};
    const QByteArray bytes = file.readAll();
    return ext == QLatin1String(".gif") ? decodeGif(bytes) : decodeJpeg(bytes);
}

} // namespace paint
