# Build helpers shared by every module: DLLs with .def exports, resource-only DLLs, COM servers and tests.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)

set(ORV_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/..)
set(ORV_TESTENV ${CMAKE_BINARY_DIR}/testenv)
set(ORV_BIN ${CMAKE_BINARY_DIR}/bin)
set(ORV_RUNTIME_DLLS libgcc_s_dw2-1.dll libstdc++-6.dll libwinpthread-1.dll)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${ORV_BIN})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${ORV_BIN})

# GoogleTest from the machine's source package, built with whichever compiler this tree uses.
if(NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

if(WIN32)
  # Our DLLs throw the system's exception objects across module boundaries, which only works with one
  # shared copy of the C++ runtime, so it is linked as DLLs and shipped beside our binaries.
  add_compile_options(-Wall -Wno-unknown-pragmas)
  add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 NOMINMAX)
  add_link_options(-shared-libgcc -Wl,--enable-stdcall-fixup)
  foreach(dll ${ORV_RUNTIME_DLLS})
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}")
      file(GLOB path /usr/${ORV_TRIPLE}/lib/${dll} /usr/lib/gcc/${ORV_TRIPLE}/*-posix/${dll})
      list(GET path 0 path)
    endif()
    if(NOT EXISTS "${path}")
      message(FATAL_ERROR "C++ runtime ${dll} not found for ${CMAKE_CXX_COMPILER}")
    endif()
    file(COPY ${path} DESTINATION ${ORV_BIN})
  endforeach()
else()
  add_compile_options(-Wall)
endif()

# orv_add_dll(name DEF file.def SOURCES ... [LIBS ...]): a DLL whose exports come from its .def file,
# so that COM entry points and the documented names come out undecorated.
function(orv_add_dll name)
  cmake_parse_arguments(A "" "DEF" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${A_SOURCES} ${A_DEF})
  set_target_properties(${name} PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
  if(A_LIBS)
    target_link_libraries(${name} PRIVATE ${A_LIBS})
  endif()
endfunction()

# orv_add_com_server(name ...): an orv_add_dll that the test prefix and the installer register with regsvr32.
function(orv_add_com_server name)
  orv_add_dll(${name} ${ARGN})
  set_target_properties(${name} PROPERTIES ORV_COM_SERVER TRUE)
  set_property(GLOBAL APPEND PROPERTY ORV_COM_SERVERS $<TARGET_FILE:${name}>)
endfunction()

# orv_add_resource_dll(name RC file.rc [INCLUDES dirs]): a resource-only DLL with no code.
function(orv_add_resource_dll name)
  cmake_parse_arguments(A "" "RC" "INCLUDES" ${ARGN})
  add_library(${name} SHARED ${A_RC})
  set_target_properties(${name} PROPERTIES PREFIX "" LINKER_LANGUAGE C)
  target_link_options(${name} PRIVATE -nostdlib -Wl,-e,0 -s)
  foreach(dir ${A_INCLUDES})
    target_include_directories(${name} PRIVATE ${dir})
  endforeach()
endfunction()

# orv_add_gtest(name SOURCES ... [LIBS ...] [CLEAN_KEYS key...]): one GoogleTest executable, one CTest test.
# Under Wine it runs in the shared test prefix, with the test environment's X display. The prefix keeps what
# earlier runs wrote to the registry: CLEAN_KEYS (such as HKCU\\Software\\Nexlumen\\MiscTest) are deleted
# before the test starts (scripts/wine-run.sh). Add further test properties with set_property(TEST ... APPEND):
# a check at the end of the folder stops configuring when what this helper set was overwritten.
function(orv_add_gtest name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS;CLEAN_KEYS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} gtest gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(WIN32)
    set(environment "ORV_TESTENV=${ORV_TESTENV}")
    if(A_CLEAN_KEYS)
      string(REPLACE ";" "|" keys "${A_CLEAN_KEYS}")
      list(APPEND environment "ORV_CLEAN_KEYS=${keys}")
    endif()
    set_property(TEST ${name} PROPERTY FIXTURES_REQUIRED wineprefix)
    set_property(TEST ${name} PROPERTY ENVIRONMENT ${environment})
    cmake_language(EVAL CODE "cmake_language(DEFER CALL orv_check_gtest_properties [[${name}]] [[${environment}]])")
  endif()
endfunction()

# Run at the end of the folder that added test name: the fixture and environment orv_add_gtest gave it are there.
function(orv_check_gtest_properties name environment)
  get_test_property(${name} FIXTURES_REQUIRED fixtures)
  get_test_property(${name} ENVIRONMENT present)
  foreach(entry IN LISTS environment)
    if(NOT entry IN_LIST present)
      set(lost "${entry}")
    endif()
  endforeach()
  if(NOT "wineprefix" IN_LIST fixtures)
    set(lost "FIXTURES_REQUIRED wineprefix")
  endif()
  if(DEFINED lost)
    message(FATAL_ERROR "Test ${name} lost ${lost}, which orv_add_gtest set: add properties with "
                        "set_property(TEST ${name} APPEND PROPERTY ...) instead of set_tests_properties.")
  endif()
endfunction()

# orv_add_fuzzer(name SOURCES ... [LIBS ...] [SEEDS dir] [RUNS n]): a libFuzzer target in the native
# build, with a short bounded run as a test; longer runs are started by hand (docs/architecture.md).
function(orv_add_fuzzer name)
  cmake_parse_arguments(A "" "SEEDS;RUNS" "SOURCES;LIBS" ${ARGN})
  if(WIN32)
    return()
  endif()
  if(NOT A_RUNS)
    set(A_RUNS 20000)
  endif()
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E env
           sh -c "mkdir -p '${corpus}' && exec \"$0\" -runs=${A_RUNS} -max_total_time=60 '${corpus}' ${A_SEEDS}"
           $<TARGET_FILE:${name}>)
endfunction()

# Writes the list of COM servers for the test prefix and adds the fixture that prepares and ends it.
function(orv_finish_tests)
  if(NOT WIN32)
    return()
  endif()
  get_property(servers GLOBAL PROPERTY ORV_COM_SERVERS)
  string(REPLACE ";" "\n" servers "${servers}")
  file(GENERATE OUTPUT ${ORV_TESTENV}/servers.txt CONTENT "${servers}\n")
  add_test(NAME wineprefix_up COMMAND ${ORV_SOURCE_DIR}/scripts/testenv.sh up ${ORV_TESTENV})
  add_test(NAME wineprefix_down COMMAND ${ORV_SOURCE_DIR}/scripts/testenv.sh down ${ORV_TESTENV})
  set_tests_properties(wineprefix_up PROPERTIES FIXTURES_SETUP wineprefix)
  set_tests_properties(wineprefix_down PROPERTIES FIXTURES_CLEANUP wineprefix)
endfunction()

# orv_add_idl(target file.idl [NO_TYPELIB] [INCLUDES dirs] [EMBED file.rc]): runs widl on file.idl for
# target, giving NAME.h, NAME_i.c (compiled into the target) and NAME.tlb in the current binary folder; the
# header folder is added to the target. INCLUDES are further folders searched for imported IDL files.
# NO_TYPELIB is for IDL without a library block: widl makes no .tlb for it, and a declared output that never
# appears would rerun widl on every build. EMBED names the target's .rc that embeds NAME.tlb (a "1 TYPELIB"
# line), which is then compiled after the type library and finds it.
# Wine's IDL files serve only to resolve imports; the generated code compiles against mingw's headers.
set(ORV_IDL_INCLUDE /usr/include/wine/wine/windows)
find_path(ORV_STDOLE_DIR stdole2.tlb PATHS /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
function(orv_add_idl target idl)
  cmake_parse_arguments(A "NO_TYPELIB" "EMBED" "INCLUDES" ${ARGN})
  get_filename_component(name ${idl} NAME_WE)
  get_filename_component(idl_abs ${idl} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR})
  set(widl ${ORV_WIDL} --win32 -I${ORV_IDL_INCLUDE} -I${CMAKE_CURRENT_SOURCE_DIR} -L${ORV_STDOLE_DIR})
  foreach(dir ${A_INCLUDES})
    list(APPEND widl -I${dir})
  endforeach()
  set(outputs ${out}/${name}.h ${out}/${name}_i.c)
  set(commands COMMAND ${widl} -h -H ${out}/${name}.h ${idl_abs} COMMAND ${widl} -u -o ${out}/${name}_i.c ${idl_abs})
  if(NOT A_NO_TYPELIB)
    list(APPEND outputs ${out}/${name}.tlb)
    list(APPEND commands COMMAND ${widl} -t -o ${out}/${name}.tlb ${idl_abs})
  endif()
  add_custom_command(OUTPUT ${outputs} ${commands} DEPENDS ${idl_abs} COMMENT "widl ${name}.idl")
  target_sources(${target} PRIVATE ${out}/${name}.h ${out}/${name}_i.c)
  target_include_directories(${target} PUBLIC ${out})
  if(A_EMBED)
    set_source_files_properties(${A_EMBED} PROPERTIES OBJECT_DEPENDS ${out}/${name}.tlb
                                INCLUDE_DIRECTORIES "${out};${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
endfunction()
