#pragma once
// The core's failures as Python exceptions.

#include "solver/Expected.h"

#include <pybind11/pybind11.h>

#include <utility>

namespace orvek::python {

// The value of a calculation, or ValueError with the core's reason.
template <typename T>
T valueOrRaise(Expected<T>&& e) {
    if (!e) throw pybind11::value_error(e.error());
    return std::move(*e);
}

}  // namespace orvek::python
