# cmake --install puts the run-time libraries, their headers (in the tree's
# include layout: "clx/Forms.h", "runtime/ZxLangRuntime.h") and a package
# configuration in place, so that a program outside the tree links them with
# find_package(TzxLang) and TzxLang::zxruntime (or TzxLang::zxeditor for the
# Translation Editor at run time).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZX_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/TzxLang)
set(ZX_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/TzxLang)

install(TARGETS rtl clx zxruntime zxeditor EXPORT TzxLangTargets
  INCLUDES DESTINATION ${ZX_INSTALL_INCLUDEDIR})
install(DIRECTORY platform/rtl platform/clx runtime editor
  DESTINATION ${ZX_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(EXPORT TzxLangTargets NAMESPACE TzxLang:: DESTINATION ${ZX_INSTALL_CMAKEDIR})

configure_package_config_file(cmake/TzxLangConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/TzxLangConfig.cmake INSTALL_DESTINATION ${ZX_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TzxLangConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TzxLangConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/TzxLangConfigVersion.cmake
  DESTINATION ${ZX_INSTALL_CMAKEDIR})
