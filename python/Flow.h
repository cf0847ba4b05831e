#pragma once
// The flow about an airfoil for Python: Airfoil.field and Airfoil.streamlines.

#include "solver/Airfoil.h"

#include <pybind11/pybind11.h>

namespace orvek::python {

// Adds the classes Field and Streamline to the module and the two methods to Airfoil.
void addFlow(pybind11::module_& m, pybind11::class_<Airfoil>& airfoil);

}  // namespace orvek::python
