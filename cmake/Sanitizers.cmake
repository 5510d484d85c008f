# The test build runs under AddressSanitizer and UndefinedBehaviorSanitizer;
# ThreadSanitizer is a separate build because it cannot be combined with ASan.
if(PELK_SANITIZE AND PELK_TSAN)
    message(FATAL_ERROR "PELK_SANITIZE and PELK_TSAN cannot be combined")
endif()

if(PELK_SANITIZE)
    set(_pelk_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_compile_options(${_pelk_san})
    add_link_options(${_pelk_san})
endif()

if(PELK_TSAN)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()
