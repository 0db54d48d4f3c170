# What the installer ships and does, written by the build as build/<tree>/package/manifest.txt for scripts/package.sh.
include_guard(GLOBAL)

# Every program, library and resource library of the product is found by walking the source tree's folders:
# targets in folders named tests, bench, tools or scripts, and GoogleTest programs anywhere, are the developers'
# and stay out. So a new module needs
# nothing here; only what the walk cannot know is declared: files that are not targets (orv_package_files), the
# "Location" keys other programs read (orv_package_location), registration by a tool of the module's own
# (orv_package_register) and registry keys a program writes for itself at run time (orv_package_keys).
set(ORV_PACKAGE_EXCLUDED_FOLDERS tests bench tools scripts)

# orv_package_files(file...): files the build makes that are not targets, shipped beside the programs.
function(orv_package_files)
  set_property(GLOBAL APPEND PROPERTY ORV_PACKAGE_FILES ${ARGN})
endfunction()

# orv_package_location(target KEY key FOLDER|FILE): the installer writes "Path" under HKEY_CURRENT_USER key:
# the program folder (FOLDER) or the target's full path (FILE); the uninstaller deletes the key.
function(orv_package_location target)
  cmake_parse_arguments(A "FOLDER;FILE" "KEY" "" ${ARGN})
  if(A_FOLDER)
    set(what folder)
  else()
    set(what file)
  endif()
  set_property(GLOBAL APPEND PROPERTY ORV_PACKAGE_STEPS "location\t${what}\t$<TARGET_FILE:${target}>\t${A_KEY}")
endfunction()

# orv_package_register(target INSTALL args UNINSTALL args): a program of the package that registers something
# itself; the installer runs it with the INSTALL arguments, the uninstaller with the UNINSTALL ones.
function(orv_package_register target)
  cmake_parse_arguments(A "" "INSTALL;UNINSTALL" "" ${ARGN})
  set_property(GLOBAL APPEND PROPERTY ORV_PACKAGE_STEPS
               "register\t$<TARGET_FILE:${target}>\t${A_INSTALL}\t${A_UNINSTALL}")
endfunction()

# orv_package_shortcut(target NAME): a Start-menu shortcut to the program target.
function(orv_package_shortcut target name)
  set_property(GLOBAL APPEND PROPERTY ORV_PACKAGE_STEPS "shortcut\t$<TARGET_FILE:${target}>\t${name}")
endfunction()

# orv_package_keys(ROOT key...): keys the programs write at run time (their settings, the host's automation
# class), deleted whole by the uninstaller. ROOT is HKCU, HKLM or HKCR.
function(orv_package_keys root)
  foreach(key ${ARGN})
    set_property(GLOBAL APPEND PROPERTY ORV_PACKAGE_STEPS "key\t${root}\t${key}")
  endforeach()
endfunction()

# What the product's programs need beyond their files. Declared here, in one place, for modules that exist in this
# tree; a module may as well call these helpers in its own CMakeLists.txt.
function(orv_package_product)
  if(TARGET Orvane)
    # The host reads its folder from here (help pages) and so does the shell extension (the program to start).
    orv_package_shortcut(Orvane "Orvane")
    orv_package_location(Orvane FOLDER KEY "Software\\Nexlumen\\Orvane\\Location")
    # Settings of the host and its launch items, and the automation class it registers at every start.
    orv_package_keys(HKCU "Software\\Nexlumen\\Orvane")
    orv_package_keys(HKCR "Forge.Automation" "CLSID\\{593DA147-A93F-11D1-B44F-00A0148F3AF9}")
  endif()
  if(TARGET gallery)
    orv_package_location(gallery FILE KEY "Software\\Nexlumen\\Gallery\\Location")
    orv_package_keys(HKCU "Software\\Nexlumen\\Gallery")
    # A component's unregistration leaves its class key with the categories it implements.
    orv_package_keys(HKCR "CLSID\\{78310281-AFCD-11D2-ACD0-00A0248F3AF9}")
    # The thumbnail cache the Gallery writes into the sample folder it shows.
    orv_package_leftovers("Sample Pictures\\Thumbnails.nxc")
  endif()
  if(TARGET quillo)
    orv_package_shortcut(quillo "Quillo Postcards")
    orv_package_location(quillo FILE KEY "Software\\Nexlumen\\Quillo\\Location")
    orv_package_keys(HKCU "Software\\Nexlumen\\Quillo")
    # Where quillo records itself for the others besides its key, and its outbox beside the program (removed when
    # empty: cards still waiting there are the user's).
    orv_package_ini("NEXLUMEN.INI" quillo)
    orv_package_leftover_folders(outbox)
  endif()
  # The categories our servers register in: a server leaves its category registered, since other servers may
  # share it; the suite's uninstaller takes them out with the last of its servers.
  if(TARGET gallery)
    orv_package_keys(HKCR "Component Categories\\{1F88D681-AF7D-11D2-ACD0-00A0248F3AF9}")  # NXComponents
  endif()
  if(TARGET NXJPEGCOM OR TARGET NXLEADCOM)
    orv_package_keys(HKCR "Component Categories\\{DED72480-B9D1-11D1-9538-00A0244D4200}")  # image libraries
  endif()
  if(TARGET OrvaneExtReg)
    orv_package_register(OrvaneExtReg INSTALL install UNINSTALL uninstall)
  endif()
