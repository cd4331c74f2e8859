#pragma once

#include "script/ScriptLineSource.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::script {

// Turns one raw line of the definition file into the program's text (the definition's own
// decoding: UTF-8 as it is, or a code page). An empty decoder passes lines through.
using LineDecoder = std::function<std::string(std::string_view)>;

// The script of a batch run, read from the definition file itself: the lines after the first
// line that reads "[SQL]" (blanks around it ignored). The file is read in blocks as lines are
// asked for, never whole, and closed when the script ends or the source is destroyed.
//
// A line ends at LF or CR LF; a lone CR stays in the line, exactly as the editor's text is cut,
// so a definition parses the same in batch and interactive runs. A CR at the very end of the
// file is dropped like one before an LF.
class DefinitionScriptSource final : public ScriptLineSource {
public:
    // Opens nothing yet: the file is opened on the first ReadLine, so a missing file is
    // reported through the parser's fault path like any other read fault.
    explicit DefinitionScriptSource(std::filesystem::path path, LineDecoder decoder = {});

    bool ReadLine(std::string_view& line) override;

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    void Open();
    bool ReadRawLine(std::string_view& line);
    bool FillBuffer();

    std::filesystem::path m_path;
    LineDecoder m_decoder;
    std::unique_ptr<std::FILE, FileCloser> m_file;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_opened = false;
    std::string m_joined;  // a line that spans blocks
    std::string m_decoded; // the decoder's result for the current line
};

} // namespace slidesmith::script
