# SPDX-License-Identifier: MIT
# The module's numbers against orvek-batch on the same inputs, bit for bit, and its refusals
# against orvek-batch's sentences.
import json
import math

import numpy
import pytest

import orvek

AIRFOILS = [
    (0.1, 0.05, 1.9),   # cambered Karman-Trefftz
    (0.1, 0.05, 2.0),   # Joukowsky
    (0.0, 0.08, 2.0),   # circular arc: F = 0, the leading-edge point is not reached
    (0.2, 0.0, 1.8),    # symmetric
]


def same_bits(values, expected):
    """Equal as doubles, NaN where orvek-batch writes null."""
    got = numpy.asarray(values, dtype=numpy.float64)
    want = numpy.array([math.nan if v is None else v for v in expected], dtype=numpy.float64)
    return got.shape == want.shape and got.tobytes() == want.tobytes()


def airfoil_options(F, G, m):
    return ["--F", repr(F), "--G", repr(G), "--m", repr(m)]


@pytest.mark.parametrize("F,G,m", AIRFOILS)
@pytest.mark.parametrize("alpha,np", [(5.0, 51), (-7.25, 12), (1.0, 2), (3.0, 20001)])
def test_solve_is_orvek_batch_solve(batch, F, G, m, alpha, np):
    s = orvek.Airfoil(F, G, m).solve(alpha, np=np)
    expected = json.loads(batch.output("solve", *airfoil_options(F, G, m), "--alpha", repr(alpha), "--np", np))
    assert (s.CL, s.CMc4, s.Alfa0) == (expected["CL"], expected["CMc4"], expected["Alfa0"])
    for got, name in ((s.x, "x"), (s.y, "y"), (s.one_minus_cp, "OneMinusCp")):
        assert got.dtype == numpy.float64 and got.shape == (np,)
        assert same_bits(got, expected[name]), name


def test_unreached_points_are_nan_in_every_array(batch):
    s = orvek.Airfoil(0.0, 0.08).solve(4.0, np=21)
    unset = numpy.isnan(s.x)
    assert unset.any()  # an F = 0 airfoil at odd NP leaves its leading-edge point unset
    assert (numpy.isnan(s.y) == unset).all() and (numpy.isnan(s.one_minus_cp) == unset).all()
    expected = json.loads(batch.output("solve", *airfoil_options(0.0, 0.08, 2.0), "--alpha", 4, "--np", 21))
    assert [v is None for v in expected["x"]] == unset.tolist()


def test_arrays_share_one_owner_that_outlives_the_solution():
    s = orvek.Airfoil(0.1, 0.05, 1.9).solve(5.0, np=1001)
    x, y, one_minus_cp = s.x, s.y, s.one_minus_cp
    # Views of the core's own arrays, not copies: one owner behind all three.
    assert x.base is not None and x.base is y.base is one_minus_cp.base
    assert not x.flags.owndata and x.flags.c_contiguous
    copy = x.copy(), y.copy(), one_minus_cp.copy()
    del s
    again = orvek.Airfoil(0.3, -0.02, 1.7).solve(-3.0, np=1001)  # would reuse freed memory
    assert all(a.tobytes() == b.tobytes() for a, b in zip((x, y, one_minus_cp), copy))
    assert again.x.base is not x.base


@pytest.mark.parametrize("F,G,m", [(0.1, 0.05, 1.9), (0.0, 0.08, 2.0)])
@pytest.mark.parametrize("first,last,step,np", [(-4, 12, 0.5, 201), (10, -10, -2.5, 51), (3, 3, 1, 31)])
def test_sweep_is_orvek_batch_sweep(batch, F, G, m, first, last, step, np):
    p = orvek.Airfoil(F, G, m).sweep(first, last, step, np=np)
    assert list(p) == ["alpha", "CL", "CMc4", "Alfa0", "CpMin", "xCpMin", "surface"]
    lines = batch.output("sweep", *airfoil_options(F, G, m), "--from", first, "--to", last, "--step", step,
                         "--np", np).decode().splitlines()
    header, rows = lines[0].split(","), [line.split(",") for line in lines[1:]]
    assert header[:6] == list(p)[:6] and header[6] == "surfaceCpMin"
    for k, name in enumerate(header[:6]):
        assert p[name].dtype == numpy.float64
        assert same_bits(p[name], [float(r[k]) for r in rows]), name
    assert p["surface"].tolist() == [r[6] for r in rows]


