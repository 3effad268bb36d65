# The example installer of examples/nsis built around this build's DLL
# (offer-setup.exe, 32- or 64-bit like the build), and offerclick, which
# answers an installer's consent dialog as a user would.
add_executable(offerclick tools/offerclick.c)
target_link_libraries(offerclick PRIVATE user32)
target_link_options(offerclick PRIVATE -static)

option(MIREL_INSTALLERS "Build the example installer (needs makensis, Debian package nsis)" ON)
if(NOT MIREL_INSTALLERS)
  return()
endif()
find_program(MIREL_MAKENSIS makensis)
if(NOT MIREL_MAKENSIS)
  message(FATAL_ERROR "makensis not found: install the Debian package nsis (tools/deps.sh) "
    "or configure with -DMIREL_INSTALLERS=OFF")
endif()

set(MIREL_OFFER_FILE ${CMAKE_SOURCE_DIR}/examples/offer.txt)
set(MIREL_NSIS_INSTALLER ${CMAKE_BINARY_DIR}/offer-setup.exe)
set(nsis_target_args)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(nsis_target_args -DAMD64)
endif()
add_custom_command(OUTPUT ${MIREL_NSIS_INSTALLER}
  COMMAND ${MIREL_MAKENSIS} -V2 -WX ${nsis_target_args}
    -DMIREL_DLL=$<TARGET_FILE:MirelDialog> -DOFFER=${MIREL_OFFER_FILE}
    -DOUTFILE=${MIREL_NSIS_INSTALLER} ${CMAKE_SOURCE_DIR}/examples/nsis/offer.nsi
  DEPENDS MirelDialog ${CMAKE_SOURCE_DIR}/examples/nsis/offer.nsi ${MIREL_OFFER_FILE}
  VERBATIM)
add_custom_target(offer_setup ALL DEPENDS ${MIREL_NSIS_INSTALLER})
