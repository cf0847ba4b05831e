# SPDX-License-Identifier: MIT
# Airfoil.field and Airfoil.streamlines against orvek-batch field and streamlines, bit for bit.
import math

import numpy
import pytest

import orvek

AIRFOILS = [(0.1, 0.05, 1.9), (0.1, 0.05, 2.0), (0.0, 0.06, 2.0)]


def csv_floats(text):
    """Columns of a CSV with a header line, an empty field as NaN."""
    rows = [line.split(",") for line in text.decode().splitlines()[1:]]
    return numpy.array([[float(v) if v else math.nan for v in row] for row in rows], dtype=numpy.float64)


@pytest.mark.parametrize("F,G,m", AIRFOILS)
@pytest.mark.parametrize("alpha", [5.0, -12.5])
@pytest.mark.parametrize("circulation", [None, 0.0, -4.5])  # None: the Kutta condition
def test_field_is_orvek_batch_field(batch, tmp_path, F, G, m, alpha, circulation):
    x = numpy.array([-0.5, 0.3, 0.5, 1.0001, 2.5, 0.0, -30.0, 0.5])
    y = numpy.array([0.2, -0.01, 0.0, 0.0, -1.5, 0.3, 40.0, 0.05])  # (0.3, -0.01), (0.5, 0) inside
    f = orvek.Airfoil(F, G, m).field(alpha, x, y, circulation=circulation)
    points = tmp_path / "points.csv"
    points.write_text("".join(f"{repr(a)},{repr(b)}\n" for a, b in zip(x, y)))
    by_hand = [] if circulation is None else ["--circulation", repr(circulation)]
    expected = csv_floats(batch.output("field", "--F", repr(F), "--G", repr(G), "--m", repr(m),
                                       "--alpha", repr(alpha), "--points", points, *by_hand))
    for k, got in enumerate((f.u, f.v, f.cp, f.psi), start=2):
        assert got.dtype == numpy.float64 and got.shape == x.shape
        assert got.tobytes() == expected[:, k].tobytes()
    assert numpy.isnan(f.u[2]) == (F > 0) and not numpy.isnan(f.u[0])  # an arc (F = 0) has no inside


def test_field_broadcasts_like_numpy():
    a = orvek.Airfoil(0.1, 0.05, 1.9)
    xs = numpy.linspace(-1, 2, 7)
    ys = numpy.linspace(-1, 1, 5)[:, None]
    f = a.field(5.0, xs, ys)
    assert f.u.shape == numpy.broadcast(xs, ys).shape == (5, 7)
    X, Y = numpy.meshgrid(xs, ys[:, 0])
    g = a.field(5.0, X, Y)
    assert all(p.tobytes() == q.tobytes() for p, q in ((f.u, g.u), (f.v, g.v), (f.cp, g.cp), (f.psi, g.psi)))
    # A point alone gives 0-dimensional arrays; lists, integers and a transposed view are read too.
    one = a.field(5.0, -0.5, 0.25)
    assert one.psi.shape == () and one.psi.tobytes() == a.field(5.0, [-0.5], [0.25]).psi.tobytes()
    assert a.field(5.0, [[-1, 2]], 1).cp.tolist() == a.field(5.0, [-1.0, 2.0], [1.0, 1.0]).cp[None, :].tolist()
    t = a.field(5.0, X.T, Y.T)
    assert t.u.shape == (7, 5) and t.u.T.tobytes() == g.u.tobytes()
    # float64 values at an odd address (a view into bytes) are the same numbers
    odd = numpy.frombuffer(bytearray(8 * xs.size + 1), numpy.float64, xs.size, 1)
    odd[:] = xs
    assert odd.ctypes.data % 8 != 0 and not odd.flags.aligned
    h = a.field(5.0, odd, odd[::-1])
    e = a.field(5.0, xs, xs[::-1])
    assert all(p.tobytes() == q.tobytes() for p, q in ((h.u, e.u), (h.v, e.v), (h.cp, e.cp), (h.psi, e.psi)))


def test_field_values_are_the_surface_values_at_a_distance():
    # Just off the surface the flow's 1 - Cp meets solve's (a check of frame and angle, not of digits).
    a = orvek.Airfoil(0.1, 0.05, 1.9)
    s = a.solve(5.0, np=41)
    k = numpy.arange(5, 36, 5)
    nx, ny = -numpy.gradient(s.y)[k], numpy.gradient(s.x)[k]  # outward: the points run clockwise
    scale = 1e-7 / numpy.hypot(nx, ny)
    f = a.field(5.0, s.x[k] + nx * scale, s.y[k] + ny * scale)
    assert numpy.allclose(1.0 - f.cp, s.one_minus_cp[k], rtol=1e-4, atol=1e-5)
    assert numpy.allclose(f.psi, 0.0, atol=1e-6)


