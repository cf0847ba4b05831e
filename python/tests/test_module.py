# SPDX-License-Identifier: MIT
# The module as a Python value: types, equality, pickling, threads, version, docstrings and stub.
import ast
import concurrent.futures
import copy
import math
import pathlib
import pickle
import signal
import subprocess
import sys
import threading
import time

import numpy
import pytest

import orvek


def test_version_is_the_programs(batch):
    assert batch.output("--version").decode().strip() == f"orvek-batch {orvek.__version__}"


@pytest.mark.parametrize("call", [
    lambda: orvek.Airfoil("0.1", 0.05),
    lambda: orvek.Airfoil(0.1, None),
    lambda: orvek.Airfoil(0.1, 0.05).solve("5"),
    lambda: orvek.Airfoil(0.1, 0.05).solve(5.0, np=51.0),
    lambda: orvek.Airfoil(0.1, 0.05).solve(5.0, np="51"),
    lambda: orvek.Airfoil(0.1, 0.05).sweep(0, 10, None),
    lambda: orvek.Airfoil(0.1, 0.05).coordinates(format=1),
    lambda: orvek.Airfoil(0.1, 0.05).coordinates(name=3),
    lambda: orvek.Airfoil.design(0.15, 0.03, 12),  # the targets are named, never positional
    lambda: orvek.Airfoil.design(thickness="0.15"),
    # a truth value or an array where one number is meant
    lambda: orvek.Airfoil(0.1, 0.05).solve(5.0, np=True),
    lambda: orvek.Airfoil(0.1, 0.05).sweep(0, 10, 1, np=numpy.bool_(True)),
    lambda: orvek.Airfoil(0.1, 0.05).streamlines(4.0, count=True),
    lambda: orvek.Airfoil(0.1, 0.05).solve(numpy.array([5.0])),
    lambda: orvek.Airfoil(0.1, 0.05).solve(True),
    lambda: orvek.Airfoil(numpy.array([0.1]), 0.05),
    lambda: orvek.Airfoil(0.1, 0.05).field(numpy.array([5.0]), [0.5], [0.2]),
    lambda: orvek.Airfoil(0.1, 0.05).sweep(0, 10, 1, re=numpy.array([1e6])),
    lambda: orvek.Airfoil.design(thickness=numpy.array([0.15])),
])
def test_wrong_types_raise_type_error(call):
    with pytest.raises(TypeError):
        call()


def test_point_counts_take_any_python_integer():
    a = orvek.Airfoil(0.1, 0.05, 1.9)
    s = a.solve(5.0, np=numpy.int32(51))
    assert s.x.tobytes() == a.solve(numpy.float64(5.0), np=51).x.tobytes()
    with pytest.raises(ValueError, match="at most 1000001, not 1e"):
        a.solve(5.0, np=10**30)
    with pytest.raises(ValueError, match="at most 1000001, not a number beyond 1e308"):
        a.solve(5.0, np=10**400)
    with pytest.raises(ValueError, match="at least 2, not a number beyond 1e308"):
        a.sweep(0, 1, 1, np=-10**400)
    # A numpy scalar or a 0-dimensional array is one number.
    assert a.solve(numpy.array(5.0), np=numpy.array(11)).x.tobytes() == a.solve(5.0, np=11).x.tobytes()
    assert a.solve(numpy.float32(5.0)).CL == a.solve(5.0).CL


def test_airfoil_values_equality_and_hash():
    a = orvek.Airfoil(0.1, 0.05, 1.9)
    assert (a.F, a.G, a.m) == (0.1, 0.05, 1.9)
    assert orvek.Airfoil(F=0.1, G=0.05, m=1.9) == a
    assert orvek.Airfoil(0.1, 0.05) == orvek.Airfoil(0.1, 0.05, 2.0) and orvek.Airfoil(0.1, 0.05).is_joukowsky
    assert a != orvek.Airfoil(0.1, 0.05, 1.91) and not (a == orvek.Airfoil(0.1, 0.06, 1.9))
    assert a != (0.1, 0.05, 1.9) and a is not None
    assert len({a, orvek.Airfoil(0.1, 0.05, 1.9), orvek.Airfoil(0.1, 0.05)}) == 2
    with pytest.raises(AttributeError):
        a.F = 0.2


@pytest.mark.parametrize("F,G,m", [(0.1, 0.05, 1.9), (0.1, 0.05, 2.0), (1 / 3, -1e-300, 1.8999999999999999)])
def test_repr_reads_back_as_the_same_airfoil(F, G, m):
    a = orvek.Airfoil(F, G, m)
    assert eval(repr(a), {"Airfoil": orvek.Airfoil}) == a
    assert repr(a).startswith("Airfoil(F=")
    assert repr(a.solve(2.0, np=11)).startswith(f"Solution({a!r}, alpha=2, np=11, CL=")


