# Project-wide warning set; SLIDESMITH_WERROR turns them into errors (the ci preset does).
option(SLIDESMITH_WERROR "Treat warnings as errors" OFF)

add_library(slidesmith_warnings INTERFACE)
target_compile_options(slidesmith_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wold-style-cast
    -Wnon-virtual-dtor -Woverloaded-virtual -Wformat=2)
if(SLIDESMITH_WERROR)
    target_compile_options(slidesmith_warnings INTERFACE -Werror)
endif()

# Sanitizers for the dev preset.
option(SLIDESMITH_SANITIZE "Build with ASan and UBSan" OFF)
if(SLIDESMITH_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# libFuzzer targets need clang; the fuzz preset turns this on.
option(SLIDESMITH_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(SLIDESMITH_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
