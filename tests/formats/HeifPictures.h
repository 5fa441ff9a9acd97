#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <libheif/heif.h>

#include <memory>

// HEIC and AVIF files made with libheif's own encoder, for what heif-enc cannot make: a
// thumbnail that differs from the picture, so a test can tell which one it was shown.
namespace HeifPictures {

struct Made {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    ~Made() {
        if (encoder)
            heif_encoder_release(encoder);
        heif_context_free(context);
    }
};

inline heif_image* Plain(QSize size, const QColor& colour) {
    heif_image* image = nullptr;
    if (heif_image_create(size.width(), size.height(), heif_colorspace_RGB,
                          heif_chroma_interleaved_RGB, &image)
            .code != heif_error_Ok)
        return nullptr;
    heif_image_add_plane(image, heif_channel_interleaved, size.width(), size.height(), 8);
    int stride = 0;
    uint8_t* data = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            uint8_t* pixel = data + y * stride + x * 3;
            pixel[0] = uint8_t(colour.red());
            pixel[1] = uint8_t(colour.green());
            pixel[2] = uint8_t(colour.blue());
        }
    }
    return image;
}

// A picture of size in colour, turned as orientation says (Exif's numbers), with a
// thumbnail of another colour fitting a square of thumbnailBox (none when 0).
inline bool Make(const QString& path, heif_compression_format format, QSize size,
                 const QColor& colour, int thumbnailBox, const QColor& thumbnailColour,
                 heif_orientation orientation = heif_orientation_normal) {
    Made made;
    if (heif_context_get_encoder_for_format(made.context, format, &made.encoder).code !=
        heif_error_Ok)
        return false;
    heif_encoder_set_lossy_quality(made.encoder, 90);
    std::unique_ptr<heif_image, decltype(&heif_image_release)> picture(Plain(size, colour),
                                                                       &heif_image_release);
    std::unique_ptr<heif_encoding_options, decltype(&heif_encoding_options_free)> options(
        heif_encoding_options_alloc(), &heif_encoding_options_free);
    options->image_orientation = orientation;
    heif_image_handle* handle = nullptr;
    if (!picture ||
        heif_context_encode_image(made.context, picture.get(), made.encoder, options.get(), &handle)
                .code != heif_error_Ok)
        return false;
    std::unique_ptr<heif_image_handle, decltype(&heif_image_handle_release)> owned(
        handle, &heif_image_handle_release);
    if (thumbnailBox > 0) {
        std::unique_ptr<heif_image, decltype(&heif_image_release)> other(
            Plain(size, thumbnailColour), &heif_image_release);
        if (!other || heif_context_encode_thumbnail(made.context, other.get(), handle, made.encoder,
                                                    options.get(), thumbnailBox, nullptr)
                              .code != heif_error_Ok)
            return false;
    }
    return heif_context_write_to_file(made.context, path.toUtf8().constData()).code ==
           heif_error_Ok;
}

// The colour in the middle of image.
inline QColor Middle(const QImage& image) {
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace HeifPictures
