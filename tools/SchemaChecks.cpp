#include "SchemaChecks.h"

#include "PackageModel.h"

#include <map>
#include <set>
#include <string>

namespace slidesmith::testtools {
namespace {

const std::string kPml = "application/vnd.openxmlformats-officedocument.presentationml.";

struct Slot {
    std::vector<std::string> names;
    bool repeats = false;
};

using Sequence = std::vector<Slot>;

Slot One(std::initializer_list<const char*> names) {
    return {std::vector<std::string>(names.begin(), names.end()), false};
}

Slot Many(std::initializer_list<const char*> names) {
    return {std::vector<std::string>(names.begin(), names.end()), true};
}

const std::map<std::string, Sequence>& Sequences() {
    static const Slot fill =
        One({"noFill", "solidFill", "gradFill", "blipFill", "pattFill", "grpFill"});
    static const Sequence runProperties = {One({"ln"}),
                                           fill,
                                           One({"effectLst", "effectDag"}),
                                           One({"highlight"}),
                                           One({"uLnTx", "uLn"}),
                                           One({"uFillTx", "uFill"}),
                                           One({"latin"}),
                                           One({"ea"}),
                                           One({"cs"}),
                                           One({"sym"}),
                                           One({"hlinkClick"}),
                                           One({"hlinkMouseOver"}),
                                           One({"rtl"}),
                                           One({"extLst"})};
    static const Sequence textBody = {One({"bodyPr"}), One({"lstStyle"}), Many({"p"})};
    static const std::map<std::string, Sequence> sequences = {
        {"txBody", textBody},
        {"p", {One({"pPr"}), Many({"r", "br", "fld"}), One({"endParaRPr"})}},
        {"r", {One({"rPr"}), One({"t"})}},
        {"rPr", runProperties},
        {"endParaRPr", runProperties},
        {"defRPr", runProperties},
        {"tbl", {One({"tblPr"}), One({"tblGrid"}), Many({"tr"})}},
        {"tr", {Many({"tc"}), One({"extLst"})}},
        {"tc", {One({"txBody"}), One({"tcPr"}), One({"extLst"})}},
        {"tcPr",
         {One({"lnL"}), One({"lnR"}), One({"lnT"}), One({"lnB"}), One({"lnTlToBr"}),
          One({"lnBlToTr"}), One({"cell3D"}), fill, One({"headers"}), One({"extLst"})}},
    };
    return sequences;
}

class OrderWalk {
public:
    OrderWalk(const std::string& part, std::vector<Finding>& findings)
        : m_part(part), m_findings(findings) {}

    void Walk(pugi::xml_node node) {
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            const std::string name = child.name();
            const std::string local = PackageModel::LocalName(child);
            // Only DrawingML's own elements; p:txBody has the same content as a:txBody.
            if (name.rfind("a:", 0) == 0 || name == "p:txBody") {
                Check(child, local);
            }
            Walk(child);
        }
    }

private:
    void Add(pugi::xml_node node, const std::string& what,
             FindingLevel level = FindingLevel::Error) {
        if (m_reported.insert(what).second) {
            m_findings.push_back({FindingKind::SchemaViolation, level, m_part,
                                  m_part + ": <" + node.name() + "> " + what + "."});
        }
    }

    void Check(pugi::xml_node node, const std::string& local) {
        auto sequence = Sequences().find(local);
        if (sequence == Sequences().end()) {
            return;
        }
        std::size_t slot = 0;
        int inSlot = 0;
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            const std::string childName = PackageModel::LocalName(child);
            std::size_t found = sequence->second.size();
            for (std::size_t i = 0; i < sequence->second.size() && found == sequence->second.size();
                 ++i) {
                for (const std::string& allowed : sequence->second[i].names) {
                    found = allowed == childName ? i : found;
                }
            }
            if (found == sequence->second.size()) {
                Add(node, "holds <" + std::string(child.name()) + ">, which it may not contain");
            } else if (found < slot) {
                Add(node, "has <" + std::string(child.name()) + "> out of schema order");
            } else if (found == slot && inSlot > 0 && !sequence->second[found].repeats) {
                Add(node, "has more than one <" + std::string(child.name()) + ">");
            }
            inSlot = found == slot ? inSlot + 1 : 1;
            slot = std::max(slot, found);
        }
        // The schema allows a cell without a text body, but PowerPoint always writes one and
        // editors that meet an empty cell have been seen to trigger a repair: a warning.
        if (local == "tc" && !node.child("a:txBody")) {
            Add(node, "has no a:txBody", FindingLevel::Warning);
        }
        if (local == "tcPr" && node.attribute("anchor")) {
            static const std::set<std::string> anchors = {"t", "ctr", "b", "just", "dist"};
            if (anchors.count(node.attribute("anchor").value()) == 0) {
                Add(node, "has anchor=\"" + std::string(node.attribute("anchor").value()) +
                              "\", which is not t, ctr, b, just or dist");
            }
        }
    }

    const std::string& m_part;
    std::vector<Finding>& m_findings;
    std::set<std::string> m_reported;
};

} // namespace

void CheckElementOrder(PackageModel& model, std::vector<Finding>& findings) {
    for (const char* kind :
         {"slide+xml", "slideLayout+xml", "slideMaster+xml", "notesSlide+xml", "notesMaster+xml"}) {
        for (const std::string& name : model.PartsOfType(kPml + kind)) {
            if (const pugi::xml_document* document = model.Xml(name)) {
                OrderWalk(name, findings).Walk(*document);
            }
        }
    }
}

} // namespace slidesmith::testtools
