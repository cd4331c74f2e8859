#include "app/Application.h"

#ifdef SLIDESMITH_DESKTOP
#include "ui/DesktopProgram.h"
#endif

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    slidesmith::app::Application application(std::move(arguments), std::cout, std::cerr);
#ifdef SLIDESMITH_DESKTOP
    application.SetDesktopEntry([&argc, argv](slidesmith::app::InteractiveSession& session) {
        return slidesmith::ui::RunDesktopProgram(argc, argv, session, std::cerr);
    });
#endif
    return application.Run();
}
