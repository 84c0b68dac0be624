# cmake -DSOURCE=<lottery.data> -DTARGET_DIR=<data folder> -P CopyDefaultData.cmake
file(MAKE_DIRECTORY "${TARGET_DIR}")
if(NOT EXISTS "${TARGET_DIR}/lottery.data")
  file(COPY_FILE "${SOURCE}" "${TARGET_DIR}/lottery.data")
endif()
