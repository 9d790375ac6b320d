# Cross-build for 64-bit Windows with Debian's mingw-w64, posix thread model (std::thread,
# std::mutex and std::condition_variable need it; the win32 model lacks them).
#
# The Windows dependencies (static Qt 5, libcurl, libzip, GoogleTest) are built by
# scripts/windows-sdk.sh. Point QUORVEL_WIN_SDK, as a cache variable or in the environment,
# at the folder that script prints last; its prefix/ is searched next to the mingw sysroot:
#   sdk=$(bash scripts/windows-sdk.sh | tail -n1)
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DQUORVEL_WIN_SDK="$sdk"
# Without either, the folder the script has built for its current recipe is used (cmake --preset windows).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUORVEL_MINGW_TRIPLE x86_64-w64-mingw32)
set(QUORVEL_MINGW_SYSROOT /usr/${QUORVEL_MINGW_TRIPLE})

set(CMAKE_C_COMPILER ${QUORVEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVEL_MINGW_TRIPLE}-windres)

if(NOT QUORVEL_WIN_SDK AND DEFINED ENV{QUORVEL_WIN_SDK})
    set(QUORVEL_WIN_SDK "$ENV{QUORVEL_WIN_SDK}" CACHE PATH "Folder printed by scripts/windows-sdk.sh")
endif()
if(NOT QUORVEL_WIN_SDK)
    execute_process(COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/../scripts/windows-sdk.sh" --print-path
                    OUTPUT_VARIABLE quorvel_sdk_found OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE quorvel_sdk_built)
    if(quorvel_sdk_built EQUAL 0)
        set(QUORVEL_WIN_SDK "${quorvel_sdk_found}" CACHE PATH "Folder printed by scripts/windows-sdk.sh")
    else()
        message(FATAL_ERROR "The Windows dependencies are not built yet: run bash scripts/windows-sdk.sh "
                            "(about 40 minutes the first time), or set QUORVEL_WIN_SDK")
    endif()
    unset(quorvel_sdk_found)
    unset(quorvel_sdk_built)
endif()
# try_compile() projects read this file again but not the cache: hand the variable on.
# (list(FIND), not IN_LIST: projects with an old cmake_minimum_required, libzip's, read this too.)
list(FIND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUORVEL_WIN_SDK quorvel_sdk_listed)
if(quorvel_sdk_listed EQUAL -1)
    list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUORVEL_WIN_SDK)
endif()
unset(quorvel_sdk_listed)

set(CMAKE_FIND_ROOT_PATH ${QUORVEL_MINGW_SYSROOT})
if(QUORVEL_WIN_SDK)
    list(APPEND CMAKE_FIND_ROOT_PATH "${QUORVEL_WIN_SDK}/prefix")
endif()

# Build tools (moc, rcc, uic) run on this machine; everything linked into the program comes
# from the roots above, never from the host's /usr.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
