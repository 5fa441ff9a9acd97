#include "formats/HeifDecoder.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QVector>

#include <libheif/heif.h>

#include <memory>

#include <dlfcn.h>
#include <sys/stat.h>

namespace HeifDecoder {

namespace {

// Far beyond any camera's picture; a file claiming more would only exhaust the memory.
constexpr qint64 kMaxPixels = 200LL * 1000 * 1000;

// libheif and the decoders it brings (de265, x265, aom, dav1d) cost every start of the
// program about 5 ms before main, and only a HEIC, HEIF or AVIF picture needs them: they
// are loaded when the first one comes. The calls below, written as libheif's own, go
// through these pointers of the same names.
#define HEIF_FUNCTIONS(X)                                                                          \
    X(heif_context_alloc)                                                                          \
    X(heif_context_free)                                                                           \
    X(heif_context_get_primary_image_handle)                                                       \
    X(heif_context_read_from_file)                                                                 \
    X(heif_decode_image)                                                                           \
    X(heif_decoding_options_alloc)                                                                 \
    X(heif_decoding_options_free)                                                                  \
    X(heif_image_get_bits_per_pixel_range)                                                         \
    X(heif_image_get_chroma_format)                                                                \
    X(heif_image_get_height)                                                                       \
    X(heif_image_get_nclx_color_profile)                                                           \
    X(heif_image_get_plane_readonly)                                                               \
    X(heif_image_get_primary_height)                                                               \
    X(heif_image_get_primary_width)                                                                \
    X(heif_image_get_width)                                                                        \
    X(heif_image_handle_get_color_profile_type)                                                    \
    X(heif_image_handle_get_height)                                                                \
    X(heif_image_handle_get_list_of_thumbnail_IDs)                                                 \
    X(heif_image_handle_get_number_of_thumbnails)                                                  \
    X(heif_image_handle_get_raw_color_profile)                                                     \
    X(heif_image_handle_get_raw_color_profile_size)                                                \
    X(heif_image_handle_get_thumbnail)                                                             \
    X(heif_image_handle_get_width)                                                                 \
    X(heif_image_handle_has_alpha_channel)                                                         \
    X(heif_image_handle_release)                                                                   \
    X(heif_image_release)                                                                          \
    X(heif_init)                                                                                   \
    X(heif_nclx_color_profile_free)

#define HEIF_POINTER(name) decltype(&::name) name = nullptr;
HEIF_FUNCTIONS(HEIF_POINTER)
#undef HEIF_POINTER

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

// Once for the process: loads libheif, which loads its decoders. Why it cannot be, or
// an empty text.
QString Load() {
    static const QString why = []() -> QString {
        void* library = dlopen("libheif.so.1", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            return Tr("libheif cannot be loaded: %1").arg(QString::fromLocal8Bit(dlerror()));
#define HEIF_RESOLVE(name)                                                                         \
    name = reinterpret_cast<decltype(name)>(dlsym(library, #name));                                \
    if (name == nullptr)                                                                           \
        return Tr("libheif cannot be loaded: it has no %1").arg(QLatin1String(#name));
        HEIF_FUNCTIONS(HEIF_RESOLVE)
#undef HEIF_RESOLVE
        heif_init(nullptr);
        return QString();
    }();
    return why;
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

struct Image {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct Nclx {
    void operator()(heif_color_profile_nclx* nclx) const { heif_nclx_color_profile_free(nclx); }
};

// The picture's YCbCr to RGB weights, as libheif's own conversion takes them (BT.601 and
// the full range when the picture names none); false for kinds left to libheif.
struct Matrix {
    double kr = 0.299;
    double kb = 0.114;
    bool fullRange = true;
};

bool MatrixOf(const heif_image* image, Matrix* matrix) {
    heif_color_profile_nclx* found = nullptr;
    if (heif_image_get_nclx_color_profile(image, &found).code != heif_error_Ok || !found)
        return true;
    const std::unique_ptr<heif_color_profile_nclx, Nclx> nclx(found);
    matrix->fullRange = nclx->full_range_flag != 0;
    switch (nclx->matrix_coefficients) {
    case heif_matrix_coefficients_ITU_R_BT_709_5:
        matrix->kr = 0.2126, matrix->kb = 0.0722;
        return true;
    case heif_matrix_coefficients_unspecified:
    case heif_matrix_coefficients_ITU_R_BT_470_6_System_B_G:
    case heif_matrix_coefficients_ITU_R_BT_601_6:
        return true;
    case heif_matrix_coefficients_ITU_R_BT_2020_2_non_constant_luminance:
        matrix->kr = 0.2627, matrix->kb = 0.0593;
        return true;
    default:
        return false;
    }
}

int Clamp(double value) {
    return value <= 0 ? 0 : value >= 255 ? 255 : int(value + 0.5);
}

// A picture shown at half its size or less: decoded as coded (8-bit 4:2:0) and turned into
// RGB at the chroma's half size, each pixel the mean of its four luma samples. That is the
// mean of the four pixels libheif's own conversion makes, at a fraction of its work. Null
// for pictures this road does not take.
QImage HalfSize(const heif_image_handle* handle) {
    heif_image* decoded = nullptr;
    const heif_error error =
        heif_decode_image(handle, &decoded, heif_colorspace_YCbCr, heif_chroma_420, nullptr);
    const std::unique_ptr<heif_image, Image> owned(decoded);
    Matrix matrix;
    if (error.code != heif_error_Ok || !decoded ||
        heif_image_get_chroma_format(decoded) != heif_chroma_420 ||
        heif_image_get_bits_per_pixel_range(decoded, heif_channel_Y) != 8 ||
        heif_image_get_bits_per_pixel_range(decoded, heif_channel_Cb) != 8 ||
        !MatrixOf(decoded, &matrix))
        return QImage();
    int yStride = 0, cbStride = 0, crStride = 0;
    const uint8_t* y = heif_image_get_plane_readonly(decoded, heif_channel_Y, &yStride);
    const uint8_t* cb = heif_image_get_plane_readonly(decoded, heif_channel_Cb, &cbStride);
    const uint8_t* cr = heif_image_get_plane_readonly(decoded, heif_channel_Cr, &crStride);
    const int width = heif_image_get_width(decoded, heif_channel_Y);
    const int height = heif_image_get_height(decoded, heif_channel_Y);
    const int halfWidth = (width + 1) / 2, halfHeight = (height + 1) / 2;
    if (!y || !cb || !cr || width < 2 || height < 2 ||
        heif_image_get_width(decoded, heif_channel_Cb) < halfWidth ||
        heif_image_get_height(decoded, heif_channel_Cb) < halfHeight)
        return QImage();
    const double kg = 1 - matrix.kr - matrix.kb;
    const double lumaScale = matrix.fullRange ? 1 : 255.0 / 219;
    const double lumaFloor = matrix.fullRange ? 0 : 16;
    const double chromaScale = matrix.fullRange ? 1 : 255.0 / 224;
    const double rCr = 2 * (1 - matrix.kr) * chromaScale;
    const double bCb = 2 * (1 - matrix.kb) * chromaScale;
    const double gCb = 2 * matrix.kb * (1 - matrix.kb) / kg * chromaScale;
    const double gCr = 2 * matrix.kr * (1 - matrix.kr) / kg * chromaScale;
    QImage image(halfWidth, halfHeight, QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    for (int row = 0; row < halfHeight; ++row) {
        const uint8_t* top = y + std::ptrdiff_t(2 * row) * yStride;
        const uint8_t* bottom = y + std::ptrdiff_t(qMin(2 * row + 1, height - 1)) * yStride;
        const uint8_t* cbRow = cb + std::ptrdiff_t(row) * cbStride;
        const uint8_t* crRow = cr + std::ptrdiff_t(row) * crStride;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = 0; column < halfWidth; ++column) {
            const int left = 2 * column, right = qMin(2 * column + 1, width - 1);
            const double luma = (top[left] + top[right] + bottom[left] + bottom[right]) / 4.0;
            const double l = (luma - lumaFloor) * lumaScale;
            const double u = cbRow[column] - 128.0, v = crRow[column] - 128.0;
            out[column] =
                qRgb(Clamp(l + rCr * v), Clamp(l - gCb * u - gCr * v), Clamp(l + bCb * u));
        }
    }
    return image;
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
    const QSize shown = bound.isValid() ? size.scaled(bound, Qt::KeepAspectRatio) : size;
    if (!alpha && shown.width() * 2 <= size.width() && shown.height() * 2 <= size.height()) {
        QImage half = HalfSize(handle);
        if (!half.isNull()) {
            half.setColorSpace(ColorSpaceOf(handle));
            result.image = half.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            return result;
        }
    }
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
    if (const QString missing = Load(); !missing.isEmpty()) {
        *why = missing;
        return nullptr;
    }
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
