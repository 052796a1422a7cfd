# Precompiled headers. Parsing the standard library, Qt, GoogleTest and CLI11
# takes three quarters of a typical compile here, so each kind of target reuses
# one precompiled set of the headers it nearly always includes. Targets are
# sorted into kinds after every directory has been added, so the area
# CMakeLists stay free of build-speed plumbing.

option(ZANTOR_PCH "Precompile the common headers" ON)

set(_zantor_pch_std
  <algorithm> <array> <chrono> <cstdint> <cstdio> <deque> <filesystem> <functional>
  <map> <memory> <optional> <string> <string_view> <utility> <vector>)
set(_zantor_pch_widgets
  <QAction> <QApplication> <QCheckBox> <QDialog> <QDialogButtonBox> <QGroupBox>
  <QGridLayout> <QFormLayout> <QHBoxLayout> <QLabel> <QLineEdit> <QMenu> <QMenuBar>
  <QPushButton> <QRadioButton> <QString> <QTimer> <QVBoxLayout> <QWidget>)

# A target of one empty file that owns a precompiled header set. It is a
# library for libraries and a program for programs: g++ only takes a header
# precompiled with the same -fPIC or -fPIE as the file that uses it.
function(_zantor_pch_base kind type)
  set(anchor ${CMAKE_BINARY_DIR}/pch/${kind}.cpp)
  if(type STREQUAL "EXECUTABLE")
    set(text "int main() { return 0; }\n")
    add_executable(zantor_pch_${kind} ${anchor})
  else()
    set(text "// Owns the precompiled headers of the ${kind} libraries.\n")
    add_library(zantor_pch_${kind} STATIC ${anchor})
  endif()
  file(CONFIGURE OUTPUT ${anchor} CONTENT "${text}")
  set_target_properties(zantor_pch_${kind} PROPERTIES PCH_TYPE ${type})
  target_link_libraries(zantor_pch_${kind} PRIVATE ${ARGN})
endfunction()

function(_zantor_collect_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _zantor_collect_targets(${sub} found)
    list(APPEND targets ${found})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(_zantor_pch_kind target out)
  set(kind "")
  get_target_property(type ${target} TYPE)
  get_target_property(dir ${target} SOURCE_DIR)
  get_target_property(libs ${target} LINK_LIBRARIES)
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${dir})
  if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE)$" OR rel MATCHES "^(bench|tests/fuzz)")
    set(kind "")
  elseif("Qt6::Test" IN_LIST libs)
    set(kind qtest)
  elseif("GTest::gtest_main" IN_LIST libs)
    set(kind gtest)
  elseif(rel STREQUAL "src/cli")
    set(kind cli)
  elseif(rel MATCHES "^src/(app|[a-z]+/ui)$")
    set(kind widgets)
  elseif(rel MATCHES "^(src|tests/support)")
    set(kind std)
  endif()
  set(${out} ${kind} PARENT_SCOPE)
endfunction()

function(zantor_apply_precompiled_headers)
  if(NOT ZANTOR_PCH OR ZANTOR_FUZZ)
    return()
  endif()
  _zantor_collect_targets(${PROJECT_SOURCE_DIR} targets)

  _zantor_pch_base(std STATIC_LIBRARY)
  target_precompile_headers(zantor_pch_std PRIVATE ${_zantor_pch_std})
  _zantor_pch_base(gtest EXECUTABLE GTest::gtest)
  target_precompile_headers(zantor_pch_gtest PRIVATE ${_zantor_pch_std} <gtest/gtest.h>)
  find_package(CLI11 REQUIRED)
  _zantor_pch_base(cli EXECUTABLE CLI11::CLI11 Qt6::Core)
  target_precompile_headers(zantor_pch_cli PRIVATE ${_zantor_pch_std} <CLI/CLI.hpp>)
  if(NOT ZANTOR_LOGIC_ONLY)
    _zantor_pch_base(widgets STATIC_LIBRARY Qt6::Widgets)
    target_precompile_headers(zantor_pch_widgets PRIVATE ${_zantor_pch_std} ${_zantor_pch_widgets})
    # QtTest tells each test its own folders through macros the header tests;
    # they would make the shared header unusable, and no test looks them up.
    _zantor_pch_base(qtest EXECUTABLE Qt6::Test Qt6::Widgets)
    target_precompile_headers(zantor_pch_qtest PRIVATE
      ${_zantor_pch_std} ${_zantor_pch_widgets} <QtTest>)
  endif()

  foreach(target IN LISTS targets)
    _zantor_pch_kind(${target} kind)
    if(kind STREQUAL "" OR NOT TARGET zantor_pch_${kind})
      continue()
    endif()
    get_target_property(type ${target} TYPE)
    get_target_property(baseType zantor_pch_${kind} PCH_TYPE)
    if(NOT type STREQUAL baseType)
      continue()
    endif()
    target_precompile_headers(${target} REUSE_FROM zantor_pch_${kind})
    if(kind STREQUAL "qtest")
      target_compile_options(${target} PRIVATE -UQT_TESTCASE_BUILDDIR -UQT_TESTCASE_SOURCEDIR)
      # A test includes its own moc output, so the file that gathers moc
      # outputs is empty: loading the large header set for it costs seconds.
      get_target_property(binaryDir ${target} BINARY_DIR)
      set_source_files_properties(${binaryDir}/${target}_autogen/mocs_compilation.cpp
        TARGET_DIRECTORY ${target} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    endif()
  endforeach()
  if(TARGET zantor_pch_qtest)
    target_compile_options(zantor_pch_qtest PRIVATE -UQT_TESTCASE_BUILDDIR -UQT_TESTCASE_SOURCEDIR)
  endif()
endfunction()
