// make-template DESCRIPTION OUTPUT: writes the presentation template the text description
// asks for (see TemplateText.h for the format). Exits 1 with a message naming the line on error.
#include "TemplateBuilder.h"
#include "TemplateText.h"
#include "TestToolError.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make-template DESCRIPTION.txt OUTPUT.pptx|OUTPUT.potx\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot read\n";
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    try {
        auto description = slidesmith::testtools::ParseTemplateText(text.str());
        // The content type must agree with the extension or PowerPoint refuses the file.
        const bool potx = std::filesystem::path(argv[2]).extension() == ".potx";
        if (description.asTemplate && !potx) {
            std::cerr << argv[1] << ": \"template potx\" needs an output ending in .potx\n";
            return 1;
        }
        description.asTemplate = potx;
        slidesmith::testtools::WriteTemplate(description, argv[2]);
    } catch (const slidesmith::testtools::TestToolError& error) {
        std::cerr << argv[1] << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}
