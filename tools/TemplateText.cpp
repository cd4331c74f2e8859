#include "TemplateText.h"

#include "TestToolError.h"

#include <cmath>
#include <map>
#include <sstream>

namespace slidesmith::testtools {
namespace {

struct Token {
    std::string text; // quotes removed, escapes applied
    std::string key;  // for key=value options, else empty
};

class Line {
public:
    Line(int number, const std::string& text) : m_number(number) { Tokenize(text); }

    [[noreturn]] void Fail(const std::string& why) const {
        throw TestToolError("line " + std::to_string(m_number) + ": " + why);
    }
    bool Empty() const { return m_words.empty(); }
    std::size_t Count() const { return m_words.size(); }
    const std::string& Word(std::size_t i) const {
        if (i >= m_words.size()) {
            Fail("expected more words after \"" + m_words.back().text + "\"");
        }
        return m_words[i].text;
    }
    std::string Option(const std::string& key, const std::string& fallback = {}) const {
        auto found = m_options.find(key);
        return found == m_options.end() ? fallback : found->second;
    }
    bool Has(const std::string& key) const { return m_options.count(key) != 0; }
    void AllowOptions(std::initializer_list<const char*> allowed) const {
        for (const auto& [key, value] : m_options) {
            bool known = false;
            for (const char* name : allowed) {
                known = known || key == name;
            }
            if (!known) {
                Fail("unknown option \"" + key + "\"");
            }
        }
    }

    std::int64_t Length(const std::string& text) const {
        static const std::map<std::string, double> kUnits = {
            {"", 1.0}, {"emu", 1.0}, {"pt", 12700.0}, {"in", 914400.0}, {"cm", 360000.0}};
        std::size_t used = 0;
        double value = 0;
        try {
            value = std::stod(text, &used);
        } catch (const std::exception&) {
            Fail("\"" + text + "\" is not a length");
        }
        auto unit = kUnits.find(text.substr(used));
        if (unit == kUnits.end() || value < 0) {
            Fail("\"" + text + "\" is not a length (EMU, or pt, in, cm)");
        }
        return static_cast<std::int64_t>(std::llround(value * unit->second));
    }
    int Integer(const std::string& text) const {
        std::size_t used = 0;
        int value = 0;
        try {
            value = std::stoi(text, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != text.size() || text.empty()) {
            Fail("\"" + text + "\" is not a whole number");
        }
        return value;
    }
    double Number(const std::string& text) const {
        std::istringstream stream(text);
        stream.imbue(std::locale::classic());
        double value = 0;
        if (!(stream >> value) || !stream.eof()) {
            Fail("\"" + text + "\" is not a number");
        }
        return value;
    }
    Box BoxAt(std::size_t first) const {
        return {Length(Word(first)), Length(Word(first + 1)), Length(Word(first + 2)),
                Length(Word(first + 3))};
    }
    TextFormat Format() const {
        TextFormat format;
        if (Has("size")) {
            format.sizeHundredths = static_cast<int>(std::lround(Number(Option("size")) * 100));
        }
        format.bold = Has("bold");
        format.colour = Option("colour", Option("color"));
        if (Has("sections")) {
            std::stringstream colours(Option("sections"));
            std::string colour;
            while (std::getline(colours, colour, ',')) {
                format.sectionColours.push_back(colour);
            }
        }
        return format;
    }

private:
    void Tokenize(const std::string& text) {
        std::size_t i = 0;
        while (i < text.size()) {
            if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r') {
                ++i;
                continue;
            }
            if (text[i] == '#') {
                break;
            }
            Token token;
            bool quotedBeforeEquals = false;
            while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r') {
                if (text[i] == '"') {
                    quotedBeforeEquals = quotedBeforeEquals || token.key.empty();
                    for (++i; i < text.size() && text[i] != '"'; ++i) {
                        if (text[i] == '\\' && i + 1 < text.size()) {
                            ++i;
                            token.text += text[i] == 'n' ? '\n' : text[i];
                        } else {
                            token.text += text[i];
                        }
                    }
                    if (i >= text.size()) {
                        Fail("unterminated quoted text");
                    }
                    ++i;
                } else if (text[i] == '=' && token.key.empty() && !quotedBeforeEquals) {
                    token.key = token.text;
                    token.text.clear();
                    ++i;
                } else {
                    token.text += text[i++];
                }
            }
            if (token.key.empty() && token.text.empty() && !quotedBeforeEquals) {
                continue;
            }
            if (!token.key.empty()) {
                m_options[token.key] = token.text;
            } else if (!quotedBeforeEquals &&
                       (token.text == "bold" || token.text == "cache-only")) {
                m_options[token.text] = "1";
            } else {
                m_words.push_back(token);
            }
        }
    }

