#include "platform/pptx/SvgRaster.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <librsvg/rsvg.h>
#include <memory>

namespace slidesmith::pptx {
namespace {

struct GObjectDeleter {
    void operator()(void* object) const { g_object_unref(object); }
};
struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};

std::string Describe(std::string_view name, std::string_view problem) {
    return std::string(name) + ": " + std::string(problem);
}

std::string TakeMessage(GError* error) {
    std::string message = error != nullptr && error->message != nullptr ? error->message : "";
    if (error != nullptr)
        g_error_free(error);
    return message.empty() ? "not a readable SVG document" : message;
}

// The picture's size in CSS pixels: stated width and height, else the viewBox, else the size
// browsers give a replaced element without one.
void IntrinsicSize(RsvgHandle* handle, double& width, double& height) {
    if (rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height) && width > 0 &&
        height > 0)
        return;
    gboolean hasWidth = FALSE;
    gboolean hasHeight = FALSE;
    gboolean hasViewBox = FALSE;
    RsvgLength lengthW{};
    RsvgLength lengthH{};
    RsvgRectangle viewBox{};
    rsvg_handle_get_intrinsic_dimensions(handle, &hasWidth, &lengthW, &hasHeight, &lengthH,
                                         &hasViewBox, &viewBox);
    if (hasViewBox && viewBox.width > 0 && viewBox.height > 0) {
        width = viewBox.width;
        height = viewBox.height;
        return;
    }
    width = 300;
    height = 150;
}

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

SvgRaster RasteriseSvg(std::string_view svg, std::string_view name) {
    GError* error = nullptr;
    std::unique_ptr<RsvgHandle, GObjectDeleter> handle(
        rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error));
    if (!handle)
        throw ImageError(Describe(name, TakeMessage(error)));
    double width = 0;
    double height = 0;
    IntrinsicSize(handle.get(), width, height);
    if (!(width <= kMaxImageSide && height <= kMaxImageSide))
        throw ImageError(Describe(name, "the SVG size is out of range"));

    const double scale = std::min(1.0, kMaxSvgRasterSide / std::max(width, height));
    const int pixelsW = std::max(1, static_cast<int>(std::lround(width * scale)));
    const int pixelsH = std::max(1, static_cast<int>(std::lround(height * scale)));
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelsW, pixelsH));
    std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(surface.get()));
    const RsvgRectangle viewport{0, 0, static_cast<double>(pixelsW), static_cast<double>(pixelsH)};
    if (!rsvg_handle_render_document(handle.get(), context.get(), &viewport, &error))
        throw ImageError(Describe(name, TakeMessage(error)));
    cairo_surface_flush(surface.get());

    SvgRaster raster;
    raster.widthPoints = width * 72.0 / kDefaultDpi;
    raster.heightPoints = height * 72.0 / kDefaultDpi;
    if (cairo_surface_write_to_png_stream(surface.get(), &AppendBytes, &raster.png) !=
        CAIRO_STATUS_SUCCESS)
        throw ImageError(Describe(name, "the SVG picture could not be drawn"));
    return raster;
}

} // namespace slidesmith::pptx
