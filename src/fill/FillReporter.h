#pragma once

#include "fill/LocaleConventions.h"

#include <string>
#include <string_view>

// How a fill reports while it runs. The fills know nothing of the run log or the run window;
// the engine implements this over its log, observer and run state.
namespace slidesmith::fill {

class FillReporter {
public:
    virtual ~FillReporter() = default;
    // One run-log line, written as given (the fill adds the "[<label>]    " heads itself).
    virtual void WriteLine(std::string_view text) = 0;
    // One error entry: "Error: " + message, and "Error Info: " + information when that is not
    // empty; counts one error.
    virtual void LogError(std::string_view message, std::string_view information) = 0;
    // Interactive runs only: the run window's record label, "<record> / <total>".
    virtual void ShowRecordProgress(std::string_view text) = 0;
    // Interactive runs only: lets queued window events run, so the End button can be pressed.
    virtual void LetPendingEventsRun() = 0;
    // The user asked the run to stop.
    virtual bool Interrupted() const = 0;
};

struct FillOptions {
    // Interactive runs show record progress on screen and yield to the window once per record;
    // batch runs write progress lines to the log instead.
    bool interactive = false;
    // Records between progress lines (option -I): above 1 a count, above 0 up to 1 a fraction
    // of the records, 0 or below none.
    double progressInterval = 0.0;
    LocaleConventions conventions = LocaleConventions::EnUs();
    // Relative picture names are found in the template's folder.
    std::string templateFolder;
    // Seconds a web server may take to accept the connection for a picture.
    long connectTimeoutSeconds = 15;
};

} // namespace slidesmith::fill
