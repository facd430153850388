# zx_add_form_data(<target> <form files...>)
# Compiles each text form file into the target as generated data: the unit
# next to Name.xfm reads it through FormData_Name().
set(ZX_FORM_DATA_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/ZxFormData.cmake)
function(zx_add_form_data target)
  foreach(form ${ARGN})
    get_filename_component(name ${form} NAME_WE)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/forms/${name}_xfm.cpp)
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${form} -DOUTPUT=${output} -DNAME=${name}
              -P ${ZX_FORM_DATA_SCRIPT}
      DEPENDS ${form} ${ZX_FORM_DATA_SCRIPT}
      COMMENT "Form data ${name}.xfm")
    target_sources(${target} PRIVATE ${output})
  endforeach()
endfunction()