def test_field_refusals(batch, tmp_path):
    points = tmp_path / "points.csv"
    points.write_text("-0.5,0.2\n")
    with pytest.raises(ValueError) as refused:
        orvek.Airfoil(-0.1, 0.0).field(5.0, [-0.5], [0.2])
    assert str(refused.value) == batch.refusal("field", "--F", "-0.1", "--G", "0", "--m", "2", "--alpha", "5",
                                               "--points", points)
    with pytest.raises(ValueError, match="angle of attack"):
        orvek.Airfoil(0.1, 0.0).field(400.0, [-0.5], [0.2])
    with pytest.raises(TypeError):
        orvek.Airfoil(0.1, 0.0).field(5.0, ["a"], [0.2])
    with pytest.raises(ValueError):  # shapes numpy cannot broadcast
        orvek.Airfoil(0.1, 0.0).field(5.0, [0.0, 1.0, 2.0], [0.0, 1.0])
    # Beyond 1e5 chords the values lost their accuracy (Cp = -5017 at 1e16): refused, not returned.
    with pytest.raises(ValueError, match=r"the point \(1e\+16, 0\) lies beyond the field's reach"):
        orvek.Airfoil(0.1, 0.05, 1.9).field(5.0, [0.5, 1e16], [0.0, 0.0])
    # Points that do not fit in memory: MemoryError (a broadcast view of 2**40 points takes no room).
    with pytest.raises(MemoryError):
        orvek.Airfoil(0.1, 0.05, 1.9).field(5.0, numpy.broadcast_to(0.5, (2**40,)), 0.2)
    # Where solve refuses the airfoil, field refuses it with the same sentence.
    with pytest.raises(ValueError) as refused:
        orvek.Airfoil(1e20, 0.0).field(5.0, [-0.5], [0.2])
    assert str(refused.value) == batch.refusal("solve", "--F", "1e20", "--G", "0", "--m", "2", "--alpha", "5",
                                               "--np", "51")


@pytest.mark.parametrize("F,G,m", AIRFOILS)
@pytest.mark.parametrize("count,extent,plane", [(21, None, "airfoil"), (7, (-0.5, 1.5, -0.4, 0.6), "airfoil"),
                                                (9, None, "circle")])
@pytest.mark.parametrize("circulation", [None, 0.0, 3.8])  # 3.8: the stagnation points off the body
def test_streamlines_are_orvek_batch_streamlines(batch, F, G, m, count, extent, plane, circulation):
    lines = orvek.Airfoil(F, G, m).streamlines(4.0, count=count, extent=extent, plane=plane, circulation=circulation)
    options = ["--count", count, "--plane", plane]
    if circulation is not None:
        options += ["--circulation", repr(circulation)]
    if extent is not None:
        options += ["--extent", f"{extent[0]!r}:{extent[1]!r},{extent[2]!r}:{extent[3]!r}"]
    table = csv_floats(batch.output("streamlines", "--F", repr(F), "--G", repr(G), "--m", repr(m), "--alpha", "4",
                                    *options))
    assert len(lines) == int(table[-1, 0])
    assert sum(line.dividing for line in lines) == 2 or circulation == 3.8  # the passing line may miss the box
    for number, line in enumerate(lines, start=1):
        rows = table[table[:, 0] == number]
        assert line.x.dtype == numpy.float64 and line.x.shape == line.y.shape == (len(rows),)
        assert (rows[:, 1] == line.psi).all()
        assert line.x.tobytes() == rows[:, 2].tobytes() and line.y.tobytes() == rows[:, 3].tobytes()


@pytest.mark.parametrize("arguments,error", [
    ({"count": 0}, ValueError),
    ({"count": 1001}, ValueError),
    ({"extent": (1, -1, -1, 1)}, ValueError),
    ({"plane": "sphere"}, ValueError),
    ({"count": 2.5}, TypeError),
    ({"extent": (1, 2, 3)}, TypeError),
    ({"circulation": 1e4}, ValueError),
    ({"circulation": math.nan}, ValueError),
    ({"extent": (-1e-30, 1e-30, -1e-30, 1e-30)}, ValueError),
    ({"extent": (-1000, 1000, -1, 1)}, ValueError),
    ({"count": True}, TypeError),
    ({"count": numpy.array([5])}, TypeError),
    ({"count": 10**400}, ValueError),
    ({"count": -2**40}, ValueError),
])
def test_streamline_refusals(arguments, error):
    with pytest.raises(error):
        orvek.Airfoil(0.1, 0.05).streamlines(4.0, **arguments)


def test_large_fields_reuse_freed_memory_but_never_a_live_result():
    a = orvek.Airfoil(0.1, 0.05, 1.9)
    X, Y = numpy.meshgrid(numpy.linspace(-1, 2, 300), numpy.linspace(-1, 1, 300))  # large enough to be pooled
    first = a.field(5.0, X, Y)
    kept = [v.copy() for v in (first.u, first.v, first.cp, first.psi)]
    second = a.field(-3.0, X, Y)
    assert all(p.tobytes() == q.tobytes() for p, q in zip((first.u, first.v, first.cp, first.psi), kept))
    assert not numpy.shares_memory(first.u, second.psi)
    del first, second
    again = a.field(5.0, X, Y)  # in memory handed back by the two above
    assert all(p.tobytes() == q.tobytes() for p, q in zip((again.u, again.v, again.cp, again.psi), kept))
