# cmake -DSOURCE=<lottery.data> -DTARGET_DIR=<data folder> -P CopyDefaultData.cmake
# A new data folder gets the built-in lotteries and, beside them, their prizes
# (prize.data next to SOURCE); a folder that has its lottery.data is the user's.
file(MAKE_DIRECTORY "${TARGET_DIR}")
if(NOT EXISTS "${TARGET_DIR}/lottery.data")
  get_filename_component(SOURCE_DIR "${SOURCE}" DIRECTORY)
  if(NOT EXISTS "${TARGET_DIR}/prize.data")
    file(COPY_FILE "${SOURCE_DIR}/prize.data" "${TARGET_DIR}/prize.data")
  endif()
  file(COPY_FILE "${SOURCE}" "${TARGET_DIR}/lottery.data")
endif()
