#pragma once
// Numbers as the module's arguments take them. pybind11 alone reads any object with __float__
// or __index__ as a number, so True became 1 and numpy.array([5.0]) became 5; here a bool and an
// array of one or more dimensions are a TypeError with a sentence, while a float, an int, a numpy
// scalar, a 0-dimensional array, a Fraction or a Decimal are numbers as before. Included by every
// source of the module that binds a function taking a double, before any binding.

#include <pybind11/pybind11.h>

namespace orvek::python {

// TypeError, saying what was given, unless `value` may stand for one number.
void requireNumber(pybind11::handle value);

// An integer argument (np, count): any Python or numpy integer, never a float, a bool or an array
// (TypeError); ±infinity beyond the range of a double, for the caller to refuse with its limit.
double wholeNumber(pybind11::handle value);

}  // namespace orvek::python

namespace pybind11::detail {

// Every double argument of the module, also inside std::optional and std::array.
template <>
struct type_caster<double> {
    PYBIND11_TYPE_CASTER(double, const_name("float"));

    bool load(handle src, bool convert) {
        if (!src || !(convert || PyFloat_Check(src.ptr()))) return false;
        orvek::python::requireNumber(src);
        const double v = PyFloat_AsDouble(src.ptr());
        if (v == -1.0 && PyErr_Occurred()) {
            PyErr_Clear();  // pybind11 then raises TypeError naming the arguments it takes
            return false;
        }
        value = v;
        return true;
    }

    static handle cast(double src, return_value_policy /*policy*/, handle /*parent*/) {
        return PyFloat_FromDouble(src);
    }
};

}  // namespace pybind11::detail
