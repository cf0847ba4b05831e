# The core's layers as libraries. Each links only the layers below it, and each is also linked on
# its own, all of its object files with nothing above them (orvek_layer_link_<name>), so a call from
# a lower layer into a higher one fails the build as well as the `layers` test.

set(ORVEK_CORE_LAYERS "")

function(orvek_core_layer name)
  add_library(${name} STATIC)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN} PRIVATE orvek_warnings)
  set(ORVEK_CORE_LAYERS ${ORVEK_CORE_LAYERS} ${name} PARENT_SCOPE)
endfunction()

function(orvek_check_layer_links)
  foreach(layer IN LISTS ORVEK_CORE_LAYERS)
    add_executable(orvek_layer_link_${layer} ${PROJECT_SOURCE_DIR}/cmake/LayerLinkMain.cpp $<TARGET_OBJECTS:${layer}>)
    get_target_property(below ${layer} INTERFACE_LINK_LIBRARIES)
    if(below)
      target_link_libraries(orvek_layer_link_${layer} PRIVATE ${below})
    endif()
  endforeach()
endfunction()
