#pragma once

#include "fill/FillReporter.h"
#include "fill/ImageSettings.h"
#include "fill/PictureLoader.h"
#include "platform/odbc/FieldValue.h"
#include "platform/pptx/Shape.h"
#include "platform/pptx/SlidePart.h"
#include "platform/pptx/TextBody.h"

#include <string>
#include <string_view>

namespace slidesmith::fill {

// Puts the pictures of image fields on slides: over a table cell or a named shape, at the
// picture's own size or as the settings ask, embedded (stored once per distinct picture).
class PicturePlacer {
public:
    // label heads the warning lines that say why a picture was left out.
    PicturePlacer(PictureOptions options, FillReporter& reporter, std::string label,
                  const LocaleConventions& conventions);

    // The picture the value names goes over `target`; an empty value leaves the cell empty. A
    // picture that cannot be placed writes "#Error" into `cell` and logs a warning line with
    // the reason; the fill goes on.
    void PlaceImage(pptx::SlidePart& slide, const pptx::Rect& target, pptx::TextBody cell,
                    const odbc::FieldValue& value, const ImageSettings& settings);

    // Adds the picture at `path` with its top-left corner on the target's: at its own size
    // when neither width nor height (points) is at least 0, scaled to the one given keeping its
    // proportions, or into the box when both are. Returns false, with the reason in
    // `failure`, when the picture cannot be read or added.
    bool InsertPicture(const std::string& path, pptx::SlidePart& slide, const pptx::Rect& target,
                       double width, double height, std::string& failure);

private:
    PictureLoader m_loader;
    FillReporter& m_reporter;
    std::string m_label;
    const LocaleConventions& m_conventions;
};

// The size a picture of its own size (ownWidth x ownHeight points) is given for the settings'
// width and height (below 0: not given).
struct PictureSize {
    double width = 0;
    double height = 0;
};
PictureSize SizePicture(double ownWidth, double ownHeight, double width, double height);

} // namespace slidesmith::fill
