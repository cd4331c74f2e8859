#include "fill/PicturePlacer.h"

#include "fill/ValueFormat.h"
#include "platform/pptx/Units.h"

#include <algorithm>
#include <exception>

namespace slidesmith::fill {
namespace {

// Far beyond any slide (the largest is 56 inches), yet small enough that EMU fit 64 bits: a
// setting like W1e30 gives a huge picture rather than an overflow.
constexpr double kMaxPoints = 1.0e7;

double Clamped(double points) {
    return std::clamp(points, 0.0, kMaxPoints);
}

std::string Trimmed(std::string text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

PictureSize SizePicture(double ownWidth, double ownHeight, double width, double height) {
    PictureSize size{ownWidth, ownHeight};
    const bool hasWidth = width >= 0;
    const bool hasHeight = height >= 0;
    if (hasWidth && hasHeight) {
        size = {width, height};
    } else if (hasWidth && ownWidth > 0) {
        size = {width, ownHeight * (width / ownWidth)};
    } else if (hasHeight && ownHeight > 0) {
        size = {ownWidth * (height / ownHeight), height};
    }
    return {Clamped(size.width), Clamped(size.height)};
}

PicturePlacer::PicturePlacer(PictureOptions options, FillReporter& reporter, std::string label,
                             const LocaleConventions& conventions)
    : m_loader(std::move(options)), m_reporter(reporter), m_label(std::move(label)),
      m_conventions(conventions) {}

void PicturePlacer::PlaceImage(pptx::SlidePart& slide, const pptx::Rect& target,
                               pptx::TextBody cell, const odbc::FieldValue& value,
                               const ImageSettings& settings) {
    const std::string name = Trimmed(CellText(value, "", m_conventions));
    if (name.empty())
        return;
    const std::string path = m_loader.PicturePath(name);
    double width = settings.width;
    double height = settings.height;
    if (settings.stretch) {
        width = pptx::units::EmuToPoints(target.cx);
        height = pptx::units::EmuToPoints(target.cy);
    }
    std::string failure;
    if (InsertPicture(path, slide, target, width, height, failure))
        return;
    cell.SetText("#Error");
    m_reporter.WriteLine("[" + m_label + "]    Warning: Can not insert the picture \"" + name +
                         "\": " + failure);
}

bool PicturePlacer::InsertPicture(const std::string& path, pptx::SlidePart& slide,
                                  const pptx::Rect& target, double width, double height,
                                  std::string& failure) {
    try {
        const LoadedPicture& picture = m_loader.Load(path);
        const PictureSize size =
            SizePicture(picture.widthPoints, picture.heightPoints, width, height);
        const pptx::Rect rect{target.x, target.y, pptx::units::PointsToEmu(size.width),
                              pptx::units::PointsToEmu(size.height)};
        if (picture.svgPng.empty()) {
            slide.AddPicture(picture.bytes, picture.info.extension, picture.info.contentType, rect);
        } else {
            slide.AddSvgPicture(picture.svgPng, picture.bytes, rect);
        }
        return true;
    } catch (const std::exception& error) {
        failure = error.what();
        return false;
    }
}

} // namespace slidesmith::fill
