# One interface target carries the warning and sanitizer flags for every
# target of the project.
add_library(quillon_warnings INTERFACE)
target_compile_options(quillon_warnings INTERFACE -Wall -Wextra)
if(QUILLON_SANITIZE)
  target_compile_options(quillon_warnings INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(quillon_warnings INTERFACE -fsanitize=address,undefined)
endif()