@pytest.mark.parametrize("F,G,m", [(0.1, 0.05, 1.9), (0.0, 0.08, 2.0), (0.05, -0.03, 1.95), (0.3, 0.0, 2.0)])
def test_describe_is_orvek_batch_describe(batch, F, G, m):
    d = orvek.Airfoil(F, G, m).describe()
    line = batch.output("describe", *airfoil_options(F, G, m)).decode().strip().split(",")
    # The catalogue line rounds Delta, Gama and xDltC to 4 decimals and Tau to 2.
    assert [float(v) for v in line[:4]] == [round(d.Delta, 4), round(d.Gama, 4), round(d.xDltC, 4), round(d.Tau, 2)]
    assert [float(v) for v in line[4:]] == [F, G, m]
    assert 0.0 < d.xGama < 1.0 or G == 0.0


@pytest.mark.parametrize("thickness,camber,te_angle", [(0.15, 0.03, 12), (0.12, 0.0, 0), (0.2, -0.05, 25)])
def test_design_is_orvek_batch_design(batch, thickness, camber, te_angle):
    b = orvek.Airfoil.design(thickness=thickness, camber=camber, te_angle=te_angle)
    expected = json.loads(batch.output("design", "--thickness", thickness, "--camber", camber,
                                       "--te-angle", te_angle, "--format", "json"))
    assert isinstance(b, orvek.Airfoil)
    assert (b.F, b.G, b.m) == (expected["F"], expected["G"], expected["m"])
    reached = b.describe()
    assert reached.Delta == pytest.approx(thickness, abs=1e-9) and reached.Gama == pytest.approx(camber, abs=1e-9)


@pytest.mark.parametrize("form", ["selig", "lednicer", "csv"])
@pytest.mark.parametrize("F,G,m,np,alpha,name", [
    (0.1, 0.05, 1.9, 161, 0.0, None),
    (0.0, 0.08, 2.0, 41, 6.5, None),
    (0.12, -0.02, 1.85, 40, -3.0, "wing root"),
])
def test_coordinates_are_orvek_batch_export(batch, form, F, G, m, np, alpha, name):
    text = orvek.Airfoil(F, G, m).coordinates(format=form, np=np, alpha=alpha, name=name)
    options = ["--name", name] if name is not None else []
    expected = batch.output("export", *airfoil_options(F, G, m), "--format", form, "--np", np, "--alpha", repr(alpha),
                            *options)
    assert isinstance(text, str) and text.encode() == expected


def test_coordinates_default_to_selig_at_161_points(batch):
    expected = batch.output("export", *airfoil_options(0.1, 0.05, 1.9), "--format", "selig")
    assert orvek.Airfoil(0.1, 0.05, 1.9).coordinates().encode() == expected


# --- refusals: ValueError with the sentence orvek-batch prints, nothing printed ------------------

@pytest.mark.parametrize("F,G,m,alpha,re,ncrit,trip,mach", [
    (0.1, 0.05, 1.95, 2.0, 3e6, 9.0, (None, None), 0.3),
    (0.1, 0.0, 2.0, -1.0, 1e6, 7.0, (0.2, None), 0.0),
    (0.0, 0.0, 2.0, 0.0, 1e5, 9.0, (None, None), 0.0),  # the flat plate: the layer starts at its edge
])
def test_viscous_estimate_is_orvek_batch_solve_re(batch, F, G, m, alpha, re, ncrit, trip, mach):
    s = orvek.Airfoil(F, G, m).solve(alpha, np=21, re=re, ncrit=ncrit, trip=trip, mach=mach)
    options = ["--re", repr(re), "--ncrit", repr(ncrit)]
    for side, x in zip(("upper", "lower"), trip):
        if x is not None:
            options += ["--trip-" + side, repr(x)]
    if mach:
        options += ["--mach", repr(mach)]
    expected = json.loads(batch.output("solve", *airfoil_options(F, G, m), "--alpha", repr(alpha), "--np", 21,
                                       *options))
    v, e = s.viscous, expected["viscous"]
    assert (v.Re, v.Ncrit, v.CD, v.CDf, v.CDp, v.valid) == (e["Re"], e["Ncrit"], e["CD"], e["CDf"], e["CDp"], e["valid"])
    assert v.transition == (e["transition"]["upper"], e["transition"]["lower"])
    assert v.separation == (e["separation"]["upper"], e["separation"]["lower"])
    assert [f.message for f in v.flags] == [f["message"] for f in e["flags"]]
    if mach:
        c, ce = s.compressible, expected["compressible"]
        assert (c.M, c.CL, c.CMc4, c.critical_mach) == (ce["M"], ce["CL"], ce["CMc4"], ce["criticalMach"])
        assert c.critical_mach == orvek.Airfoil(F, G, m).critical_mach(alpha)
    else:
        assert s.compressible is None and "compressible" not in expected


