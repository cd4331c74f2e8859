#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace slidesmith::testtools {

// A short description of a presentation template; TemplateBuilder turns it into a package.
// Positions and sizes are EMU (914400 per inch, 12700 per point). Every member has a default, so
// partial or designated brace initialisation compiles without missing-initializer warnings.

inline constexpr std::int64_t kEmuPerPoint = 12700;
inline constexpr std::int64_t kEmuPerInch = 914400;

// Built-in table style PowerPoint applies to new tables; tableStyles.xml carries its definition.
inline constexpr const char* kMediumStyle2Accent1 = "{5C22544A-7EE6-4342-B048-85BDC9FD1C3A}";

struct Box {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t cx = 0;
    std::int64_t cy = 0;
};

// Run formatting; zero/empty means "inherit" and writes no attribute.
struct TextFormat {
    int sizeHundredths = 0; // font size in 1/100 pt (1800 = 18 pt)
    bool bold = false;
    std::string colour{}; // "RRGGBB"
    // Non-empty: each line is split after every ';' into runs coloured in turn (the last colour
    // repeats), so a format text can carry a colour per section as a user would paint it.
    std::vector<std::string> sectionColours{};
};

struct TableCell {
    std::string text{}; // '\n' starts a new paragraph
    TextFormat format{};
    int gridSpan = 1; // > 1: this cell anchors a horizontal merge
    int rowSpan = 1;  // > 1: this cell anchors a vertical merge
};

struct TableShape {
    std::string name = "Table 1";
    Box box{};                                  // cx/cy are recomputed from the grid
    std::vector<std::int64_t> columnWidths{};   // one per grid column
    std::vector<std::int64_t> rowHeights{};     // one per row
    std::string styleId = kMediumStyle2Accent1; // empty: no a:tableStyleId
    bool firstRow = true;
    bool bandRow = true;
    bool rowAndColumnIds = true; // a16:rowId / a16:colId as PowerPoint 2016 writes them
    // cells[row][column]; cells covered by a merge are written as hMerge/vMerge whatever they
    // hold. Missing cells are empty.
    std::vector<std::vector<TableCell>> cells{};

    // A rows x columns table at (x, y) with equal column widths and row heights.
    static TableShape Grid(std::string name, int rows, int columns, std::int64_t x = 457200,
                           std::int64_t y = 1600200, std::int64_t columnWidth = 1828800,
                           std::int64_t rowHeight = 370840);
    TableCell& Cell(int row, int column); // grows `cells` as needed
};

struct TextShape {
    std::string name = "TextBox 1";
    Box box{};
    std::string text{};
    TextFormat format{};
};

// A placeholder that takes position, size and text style from its layout.
struct PlaceholderShape {
    enum class Type { Title, CenteredTitle, Subtitle, Body };
    Type type = Type::Title;
    std::string name{}; // empty: "Title 1", "Content Placeholder 2", ...
    std::string text{};
};

struct PictureShape {
    std::string name = "Picture 1";
    Box box{};
    int widthPixels = 32; // the PNG written for it
    int heightPixels = 24;
    std::string colour = "4472C4"; // its fill colour
};

struct ChartSeries {
    std::string name{};
    std::vector<double> values{}; // one per category
};

struct ChartShape {
    enum class Kind { Bar, Line, Pie };
    std::string name = "Chart 1";
    Kind kind = Kind::Bar;
    Box box{};
    std::vector<std::string> categories{};
    std::vector<ChartSeries> series{};
    bool embeddedWorkbook = true; // false: cache only, no c:externalData
    std::string sheetName = "Sheet1";
    std::string numberFormat = "General";
};

using Shape = std::variant<PlaceholderShape, TextShape, TableShape, PictureShape, ChartShape>;

// Layouts every built template has, in this order (slideLayout1..4).
enum class Layout { TitleSlide, TitleAndContent, TitleOnly, Blank };

struct SlideDescription {
    Layout layout = Layout::TitleAndContent;
    std::vector<Shape> shapes{};
    std::string notes{}; // speaker notes; non-empty gives the slide a notes slide
};

struct SectionDescription {
    std::string name{};
    int slideCount = 0; // consecutive slides after the previous section's; may be 0
};

struct TemplateDescription {
    bool asTemplate = false;            // true: .potx content type
    std::int64_t slideWidth = 12192000; // 16:9
    std::int64_t slideHeight = 6858000;
    std::string title = "Slidesmith test template";
    std::vector<SlideDescription> slides{};
    std::vector<SectionDescription> sections{}; // empty: no p14:sectionLst
};

} // namespace slidesmith::testtools