    int m_number;
    std::vector<Token> m_words;
    std::map<std::string, std::string> m_options;
};

std::vector<std::int64_t> Lengths(const Line& line, const std::string& list) {
    std::vector<std::int64_t> values;
    std::stringstream stream(list);
    for (std::string item; std::getline(stream, item, ',');) {
        values.push_back(line.Length(item));
    }
    return values;
}

class Reader {
public:
    TemplateDescription Read(const std::string& text) {
        std::stringstream stream(text);
        int number = 0;
        for (std::string raw; std::getline(stream, raw);) {
            const Line line(++number, raw);
            if (!line.Empty()) {
                Statement(line);
            }
        }
        return m_description;
    }

private:
    SlideDescription& CurrentSlide(const Line& line) {
        if (m_description.slides.empty()) {
            line.Fail("\"" + line.Word(0) + "\" needs a \"slide\" line before it");
        }
        return m_description.slides.back();
    }
    template <typename T>
    T& Last(const Line& line, const char* what) {
        auto& shapes = CurrentSlide(line).shapes;
        if (shapes.empty() || !std::holds_alternative<T>(shapes.back())) {
            line.Fail(std::string("\"") + line.Word(0) + "\" must follow a \"" + what + "\" line");
        }
        return std::get<T>(shapes.back());
    }

    void Statement(const Line& line) {
        const std::string& keyword = line.Word(0);
        if (keyword == "template") {
            m_description.asTemplate = line.Word(1) == "potx";
        } else if (keyword == "slide-size") {
            m_description.slideWidth = line.Length(line.Word(1));
            m_description.slideHeight = line.Length(line.Word(2));
        } else if (keyword == "doc-title") {
            m_description.title = line.Word(1);
        } else if (keyword == "section") {
            m_description.sections.push_back({line.Word(1), line.Integer(line.Word(2))});
        } else if (keyword == "slide") {
            Slide(line);
        } else if (keyword == "notes") {
            CurrentSlide(line).notes = line.Word(1);
        } else if (keyword == "placeholder") {
            Placeholder(line);
        } else if (keyword == "text") {
            line.AllowOptions({"size", "bold", "colour", "color", "sections"});
            CurrentSlide(line).shapes.push_back(
                TextShape{line.Word(1), line.BoxAt(2), line.Word(6), line.Format()});
        } else if (keyword == "table") {
            Table(line);
        } else if (keyword == "cell") {
            Cell(line);
        } else if (keyword == "picture") {
            line.AllowOptions({"pixels", "colour", "color"});
            PictureShape picture{line.Word(1), line.BoxAt(2)};
            if (line.Has("pixels")) {
                const std::string pixels = line.Option("pixels");
                const std::size_t x = pixels.find('x');
                picture.widthPixels = line.Integer(pixels.substr(0, x));
                picture.heightPixels =
                    line.Integer(x == std::string::npos ? "" : pixels.substr(x + 1));
            }
            picture.colour = line.Option("colour", line.Option("color", picture.colour));
            CurrentSlide(line).shapes.push_back(picture);
        } else if (keyword == "chart") {
            Chart(line);
        } else if (keyword == "categories") {
            auto& chart = Last<ChartShape>(line, "chart");
            for (std::size_t i = 1; i < line.Count(); ++i) {
                chart.categories.push_back(line.Word(i));
            }
        } else if (keyword == "series") {
            auto& chart = Last<ChartShape>(line, "chart");
            ChartSeries series{line.Word(1), {}};
            for (std::size_t i = 2; i < line.Count(); ++i) {
                series.values.push_back(line.Number(line.Word(i)));
            }
            chart.series.push_back(series);
        } else {
            line.Fail("unknown statement \"" + keyword + "\"");
        }
    }

