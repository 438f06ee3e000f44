# cmake -DSOURCE=file -DDESTINATION=dir -P CopyIfPresent.cmake
# Copies a library built outside this build into the kit when it exists, so a
# configuration without that sub-build still assembles the rest of the kit.
if(EXISTS "${SOURCE}")
  file(COPY "${SOURCE}" DESTINATION "${DESTINATION}")
else()
  message(STATUS "Kit: ${SOURCE} not built, left out")
endif()
