#include "app/Application.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    slidesmith::app::Application application(std::move(arguments), std::cout, std::cerr);
    return application.Run();
}
