#pragma once
// An airfoil as one column of a data-driven test: QTest::addColumn<orvek::Airfoil>("airfoil"),
// rows `<< orvek::Airfoil{0.1, 0.05, 1.9}`.

#include "solver/Airfoil.h"

#include <QMetaType>

Q_DECLARE_METATYPE(orvek::Airfoil)