endfunction()

# orv_package_ini(file section): a section a program writes into a profile file in the Windows folder; the
# uninstaller deletes it, and the file when nothing else is left in it.
function(orv_package_ini file section)
  set_property(GLOBAL APPEND PROPERTY ORV_PACKAGE_STEPS "ini\t${file}\t${section}")
endfunction()

# orv_package_leftovers(name...): files the programs make inside the program folder (relative names), which the
# uninstaller deletes so that the folder goes.
function(orv_package_leftovers)
  foreach(name ${ARGN})
    set_property(GLOBAL APPEND PROPERTY ORV_PACKAGE_STEPS "leftover\t${name}")
  endforeach()
endfunction()

# orv_package_leftover_folders(name...): folders the programs make inside the program folder, which the
# uninstaller removes when they are empty.
function(orv_package_leftover_folders)
  foreach(name ${ARGN})
    set_property(GLOBAL APPEND PROPERTY ORV_PACKAGE_STEPS "leftdir\t${name}")
  endforeach()
endfunction()

function(orv_package_collect dir)
  file(RELATIVE_PATH relative ${ORV_SOURCE_DIR} ${dir})
  if(relative MATCHES "^\\.\\.")
    return()  # outside the source tree (GoogleTest)
  endif()
  foreach(part ${ORV_PACKAGE_EXCLUDED_FOLDERS})
    if("/${relative}/" MATCHES "/${part}/")
      return()
    endif()
  endforeach()
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    get_target_property(links ${target} LINK_LIBRARIES)
    if(NOT links)
      set(links "")
    endif()
    if("gtest" IN_LIST links OR "gtest_main" IN_LIST links)
      continue()  # a test program beside the code it tests
    endif()
    if(type STREQUAL "EXECUTABLE" OR type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
      set_property(GLOBAL APPEND PROPERTY ORV_PACKAGE_TARGETS ${target})
      get_target_property(server ${target} ORV_COM_SERVER)
      if(server)
        set_property(GLOBAL APPEND PROPERTY ORV_PACKAGE_LINES "comserver\t$<TARGET_FILE:${target}>")
      else()
        set_property(GLOBAL APPEND PROPERTY ORV_PACKAGE_LINES "file\t$<TARGET_FILE:${target}>")
      endif()
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    orv_package_collect(${sub})
  endforeach()
endfunction()

# Called once at the end of the root CMakeLists.txt: writes the manifest, one tab-separated line per step:
#   file PATH | comserver PATH | location folder|file PATH KEY | register PATH INSTALL UNINSTALL | key ROOT KEY
#   | shortcut PATH NAME | ini FILE SECTION | leftover NAME | leftdir NAME (a file the programs make inside the program folder, relative to it)
function(orv_finish_package)
  if(NOT WIN32)
    return()
  endif()
  set_property(GLOBAL PROPERTY ORV_PACKAGE_LINES "")
  set_property(GLOBAL PROPERTY ORV_PACKAGE_TARGETS "")
  orv_package_product()
  orv_package_collect(${ORV_SOURCE_DIR})
  foreach(dll ${ORV_RUNTIME_DLLS})
    set_property(GLOBAL APPEND PROPERTY ORV_PACKAGE_LINES "file\t${ORV_BIN}/${dll}")
  endforeach()
  get_property(files GLOBAL PROPERTY ORV_PACKAGE_FILES)
  foreach(file ${files})
    set_property(GLOBAL APPEND PROPERTY ORV_PACKAGE_LINES "file\t${file}")
  endforeach()
  get_property(lines GLOBAL PROPERTY ORV_PACKAGE_LINES)
  get_property(steps GLOBAL PROPERTY ORV_PACKAGE_STEPS)
  list(APPEND lines ${steps})
  string(REPLACE ";" "\n" content "${lines}")
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/package/manifest.txt CONTENT "${content}\n")
  # The targets that make the files, for building only what the package needs.
  get_property(targets GLOBAL PROPERTY ORV_PACKAGE_TARGETS)
  string(REPLACE ";" "\n" content "${targets}")
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/package/targets.txt CONTENT "${content}\n")
endfunction()