    void Slide(const Line& line) {
        static const std::map<std::string, Layout> kLayouts = {
            {"title-slide", Layout::TitleSlide},
            {"title-and-content", Layout::TitleAndContent},
            {"title-only", Layout::TitleOnly},
            {"blank", Layout::Blank}};
        auto layout = kLayouts.find(line.Word(1));
        if (layout == kLayouts.end()) {
            line.Fail("unknown layout \"" + line.Word(1) + "\"");
        }
        m_description.slides.push_back({.layout = layout->second});
    }

    void Placeholder(const Line& line) {
        static const std::map<std::string, PlaceholderShape::Type> kTypes = {
            {"title", PlaceholderShape::Type::Title},
            {"ctrTitle", PlaceholderShape::Type::CenteredTitle},
            {"subTitle", PlaceholderShape::Type::Subtitle},
            {"body", PlaceholderShape::Type::Body}};
        line.AllowOptions({"name"});
        auto type = kTypes.find(line.Word(1));
        if (type == kTypes.end()) {
            line.Fail("unknown placeholder type \"" + line.Word(1) + "\"");
        }
        CurrentSlide(line).shapes.push_back(
            PlaceholderShape{type->second, line.Option("name"), line.Word(2)});
    }

    void Table(const Line& line) {
        line.AllowOptions({"col-width", "row-height", "widths", "heights", "style", "first-row",
                           "band-row", "ids"});
        TableShape table =
            TableShape::Grid(line.Word(1), line.Integer(line.Word(2)), line.Integer(line.Word(3)),
                             line.Length(line.Word(4)), line.Length(line.Word(5)),
                             line.Length(line.Option("col-width", "1828800")),
                             line.Length(line.Option("row-height", "370840")));
        if (line.Has("widths")) {
            table.columnWidths = Lengths(line, line.Option("widths"));
        }
        if (line.Has("heights")) {
            table.rowHeights = Lengths(line, line.Option("heights"));
        }
        if (table.columnWidths.size() != table.cells.front().size() ||
            table.rowHeights.size() != table.cells.size()) {
            line.Fail("widths/heights must give one length per column/row");
        }
        const std::string style = line.Option("style", kMediumStyle2Accent1);
        table.styleId = style == "none" ? std::string() : style;
        table.firstRow = line.Option("first-row", "1") == "1";
        table.bandRow = line.Option("band-row", "1") == "1";
        table.rowAndColumnIds = line.Option("ids", "1") == "1";
        CurrentSlide(line).shapes.push_back(table);
    }

    void Cell(const Line& line) {
        line.AllowOptions({"size", "bold", "colour", "color", "span", "sections"});
        auto& table = Last<TableShape>(line, "table");
        const int row = line.Integer(line.Word(1));
        const int column = line.Integer(line.Word(2));
        if (row < 1 || column < 1 || static_cast<std::size_t>(row) > table.rowHeights.size() ||
            static_cast<std::size_t>(column) > table.columnWidths.size()) {
            line.Fail("cell " + line.Word(1) + " " + line.Word(2) + " is outside the table");
        }
        TableCell& cell = table.Cell(row - 1, column - 1);
        cell.text = line.Word(3);
        cell.format = line.Format();
        if (line.Has("span")) {
            const std::string span = line.Option("span");
            const std::size_t x = span.find('x');
            cell.gridSpan = line.Integer(span.substr(0, x));
            cell.rowSpan = line.Integer(x == std::string::npos ? "" : span.substr(x + 1));
        }
    }

    void Chart(const Line& line) {
        static const std::map<std::string, ChartShape::Kind> kKinds = {
            {"bar", ChartShape::Kind::Bar},
            {"line", ChartShape::Kind::Line},
            {"pie", ChartShape::Kind::Pie}};
        line.AllowOptions({"cache-only", "sheet", "format"});
        auto kind = kKinds.find(line.Word(2));
        if (kind == kKinds.end()) {
            line.Fail("unknown chart kind \"" + line.Word(2) + "\"");
        }
        ChartShape chart;
        chart.name = line.Word(1);
        chart.kind = kind->second;
        chart.box = line.BoxAt(3);
        chart.embeddedWorkbook = !line.Has("cache-only");
        chart.sheetName = line.Option("sheet", chart.sheetName);
        chart.numberFormat = line.Option("format", chart.numberFormat);
        CurrentSlide(line).shapes.push_back(chart);
    }

    TemplateDescription m_description;
};

} // namespace

TemplateDescription ParseTemplateText(const std::string& text) {
    return Reader().Read(text);
}

} // namespace slidesmith::testtools
