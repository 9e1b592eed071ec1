# Fails when a file includes a header of a floor above its own. The floors,
# lowest first; folders of one floor may include each other.
#   cmake -DSOURCE=<src folder> -P floors.cmake
set(FLOORS
  "core"
  "db"
  "sheets"
  "stores"
  "figures"
  "ui"
  "grid,reportengine"
  "bills,cards,masterdata,reports,support"
  "app"
  "tools")
set(rank 0)
foreach(floor ${FLOORS})
  string(REPLACE "," ";" folders "${floor}")
  foreach(folder ${folders})
    set(RANK_${folder} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

file(GLOB_RECURSE files RELATIVE ${SOURCE} ${SOURCE}/*.cpp ${SOURCE}/*.h)
set(wrong "")
foreach(file ${files})
  string(REGEX MATCH "^[^/]+" own "${file}")
  if(NOT DEFINED RANK_${own})
    string(APPEND wrong "\n  ${file}: the folder ${own} stands on no floor")
    continue()
  endif()
  file(STRINGS ${SOURCE}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[^/\"]+/")
  foreach(line ${includes})
    string(REGEX REPLACE "^[^\"]*\"([^/\"]+)/.*$" "\\1" folder "${line}")
    if(DEFINED RANK_${folder} AND RANK_${folder} GREATER RANK_${own})
      string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
      string(APPEND wrong "\n  ${file} includes ${header}, a floor above its own")
    endif()
  endforeach()
endforeach()
if(wrong)
  message(FATAL_ERROR "Includes that point up:${wrong}")
endif()
list(LENGTH files count)
message(STATUS "${count} files, every include points down or across")
