#include "python/Numbers.h"

#include <limits>
#include <string>

namespace py = pybind11;

namespace orvek::python {

namespace {

// numpy's arrays and scalars say their dimensions and kind; other objects have neither.
bool isBool(py::handle value) {
    if (PyBool_Check(value.ptr())) return true;
    if (!py::hasattr(value, "dtype")) return false;
    const py::object dtype = value.attr("dtype");
    return py::hasattr(dtype, "kind") && py::str(dtype.attr("kind")).cast<std::string>() == "b";
}

py::ssize_t dimensions(py::handle value) {
    if (!py::hasattr(value, "ndim")) return 0;
    const py::object ndim = value.attr("ndim");
    return PyLong_Check(ndim.ptr()) ? ndim.cast<py::ssize_t>() : 0;
}

}  // namespace

void requireNumber(py::handle value) {
    // Floats (numpy.float64 among them) and ints first, without a look at attributes.
    if (PyFloat_CheckExact(value.ptr()) || (PyLong_Check(value.ptr()) && !PyBool_Check(value.ptr()))) return;
    if (isBool(value)) {
        throw py::type_error("A number is needed here, not the truth value " + py::repr(value).cast<std::string>() + ".");
    }
    if (dimensions(value) > 0) {
        throw py::type_error("A number is needed here, not an array of shape " +
                             py::str(value.attr("shape")).cast<std::string>() + "; pass one of its values.");
    }
}

double wholeNumber(py::handle value) {
    if (isBool(value)) {
        throw py::type_error("An integer is needed here, not the truth value " + py::repr(value).cast<std::string>() +
                             ".");
    }
    const py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr()));
    if (!index) throw py::error_already_set();  // TypeError: '...' object cannot be interpreted as an integer
    const double count = PyLong_AsDouble(index.ptr());
    if (count == -1.0 && PyErr_Occurred()) {
        if (!PyErr_ExceptionMatches(PyExc_OverflowError)) throw py::error_already_set();
        PyErr_Clear();
        const bool negative = PyObject_RichCompareBool(index.ptr(), py::int_(0).ptr(), Py_LT) == 1;
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    return count;
}

}  // namespace orvek::python
