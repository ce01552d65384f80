# The installed program folder is flat: the programs, orvan-initdb and
# libTempix sit side by side in the installation prefix, and the programs find
# system/, reports/ and documentation/ below the folder they run from. Their
# run path is $ORIGIN, so the folder keeps working wherever it is copied.
#
#     cmake --install <build> --prefix <program folder>

# Installs the program or shared library `target` into the program folder.
# Installing a target a second time (from its own folder and from the top) is
# a no-op.
function(orvan_install_program target)
  get_target_property(already ${target} ORVAN_INSTALLED)
  if(already)
    return()
  endif()
  set_target_properties(${target} PROPERTIES
    ORVAN_INSTALLED TRUE
    INSTALL_RPATH "$ORIGIN"
    # Only $ORIGIN: no folder of the build tree or of this machine is kept.
    INSTALL_RPATH_USE_LINK_PATH FALSE)
  install(TARGETS ${target}
    RUNTIME DESTINATION . COMPONENT programs
    # libTempix.so.<major> and libTempix.so.<version>; the development link
    # libTempix.so is of no use to the programs.
    LIBRARY DESTINATION . COMPONENT programs NAMELINK_SKIP)
endfunction()