@pytest.mark.parametrize("value", [math.nan, math.inf, -math.inf])
def test_an_airfoil_holds_finite_numbers(value):
    for args in ((value, 0.05, 2.0), (0.1, value, 2.0), (0.1, 0.05, value)):
        with pytest.raises(ValueError, match="not a finite number"):
            orvek.Airfoil(*args)


def test_airfoils_beyond_the_calculated_domain_are_refused():
    # At F = 1e5 the surface was 2e-6 chord off, at F = 1e9 describe gave a symmetric airfoil camber.
    with pytest.raises(ValueError, match="F is 1e\\+05, and F and G from -20 to 20 are calculated"):
        orvek.Airfoil(1e5, 0.05).solve(5.0)
    with pytest.raises(ValueError, match="F is 1e\\+09"):
        orvek.Airfoil(1e9, 0.0).describe()


SCRIPTS = {
    # two threads' first calls in a script that never imported numpy itself
    "first calls from threads": """
import concurrent.futures as cf, orvek
a = orvek.Airfoil(0.1, 0.05, 1.9)
print(sum(cf.ThreadPoolExecutor(4).map(lambda al: a.solve(al).CL, range(8))) > 0)
""",
    # the program ends while daemon threads are inside the module
    "daemon threads solving at exit": """
import threading, time, orvek
a = orvek.Airfoil(0.1, 0.05, 1.9)
def work():
    while True:
        a.solve(5.0)
for _ in range(2):
    threading.Thread(target=work, daemon=True).start()
time.sleep(0.2)
print(True)
""",
    "daemon threads in small fields at exit": """
import threading, time, orvek
a = orvek.Airfoil(0.1, 0.05, 1.9)
def work():
    while True:
        a.field(5.0, [-0.5, 2.0], [0.2, 0.1])
for _ in range(2):
    threading.Thread(target=work, daemon=True).start()
time.sleep(0.2)
print(True)
""",
    # calls from a __del__ while the interpreter shuts down
    "calls at exit": """
import orvek
a = orvek.Airfoil(0.1, 0.05, 1.9)
class Late:
    def __del__(self):
        print(a.field(5.0, [2.0], [0.3]).cp.size == 1 and a.sweep(0, 2, 1)["CL"].size == 3)
late = Late()
""",
    # freed results give their memory back to the system (blocks above the allocator's mmap size)
    "memory of freed fields goes back": """
import os, numpy, orvek
def resident():
    return int(open("/proc/self/statm").read().split()[1]) * os.sysconf("SC_PAGE_SIZE")
a = orvek.Airfoil(0.1, 0.05, 1.9)
x, y = numpy.linspace(-1, 2, 1200), numpy.linspace(-1, 1, 1000)[:, None]
before = resident()
fields = [a.field(5.0, x, y) for _ in range(5)]  # 38 MB each
grown = resident() - before
del fields
print(grown > 150e6 and resident() - before < 40e6)
""",
}


@pytest.mark.parametrize("name", SCRIPTS)
def test_scripts_end_cleanly(name):
    for _ in range(10):
        run = subprocess.run([sys.executable, "-c", SCRIPTS[name]], capture_output=True, text=True, timeout=60)
        assert run.returncode == 0, run.stderr
        assert run.stdout.strip() == "True"


LONG_CALLS = {
    "sweep": "a.sweep(-360, 360, 0.02, np=100001)",
    "drag polar": "a.sweep(-8, 8, 0.0005, re=1e6)",
    "streamlines": "a.streamlines(4.0, count=1000, extent=(-20, 20, -20, 20))",
    "field": "a.field(5.0, numpy.linspace(-1, 2, 2000), numpy.linspace(-1, 1, 2000)[:, None])",
}


@pytest.mark.parametrize("call", LONG_CALLS)
def test_ctrl_c_interrupts_a_long_call(call):
    # Ctrl-C (SIGINT) while the call computes; KeyboardInterrupt is meant within half a second,
    # asserted loosely, as a busy machine or a sanitizer slows everything down.
    script = f"""
import time, numpy, orvek
a = orvek.Airfoil(0.1, 0.05, 1.9)
print("calling", flush=True)
try:
    while True:  # a field is over sooner than the signal comes: asked again
        {LONG_CALLS[call]}
except KeyboardInterrupt:
    print("interrupted", time.monotonic(), flush=True)
"""
    child = subprocess.Popen([sys.executable, "-c", script], stdout=subprocess.PIPE, text=True)
    try:
        assert child.stdout.readline() == "calling\n"
        time.sleep(1.0)
        sent = time.monotonic()
        child.send_signal(signal.SIGINT)
        lines = child.communicate(timeout=60)[0].split("\n")
    finally:
        child.kill()
    word, when = lines[0].split()
    assert word == "interrupted" and float(when) - sent < 3.0


