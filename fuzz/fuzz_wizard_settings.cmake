# The wizard's settings code alone: the rest of its library is the method editors' windows.
target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src/method_editors/QWizzSettings.cpp)
target_link_libraries(${name} PRIVATE vyn_evaluator vyn_plate)