def test_boundary_layer_is_orvek_batch_boundary_layer(batch):
    b = orvek.Airfoil(0.1, 0.05, 2.0).boundary_layer(3.0, 1e6, trip=(None, 0.4))
    lines = batch.output("boundary-layer", *airfoil_options(0.1, 0.05, 2.0), "--alpha", 3, "--re", "1e6",
                         "--trip-lower", 0.4).decode().splitlines()
    header, rows = lines[0].split(","), [line.split(",") for line in lines[1:]]
    names = {"deltaStar": "delta_star"}
    for side in ("upper", "lower"):
        layer, mine = getattr(b, side), [r for r in rows if r[0] == side]
        for k, name in enumerate(header[1:-1], start=1):
            got = getattr(layer, names.get(name, name))
            assert got.dtype == numpy.float64 and same_bits(got, [float(r[k]) for r in mine]), (side, name)
        assert layer.state.tolist() == [r[-1] for r in mine]
    assert b.viscous.transition[1] == pytest.approx(0.4, abs=0.01)


def test_drag_polar_is_orvek_batch_sweep_re(batch):
    p = orvek.Airfoil(0.1, 0.05, 1.95).sweep(-2, 4, 2, re=1e6)
    lines = batch.output("sweep", *airfoil_options(0.1, 0.05, 1.95), "--from", -2, "--to", 4, "--step", 2,
                         "--re", "1e6").decode().splitlines()
    header, rows = lines[0].split(","), [line.split(",") for line in lines[1:]]
    for name, column in (("CD", "CD"), ("CDf", "CDf"), ("CDp", "CDp"), ("xtrUpper", "xtr_upper"),
                         ("xtrLower", "xtr_lower"), ("LD", "LD")):
        assert same_bits(p[column], [float(r[header.index(name)]) for r in rows]), name
    assert p["valid"].tolist() == [r[header.index("valid")] == "true" for r in rows]


def test_solution_views_cp_and_stagnation_points(batch):
    s = orvek.Airfoil(0.1, 0.05, 1.9).solve(4.0, np=21)
    assert same_bits(s.cp, 1 - s.one_minus_cp)
    # the lower side from the trailing edge to the middle, the upper from the leading-edge point on
    assert s.lower.x.base is not None and len(s.lower.x) + len(s.upper.x) == 21
    assert same_bits(s.lower.x, s.x[:10]) and same_bits(s.upper.one_minus_cp, s.one_minus_cp[10:])
    assert (s.upper.y[1:-1] > 0).all() and (s.lower.y[1:] < 0).all()
    expected = json.loads(batch.output("solve", *airfoil_options(0.1, 0.05, 1.9), "--alpha", 4, "--np", 21))
    assert [list(p) for p in s.stagnation] == expected["stagnation"]
    assert s.viscous is None


@pytest.mark.parametrize("kwargs,options", [
    ({"re": 0.0}, ["--re", "0"]),
    ({"re": 1e6, "ncrit": 0.5}, ["--re", "1e6", "--ncrit", "0.5"]),
    ({"re": 1e6, "trip": (1.5, None)}, ["--re", "1e6", "--trip-upper", "1.5"]),
    ({"re": 1e6, "trip": (None, -0.1)}, ["--re", "1e6", "--trip-lower", "-0.1"]),
    ({"mach": 1.0}, ["--mach", "1"]),
    ({"re": 1e6, "mach": -0.5}, ["--re", "1e6", "--mach", "-0.5"]),
])
def test_viscous_refusals_are_orvek_batch_refusals(batch, kwargs, options):
    with pytest.raises(ValueError) as refused:
        orvek.Airfoil(0.1, 0.05, 2.0).solve(2.0, np=21, **kwargs)
    status, out, err = batch.run("solve", *airfoil_options(0.1, 0.05, 2.0), "--alpha", 2, "--np", 21, *options)
    assert status == 2 and out == b""
    assert str(refused.value) == err.decode().removeprefix("orvek-batch: ").rstrip("\n")


SOLVE_REFUSALS = [
    ((0.1, 0.05, 2.0), 5.0, 1),
    ((0.1, 0.05, 2.0), 5.0, 1000002),
    ((0.1, 0.05, 2.0), 400.0, 51),
    ((-1.0, 0.0, 2.0), 5.0, 51),
    ((0.1, 0.0, 0.0), 5.0, 51),
]


