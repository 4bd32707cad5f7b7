# One place for the language level, warnings and sanitizers: every target links tessaly_compile_options.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

add_library(tessaly_compile_options INTERFACE)
target_compile_options(tessaly_compile_options INTERFACE -Wall -Wextra -Wpedantic)
if(TESSALY_WERROR)
    target_compile_options(tessaly_compile_options INTERFACE -Werror)
endif()
if(TESSALY_SANITIZE)
    target_compile_options(tessaly_compile_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(tessaly_compile_options INTERFACE -fsanitize=address,undefined)
endif()
target_compile_definitions(tessaly_compile_options INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CONTEXTLESS_CONNECT QT_NO_KEYWORDS)
