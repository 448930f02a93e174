# One target carries the compiler policy; every target of ours links it.
add_library(xarvane_policy INTERFACE)
target_compile_features(xarvane_policy INTERFACE cxx_std_20)
target_compile_options(xarvane_policy INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(xarvane_policy INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_FOREACH)
if(XARVANE_WERROR)
    target_compile_options(xarvane_policy INTERFACE -Werror)
endif()
if(XARVANE_SANITIZE)
    target_compile_options(xarvane_policy INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(xarvane_policy INTERFACE -fsanitize=address,undefined)
endif()
