#include "formats/HeifDecoder.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QVector>

#include <libheif/heif.h>

#include <memory>

#include <sys/stat.h>

namespace HeifDecoder {

namespace {

// Far beyond any camera's picture; a file claiming more would only exhaust the memory.
constexpr qint64 kMaxPixels = 200LL * 1000 * 1000;

struct ContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
    void operator()(const heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};
using Context = std::unique_ptr<heif_context, ContextFree>;
using Handle = std::unique_ptr<heif_image_handle, HandleRelease>;

QString Tr(const char* text) {
    return QCoreApplication::translate("HeifDecoder", text);
}

QString Why(const heif_error& error) {
    return QString::fromUtf8(error.message ? error.message : "");
}

// Once for the process: libheif loads its decoders here.
void Init() {
    static const bool done = [] {
        heif_init(nullptr);
        return true;
    }();
    (void)done;
}

QSize SizeOf(const heif_image_handle* handle) {
    return QSize(heif_image_handle_get_width(handle), heif_image_handle_get_height(handle));
}

void ReleaseImage(void* image) {
    heif_image_release(static_cast<heif_image*>(image));
}

// The ICC profile the picture carries, so that its colours show as before.
QColorSpace ColorSpaceOf(const heif_image_handle* handle) {
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
    if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC)
        return QColorSpace();
    QByteArray icc(int(heif_image_handle_get_raw_color_profile_size(handle)), '\0');
    if (icc.isEmpty() ||
        heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok)
        return QColorSpace();
    return QColorSpace::fromIccProfile(icc);
}

Result Decode(const heif_image_handle* handle, QSize bound) {
    Result result;
    const QSize size = SizeOf(handle);
    if (size.isEmpty() || qint64(size.width()) * size.height() > kMaxPixels) {
        result.why =
            Tr("the picture is too large to show (%1 x %2)").arg(size.width()).arg(size.height());
        return result;
    }
    const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    // Ten-bit pictures come as eight bits a channel, as the screen shows them.
    options->convert_hdr_to_8bit = 1;
    heif_image* decoded = nullptr;
    const heif_error error = heif_decode_image(
        handle, &decoded, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    if (error.code != heif_error_Ok || decoded == nullptr) {
        if (decoded)
            heif_image_release(decoded);
        result.why = Why(error);
        return result;
    }
    int stride = 0;
    const uint8_t* data = heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    const int width = heif_image_get_primary_width(decoded);
    const int height = heif_image_get_primary_height(decoded);
    if (data == nullptr || width <= 0 || height <= 0) {
        heif_image_release(decoded);
        result.why = Tr("the decoder gave no picture");
        return result;
    }
    // The image owns libheif's pixels and frees them with itself: no copy.
    QImage image(data, width, height, stride,
                 alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888, ReleaseImage, decoded);
    image.setColorSpace(ColorSpaceOf(handle));
    if (bound.isValid() && (width > bound.width() || height > bound.height()))
        image = image.scaled(bound, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    result.image = image;
    return result;
}

// The file's main picture, or why there is none.
Handle Primary(const QByteArray& path, Context& context, QString* why) {
    Init();
    // A pipe or a device of that name would hold the reader up for ever.
    struct stat info {};
    if (stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        *why = Tr("not a file");
        return nullptr;
    }
    context.reset(heif_context_alloc());
    if (!context) {
        *why = Tr("out of memory");
        return nullptr;
    }
    heif_error error = heif_context_read_from_file(context.get(), path.constData(), nullptr);
    if (error.code != heif_error_Ok) {
        *why = Why(error);
        return nullptr;
    }
    heif_image_handle* primary = nullptr;
    error = heif_context_get_primary_image_handle(context.get(), &primary);
    if (error.code != heif_error_Ok) {
        *why = Why(error);
        return nullptr;
    }
    return Handle(primary);
}

// The smallest thumbnail that still fills bound, or none: a smaller one would show as a
// smaller picture than the main one gives.
Handle ChosenThumbnail(const heif_image_handle* primary, QSize bound) {
    const int count = heif_image_handle_get_number_of_thumbnails(primary);
    if (count <= 0)
        return nullptr;
    QVector<heif_item_id> ids(count);
    const int listed = heif_image_handle_get_list_of_thumbnail_IDs(primary, ids.data(), count);
    Handle best;
    qint64 bestPixels = 0;
    for (int i = 0; i < listed; ++i) {
        heif_image_handle* found = nullptr;
        if (heif_image_handle_get_thumbnail(primary, ids[i], &found).code != heif_error_Ok)
            continue;
        Handle thumbnail(found);
        const QSize size = SizeOf(thumbnail.get());
        const qint64 pixels = qint64(size.width()) * size.height();
        // Scaled to fit, it reaches the bound's width or its height.
        const bool fills = size.width() >= bound.width() || size.height() >= bound.height();
        if (fills && (!best || pixels < bestPixels)) {
            best = std::move(thumbnail);
            bestPixels = pixels;
        }
    }
    return best;
}

} // namespace

Result Picture(const QByteArray& path, QSize bound) {
    Context context;
    Result result;
    const Handle primary = Primary(path, context, &result.why);
    return primary ? Decode(primary.get(), bound) : result;
}

Result Thumbnail(const QByteArray& path, QSize bound) {
    Context context;
    Result result;
    const Handle primary = Primary(path, context, &result.why);
    if (!primary)
        return result;
    if (const Handle thumbnail = ChosenThumbnail(primary.get(), bound)) {
        result = Decode(thumbnail.get(), bound);
        if (!result.image.isNull())
            return result;
    }
    return Decode(primary.get(), bound);
}

} // namespace HeifDecoder
