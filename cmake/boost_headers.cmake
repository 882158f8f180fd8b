# Boost is used header-only. The cross compiler must never see the build machine's own
# /usr/include, so it gets a folder that holds nothing but a link to the Boost headers.
set(VANTOR_BOOST_HEADERS /usr/include/boost CACHE PATH "Folder of the Boost headers (the one named boost)")
if(NOT EXISTS ${VANTOR_BOOST_HEADERS}/version.hpp)
  message(FATAL_ERROR "No Boost headers in ${VANTOR_BOOST_HEADERS}: install libboost1.81-dev or set VANTOR_BOOST_HEADERS.")
endif()
set(VANTOR_BOOST_INCLUDE ${CMAKE_BINARY_DIR}/boost-include)
file(MAKE_DIRECTORY ${VANTOR_BOOST_INCLUDE})
file(CREATE_LINK ${VANTOR_BOOST_HEADERS} ${VANTOR_BOOST_INCLUDE}/boost SYMBOLIC COPY_ON_ERROR)

add_library(boost_headers INTERFACE)
target_include_directories(boost_headers SYSTEM INTERFACE ${VANTOR_BOOST_INCLUDE})
