# Common compile settings for every target of the project.
add_library(kyv_settings INTERFACE)
# GCC 12 reports maybe-uninitialized falsely inside std::optional<QString>.
target_compile_options(kyv_settings INTERFACE -Wall -Wextra -Wshadow -Wno-maybe-uninitialized)
if(KYV_WERROR)
    target_compile_options(kyv_settings INTERFACE -Werror)
endif()
if(KYV_SANITIZE STREQUAL "thread")
    # Qt's own libraries are not instrumented: tests/tsan.supp lists what that alone explains.
    target_compile_options(kyv_settings INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(kyv_settings INTERFACE -fsanitize=thread)
elseif(KYV_SANITIZE)
    target_compile_options(kyv_settings INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                  -fno-sanitize-recover=undefined)
    target_link_options(kyv_settings INTERFACE -fsanitize=address,undefined)
endif()

# Adds every .cpp of the calling folder to a static library named NAME.
function(kyv_folder_library NAME)
    file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    file(GLOB _headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT _sources)
        # A subsystem whose code has not arrived yet still forms a (empty) library.
        set(_sources ${CMAKE_CURRENT_BINARY_DIR}/${NAME}_empty.cpp)
        file(WRITE ${_sources} "// No code in this subsystem yet.\nnamespace {}\n")
    endif()
    add_library(${NAME} STATIC ${_sources} ${_headers})
    target_include_directories(${NAME} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${NAME} PRIVATE kyv_settings)
endfunction()
