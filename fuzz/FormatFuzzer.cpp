// Feeds arbitrary format texts and values to the cell value formatter, the template colour
// reader and the cell reference parsers. Besides crashes and hangs it checks what the fills
// rely on: a cell text stays within a small multiple of its inputs, valid UTF-8 in gives valid
// UTF-8 out, and every colour part asked for lies inside the template text.
#include "fill/CellReference.h"
#include "fill/TemplateColours.h"
#include "fill/ValueFormat.h"
#include "platform/files/TextEncoding.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using slidesmith::odbc::FieldValue;
namespace fill = slidesmith::fill;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// The first byte picks the kind; the value text's bytes also feed the numeric kinds.
FieldValue MakeValue(std::uint8_t kind, const std::string& text) {
    std::int64_t integer = 0;
    double real = 0;
    std::memcpy(&integer, text.data(), std::min(sizeof integer, text.size()));
    std::memcpy(&real, text.data(), std::min(sizeof real, text.size()));
    const auto part = [&](int shift, int modulo) {
        return static_cast<int>((static_cast<std::uint64_t>(integer) >> shift) %
                                static_cast<std::uint64_t>(modulo));
    };
    switch (kind % 9) {
    case 1:
        return FieldValue::FromInteger(integer);
    case 2:
        return FieldValue::FromDecimal(text, 2);
    case 3:
        return FieldValue::FromDouble(real);
    case 4:
        return FieldValue::FromText(text);
    case 5:
        return FieldValue::FromDate({part(0, 20000) - 5000, part(16, 15), part(24, 40)});
    case 6:
        return FieldValue::FromTime({part(0, 30), part(8, 70), part(16, 70)});
    case 7:
        return FieldValue::FromTimestamp(
            {{part(0, 12000), part(16, 14), part(24, 33)}, {part(32, 25), part(40, 61), 9}, 1});
    case 8:
        return FieldValue::FromBinary({text.begin(), text.end()});
    default:
        return FieldValue();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = rest.find('\0');
    const std::string format = rest.substr(0, split);
    const std::string text = split == std::string::npos ? "" : rest.substr(split + 1);
    const FieldValue value = MakeValue(data[0], text);
    static const fill::LocaleConventions conventions = fill::LocaleConventions::EnUs();

    const std::string out = fill::Format(value, format, conventions);
    Check(out.size() <= 64 * (format.size() + text.size()) + 1024);
    if (slidesmith::files::IsValidUtf8(format) && slidesmith::files::IsValidUtf8(text)) {
        Check(slidesmith::files::IsValidUtf8(out));
    }
    if (format.empty()) {
        Check(out == fill::DefaultText(value, conventions));
    }
    (void)fill::CellText(value, format, conventions);

    fill::ReadTemplateColors(format, [&](std::size_t start, std::size_t length) {
        Check(start + length <= format.size());
        return fill::RgbColour{0};
    });

    fill::CellCoordinate cell;
    if (fill::ParseCellRef(format, cell) && cell.row > 0 && cell.column > 0) {
        fill::CellCoordinate again;
        Check(fill::ParseCellRef(fill::CellRefName(cell.row, cell.column), again) && again == cell);
    }
    fill::RangeReference range;
    (void)fill::ParseRangeRef(format, range);
    return 0;
}
