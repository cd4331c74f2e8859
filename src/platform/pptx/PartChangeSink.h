#pragma once

namespace slidesmith::pptx {

// Told by an XML editor that it changed the part it works on. The part owning the XML tree
// implements it and re-serialises itself on save only when it was told; an editor must call
// MarkChanged() for every edit (calling it more than once is harmless) and never otherwise.
class PartChangeSink {
public:
    virtual ~PartChangeSink() = default;
    virtual void MarkChanged() = 0;
};

} // namespace slidesmith::pptx
