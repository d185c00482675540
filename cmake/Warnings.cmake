# Project-wide compile flags: strict warnings everywhere, optional sanitizers.
add_library(ambla_build_flags INTERFACE)
target_compile_options(ambla_build_flags INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
    -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
if(AMBLA_WERROR)
    target_compile_options(ambla_build_flags INTERFACE -Werror)
endif()
if(AMBLA_SANITIZE)
    target_compile_options(ambla_build_flags INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(ambla_build_flags INTERFACE -fsanitize=address,undefined)
endif()