@pytest.mark.parametrize("airfoil,alpha,np", SOLVE_REFUSALS)
def test_solve_refusal_is_the_cores_sentence(batch, capfd, airfoil, alpha, np):
    with pytest.raises(ValueError) as refused:
        orvek.Airfoil(*airfoil).solve(alpha, np=np)
    assert capfd.readouterr() == ("", "")
    assert str(refused.value) == batch.refusal("solve", *airfoil_options(*airfoil), "--alpha", repr(alpha), "--np", np)


# Values orvek-batch does not even read as numbers are refused by the module with the core's sentence.
@pytest.mark.parametrize("airfoil,alpha,why", [
    ((0.1, 0.05, 2.0), math.inf, "Cannot calculate: the angle of attack must be from -360 to 360 degrees; it is too large."),
    ((0.1, 0.05, 2.0), math.nan, "Cannot calculate: the angle of attack must be from -360 to 360 degrees; it is not a number."),
    ((math.nan, 0.05, 2.0), 5.0, "Cannot calculate this airfoil: F is not a finite number."),
    ((0.1, 0.05, -math.inf), 5.0, "Cannot calculate this airfoil: the exponent m is not a finite number."),
])
def test_non_finite_values_are_refused(airfoil, alpha, why):
    with pytest.raises(ValueError) as refused:
        orvek.Airfoil(*airfoil).solve(alpha)
    assert str(refused.value) == why


@pytest.mark.parametrize("F,G,m", [(-0.1, 0.0, 2.0), (0.1, 0.05, 2.5)])
def test_shapes_that_are_not_simple_airfoils_are_refused(batch, F, G, m):
    a = orvek.Airfoil(F, G, m)
    with pytest.raises(ValueError) as refused:
        a.coordinates(format="selig")
    assert str(refused.value) == batch.refusal("export", *airfoil_options(F, G, m), "--format", "selig")
    with pytest.raises(ValueError) as refused:
        a.describe()
    assert str(refused.value) == batch.refusal("describe", *airfoil_options(F, G, m))


@pytest.mark.parametrize("thickness,camber,te_angle", [(0.35, 0.0, 0.0), (0.12, 0.2, 5.0), (0.05, 0.0, 25.0),
                                                       (0.12, 0.0, 45.0)])
def test_design_refusal_is_the_cores_sentence(batch, thickness, camber, te_angle):
    with pytest.raises(ValueError) as refused:
        orvek.Airfoil.design(thickness=thickness, camber=camber, te_angle=te_angle)
    assert str(refused.value) == batch.refusal("design", "--thickness", repr(thickness), "--camber", repr(camber),
                                               "--te-angle", repr(te_angle))


def test_a_sweep_fails_whole_at_the_first_angle_that_cannot_be_calculated(batch):
    with pytest.raises(ValueError) as refused:
        orvek.Airfoil(0.1, 0.05).sweep(350, 370, 5, np=21)
    assert str(refused.value) == batch.refusal("sweep", *airfoil_options(0.1, 0.05, 2.0), "--from", 350, "--to", 370,
                                               "--step", 5, "--np", 21)
    assert str(refused.value).startswith("At the angle of attack 365: ")


@pytest.mark.parametrize("first,last,step", [(0, 10, 0), (0, 10, -1), (5, 5, 0), (0, 1, 1e-14)])
def test_invalid_sweep_angles_are_refused_as_orvek_batch_refuses_them(batch, first, last, step):
    with pytest.raises(ValueError) as refused:
        orvek.Airfoil(0.1, 0.05).sweep(first, last, step)
    status, _, err = batch.run("sweep", *airfoil_options(0.1, 0.05, 2.0), "--from", first, "--to", last,
                               "--step", step)
    assert status == 2  # an invalid argument for orvek-batch, a ValueError for the module
    assert str(refused.value) == err.decode().removeprefix("orvek-batch: ").rstrip("\n")


def test_angles_that_are_not_numbers_are_refused():
    with pytest.raises(ValueError, match="^Invalid sweep: the last angle is not a finite number.$"):
        orvek.Airfoil(0.1, 0.05).sweep(0, math.nan, 1)


def test_unknown_coordinate_format_is_refused():
    with pytest.raises(ValueError, match="selig, lednicer or csv, not 'dxf'"):
        orvek.Airfoil(0.1, 0.05).coordinates(format="dxf")
