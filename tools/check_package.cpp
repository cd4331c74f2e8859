// check-package FILE...: prints every finding of the package checker; exits 1 when any file has
// a finding (warnings included), 2 on wrong usage.
#include "PackageChecker.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: check-package FILE.pptx...\n";
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        const auto findings = slidesmith::testtools::CheckPackage(argv[i]);
        for (const auto& finding : findings) {
            std::cout << argv[i] << ": " << slidesmith::testtools::Describe(finding) << "\n";
        }
        if (!findings.empty()) {
            status = 1;
        }
    }
    return status;
}