@pytest.mark.parametrize("protocol", range(pickle.HIGHEST_PROTOCOL + 1))
def test_airfoil_pickles_and_copies(protocol):
    a = orvek.Airfoil(0.1, 0.05, 1.9)
    back = pickle.loads(pickle.dumps(a, protocol))
    assert back == a and type(back) is orvek.Airfoil
    assert copy.deepcopy(a) == a and copy.copy(a) == a


def _lift(airfoil):
    return airfoil.solve(5.0, np=51).CL


def test_a_process_pool_takes_airfoils():
    airfoils = [orvek.Airfoil(0.05 * k, 0.02, 1.9) for k in range(1, 5)]
    with concurrent.futures.ProcessPoolExecutor(max_workers=2) as pool:
        lifts = list(pool.map(_lift, airfoils))
    assert lifts == [_lift(a) for a in airfoils]


CALLS = {
    "solve": lambda: orvek.Airfoil(0.1, 0.05, 1.9).solve(5.0, np=2001),
    "sweep": lambda: orvek.Airfoil(0.1, 0.05, 1.9).sweep(0, 4, 1, np=201),
    "describe": lambda: orvek.Airfoil(0.1, 0.05, 1.9).describe(),
    "design": lambda: orvek.Airfoil.design(thickness=0.15, camber=0.03, te_angle=12),
    "coordinates": lambda: orvek.Airfoil(0.1, 0.05, 1.9).coordinates(np=161),
    "field": lambda: orvek.Airfoil(0.1, 0.05, 1.9).field(5.0, numpy.linspace(-1, 2, 400), 0.3),
    "streamlines": lambda: orvek.Airfoil(0.1, 0.05, 1.9).streamlines(5.0, count=3),
}


@pytest.mark.parametrize("name", CALLS)
def test_the_gil_is_released_while_the_core_computes(name):
    # With a switch interval far longer than the test, the interpreter hands the GIL to another
    # thread only when its holder lets it go. The worker calls the module over and over; the main
    # thread, waiting in start(), runs again while the worker is still in that loop only if a
    # call let the GIL go. Without that, the worker ends its loop (after 10 s) before the main
    # thread runs.
    state = {"in_loop": False, "stop": False}

    def work():
        state["in_loop"] = True
        give_up = time.monotonic() + 10.0
        while not state["stop"] and time.monotonic() < give_up:
            CALLS[name]()
        state["in_loop"] = False

    worker = threading.Thread(target=work)
    interval = sys.getswitchinterval()
    sys.setswitchinterval(1000.0)
    try:
        worker.start()
        ran_during_a_call = state["in_loop"]
        state["stop"] = True
    finally:
        sys.setswitchinterval(interval)
        worker.join()
    assert ran_during_a_call


def test_threads_give_the_same_numbers_as_one_thread():
    airfoils = [orvek.Airfoil(0.02 * k, 0.01 * (k % 5) - 0.02, 2.0 - 0.01 * k) for k in range(1, 13)]
    alone = [a.solve(4.0, np=30001).one_minus_cp.tobytes() for a in airfoils]
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        together = list(pool.map(lambda a: a.solve(4.0, np=30001).one_minus_cp.tobytes(), airfoils))
    assert together == alone


def _public(cls):
    return {n for n in vars(cls) if not n.startswith("_")}


def test_everything_public_has_a_docstring():
    assert orvek.__doc__ and orvek._orvek.__doc__
    for cls in (orvek.Airfoil, orvek.Solution, orvek.Geometry, orvek.Field, orvek.Streamline, orvek.Viscous,
                orvek.Compressible, orvek.Flag, orvek.Layer, orvek.BoundaryLayer, orvek.SurfaceSide):
        assert cls.__doc__, cls
        for name in _public(cls):
            assert getattr(cls, name).__doc__, f"{cls.__name__}.{name}"


def test_the_stub_declares_what_the_module_has():
    stub = ast.parse((pathlib.Path(orvek.__file__).parent / "__init__.pyi").read_text())
    classes = {c.name: c for c in stub.body if isinstance(c, ast.ClassDef)}
    assert set(classes) == {"Airfoil", "Solution", "Geometry", "Field", "Streamline", "Viscous", "Compressible",
                            "Flag", "Layer", "BoundaryLayer", "SurfaceSide"}
    for name, node in classes.items():
        declared = {f.name for f in node.body if isinstance(f, ast.FunctionDef) and not f.name.startswith("_")}
        assert declared == _public(getattr(orvek, name)), name
    solve = next(f for f in classes["Airfoil"].body if isinstance(f, ast.FunctionDef) and f.name == "solve")
    assert [a.arg for a in solve.args.args] == ["self", "alpha", "np", "re", "ncrit", "trip", "mach"]
