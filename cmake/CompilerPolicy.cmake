# One target carries the compiler policy; every target of ours links it. Warning and sanitizer
# options are given in the spelling of the compiler that builds.
add_library(xarvane_policy INTERFACE)
target_compile_features(xarvane_policy INTERFACE cxx_std_20)

set(xarvane_gnu_like "$<OR:$<CXX_COMPILER_ID:GNU>,$<CXX_COMPILER_ID:Clang>,$<CXX_COMPILER_ID:AppleClang>>")
set(xarvane_msvc "$<CXX_COMPILER_ID:MSVC>")

target_compile_options(xarvane_policy INTERFACE
    "$<${xarvane_gnu_like}:-Wall;-Wextra;-Wpedantic>"
    "$<${xarvane_msvc}:/W4;/utf-8;/permissive->")
# Qt's safety defines: no implicit conversions between text and bytes, no connection without a
# context object (honoured from Qt 6.7), and nothing that Qt deprecated up to 6.4, the version
# Debian 12 builds with: Qt 6.5 and later read QT_DISABLE_DEPRECATED_UP_TO, Qt 6.4 reads the
# older QT_DISABLE_DEPRECATED_BEFORE (the first version whose deprecations stay usable).
target_compile_definitions(xarvane_policy INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_FOREACH
    QT_NO_CONTEXTLESS_CONNECT
    QT_DISABLE_DEPRECATED_UP_TO=0x060400
    QT_DISABLE_DEPRECATED_BEFORE=0x060500)
if(XARVANE_WERROR)
    target_compile_options(xarvane_policy INTERFACE
        "$<${xarvane_gnu_like}:-Werror>"
        "$<${xarvane_msvc}:/WX>")
endif()
if(XARVANE_SANITIZE)
    target_compile_options(xarvane_policy INTERFACE
        "$<${xarvane_gnu_like}:-fsanitize=address,undefined;-fno-omit-frame-pointer;-fno-sanitize-recover=undefined>"
        "$<${xarvane_msvc}:/fsanitize=address>")
    target_link_options(xarvane_policy INTERFACE "$<${xarvane_gnu_like}:-fsanitize=address,undefined>")
endif()
