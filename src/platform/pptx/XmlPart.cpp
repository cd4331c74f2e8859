#include "platform/pptx/XmlPart.h"

#include "platform/pptx/PptxError.h"

#include <cstring>

namespace slidesmith::pptx {
namespace {

// Collects serialised output into a string without the overhead of a stream.
class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string& out) : m_out(out) {}
    void write(const void* data, std::size_t size) override {
        m_out.append(static_cast<const char*>(data), size);
    }

private:
    std::string& m_out;
};

} // namespace

XmlPart::XmlPart(std::string partName, std::string_view bytes, std::string_view fileName)
    : m_name(std::move(partName)) {
    // Whitespace-only text is content in DrawingML (<a:t> </a:t>), so a lone whitespace child
    // survives; indentation between elements does not, so editors see elements only.
    constexpr unsigned kOptions =
        pugi::parse_default | pugi::parse_ws_pcdata_single | pugi::parse_declaration;
    pugi::xml_parse_result result =
        m_document.load_buffer(bytes.data(), bytes.size(), kOptions, pugi::encoding_auto);
    if (!result) {
        throw PptxError(std::string(fileName) + ": " + m_name + ": not well-formed XML (" +
                        result.description() + " at offset " + std::to_string(result.offset) + ")");
    }
    if (!m_document.document_element()) {
        throw PptxError(std::string(fileName) + ": " + m_name + ": the part has no root element");
    }
}

XmlPart::XmlPart(std::string partName, const pugi::xml_document& source)
    : m_name(std::move(partName)) {
    m_document.reset(source);
    m_changed = true;
}

std::string XmlPart::Serialize() const {
    std::string out;
    StringWriter writer(out);
    pugi::xml_node declaration = m_document.first_child();
    if (declaration.type() == pugi::node_declaration) {
        pugi::xml_attribute encoding = declaration.attribute("encoding");
        if (encoding && std::strcmp(encoding.value(), "UTF-8") != 0)
            encoding.set_value("UTF-8");
        m_document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    } else {
        out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
        m_document.save(writer, "", pugi::format_raw | pugi::format_no_declaration,
                        pugi::encoding_utf8);
    }
    return out;
}

void EnsureDeclaration(pugi::xml_document& document) {
    if (document.first_child().type() == pugi::node_declaration)
        return;
    pugi::xml_node declaration = document.prepend_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    declaration.append_attribute("standalone") = "yes";
}

} // namespace slidesmith::pptx
