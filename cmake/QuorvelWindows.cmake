# What the Windows program and its tests need on top of the common build: a static program (no libstdc++,
# libgcc or winpthread DLLs beside it) with the static Qt 5 plugins it uses.

enable_language(RC)
add_link_options(-static)

# The static Qt 5 plugin targets import themselves into the program that links them.
function(quorvel_link_windows_plugins target)
    target_link_libraries(${target} PRIVATE
        Qt5::QWindowsIntegrationPlugin Qt5::QWindowsVistaStylePlugin
        Qt5::QGifPlugin Qt5::QICOPlugin Qt5::QJpegPlugin)
    # The shipped program needs no test platforms.
    set_target_properties(${target} PROPERTIES QT_NO_PLUGINS "Qt5::QMinimalIntegrationPlugin;Qt5::QOffscreenIntegrationPlugin")
endfunction()

# Built here, the Windows programs run under Wine: ctest and the test discovery start them through it.
if(CMAKE_CROSSCOMPILING)
    find_program(QUORVEL_WINE wine REQUIRED)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORVEL_WINE})
endif()
