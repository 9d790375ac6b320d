# The launcher executable and, on Windows, its installer and update archive. A function rather than a target so
# that the tests can build a second launcher carrying a higher version for the self-update test.

# quorvel_add_launcher(TARGET VERSION): the launcher program with its own version text ("1.78"); on Windows with
# its manifest, icon and a version resource carrying the version as the file version (1.78 gives 1.7.8.0).
function(quorvel_add_launcher target version)
    set(dir ${PROJECT_SOURCE_DIR}/src/quorvel)
    add_executable(${target} ${dir}/main.cpp ${PROJECT_SOURCE_DIR}/src/update/LauncherVersion.cpp)
    target_link_libraries(${target} PRIVATE quorvel_gui)
    # This object defines the running launcher's version, so the libraries' default is never linked in.
    target_compile_definitions(${target} PRIVATE QUORVEL_LAUNCHER_VERSION="${version}")
    if(WIN32)
        quorvel_file_version(${version} QUORVEL_FILE_VERSION)
        string(REPLACE "." "," QUORVEL_FILE_VERSION_COMMAS ${QUORVEL_FILE_VERSION})
        set(QUORVEL_ICON ${PROJECT_SOURCE_DIR}/assets/quorvel.ico)
        set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}-resources)
        configure_file(${dir}/quorvel.rc ${out}/quorvel.rc @ONLY)
        configure_file(${dir}/quorvel.manifest ${out}/quorvel.manifest @ONLY)
        target_sources(${target} PRIVATE ${out}/quorvel.rc)
        set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
        quorvel_link_windows_plugins(${target})
    endif()
endfunction()

# quorvel_file_version(VERSION OUT): the file version of four numbers for a version text, its digits in order, padded with
# zeros (1.78 gives 1.7.8.0).
function(quorvel_file_version version out)
    string(REGEX REPLACE "[^0-9]" "" digits "${version}")
    string(LENGTH "${digits}" length)
    if(length EQUAL 0 OR length GREATER 4)
        message(FATAL_ERROR "a launcher version needs one to four digits, not '${version}'")
    endif()
    string(REGEX REPLACE "(.)" "\\1;" numbers "${digits}")
    list(REMOVE_ITEM numbers "")
    while(length LESS 4)
        list(APPEND numbers 0)
        math(EXPR length "${length} + 1")
    endwhile()
    list(JOIN numbers "." result)
    set(${out} ${result} PARENT_SCOPE)
endfunction()

# quorvel_add_launcher_package(LAUNCHER_TARGET VERSION): the launcher's installer "instalar.exe" (NSIS) and the
# update archive "quorvel-VERSION.zip" holding it, as the vendor's service serves it, in
# <build folder>/LAUNCHER_TARGET-package/; the target LAUNCHER_TARGET_package builds both.
function(quorvel_add_launcher_package target version)
    find_program(QUORVEL_MAKENSIS makensis REQUIRED)
    quorvel_file_version(${version} file_version)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}-package)
    set(script ${PROJECT_SOURCE_DIR}/installer/quorvel.nsi)
    add_custom_command(OUTPUT ${out}/instalar.exe
        COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
        COMMAND ${QUORVEL_MAKENSIS} -V2 -WX -DLAUNCHER=$<TARGET_FILE:${target}> -DVERSION=${version}
                -DFILE_VERSION=${file_version} -DICON=${PROJECT_SOURCE_DIR}/assets/quorvel.ico
                -DOUTFILE=${out}/instalar.exe ${script}
        DEPENDS ${target} ${script} ${PROJECT_SOURCE_DIR}/assets/quorvel.ico
        COMMENT "Building the installer of ${target} ${version}"
        VERBATIM)
    set(archive ${out}/quorvel-${version}.zip)
    add_custom_command(OUTPUT ${archive}
        COMMAND ${CMAKE_COMMAND} -E rm -f ${archive}
        COMMAND ${CMAKE_COMMAND} -E tar cf ${archive} --format=zip instalar.exe
        WORKING_DIRECTORY ${out}
        DEPENDS ${out}/instalar.exe
        COMMENT "Packing quorvel-${version}.zip"
        VERBATIM)
    add_custom_target(${target}_package ALL DEPENDS ${archive})
endfunction()
