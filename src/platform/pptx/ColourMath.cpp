#include "platform/pptx/ColourMath.h"

#include "platform/pptx/XmlUtil.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace slidesmith::pptx::colour {
namespace {

struct Rgb {
    double r, g, b; // 0..1, gamma-encoded (sRGB)
};
struct Hsl {
    double h, s, l; // h in degrees 0..360, s and l 0..1
};

Rgb Split(std::uint32_t rgb) {
    return Rgb{static_cast<double>((rgb >> 16) & 0xFF) / 255.0,
               static_cast<double>((rgb >> 8) & 0xFF) / 255.0,
               static_cast<double>(rgb & 0xFF) / 255.0};
}

std::uint32_t Join(Rgb c) {
    const auto channel = [](double v) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
    };
    return (channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b);
}

Hsl ToHsl(Rgb c) {
    const double maxC = std::max({c.r, c.g, c.b});
    const double minC = std::min({c.r, c.g, c.b});
    Hsl out{0.0, 0.0, (maxC + minC) / 2.0};
    const double delta = maxC - minC;
    if (delta <= 0.0) {
        return out;
    }
    out.s = out.l <= 0.5 ? delta / (maxC + minC) : delta / (2.0 - maxC - minC);
    if (maxC == c.r) {
        out.h = 60.0 * std::fmod((c.g - c.b) / delta + 6.0, 6.0);
    } else if (maxC == c.g) {
        out.h = 60.0 * ((c.b - c.r) / delta + 2.0);
    } else {
        out.h = 60.0 * ((c.r - c.g) / delta + 4.0);
    }
    return out;
}

Rgb ToRgb(Hsl c) {
    const double chroma = (1.0 - std::fabs(2.0 * c.l - 1.0)) * c.s;
    const double hPrime = std::fmod(c.h, 360.0) / 60.0;
    const double x = chroma * (1.0 - std::fabs(std::fmod(hPrime, 2.0) - 1.0));
    Rgb out{0.0, 0.0, 0.0};
    if (hPrime < 1.0) {
        out = {chroma, x, 0.0};
    } else if (hPrime < 2.0) {
        out = {x, chroma, 0.0};
    } else if (hPrime < 3.0) {
        out = {0.0, chroma, x};
    } else if (hPrime < 4.0) {
        out = {0.0, x, chroma};
    } else if (hPrime < 5.0) {
        out = {x, 0.0, chroma};
    } else {
        out = {chroma, 0.0, x};
    }
    const double m = c.l - chroma / 2.0;
    return Rgb{out.r + m, out.g + m, out.b + m};
}

double ToLinear(double v) {
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}
double FromLinear(double v) {
    return v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
}

template <typename Function>
Rgb OnLinear(Rgb c, Function f) {
    return Rgb{FromLinear(f(ToLinear(c.r))), FromLinear(f(ToLinear(c.g))),
               FromLinear(f(ToLinear(c.b)))};
}

double Clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

Rgb Apply(Rgb c, std::string_view name, double value) {
    const double fraction = value / 100000.0;
    if (name == "a:tint") {
        return OnLinear(c, [fraction](double v) { return 1.0 - (1.0 - v) * fraction; });
    }
    if (name == "a:shade") {
        return OnLinear(c, [fraction](double v) { return v * fraction; });
    }
    if (name == "a:inv") {
        return Rgb{1.0 - c.r, 1.0 - c.g, 1.0 - c.b};
    }
    if (name == "a:gray") {
        const double grey = 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
        return Rgb{grey, grey, grey};
    }
    Hsl hsl = ToHsl(c);
    if (name == "a:lumMod") {
        hsl.l = Clamp01(hsl.l * fraction);
    } else if (name == "a:lumOff") {
        hsl.l = Clamp01(hsl.l + fraction);
    } else if (name == "a:satMod") {
        hsl.s = Clamp01(hsl.s * fraction);
    } else if (name == "a:satOff") {
        hsl.s = Clamp01(hsl.s + fraction);
    } else if (name == "a:hue") {
        hsl.h = std::fmod(value / 60000.0, 360.0);
    } else if (name == "a:hueOff") {
        hsl.h = std::fmod(hsl.h + value / 60000.0 + 360.0, 360.0);
    } else if (name == "a:hueMod") {
        hsl.h = std::fmod(hsl.h * fraction, 360.0);
    } else if (name == "a:comp") {
        hsl.h = std::fmod(hsl.h + 180.0, 360.0);
    } else {
        return c; // alpha and the rarely used channel transforms leave the colour as it is
    }
    return ToRgb(hsl);
}

} // namespace

std::optional<std::uint32_t> PresetColour(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, std::uint32_t>, 24> kPresets{{
        {"black", 0x000000},   {"white", 0xFFFFFF},     {"red", 0xFF0000},
        {"green", 0x008000},   {"lime", 0x00FF00},      {"blue", 0x0000FF},
        {"yellow", 0xFFFF00},  {"cyan", 0x00FFFF},      {"aqua", 0x00FFFF},
        {"magenta", 0xFF00FF}, {"fuchsia", 0xFF00FF},   {"gray", 0x808080},
        {"grey", 0x808080},    {"silver", 0xC0C0C0},    {"maroon", 0x800000},
        {"navy", 0x000080},    {"olive", 0x808000},     {"purple", 0x800080},
        {"teal", 0x008080},    {"orange", 0xFFA500},    {"darkBlue", 0x00008B},
        {"darkRed", 0x8B0000}, {"darkGreen", 0x006400}, {"darkGray", 0xA9A9A9},
    }};
    for (const auto& [presetName, rgb] : kPresets) {
        if (presetName == name) {
            return rgb;
        }
    }
    return std::nullopt;
}

std::uint32_t ApplyTransforms(std::uint32_t rgb, pugi::xml_node colourElement) {
    Rgb c = Split(rgb);
    for (pugi::xml_node transform : colourElement.children()) {
        if (transform.type() != pugi::node_element) {
            continue;
        }
        const auto value = static_cast<double>(xml::IntAttribute(transform, "val", 0));
        c = Apply(c, transform.name(), value);
    }
    return Join(c);
}

} // namespace slidesmith::pptx::colour
