#pragma once

#include <string>

namespace slidesmith::bench {

// A minimal but complete template package in memory: presentation, one slide (slideXml, a
// whole p:sld document), its layout, master and theme.
std::string MakeTemplate(const std::string& slideXml);

} // namespace slidesmith::bench
